// The configuration folder, the settings file and the text lookup.

#include "Carpetas.h"
#include "Configuracion.h"
#include "FailingDisk.h"
#include "Ficheros.h"
#include "Idiomas.h"

#include <QCoreApplication>

#include <cerrno>

namespace {

// The data folder is found from the program's own path, which needs the application object.
QCoreApplication& Aplicacion() {
    static int argc = 1;
    static char nombre[] = "files_settings_test";
    static char* argv[] = {nombre, nullptr};
    // Never destroyed: tearing Qt down among the static destructors crashes at exit.
    static auto* app = new QCoreApplication(argc, argv);
    return *app;
}

class Variables {
public:
    Variables(std::initializer_list<std::pair<const char*, QString>> valores) {
        for (const auto& [nombre, valor] : valores) {
            antes_.push_back({nombre, qgetenv(nombre)});
            qputenv(nombre, valor.toLocal8Bit());
        }
    }
    ~Variables() {
        for (const auto& [nombre, valor] : antes_) {
            qputenv(nombre, valor);
        }
    }

private:
    std::vector<std::pair<const char*, QByteArray>> antes_;
};

TEST(TextsConfigFolder, ChosenByEnvironment) {
    QTemporaryDir home;
    {
        Variables v{{"KALVEX_CONFIG_DIR", "/srv/k/"}, {"XDG_CONFIG_HOME", "/x"}};
        EXPECT_EQ(Carpeta_Configuracion(), "/srv/k");
    }
    {
        Variables v{{"KALVEX_CONFIG_DIR", ""}, {"XDG_CONFIG_HOME", "/x"}};
        EXPECT_EQ(Carpeta_Configuracion(), "/x/kalvex");
    }
    {
        Variables v{
            {"KALVEX_CONFIG_DIR", ""}, {"XDG_CONFIG_HOME", "relative"}, {"HOME", home.path()}};
        EXPECT_EQ(Carpeta_Configuracion(), home.path() + "/.config/kalvex");
    }
}

class TextsSettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        Sys_Port.clear();
        Idioma.clear();
    }
    Carpeta_Temporal carpeta_;
};

TEST_F(TextsSettingsTest, MissingFileGivesDefaultsAndCreatesNothing) {
    Lee_Configuracion();
    EXPECT_EQ(Sys_Port, "COM1");
    EXPECT_EQ(Idioma, "ENGLISH");
    EXPECT_FALSE(QFileInfo::exists(carpeta_.Ruta()));
}

TEST_F(TextsSettingsTest, PresentButEmptyKeyIsEmpty) {
    Escribe_Bytes(carpeta_.Fichero("KALVEX.INI"), "[General]\r\nSys_Port=\r\n");
    Lee_Configuracion();
    EXPECT_EQ(Sys_Port, "");
    EXPECT_EQ(Idioma, "ENGLISH");
}

TEST_F(TextsSettingsTest, RoundTripKeepsTheRestOfTheFile) {
    const QByteArray antes = "; mine\r\n[Other]\r\nA=1\r\n[General]\r\nSys_Port=COM1\r\n";
    Escribe_Bytes(carpeta_.Fichero("KALVEX.INI"), antes);
    Sys_Port = "COM3";
    Idioma = QStringLiteral("ESPA\u00D1OL");
    QString causa;
    ASSERT_TRUE(Guarda_Configuracion(causa));
    EXPECT_EQ(Lee_Bytes(carpeta_.Fichero("KALVEX.INI")),
              "; mine\r\n[Other]\r\nA=1\r\n[General]\r\nSys_Port=COM3\r\nIdioma=ESPA\xD1OL\r\n");
    Sys_Port.clear();
    Idioma.clear();
    Lee_Configuracion();
    EXPECT_EQ(Sys_Port, "COM3");
    EXPECT_EQ(Idioma, QStringLiteral("ESPA\u00D1OL"));
}

TEST_F(TextsSettingsTest, FirstSaveCreatesTheFolder) {
    Sys_Port = "/dev/ttyUSB0";
    Idioma = "DEUTSCH";
    QString causa;
    ASSERT_TRUE(Guarda_Configuracion(causa));
    EXPECT_EQ(Lee_Bytes(carpeta_.Fichero("KALVEX.INI")),
              "[General]\r\nSys_Port=/dev/ttyUSB0\r\nIdioma=DEUTSCH\r\n");
}

// Whether a write that failed lost anything: the file gives what the next start would read.
TEST_F(TextsSettingsTest, AFailedWriteSaysWhyKeepsTheFileAndTellsWhetherAChoiceIsLost) {
    const QByteArray antes = "[General]\r\nSys_Port=COM2\r\nLine_Log=1\r\n";
    Escribe_Bytes(carpeta_.Fichero("KALVEX.INI"), antes);
    Lee_Configuracion();
    EXPECT_TRUE(Configuracion_Guardada()); // the missing language is the default one
    QString causa;
    {
        kalvex::test::FailingDisk lleno(ENOSPC, 16);
        EXPECT_FALSE(Guarda_Configuracion(causa));
        EXPECT_EQ(causa, qt_error_string(ENOSPC));
        EXPECT_FALSE(Guarda_Registro_Linea(false, causa));
    }
    EXPECT_EQ(Lee_Bytes(carpeta_.Fichero("KALVEX.INI")), antes);
    EXPECT_TRUE(Lee_Registro_Linea());
    Sys_Port = "COM3";
    EXPECT_FALSE(Configuracion_Guardada());
    Sys_Port = "COM2";
    Idioma = "DEUTSCH";
    EXPECT_FALSE(Configuracion_Guardada());
}

class TextsLookupTest : public ::testing::Test {
protected:
    void SetUp() override { Aplicacion(); }
    void TearDown() override { Libera_Fichero_Idiomas(); }
    void Idiomas_Propios(const QByteArray& bytes) {
        Escribe_Bytes(carpeta_.Fichero("KALVEX_LANG.INI"), bytes);
        Abre_Fichero_Idiomas();
    }
    Carpeta_Temporal carpeta_;
};

TEST_F(TextsLookupTest, KeyOfTheCurrentLanguageOrTheMarker) {
    Idiomas_Propios("[ENGLISH]\r\nGEN_MEN09=Close\r\nList_6745=Audio Decoder 4\r\n"
                    "[DEUTSCH]\r\nGEN_MEN09=Schlie\xDF"
                    "en\r\n");
    Idioma = "DEUTSCH";
    EXPECT_EQ(Texto("GEN_MEN09"), QStringLiteral("Schlie\u00DFen"));
    EXPECT_EQ(Texto("List_6786"), QStringLiteral("\u00BF?")); // no fallback to English
    Idioma = "ITALIANO";
    EXPECT_EQ(Texto("GEN_MEN09"), QStringLiteral("\u00BF?"));
    Idioma = "ENGLISH";
    EXPECT_EQ(Texto("List_6786"), QStringLiteral("\u00BF?"));
    EXPECT_EQ(TEXTO_AUSENTE.size(), 2);
}

TEST_F(TextsLookupTest, EveryLookupReadsTheFileAgain) {
    Idiomas_Propios("[ENGLISH]\r\nGEN_MEN09=Close\r\n");
    Idioma = "ENGLISH";
    EXPECT_EQ(Texto("GEN_MEN09"), "Close");
    Escribe_Bytes(carpeta_.Fichero("KALVEX_LANG.INI"), "[ENGLISH]\r\nGEN_MEN09=Shut\r\n");
    EXPECT_EQ(Texto("GEN_MEN09"), "Shut");
}

TEST_F(TextsLookupTest, NoLanguageFileObjectGivesTheMarker) {
    Idioma = "ENGLISH";
    EXPECT_EQ(Texto("GEN_MEN09"), QStringLiteral("\u00BF?"));
    EXPECT_TRUE(Secciones_Idiomas().isEmpty());
}

TEST_F(TextsLookupTest, InstalledFileServesAFreshInstallationAndAUserFileWins) {
    Idioma = "DEUTSCH";
    Abre_Fichero_Idiomas(); // nothing in the configuration folder yet
    EXPECT_EQ(Texto("GEN_MEN09"), QStringLiteral("Schlie\u00DFen"));
    EXPECT_EQ(Secciones_Idiomas(), (QStringList{"ENGLISH", QStringLiteral("ESPA\u00D1OL"),
                                                QStringLiteral("FRAN\u00C7AIS"), "DEUTSCH"}));
    Idiomas_Propios("[DEUTSCH]\r\nGEN_MEN09=Zu\r\n");
    EXPECT_EQ(Texto("GEN_MEN09"), "Zu");
}

TEST_F(TextsLookupTest, HelpPagesAreInstalled) {
    for (const char* pagina : {"KALVEXHELP.html", "KALVEXHELPINGLES.html", "KALVEXHELPFRANCES.html",
                               "KALVEXHELPALEMAN.html"}) {
        EXPECT_TRUE(Lee_Bytes(Carpeta_Datos() + "/" + pagina).contains("<h1>")) << pagina;
    }
}

} // namespace
