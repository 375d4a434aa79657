// The line log: the daily file, its clean-up, and a folder that cannot be written.

#include "DECODER2.h"
#include "EnglishTexts.h"
#include "F_Monitor.h"
#include "Registro_Linea.h"

#include <gtest/gtest.h>

#include <QDate>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace kalvex::test;

namespace {

void Touch(const QString& path) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
}

TEST(LineLog, CleanUpRemovesOnlyExpiredLogFiles) {
    QTemporaryDir dir;
    const QDate today(2024, 5, 31);
    const QString old = TRegistro_Linea::Nombre_Fichero(today.addDays(-31));
    const QString edge = TRegistro_Linea::Nombre_Fichero(today.addDays(-30));
    const QString fresh = TRegistro_Linea::Nombre_Fichero(today);
    for (const QString& name : {old, edge, fresh, QStringLiteral("line-notes.log"),
                                QStringLiteral("installation.kalvex")})
        Touch(dir.filePath(name));
    EXPECT_EQ(old, "line-2024-04-30.log");
    EXPECT_EQ(TRegistro_Linea::Limpia(dir.path(), today), 1);
    EXPECT_FALSE(QFile::exists(dir.filePath(old)));
    for (const QString& kept :
         {edge, fresh, QStringLiteral("line-notes.log"), QStringLiteral("installation.kalvex")})
        EXPECT_TRUE(QFile::exists(dir.filePath(kept))) << kept.toStdString();
    EXPECT_EQ(TRegistro_Linea::Limpia(dir.path() + "/missing", today), 0);
}

class LineLogFile : public EnglishTexts {};

TEST_F(LineLogFile, RowsGoToTodaysFileWhenOnAndTheSettingIsKept) {
    QTemporaryDir dir;
    const QString folder = dir.filePath("log");
    Touch(dir.filePath("ignored")); // the folder is created by the first write
    QDir().mkpath(folder);
    const QString expired =
        folder + '/' + TRegistro_Linea::Nombre_Fichero(QDate::currentDate().addDays(-40));
    Touch(expired);
    TDECODER2 link;
    const QString today = folder + '/' + TRegistro_Linea::Nombre_Fichero(QDate::currentDate());
    {
        TF_Monitor monitor(&link, 100, folder);
        EXPECT_FALSE(QFile::exists(expired));   // removed at start
        EXPECT_FALSE(monitor.Registro_Linea()); // off by default
        TSuceso_Linea s;
        s.Clase = TSuceso_Linea::Peticion;
        s.Trama = {0x70, 0x01, 0x23, 0xD1};
        monitor.Monitor().Suceso(s);
        monitor.Monitor().Vuelca();
        QString causa;
        EXPECT_TRUE(monitor.Registro_Linea(true, causa));
        EXPECT_TRUE(Lee_Registro_Linea());
        monitor.Monitor().Suceso(s);
        monitor.Monitor().Vuelca();
        EXPECT_FALSE(QFile::exists(today)); // not yet: written on a timer or at the end
    }
    QFile f(today);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(f.readAll()).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2) << lines.join('\n').toStdString();
    EXPECT_EQ(lines[0], "Time\t+ms\tDirection\tBytes\tMeaning");
    EXPECT_TRUE(lines[1].endsWith("\tto the line\t70 01 23 D1\tquery device D123"));

    // The next start takes the setting.
    TF_Monitor again(&link, 100, folder);
    EXPECT_TRUE(again.Registro_Linea());
    QString causa;
    EXPECT_TRUE(again.Registro_Linea(false, causa));
    EXPECT_FALSE(Lee_Registro_Linea());
}

TEST_F(LineLogFile, AFolderThatCannotBeWrittenTurnsTheLogOff) {
    QTemporaryDir dir;
    const QString blocked = dir.filePath("log");
    Touch(blocked); // a file where the folder should be
    TDECODER2 link;
    TF_Monitor monitor(&link, 100, blocked);
    QString failed;
    monitor.Monitor().Registro().OnFallo = [&](const QString& f) { failed = f; };
    QString causa;
    monitor.Registro_Linea(true, causa);
    TSuceso_Linea s;
    monitor.Monitor().Suceso(s);
    monitor.Monitor().Vuelca();
    EXPECT_FALSE(monitor.Monitor().Registro().Vuelca());
    EXPECT_TRUE(failed.startsWith(blocked)) << failed.toStdString();
    EXPECT_FALSE(monitor.Registro_Linea());
}

} // namespace
