// The installation's file: what lands in it, which decoder a read-out or a Save belongs to,
// and what happens to a damaged file or one another program has open.

#include "PtyPair.h"
#include "RecordFixture.h"
#include "SmallDisk.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>

namespace kalvex::test {
namespace {

const TConfiguracion kEntrada =
    Config(6746, {Valor("Edit1", "1234"), Valor("Edit2", "10")}, {Llamada(0x1234)});

QByteArray Bytes(const QString& ruta) {
    QFile f(ruta);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void Escribe(const QString& ruta, const QByteArray& bytes) {
    QFile f(ruta);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

using Database = RecordTest;

TEST_F(Database, ReadOutLandsWithItsValuesAndSurvivesReopening) {
    {
        auto base = Abre();
        EXPECT_TRUE(base->Aviso().isEmpty());
        EXPECT_FALSE(base->Solo_Lectura());
        base->Lectura("/dev/ttyUSB0", kEntrada);
    } // the write is still queued here: closing must store it
    auto base = Abre();
    const TInstantanea i = base->Instantanea();
    ASSERT_EQ(i.Decoders.size(), 1);
    const TDecoder_Registro& d = i.Decoders[0];
    EXPECT_EQ(d.Referencia, 6746);
    ASSERT_EQ(d.Configuracion.size(), 2);
    EXPECT_EQ(d.Configuracion[1].Campo, "Edit2");
    EXPECT_EQ(d.Configuracion[1].Lugar, "Edit2 place");
    EXPECT_EQ(d.Configuracion[1].Texto, "10");
    ASSERT_EQ(d.Codigos.size(), 1);
    EXPECT_EQ(d.Codigos[0].Desde, 0x1234);
    EXPECT_EQ(d.Codigos[0].Espacio, TEspacio_Codigo::Llamada);
    EXPECT_LE(qAbs(d.Ultima_Lectura.secsTo(QDateTime::currentDateTime())), 60);
    EXPECT_FALSE(d.Ultima_Grabacion.isValid());
    EXPECT_TRUE(d.Confirmado);

    const QList<TEvento_Registro> historia = base->Historia(d.Id);
    ASSERT_EQ(historia.size(), 1);
    EXPECT_EQ(historia[0].Tipo, TEvento_Registro::TTipo::Lectura);
    EXPECT_EQ(historia[0].Puerto, "/dev/ttyUSB0");
    EXPECT_EQ(historia[0].Valores.size(), 2);
    EXPECT_EQ(historia[0].Momento, d.Ultima_Lectura);
}

TEST_F(Database, ReadOutsAreMatchedToTheDecodersTheyShow) {
    const TConfiguracion otros_valores =
        Config(6746, {Valor("Edit1", "1234"), Valor("Edit2", "20")}, {Llamada(0x1234)});
    const TConfiguracion otro_modelo = Config(6747, kEntrada.Valores, kEntrada.Codigos);
    // A Save writes the digits padded; the next read-out shows them as the decoder holds them.
    const TConfiguracion rellenada =
        Config(6746, {Valor("Edit1", "1234"), Valor("Edit2", "010 ")}, {Llamada(0x1234)});
    struct Caso {
        const char* que;
        QList<TConfiguracion> lecturas;
        int decoders;
    } casos[] = {
        {"same decoder twice", {kEntrada, kEntrada}, 1},
        {"different values", {kEntrada, otros_valores}, 2},
        {"same values, other model", {kEntrada, otro_modelo}, 2},
        {"empty decoders are always new", {Vacia(6746), Vacia(6746)}, 2},
        {"back to the first", {kEntrada, otros_valores, kEntrada}, 2},
        {"leading zeros and blanks", {kEntrada, rellenada}, 1},
    };
    for (const Caso& c : casos) {
        auto base = Abre(QString::fromLatin1(c.que) + ".kalvex");
        for (const TConfiguracion& l : c.lecturas) {
            base->Lectura("COM1", l);
        }
        EXPECT_EQ(base->Instantanea().Decoders.size(), c.decoders) << c.que;
    }
}

TEST_F(Database, DecoderIsRecognisedAfterReopening) {
    Abre()->Lectura("COM1", kEntrada);
    auto base = Abre();
    base->Lectura("COM2", kEntrada);
    const TInstantanea i = base->Instantanea();
    ASSERT_EQ(i.Decoders.size(), 1);
    EXPECT_EQ(base->Historia(i.Decoders[0].Id).size(), 2);
}

TEST_F(Database, AcknowledgedWritesUpdateTheLastKnownConfiguration) {
    auto base = Abre();
    base->Lectura("COM1", kEntrada);
    TConfiguracion nueva =
        Config(6746, {Valor("Edit1", "5555"), Valor("Edit2", "30")}, {Llamada(0x5555)});
    base->Grabacion(Grabacion(nueva, {true, false}, "Not all values were saved"));

    TDecoder_Registro d = base->Instantanea().Decoders.value(0);
    EXPECT_EQ(d.Configuracion[0].Texto, "5555");
    EXPECT_EQ(d.Configuracion[1].Texto, "10"); // not acknowledged: as last read
    EXPECT_FALSE(d.Confirmado);
    EXPECT_EQ(d.Resultado, "Not all values were saved");
    EXPECT_TRUE(d.Ultima_Grabacion.isValid());
    // Partly acknowledged: the decoder may answer its former or its new code.
    ASSERT_EQ(d.Codigos.size(), 2);
    EXPECT_EQ(d.Codigos[0].Desde, 0x1234);
    EXPECT_EQ(d.Codigos[1].Desde, 0x5555);

    base->Grabacion(Grabacion(nueva, {true, true}));
    d = base->Instantanea().Decoders.value(0);
    EXPECT_EQ(d.Configuracion[1].Texto, "30");
    ASSERT_EQ(d.Codigos.size(), 1);
    EXPECT_EQ(d.Codigos[0].Desde, 0x5555);

    // The decoder, read again with what was written, is the same decoder, now confirmed.
    base.reset();
    base = Abre();
    base->Lectura("COM1", nueva);
    const TInstantanea i = base->Instantanea();
    ASSERT_EQ(i.Decoders.size(), 1);
    EXPECT_TRUE(i.Decoders[0].Confirmado);
    const QList<TEvento_Registro> historia = base->Historia(i.Decoders[0].Id);
    ASSERT_EQ(historia.size(), 4);
    EXPECT_EQ(historia[1].Tipo, TEvento_Registro::TTipo::Grabacion);
    EXPECT_EQ(historia[1].Aceptadas, QList<bool>({true, false}));
    EXPECT_FALSE(historia[1].Todo_Aceptado);
    EXPECT_EQ(historia[1].Resultado, "Not all values were saved");
    EXPECT_TRUE(historia[2].Todo_Aceptado);
}

TEST_F(Database, UnacknowledgedSaveKeepsTheConfiguration) {
    auto base = Abre();
    base->Lectura("COM1", kEntrada);
    base->Grabacion(Grabacion(Config(6746, {Valor("Edit1", "9999")}, {Llamada(0x9999)}), {false},
                              "The decoder did not answer"));
    const TDecoder_Registro d = base->Instantanea().Decoders.value(0);
    EXPECT_EQ(d.Configuracion, kEntrada.Valores);
    ASSERT_EQ(d.Codigos.size(), 1);
    EXPECT_EQ(d.Codigos[0].Desde, 0x1234);
}

TEST_F(Database, AReadOutShowingWritesThatWereNotAcknowledgedIsTheSameDecoder) {
    auto base = Abre();
    base->Lectura("COM1", kEntrada);
    const TConfiguracion nueva =
        Config(6746, {Valor("Edit1", "5555"), Valor("Edit2", "30")}, {Llamada(0x5555)});
    // The code was acknowledged; the time went in, but its acknowledgement was lost.
    base->Grabacion(Grabacion(nueva, {true, false}, "Not all values were saved"));
    base->Lectura("COM1",
                  Config(6746, {Valor("Edit1", "5555"), Valor("Edit2", "030")}, {Llamada(0x5555)}));
    TInstantanea i = base->Instantanea();
    ASSERT_EQ(i.Decoders.size(), 1);
    EXPECT_TRUE(i.Decoders[0].Confirmado);
    EXPECT_TRUE(base->Choques(nueva).isEmpty());

    // Once read, the doubt is settled: another decoder with the written time is another one.
    base->Lectura("COM1",
                  Config(6746, {Valor("Edit1", "5555"), Valor("Edit2", "10")}, {Llamada(0x5555)}));
    i = base->Instantanea();
    EXPECT_EQ(i.Decoders.size(), 2);
}

TEST_F(Database, SavesWithoutReadOutBelongToTheEditorsDecoderUntilItCloses) {
    auto base = Abre();
    const TConfiguracion nueva = Config(6758, {Valor("Edit1", "A101")});
    base->Grabacion(Grabacion(nueva, {true}));
    base->Grabacion(Grabacion(nueva, {true}));
    EXPECT_EQ(base->Instantanea().Decoders.size(), 1);
    base->Editor_Cerrado(6758);
    base->Grabacion(Grabacion(nueva, {true}));
    const TInstantanea i = base->Instantanea();
    ASSERT_EQ(i.Decoders.size(), 2);
    EXPECT_FALSE(i.Decoders[1].Ultima_Lectura.isValid());
    EXPECT_EQ(i.Decoders[1].Configuracion, nueva.Valores);
    EXPECT_EQ(base->Historia(i.Decoders[0].Id).size(), 2);
}

TEST_F(Database, UserTextsAndDevicesTestRowsAreStoredInPlainColumns) {
    {
        auto base = Abre();
        base->Lectura("COM1", kEntrada);
        const qint64 id = base->Instantanea().Decoders[0].Id;
        EXPECT_TRUE(base->Pon_Sitio("Calle Mayor 12"));
        EXPECT_TRUE(
            base->Pon_Entrega({"Ruiz e Hijos", "Comunidad", "", "Keys: caretaker\nBell 2"}));
        EXPECT_TRUE(base->Pon_Ubicacion(id, "Entrance A, floor 3"));
        EXPECT_TRUE(base->Pon_Nota(id, "behind the panel"));
        EXPECT_FALSE(base->Pon_Nota(id + 1, "no such decoder"));
        base->Prueba({0x21, "6746", true, 0x46});
        base->Prueba({0x22, "", false, -1});
    }
    auto base = Abre();
    EXPECT_EQ(base->Sitio(), "Calle Mayor 12");
    const TDatos_Entrega entrega = base->Instantanea().Entrega;
    EXPECT_EQ(entrega.Instalador, "Ruiz e Hijos");
    EXPECT_EQ(entrega.Notas, "Keys: caretaker\nBell 2");
    const TDecoder_Registro d = base->Instantanea().Decoders.value(0);
    EXPECT_EQ(d.Ubicacion, "Entrance A, floor 3");
    EXPECT_EQ(d.Nota, "behind the panel");
    base.reset();

    EXPECT_EQ(Consulta(Ruta(), "SELECT key, value FROM site ORDER BY key"),
              QList<QStringList>({{"address", ""},
                                  {"customer", "Comunidad"},
                                  {"installer", "Ruiz e Hijos"},
                                  {"name", "Calle Mayor 12"},
                                  {"notes", "Keys: caretaker\nBell 2"}}));
    EXPECT_EQ(Consulta(Ruta(), "SELECT model, location, confirmed FROM decoders"),
              QList<QStringList>({{"6746", "Entrance A, floor 3", "1"}}));
    EXPECT_EQ(Consulta(Ruta(), "SELECT code, type, answered, id_byte FROM device_tests"),
              QList<QStringList>({{"33", "6746", "1", "70"}, {"34", "", "0", ""}}));
    const QList<QStringList> cuando = Consulta(Ruta(), "SELECT time FROM events");
    ASSERT_EQ(cuando.size(), 1);
    EXPECT_TRUE(QDateTime::fromString(cuando[0][0], Qt::ISODateWithMs).isValid())
        << cuando[0][0].toStdString();
    EXPECT_EQ(Consulta(Ruta(), "PRAGMA journal_mode"), QList<QStringList>({{"wal"}}));
}

TEST_F(Database, DamagedFileIsSetAsideAndANewOneStarted) {
    // A real record with enough in it that cutting it in half loses pages in use.
    {
        auto base = Abre("whole.kalvex");
        for (int n = 0; n < 200; ++n) {
            base->Lectura("COM1", Config(6746, {Valor("Edit1", QString::number(n))}));
        }
    }
    const QByteArray entera = Bytes(Ruta("whole.kalvex"));
    ASSERT_GT(entera.size(), 16384);
    struct Caso {
        const char* que;
        QByteArray bytes;
    } casos[] = {
        {"garbage", QByteArray(5000, '\x5a')},
        {"text", "Calle Mayor 12\nEntrance A\n"},
        {"truncated", entera.left(entera.size() / 2)},
        {"header only", entera.left(100)},
    };
    for (const Caso& c : casos) {
        const QString nombre = QString::fromLatin1(c.que) + ".kalvex";
        Escribe(Ruta(nombre), c.bytes);
        QString apartado;
        {
            auto base = Abre(nombre);
            EXPECT_FALSE(base->Solo_Lectura()) << c.que;
            const QString aviso = base->Aviso();
            EXPECT_TRUE(aviso.startsWith("The installation file " + Ruta(nombre) + " was damaged"))
                << c.que << ": " << aviso.toStdString();
            const QStringList aparte =
                QDir(Ruta("")).entryList({nombre + ".damaged-*"}, QDir::Files);
            ASSERT_EQ(aparte.size(), 1) << c.que;
            apartado = Ruta(aparte[0]);
            EXPECT_TRUE(aviso.contains(apartado)) << c.que;
            EXPECT_TRUE(base->Instantanea().Decoders.isEmpty()) << c.que;
            base->Lectura("COM1", kEntrada);
        }
        EXPECT_EQ(Bytes(apartado), c.bytes) << c.que; // kept as it was
        auto base = Abre(nombre);
        EXPECT_TRUE(base->Aviso().isEmpty()) << c.que;
        EXPECT_EQ(base->Instantanea().Decoders.size(), 1) << c.que;
    }
}

TEST_F(Database, ForeignDatabaseIsSetAsideNotUsed) {
    Consulta(Ruta(), "CREATE TABLE contacts (name TEXT)");
    auto base = Abre();
    EXPECT_TRUE(base->Aviso().contains("is not an installation record"))
        << base->Aviso().toStdString();
    EXPECT_TRUE(base->Aviso().contains(".damaged-"));
    EXPECT_EQ(QDir(Ruta("")).entryList({"site.kalvex.damaged-*"}, QDir::Files).size(), 1);
}

TEST_F(Database, AJournalDeletedByAnotherReaderLosesNothing) {
    auto base = Abre();
    base->Lectura("COM1", kEntrada);
    const qint64 id = base->Instantanea().Decoders[0].Id;
    ASSERT_EQ(base->Historia(id).size(), 1);
    // What a file dialog listing the folder did: opened and closed the file, which drops every
    // lock this process holds on it.
    {
        QFile mirada(Ruta());
        ASSERT_TRUE(mirada.open(QIODevice::ReadOnly));
        mirada.read(64);
    }
    // Another program reads the record, takes it for unused and deletes its journal.
    const auto Lee = [this](QProcess& sqlite) {
        sqlite.start("sqlite3", {Ruta()});
        EXPECT_TRUE(sqlite.waitForStarted()) << sqlite.errorString().toStdString();
        sqlite.write("SELECT count(*) FROM events;\n");
        EXPECT_TRUE(sqlite.waitForReadyRead());
        return sqlite.readAllStandardOutput().trimmed();
    };
    {
        QProcess lector;
        EXPECT_EQ(Lee(lector), "1");
        lector.closeWriteChannel();
        ASSERT_TRUE(lector.waitForFinished());
    }
    ASSERT_FALSE(QFileInfo::exists(Ruta() + "-wal")); // the journal was taken away

    base->Lectura("COM2", kEntrada);
    EXPECT_EQ(base->Historia(id).size(), 2);
    // A reader that stays open while this program closes the record sees what it wrote.
    QProcess lector;
    EXPECT_EQ(Lee(lector), "2");
    base.reset();
    lector.closeWriteChannel();
    ASSERT_TRUE(lector.waitForFinished());
    EXPECT_EQ(Abre()->Historia(id).size(), 2);
}

TEST_F(Database, AChangeThatCannotBeStoredIsToldAndNotShown) {
    SmallDisk disco(Ruta("disk"), 512);
    if (!disco.Mounted())
        GTEST_SKIP() << "needs a filesystem of its own (root)";
    const TConfiguracion otra = Config(6747, {Valor("Edit1", "7")}, {Llamada(0x7777)});
    auto base = Abre("disk/site.kalvex");
    QStringList fallos;
    base->Al_Fallar([&](const QString& causa) { fallos << causa; });
    base->Lectura("COM1", kEntrada);
    ASSERT_EQ(base->Historia(1).size(), 1);

    disco.Fill();
    base->Lectura("COM1", otra);
    ASSERT_TRUE(WaitUntil([&] { return !fallos.isEmpty(); }));
    EXPECT_TRUE(fallos[0].contains("full")) << fallos[0].toStdString();
    // Only what the file holds is shown, and its clash check goes by it.
    EXPECT_EQ(base->Instantanea().Decoders.size(), 1);
    EXPECT_TRUE(base->Choques(Config(6746, {}, {Llamada(0x7777)})).isEmpty());

    disco.Free();
    base->Lectura("COM1", otra);
    base.reset();
    EXPECT_EQ(fallos.size(), 1);
    EXPECT_EQ(Abre("disk/site.kalvex")->Instantanea().Decoders.size(), 2);
}

TEST_F(Database, ARecordThatMayNotBeWrittenIsShownReadOnlyAndSaysWhy) {
    SmallDisk disco(Ruta("stick"), 512);
    if (!disco.Mounted())
        GTEST_SKIP() << "needs a filesystem of its own (root)";
    Abre("stick/site.kalvex")->Lectura("COM1", kEntrada);
    ASSERT_TRUE(disco.MakeReadOnly());
    auto base = Abre("stick/site.kalvex");
    EXPECT_TRUE(base->Solo_Lectura());
    const QString aviso = base->Aviso();
    EXPECT_TRUE(aviso.startsWith("You may not write to the installation file"))
        << aviso.toStdString();
    EXPECT_FALSE(aviso.contains("()")) << aviso.toStdString();
    EXPECT_EQ(base->Instantanea().Decoders.size(), 1);
}

TEST_F(Database, ASaveCutShortIsMatchedByTheValuesItWasWriting) {
    // Output 2 goes from 0102 to 0112; the program is killed halfway through the Save, which is
    // the same for the file as a record closed right after the Save began.
    const TConfiguracion leida = Config(6745, {Valor("Edit1", "0101"), Valor("Edit2", "0102")},
                                        {Llamada(0x101), Llamada(0x102, "output 2")});
    const TConfiguracion nueva = Config(6745, {Valor("Edit1", "0101"), Valor("Edit2", "0112")},
                                        {Llamada(0x101), Llamada(0x112, "output 2")});
    const TConfiguracion otra = Config(6745, {Valor("Edit1", "0301"), Valor("Edit2", "0302")},
                                       {Llamada(0x301), Llamada(0x302, "output 2")});
    struct Caso {
        const char* que;
        bool leido_antes; // the decoder was read before the Save
        TConfiguracion despues;
        int decoders;
    } casos[] = {
        {"the write landed", true, nueva, 1},
        {"the write did not land", true, leida, 1},
        {"never read, the write landed", false, nueva, 1},
        {"another decoder of the model", true, otra, 2},
        {"never read, another decoder", false, otra, 2},
    };
    for (const Caso& c : casos) {
        const QString nombre = QString::fromLatin1(c.que) + ".kalvex";
        {
            auto base = Abre(nombre);
            if (c.leido_antes)
                base->Lectura("COM1", leida);
            base->Intencion(nueva);
        }
        auto base = Abre(nombre);
        base->Lectura("COM1", c.despues);
        const TInstantanea i = base->Instantanea();
        EXPECT_EQ(i.Decoders.size(), c.decoders) << c.que;
        if (c.decoders == 1) {
            EXPECT_TRUE(base->Choques(nueva).isEmpty()) << c.que; // no ghost of its own
            // Its history keeps the Save that has no outcome between the read-outs.
            const QList<TEvento_Registro> h = base->Historia(i.Decoders[0].Id);
            ASSERT_EQ(h.size(), c.leido_antes ? 3 : 2) << c.que;
            EXPECT_EQ(h[h.size() - 2].Tipo, TEvento_Registro::TTipo::Grabacion) << c.que;
            EXPECT_TRUE(h[h.size() - 2].Resultado.isEmpty()) << c.que;
        }
    }
}

TEST_F(Database, TheOutcomeOfASaveRewritesItsBeginning) {
    auto base = Abre();
    base->Lectura("COM1", kEntrada);
    const TConfiguracion nueva =
        Config(6746, {Valor("Edit1", "5555"), Valor("Edit2", "30")}, {Llamada(0x5555)});
    base->Intencion(nueva);
    base->Grabacion(Grabacion(nueva, {true, false}, "The values could not be saved"));
    const qint64 id = base->Instantanea().Decoders[0].Id;
    base.reset();
    base = Abre();
    const QList<TEvento_Registro> h = base->Historia(id);
    ASSERT_EQ(h.size(), 2);
    EXPECT_EQ(h[1].Resultado, "The values could not be saved");
    EXPECT_EQ(h[1].Aceptadas, (QList<bool>{true, false}));
    // The value not acknowledged is still in doubt after reopening: a read-out showing it is
    // the same decoder.
    base->Lectura("COM1", nueva);
    EXPECT_EQ(base->Instantanea().Decoders.size(), 1);
}

TEST_F(Database, SecondProgramShowsTheInstallationReadOnly) {
    auto primera = Abre();
    primera->Lectura("COM1", kEntrada);
    const qint64 id = primera->Instantanea().Decoders[0].Id;
    primera->Historia(id); // waits for the read-out to be stored

    auto segunda = Abre();
    EXPECT_TRUE(segunda->Solo_Lectura());
    EXPECT_EQ(segunda->Aviso(),
              "This installation is open in another Kalvex; it is shown read-only.");
    EXPECT_EQ(segunda->Instantanea().Decoders.size(), 1);
    EXPECT_EQ(segunda->Historia(id).size(), 1);
    EXPECT_FALSE(segunda->Pon_Ubicacion(id, "Entrance B"));
    EXPECT_FALSE(segunda->Pon_Sitio("Calle Menor 1"));
    EXPECT_FALSE(segunda->Pon_Entrega({"Ruiz e Hijos", "", "", ""}));
    // It stores nothing, but its own clash checks still see what it did.
    segunda->Editor_Cerrado(6746);
    segunda->Lectura("COM1", Config(6747, {Valor("Edit1", "7")}, {Llamada(0x7777)}));
    EXPECT_EQ(segunda->Choques(Config(6746, {}, {Llamada(0x7777)})).size(), 1);
    segunda.reset();
    primera.reset();

    auto tercera = Abre();
    EXPECT_FALSE(tercera->Solo_Lectura());
    EXPECT_EQ(tercera->Instantanea().Decoders.size(), 1);
}

TEST_F(Database, LockOfAProgramThatDiedIsTakenOver) {
    // A process that has ended, and its id.
    QProcess muerto;
    muerto.start("sh", {"-c", "echo $$"});
    ASSERT_TRUE(muerto.waitForFinished());
    Escribe(Ruta("site.kalvex.lock"), muerto.readAllStandardOutput().trimmed() + "\nkalvex\n" +
                                          QSysInfo::machineHostName().toUtf8() + "\n");
    auto base = Abre();
    EXPECT_FALSE(base->Solo_Lectura());
    EXPECT_TRUE(base->Aviso().isEmpty());
}

TEST_F(Database, FileOfANewerVersionIsLeftAsItIs) {
    Abre()->Lectura("COM1", kEntrada);
    Consulta(Ruta(), "PRAGMA user_version = 99");
    const QByteArray antes = Bytes(Ruta());
    {
        auto base = Abre();
        EXPECT_TRUE(base->Solo_Lectura());
        EXPECT_TRUE(base->Aviso().contains("newer version")) << base->Aviso().toStdString();
        EXPECT_EQ(base->Instantanea().Decoders.size(), 1);
        base->Lectura("COM1", kEntrada);
    }
    EXPECT_EQ(Bytes(Ruta()), antes);
    EXPECT_TRUE(QDir(Ruta("")).entryList({"*.damaged-*"}).isEmpty());
}

TEST_F(Database, FileThatCannotBeCreatedRecordsNothingAndSaysSo) {
    Escribe(Ruta("not-a-folder"), "x");
    auto base = Abre("not-a-folder/site.kalvex");
    EXPECT_TRUE(base->Solo_Lectura());
    EXPECT_TRUE(base->Aviso().contains("could not be opened or created"))
        << base->Aviso().toStdString();
    base->Lectura("COM1", kEntrada);
    base->Prueba({0x21, "6746", true, 0x46});
    EXPECT_EQ(base->Instantanea().Decoders.size(), 1); // in memory, for the clash checks
    EXPECT_TRUE(base->Historia(1).isEmpty());
}

} // namespace
} // namespace kalvex::test
