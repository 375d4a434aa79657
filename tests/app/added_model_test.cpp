// A model that only this test knows, added as one row of the model table before the windows
// are created: the main list, the routing, the re-programming choice and the monitor find it
// with no other change.

#include "Creacion_Ventanas.h"
#include "DECODER2.h"
#include "Datos_Modelos.h"
#include "Enrutado.h"
#include "F_Principal.h"
#include "Fila_Linea.h"
#include "Idiomas.h"
#include "ModalWatcher.h"
#include "Modelos.h"
#include "PtyPair.h"
#include "Significado.h"
#include "TIniFile.h"
#include "UComunicaciones.h"
#include "UF_Decoder.h"
#include "UF_Reprogram_Coinc.h"
#include "Ventanas.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

using namespace kalvex::test;

namespace {

// A four-output call decoder that answers with the byte three models share already.
const TModelo Propio{6799,
                     13,
                     0x44,
                     4,
                     {0x50, 0x20, 0xFF, 0x9F},
                     TEspacio_Codigo::Llamada,
                     TTipo_Codigo::Audio,
                     TFamilia::Llamada};

class AddedModelTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { Anade_Modelo(Propio); }

    void SetUp() override {
        ASSERT_TRUE(config.isValid());
        qputenv("KALVEX_CONFIG_DIR", config.path().toLocal8Bit());
        TIniFile ini(config.filePath(QStringLiteral("KALVEX.INI")));
        ini.WriteString(QStringLiteral("General"), QStringLiteral("Sys_Port"), pty.SlavePath());
        ini.WriteString(QStringLiteral("General"), QStringLiteral("Idioma"),
                        QStringLiteral("ENGLISH"));
        Crea_Ventanas();
        main = Ventanas().F_Princ;
        main->show();
    }
    void TearDown() override {
        Destruye_Ventanas();
        Libera_Fichero_Idiomas();
        qunsetenv("KALVEX_CONFIG_DIR");
    }

    QTemporaryDir config;
    PtyPair pty; // the editors' acknowledgements and closing frames need an open line
    ModalWatcher boxes;
    TF_Princ* main = nullptr;
};

TEST_F(AddedModelTest, TheListAndGoOpenItsEditorWhichTakesTheRoutedFrames) {
    auto* list = main->findChild<QComboBox*>("C1");
    const int item = list->findText("6799 - ", Qt::MatchStartsWith);
    ASSERT_EQ(item, list->count() - 1) << "after the others";
    list->setCurrentIndex(item);
    QTest::mouseClick(main->findChild<QPushButton*>("B_Go"), Qt::LeftButton);
    EXPECT_EQ(Enrutado().Modelo_Activo, 13);
    TF_Decoder* editor = Editor_Por_Referencia(6799);
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->objectName(), "F_Decoder_6799");
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(editor->findChild<QLabel*>("Label14")->text(), list->currentText());

    // As the link hands over a frame no request waited for.
    main->Decod1->OnDECRecibedNotDemand(main->Decod1, Trama_Dec(0x00, 0x00, 0x34, 0x12));
    EXPECT_EQ(editor->findChild<QLineEdit*>("Edit5")->text(), "1234") << "output 1, Current";
    editor->close();
    EXPECT_EQ(Enrutado().Modelo_Activo, 0);
}

TEST_F(AddedModelTest, TheSharedByteNamesItAndOffersItInTheChoice) {
    EXPECT_EQ(Nombre_Referencia(0x44), "Ref. 6799 / Ref. 6745 / Ref. 6734 / Ref. 6713");
    TF_Reprogram_Coinc* choice = Ventanas().F_Reprogram_Coinc;
    choice->Ofrece(0x44);
    auto* own = choice->findChild<QRadioButton*>("R4");
    ASSERT_NE(own, nullptr);
    EXPECT_TRUE(own->text().startsWith("6799 - "));
    EXPECT_FALSE(own->isHidden());
    own->setChecked(true);
    choice->findChild<QPushButton*>("B_Aceptar")->click();
    EXPECT_EQ(choice->Referencia_Elegida(), 6799);
    // Offered for its own byte only.
    choice->Ofrece(0x48);
    EXPECT_TRUE(own->isHidden());
}

TEST_F(AddedModelTest, TheMonitorCountsItsReadOutAndNamesItsClosingFrame) {
    const TTextos_Monitor textos = TTextos_Monitor::Del_Idioma();
    const auto meaning = [&](TSuceso_Linea::Tipo clase, Trama_Dec trama, int referencia) {
        TFila_Linea f;
        f.Suceso.Clase = clase;
        f.Suceso.Trama = trama;
        f.Suceso.Longitud = 4;
        f.Modelo = Modelo_Por_Referencia(referencia)->Codigo;
        f.Salida = 3;
        return Significado(f, textos);
    };
    const Trama_Dec dato(0x00, 0x00, 0x34, 0x12);
    EXPECT_EQ(meaning(TSuceso_Linea::No_Solicitada, dato, 6799),
              meaning(TSuceso_Linea::No_Solicitada, dato, 6745).replace("6745", "6799"));
    EXPECT_TRUE(meaning(TSuceso_Linea::Peticion, Trama_Dec(0x50, 0x20, 0xFF, 0x9F), 6799)
                    .contains("/6799"));
}

} // namespace
