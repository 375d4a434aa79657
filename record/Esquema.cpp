#include "Esquema.h"

#include <QSqlQuery>
#include <QStringList>

namespace {

// Plain English names and ISO times in UTC, so any SQLite tool reads the record.
const char* const kTablas[] = {
    "CREATE TABLE site (key TEXT PRIMARY KEY, value TEXT NOT NULL)",
    "CREATE TABLE decoders ("
    " id INTEGER PRIMARY KEY,"
    " model INTEGER NOT NULL,"
    " location TEXT NOT NULL DEFAULT '',"
    " note TEXT NOT NULL DEFAULT '',"
    " config_json TEXT NOT NULL DEFAULT '[]'," // the last known values
    " codes_json TEXT NOT NULL DEFAULT '[]',"  // the codes they make the decoder answer
    " last_read TEXT,"
    " last_saved TEXT,"
    " outcome TEXT NOT NULL DEFAULT ''," // of the last Save
    " confirmed INTEGER NOT NULL DEFAULT 0)",
    "CREATE TABLE events ("
    " id INTEGER PRIMARY KEY,"
    " decoder INTEGER NOT NULL REFERENCES decoders(id),"
    " kind TEXT NOT NULL CHECK (kind IN ('read', 'save')),"
    " time TEXT NOT NULL,"
    " port TEXT NOT NULL DEFAULT '',"
    " values_json TEXT NOT NULL DEFAULT '[]',"
    " acknowledged_json TEXT NOT NULL DEFAULT '[]',"
    " all_acknowledged INTEGER NOT NULL DEFAULT 0,"
    " outcome TEXT NOT NULL DEFAULT '')",
    "CREATE INDEX events_of_decoder ON events (decoder, id)",
    "CREATE TABLE device_tests ("
    " id INTEGER PRIMARY KEY,"
    " time TEXT NOT NULL,"
    " code INTEGER NOT NULL,"
    " type TEXT NOT NULL,"
    " answered INTEGER NOT NULL,"
    " id_byte INTEGER)", // NULL without an answer
};

// What this version reads: a file that lacks any of it is not a record it can use.
const char* const kColumnas[] = {
    "SELECT key, value FROM site",
    "SELECT id, model, location, note, config_json, codes_json, last_read, last_saved, outcome,"
    " confirmed FROM decoders",
    "SELECT id, decoder, kind, time, port, values_json, acknowledged_json, all_acknowledged,"
    " outcome FROM events",
    "SELECT id, time, code, type, answered, id_byte FROM device_tests",
};

int Entero(QSqlDatabase& base, const QString& sql) {
    QSqlQuery q(base);
    return q.exec(sql) && q.next() ? q.value(0).toInt() : -1;
}

} // namespace

TEsquema Comprueba_Esquema(QSqlDatabase& base) {
    const int version = Entero(base, QStringLiteral("PRAGMA user_version"));
    if (version > kVersion_Esquema) {
        return TEsquema::Mas_Nuevo;
    }
    if (version == 0) {
        const int tablas = Entero(base, QStringLiteral("SELECT count(*) FROM sqlite_master"));
        return tablas == 0 ? TEsquema::Vacio : TEsquema::Ajeno;
    }
    if (version != kVersion_Esquema) {
        return TEsquema::Ajeno;
    }
    for (const char* sql : kColumnas) {
        QSqlQuery q(base);
        if (!q.prepare(QString::fromLatin1(sql) + QStringLiteral(" LIMIT 0"))) {
            return TEsquema::Ajeno;
        }
    }
    return TEsquema::Propio;
}

bool Crea_Esquema(QSqlDatabase& base) {
    if (!base.transaction()) {
        return false;
    }
    QSqlQuery q(base);
    for (const char* sql : kTablas) {
        if (!q.exec(QString::fromLatin1(sql))) {
            base.rollback();
            return false;
        }
    }
    if (!q.exec(QStringLiteral("PRAGMA user_version = %1").arg(kVersion_Esquema))) {
        base.rollback();
        return false;
    }
    return base.commit();
}
