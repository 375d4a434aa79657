#include "Esquema.h"

#include "Json_Registro.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

#include <cstddef>
#include <utility>

namespace {

// The events table as this version makes it; the first version knew no surveys.
const char* const kEventos = "CREATE TABLE events ("
                             " id INTEGER PRIMARY KEY,"
                             " decoder INTEGER NOT NULL REFERENCES decoders(id),"
                             " kind TEXT NOT NULL CHECK (kind IN ('read', 'save', 'survey')),"
                             " time TEXT NOT NULL,"
                             " port TEXT NOT NULL DEFAULT '',"
                             " values_json TEXT NOT NULL DEFAULT '[]',"
                             " acknowledged_json TEXT NOT NULL DEFAULT '[]',"
                             " all_acknowledged INTEGER NOT NULL DEFAULT 0,"
                             " outcome TEXT NOT NULL DEFAULT '')";
const char* const kIndice_Eventos = "CREATE INDEX events_of_decoder ON events (decoder, id)";

// What the second version added to the first.
const char* const kTablas_Nuevas[] = {
    // A surveyed decoder whose identification byte several models share, until it is settled.
    "CREATE TABLE undecided ("
    " decoder INTEGER PRIMARY KEY REFERENCES decoders(id),"
    " models TEXT NOT NULL)", // "6745,6713,6734"
    "CREATE TABLE survey_problems ("
    " id INTEGER PRIMARY KEY,"
    " time TEXT NOT NULL,"
    " code TEXT NOT NULL,"
    " id_byte INTEGER,"
    " cause TEXT NOT NULL CHECK (cause IN ('no_readout', 'incomplete', 'other_id')),"
    " port TEXT NOT NULL DEFAULT '')",
};

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
    kEventos,
    kIndice_Eventos,
    "CREATE TABLE device_tests ("
    " id INTEGER PRIMARY KEY,"
    " time TEXT NOT NULL,"
    " code INTEGER NOT NULL,"
    " type TEXT NOT NULL,"
    " answered INTEGER NOT NULL,"
    " id_byte INTEGER)", // NULL without an answer
};

// What the first version wrote and this one reads: a file that lacks any of it is not a record
// it can use.
const char* const kColumnas[] = {
    "SELECT key, value FROM site",
    "SELECT id, model, location, note, config_json, codes_json, last_read, last_saved, outcome,"
    " confirmed FROM decoders",
    "SELECT id, decoder, kind, time, port, values_json, acknowledged_json, all_acknowledged,"
    " outcome FROM events",
    "SELECT id, time, code, type, answered, id_byte FROM device_tests",
};
// And what the second version added.
const char* const kColumnas_Nuevas[] = {
    "SELECT decoder, models FROM undecided",
    "SELECT id, time, code, id_byte, cause, port FROM survey_problems",
};

template <std::size_t N> bool Legibles(QSqlDatabase& base, const char* const (&consultas)[N]) {
    for (const char* sql : consultas) {
        QSqlQuery q(base);
        if (!q.prepare(QString::fromLatin1(sql) + QStringLiteral(" LIMIT 0")))
            return false;
    }
    return true;
}

// The statements that put keys for the words in each row's values, as SQL literals: they run
// in the upgrade's transaction.
QStringList Valores_En_Claves(QSqlDatabase& base, const char* tabla, const char* columna,
                              const QHash<QString, QString>& palabras) {
    QStringList sentencias;
    QSqlQuery q(base);
    q.setForwardOnly(true);
    if (palabras.isEmpty() || !q.exec(QStringLiteral("SELECT id, %1 FROM %2")
                                          .arg(QLatin1String(columna), QLatin1String(tabla))))
        return sentencias;
    while (q.next()) {
        QList<TValor_Registro> valores = Valores_Json(q.value(1).toString());
        bool cambiado = false;
        for (TValor_Registro& v : valores) {
            const auto clave = palabras.constFind(v.Texto.Literal());
            if (v.Texto.Es_Literal() && clave != palabras.cend()) {
                v.Texto = TFrase::De_Clave(*clave);
                cambiado = true;
            }
        }
        if (cambiado)
            // One pass of arg: a value's text is never read for a marker.
            sentencias << QStringLiteral("UPDATE %1 SET %2 = '%3' WHERE id = %4")
                              .arg(QLatin1String(tabla), QLatin1String(columna),
                                   Json_Valores(valores).replace(QLatin1Char('\''),
                                                                 QStringLiteral("''")),
                                   QString::number(q.value(0).toLongLong()));
    }
    return sentencias;
}

// The statements in one transaction: all of them, or none.
bool Todas_O_Ninguna(QSqlDatabase& base, const QList<QString>& sentencias, QString& error) {
    if (!base.transaction()) {
        error = base.lastError().text();
        return false;
    }
    QSqlQuery q(base);
    for (const QString& sql : sentencias) {
        if (!q.exec(sql)) {
            error = q.lastError().text();
            base.rollback();
            return false;
        }
    }
    if (!base.commit()) {
        error = base.lastError().text();
        base.rollback();
        return false;
    }
    return true;
}

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
    if (!Legibles(base, kColumnas)) {
        return TEsquema::Ajeno;
    }
    if (version == 1) {
        return TEsquema::Anterior;
    }
    return Legibles(base, kColumnas_Nuevas) ? TEsquema::Propio : TEsquema::Ajeno;
}

bool Crea_Esquema(QSqlDatabase& base) {
    QList<QString> sentencias;
    for (const char* sql : kTablas)
        sentencias << QString::fromLatin1(sql);
    for (const char* sql : kTablas_Nuevas)
        sentencias << QString::fromLatin1(sql);
    sentencias << QStringLiteral("PRAGMA user_version = %1").arg(kVersion_Esquema);
    QString error;
    return Todas_O_Ninguna(base, sentencias, error);
}

bool Actualiza_Esquema(QSqlDatabase& base, const QHash<QString, QString>& palabras,
                       QString& error) {
    // SQLite cannot change a column's check: the events are copied into a table that takes
    // surveys too. Their texts stay as stored; this version reads them as they are.
    QList<QString> sentencias{
        QString::fromLatin1(kEventos).replace(QStringLiteral("TABLE events"),
                                              QStringLiteral("TABLE events_2")),
        QStringLiteral("INSERT INTO events_2 SELECT id, decoder, kind, time, port, values_json,"
                       " acknowledged_json, all_acknowledged, outcome FROM events"),
        QStringLiteral("DROP TABLE events"),
        QStringLiteral("ALTER TABLE events_2 RENAME TO events"),
        QString::fromLatin1(kIndice_Eventos)};
    for (const char* sql : kTablas_Nuevas)
        sentencias << QString::fromLatin1(sql);
    for (const auto& [tabla, columna] :
         {std::pair("decoders", "config_json"), std::pair("events", "values_json")})
        sentencias << Valores_En_Claves(base, tabla, columna, palabras);
    sentencias << QStringLiteral("PRAGMA user_version = %1").arg(kVersion_Esquema);
    return Todas_O_Ninguna(base, sentencias, error);
}
