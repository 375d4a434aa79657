// Where Kalvex keeps its files on Windows: settings roam with the user, records and logs stay
// on the machine, the installed texts and help are beside the program, and the settings of an
// earlier version in the Windows folder are taken over at the first start.

#include "Carpetas.h"
#include "QtApp.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace kalvex::test;

namespace {

QByteArray Contents(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void Write(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// One test: the settings of the Windows folder are taken once per run, at the first look.
TEST(Win32Folders, SettingsRoamRecordsStayAndOldSettingsAreTakenOverOnce) {
    EnsureCoreApp();
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const QString roaming = root.filePath("Roaming"), local = root.filePath("Local"),
                  windows = root.filePath("Windows");
    ASSERT_TRUE(QDir().mkpath(windows));
    // Windows-1252 and CR LF, as the earlier version wrote it.
    const QByteArray old = "[General]\r\nSys_Port=COM2\r\nIdioma=ESPA\xD1OL\r\n";
    Write(windows + "/KALVEX.INI", old);
    qunsetenv("KALVEX_CONFIG_DIR");
    qunsetenv("KALVEX_DATA_DIR");
    qputenv("APPDATA", QDir::toNativeSeparators(roaming).toLocal8Bit());
    qputenv("LOCALAPPDATA", QDir::toNativeSeparators(local).toLocal8Bit());
    qputenv("WINDIR", QDir::toNativeSeparators(windows).toLocal8Bit());

    EXPECT_EQ(Carpeta_Configuracion(), roaming + "/Kalvex");
    EXPECT_EQ(Contents(roaming + "/Kalvex/KALVEX.INI"), old);
    EXPECT_EQ(Carpeta_Datos_Usuario(), local + "/Kalvex");
    EXPECT_EQ(Carpeta_Datos(), QCoreApplication::applicationDirPath());

    // Once taken over, the user's own file is the one that counts.
    Write(windows + "/KALVEX.INI", "[General]\r\nSys_Port=COM4\r\n");
    QFile::remove(roaming + "/Kalvex/KALVEX.INI");
    Carpeta_Configuracion();
    EXPECT_FALSE(QFile::exists(roaming + "/Kalvex/KALVEX.INI"));

    // A language file of the user's own comes before the installed one.
    EXPECT_EQ(Busca_Fichero("KALVEX_LANG.INI"),
              QCoreApplication::applicationDirPath() + "/KALVEX_LANG.INI");
    Write(roaming + "/Kalvex/KALVEX_LANG.INI", "[ENGLISH]\r\n");
    EXPECT_EQ(Busca_Fichero("KALVEX_LANG.INI"), roaming + "/Kalvex/KALVEX_LANG.INI");

    // The tests' own folders still win.
    qputenv("KALVEX_CONFIG_DIR", root.filePath("config").toLocal8Bit());
    qputenv("KALVEX_DATA_DIR", root.filePath("data").toLocal8Bit());
    EXPECT_EQ(Carpeta_Configuracion(), root.filePath("config"));
    EXPECT_EQ(Carpeta_Datos_Usuario(), root.filePath("data"));
    qunsetenv("KALVEX_CONFIG_DIR");
    qunsetenv("KALVEX_DATA_DIR");
}

} // namespace
