// A record the first version wrote: brought up to date in place and shown with its texts as
// they were stored; one that cannot be brought up to date is left as it is, shown read-only,
// and says why.

#include "Presenta_Registro.h"
#include "RecordFixture.h"

#include <QFile>

namespace kalvex::test {
namespace {

// The first version's tables, and a decoder it recorded in Spanish: read at 09:00, saved at
// 09:05.
const char* const kVersion_1[] = {
    "PRAGMA journal_mode = WAL",
    "CREATE TABLE site (key TEXT PRIMARY KEY, value TEXT NOT NULL)",
    "CREATE TABLE decoders (id INTEGER PRIMARY KEY, model INTEGER NOT NULL,"
    " location TEXT NOT NULL DEFAULT '', note TEXT NOT NULL DEFAULT '',"
    " config_json TEXT NOT NULL DEFAULT '[]', codes_json TEXT NOT NULL DEFAULT '[]',"
    " last_read TEXT, last_saved TEXT, outcome TEXT NOT NULL DEFAULT '',"
    " confirmed INTEGER NOT NULL DEFAULT 0)",
    "CREATE TABLE events (id INTEGER PRIMARY KEY,"
    " decoder INTEGER NOT NULL REFERENCES decoders(id),"
    " kind TEXT NOT NULL CHECK (kind IN ('read', 'save')), time TEXT NOT NULL,"
    " port TEXT NOT NULL DEFAULT '', values_json TEXT NOT NULL DEFAULT '[]',"
    " acknowledged_json TEXT NOT NULL DEFAULT '[]', all_acknowledged INTEGER NOT NULL DEFAULT 0,"
    " outcome TEXT NOT NULL DEFAULT '')",
    "CREATE INDEX events_of_decoder ON events (decoder, id)",
    "CREATE TABLE device_tests (id INTEGER PRIMARY KEY, time TEXT NOT NULL,"
    " code INTEGER NOT NULL, type TEXT NOT NULL, answered INTEGER NOT NULL, id_byte INTEGER)",
    "INSERT INTO site VALUES ('name', 'Calle Mayor 12')",
    "INSERT INTO decoders VALUES (1, 6745, 'Portal A', '',"
    " '[{\"field\":\"Edit5\",\"place\":\"Salida 1\",\"text\":\"0301\"},"
    "{\"field\":\"C1\",\"place\":\"Cerradura\",\"text\":\"S\u00ED\"}]',"
    " '[{\"space\":\"call\",\"from\":769,\"to\":769,\"text\":\"0301\",\"place\":\"Salida 1\"}]',"
    " '2026-12-01T09:00:00.000Z', '2026-12-01T09:05:00.000Z', 'Valores actualizados', 0)",
    "INSERT INTO events (decoder, kind, time, port, values_json) VALUES (1, 'read',"
    " '2026-12-01T09:00:00.000Z', 'COM3',"
    " '[{\"field\":\"Edit5\",\"place\":\"Salida 1\",\"text\":\"0301\"}]')",
    "INSERT INTO events (decoder, kind, time, values_json, acknowledged_json, all_acknowledged,"
    " outcome) VALUES (1, 'save', '2026-12-01T09:05:00.000Z',"
    " '[{\"field\":\"Edit5\",\"place\":\"Salida 1\",\"text\":\"0301\"}]', '[true]', 1,"
    " 'Valores actualizados')",
    "PRAGMA user_version = 1",
};

class SchemaUpgrade : public RecordTest {
protected:
    void Version_1(const QStringList& mas = {}) {
        for (const char* sql : kVersion_1)
            Consulta(Ruta(), QString::fromUtf8(sql));
        for (const QString& sql : mas)
            Consulta(Ruta(), sql);
    }
    QString Version() { return Consulta(Ruta(), "PRAGMA user_version").value(0).value(0); }
};

TEST_F(SchemaUpgrade, AFirstVersionRecordIsBroughtUpToDateAndShowsItsTextsAsStored) {
    Version_1();
    {
        auto base = Abre();
        EXPECT_TRUE(base->Aviso().isEmpty()) << base->Aviso().toStdString();
        EXPECT_FALSE(base->Solo_Lectura());
        EXPECT_EQ(base->Sitio(), "Calle Mayor 12");
        const TInstantanea i = base->Instantanea();
        ASSERT_EQ(i.Decoders.size(), 1);
        const TDecoder_Registro& d = i.Decoders[0];
        TTextos_Registro textos; // English now, Spanish then: shown as stored
        EXPECT_EQ(textos.Frase(d.Configuracion[0].Lugar), "Salida 1");
        EXPECT_EQ(textos.Frase(d.Codigos[0].Lugar), "Salida 1");
        EXPECT_EQ(textos.Frase(d.Resultado), "Valores actualizados");
        const QList<TEvento_Registro> h = base->Historia(d.Id);
        ASSERT_EQ(h.size(), 2);
        EXPECT_EQ(h[0].Puerto, "COM3");
        EXPECT_EQ(textos.Frase(h[1].Resultado), "Valores actualizados");
        // A check box's state stored as the word of its time is its key now.
        EXPECT_EQ(textos.Frase(d.Configuracion[1].Texto), "Yes");
        // The same decoder read again is the one recorded, and the new kinds of event store.
        const TConfiguracion otra_vez = Config(
            6745, {{"Edit5", "Output 1", "0301"}, {"C1", "Lock", TFrase::De_Clave("GEN_MEN103")}});
        base->Lectura("COM3", otra_vez);
        base->Sondeo({"COM3", otra_vez, {}});
        EXPECT_EQ(base->Instantanea().Decoders.size(), 1);
    }
    EXPECT_EQ(Version(), "2");
    EXPECT_EQ(Consulta(Ruta(), "SELECT kind FROM events ORDER BY id"),
              (QList<QStringList>{{"read"}, {"save"}, {"read"}, {"survey"}}));
    EXPECT_TRUE(QDir(Ruta("")).entryList({"*.damaged-*"}).isEmpty());
}

TEST_F(SchemaUpgrade, ARecordThatCannotBeBroughtUpToDateIsLeftAsItIsAndShownReadOnly) {
    // A table in the way of the second version's.
    Version_1({"CREATE TABLE undecided (x)"});
    QFile fichero(Ruta());
    ASSERT_TRUE(fichero.open(QIODevice::ReadOnly));
    const QByteArray antes = fichero.readAll();
    fichero.close();
    {
        auto base = Abre();
        EXPECT_TRUE(base->Solo_Lectura());
        EXPECT_TRUE(base->Aviso().contains("earlier version of Kalvex and could not be brought up"))
            << base->Aviso().toStdString();
        EXPECT_EQ(base->Instantanea().Decoders.size(), 1);
        base->Lectura("COM3", Config(6746, {{"Edit1", "Output 1", "0302"}}));
    }
    ASSERT_TRUE(fichero.open(QIODevice::ReadOnly));
    EXPECT_EQ(fichero.readAll(), antes);
    EXPECT_EQ(Version(), "1");
}

} // namespace
} // namespace kalvex::test
