// JPEG decoding: good pictures decode, damaged ones give a null image and never crash.

#include "Ficheros.h"
#include "Jpeg.h"
#include "Recursos.h"

#include <QBuffer>
#include <QImageWriter>

namespace {

QByteArray Foto_Del_Proyecto() {
    return Lee_Bytes(Carpeta_Fuentes() + "/resources/pictures/entrada.jpg");
}

TEST(TextsJpeg, DecodesTheProjectsPhotographs) {
    const QImage foto = Decodifica_Jpeg(Foto_Del_Proyecto());
    ASSERT_FALSE(foto.isNull());
    EXPECT_EQ(foto.size(), QSize(150, 190));
    // The same picture through the compiled-in resources.
    EXPECT_EQ(Foto("entrada.jpg").size(), QSize(150, 190));
    EXPECT_FALSE(Foto("decoder.jpg").isNull());
    EXPECT_FALSE(Foto("digitalizador.jpg").isNull());
    EXPECT_TRUE(Foto("absent.jpg").isNull());
}

TEST(TextsJpeg, ColoursAndGreyscaleComeOutAsRgb) {
    if (!QImageWriter::supportedImageFormats().contains("jpeg")) {
        GTEST_SKIP() << "no JPEG writer to make the sample";
    }
    QImage muestra(32, 16, QImage::Format_RGB32);
    muestra.fill(QColor(200, 30, 30));
    for (const QImage& original : {muestra, muestra.convertToFormat(QImage::Format_Grayscale8)}) {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        ASSERT_TRUE(original.save(&buffer, "JPEG", 95));
        const QImage leida = Decodifica_Jpeg(bytes);
        ASSERT_EQ(leida.size(), original.size());
        const QColor esperado = original.pixelColor(8, 8);
        const QColor obtenido = leida.pixelColor(8, 8);
        EXPECT_NEAR(obtenido.red(), esperado.red(), 6);
        EXPECT_NEAR(obtenido.green(), esperado.green(), 6);
        EXPECT_NEAR(obtenido.blue(), esperado.blue(), 6);
    }
}

TEST(TextsJpeg, DamagedDataGivesANullImage) {
    const QByteArray bueno = Foto_Del_Proyecto();
    ASSERT_FALSE(bueno.isEmpty());
    QByteArray tapado = bueno;
    // Overwrite the middle of the compressed data.
    for (qsizetype i = bueno.size() / 2; i < bueno.size() / 2 + 64; ++i) {
        tapado[i] = static_cast<char>(0xFF);
    }
    const QByteArray casos[] = {
        QByteArray(),
        QByteArray("not a picture at all"),
        bueno.left(2),                // the start-of-image marker alone
        bueno.left(bueno.size() / 2), // cut off half way
        tapado,
    };
    for (const QByteArray& caso : casos) {
        EXPECT_TRUE(Decodifica_Jpeg(caso).isNull()) << caso.size() << " bytes";
    }
}

TEST(TextsJpeg, AHeaderClaimingAHugePictureIsRefused) {
    QByteArray bytes = Foto_Del_Proyecto();
    const qsizetype sof = bytes.indexOf("\xFF\xC0");
    ASSERT_GT(sof, 0);
    // SOF0: marker, length (2), precision (1), height (2), width (2).
    bytes[sof + 5] = bytes[sof + 7] = static_cast<char>(0xEA);
    bytes[sof + 6] = bytes[sof + 8] = 0x60;
    EXPECT_TRUE(Decodifica_Jpeg(bytes).isNull());
}

} // namespace
