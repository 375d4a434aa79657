// The command line and the installation check (kalvex --check): what it accepts, that the
// shipped files pass in every language, that a user's language file comes first and the
// keys it lacks are named, and that the check neither opens the line nor writes settings.

#include "Comprobacion.h"
#include "F_Ayuda.h"
#include "ModalWatcher.h"
#include "Opciones.h"
#include "TIniFile.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextStream>

using namespace kalvex::test;

namespace {

TEST(CommandLine, TakesOneOptionAtMost) {
    const struct {
        QStringList argumentos;
        TOrden orden;
    } casos[] = {
        {{}, TOrden::Programa},
        {{"--check"}, TOrden::Comprobacion},
        {{"--version"}, TOrden::Version},
        {{"--check", "--version"}, TOrden::Desconocida},
        {{"--check", "extra"}, TOrden::Desconocida},
        {{"-check"}, TOrden::Desconocida},
        {{"--CHECK"}, TOrden::Desconocida},
        {{""}, TOrden::Desconocida},
        {{"/dev/ttyUSB0"}, TOrden::Desconocida},
    };
    for (const auto& c : casos)
        EXPECT_EQ(Lee_Orden(c.argumentos), c.orden) << c.argumentos.join(' ').toStdString();
}

// A fresh configuration folder per test: the check reads the settings and the language file
// from there first.
class CheckTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(config.isValid());
        qputenv("KALVEX_CONFIG_DIR", config.path().toLocal8Bit());
    }
    void TearDown() override { qunsetenv("KALVEX_CONFIG_DIR"); }

    void WriteLanguage(const QString& idioma) {
        TIniFile(config.filePath("KALVEX.INI")).WriteString("General", "Idioma", idioma);
    }
    // Runs the check; its output goes to salida.
    int Check() {
        salida.clear();
        QTextStream stream(&salida);
        return Comprueba_Instalacion(stream);
    }

    QTemporaryDir config;
    QString salida;
};

TEST_F(CheckTest, TheShippedFilesGiveEveryWindowItsTextsInEveryLanguage) {
    const struct {
        const char* idioma;
        const char* ayuda;
        const char* correcta;
    } casos[] = {
        {"ENGLISH", "KALVEXHELPINGLES.html", "The installation is complete"},
        {"ESPA\u00D1OL", "KALVEXHELP.html", "La instalaci\u00F3n est\u00E1 completa"},
        {"FRAN\u00C7AIS", "KALVEXHELPFRANCES.html", "L'installation est compl\u00E8te"},
        {"DEUTSCH", "KALVEXHELPALEMAN.html", "Die Installation ist vollst\u00E4ndig"},
    };
    for (const auto& c : casos) {
        WriteLanguage(QString::fromUtf8(c.idioma));
        EXPECT_EQ(Check(), 0) << salida.toStdString();
        EXPECT_TRUE(salida.contains(QString::fromUtf8(c.correcta))) << salida.toStdString();
        EXPECT_TRUE(salida.contains("/share/kalvex/" + QString::fromUtf8(c.ayuda)))
            << salida.toStdString();
        EXPECT_FALSE(salida.contains(u"\u00BF?")) << salida.toStdString();
    }
}

TEST_F(CheckTest, AUsersLanguageFileComesFirstAndItsMissingTextsAreNamed) {
    // Only the main window's Go! button has a text in this file.
    QFile propio(config.filePath("KALVEX_LANG.INI"));
    ASSERT_TRUE(propio.open(QIODevice::WriteOnly));
    propio.write("[ENGLISH]\r\nMain_B_Go_caption=Go!\r\n");
    propio.close();

    EXPECT_EQ(Check(), 1);
    EXPECT_TRUE(salida.contains(config.filePath("KALVEX_LANG.INI"))) << salida.toStdString();
    const QStringList nombradas = salida.split(QRegularExpression("[\\s,]+"));
    EXPECT_TRUE(nombradas.contains("Main_Label2_caption")) << salida.toStdString();
    EXPECT_TRUE(nombradas.contains("GEN_MEN019")) << salida.toStdString();
    EXPECT_FALSE(nombradas.contains("Main_B_Go_caption")) << salida.toStdString();
}

TEST_F(CheckTest, LeavesTheLineClosedAndSavesNoPortOrLanguage) {
    // COM1, the default, has no device here: a start would report it in a box.
    ModalWatcher boxes;
    Check();
    EXPECT_TRUE(boxes.Dialogs().empty());
    // Only a close saves the settings; the check never closes the main window.
    const TIniFile ini(config.filePath("KALVEX.INI"));
    EXPECT_EQ(ini.ReadString("General", "Sys_Port", "<none>"), "<none>");
    EXPECT_EQ(ini.ReadString("General", "Idioma", "<none>"), "<none>");
}

TEST_F(CheckTest, AnUnknownOptionIsNamedWithTheUsage) {
    QString texto;
    QTextStream stream(&texto);
    EXPECT_EQ(Orden_Desconocida({"--frobnicate", "now"}, stream), 2);
    stream.flush();
    EXPECT_EQ(texto, "Unknown option: --frobnicate now\nUsage: kalvex [--check | --version]\n");
}

TEST(HelpPage, APageWithoutTextDoesNotLoad) {
    QTemporaryDir dir;
    QFile vacia(dir.filePath("empty.html"));
    ASSERT_TRUE(vacia.open(QIODevice::WriteOnly));
    vacia.close();
    TF_Ayuda ayuda;
    EXPECT_FALSE(ayuda.Carga(dir.filePath("missing.html")));
    EXPECT_FALSE(ayuda.Carga(dir.filePath("empty.html")));
    EXPECT_TRUE(ayuda.Carga(QStringLiteral(KALVEX_SOURCE_DIR "/resources/help/KALVEXHELP.html")));
    EXPECT_FALSE(ayuda.isVisible());
}

} // namespace
