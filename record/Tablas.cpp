#include "Tablas.h"

#include "Json_Registro.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <array>
#include <utility>

namespace {

// Where the transaction running on this thread keeps its failing statement's reason. A plain
// pointer: MinGW frees a thread_local object's storage before running its destructor when the
// thread ends, and a record's thread ends whenever the record closes.
thread_local QString* error_transaccion_ = nullptr;

bool Ejecuta(QSqlQuery& q) {
    if (q.exec()) {
        return true;
    }
    const QString error = q.lastError().text();
    if (error_transaccion_) {
        *error_transaccion_ = error;
    }
    qWarning("Installation record: %s", qUtf8Printable(error));
    return false;
}

// The text columns are NOT NULL: a text never set is stored empty.
QString Texto(const QString& texto) {
    return texto.isNull() ? QStringLiteral("") : texto;
}

// NULL for a time that never was.
QVariant Momento(const QDateTime& momento) {
    return momento.isValid() ? QVariant(Momento_Texto(momento)) : QVariant();
}

// The stored names of the event kinds and the survey's causes: they must never change once
// files exist.
constexpr std::array<std::pair<TEvento_Registro::TTipo, const char*>, 3> kTipos = {{
    {TEvento_Registro::TTipo::Lectura, "read"},
    {TEvento_Registro::TTipo::Grabacion, "save"},
    {TEvento_Registro::TTipo::Sondeo, "survey"},
}};
constexpr std::array<std::pair<TFallo_Sondeo, const char*>, 3> kFallos = {{
    {TFallo_Sondeo::Sin_Lectura, "no_readout"},
    {TFallo_Sondeo::Incompleta, "incomplete"},
    {TFallo_Sondeo::Otra_Identificacion, "other_id"},
}};

template <class T, std::size_t N>
QString Nombre(const std::array<std::pair<T, const char*>, N>& nombres, T valor) {
    for (const auto& [v, nombre] : nombres)
        if (v == valor)
            return QString::fromLatin1(nombre);
    return {};
}

template <class T, std::size_t N>
T Valor(const std::array<std::pair<T, const char*>, N>& nombres, const QString& nombre) {
    for (const auto& [v, n] : nombres)
        if (nombre == QLatin1String(n))
            return v;
    return nombres.front().first;
}

QString Modelos_Texto(const QList<int>& modelos) {
    QStringList textos;
    for (int m : modelos)
        textos << QString::number(m);
    return textos.join(QLatin1Char(','));
}

QList<int> Modelos_Leidos(const QString& texto) {
    QList<int> modelos;
    for (const QString& t : texto.split(QLatin1Char(','), Qt::SkipEmptyParts))
        if (const int m = t.toInt(); m > 0)
            modelos << m;
    return modelos;
}

// The site table's rows of the handover report's details.
const std::pair<const char*, QString TDatos_Entrega::*> kClaves_Entrega[] = {
    {"installer", &TDatos_Entrega::Instalador},
    {"customer", &TDatos_Entrega::Cliente},
    {"address", &TDatos_Entrega::Direccion},
    {"notes", &TDatos_Entrega::Notas},
};

const QString kColumnas_Evento =
    QStringLiteral("kind, time, port, values_json, acknowledged_json, all_acknowledged, outcome");

// One row of kColumnas_Evento.
TEvento_Registro Evento(const QSqlQuery& q) {
    TEvento_Registro e;
    e.Tipo = Valor(kTipos, q.value(0).toString());
    e.Momento = Momento_Leido(q.value(1).toString());
    e.Puerto = q.value(2).toString();
    e.Valores = Valores_Json(q.value(3).toString());
    e.Aceptadas = Aceptadas_Json(q.value(4).toString());
    e.Todo_Aceptado = q.value(5).toBool();
    e.Resultado = Frase_Texto(q.value(6).toString());
    return e;
}

} // namespace

bool En_Transaccion(const QString& conexion, const std::function<bool(QSqlDatabase&)>& escrituras,
                    QString* causa) {
    QSqlDatabase base = QSqlDatabase::database(conexion, false);
    QString error;
    struct TEn_Curso {
        explicit TEn_Curso(QString* error) { error_transaccion_ = error; }
        ~TEn_Curso() { error_transaccion_ = nullptr; }
        TEn_Curso(const TEn_Curso&) = delete;
        TEn_Curso& operator=(const TEn_Curso&) = delete;
    } en_curso(&error);
    if (!base.transaction()) {
        error = base.lastError().text();
    } else if (escrituras(base) && base.commit()) {
        return true;
    } else {
        // The statement that failed said why; a failed commit says it on the connection.
        if (base.lastError().isValid())
            error = base.lastError().text();
        base.rollback();
    }
    qWarning("Installation record: a change was not stored: %s", qUtf8Printable(error));
    if (causa)
        *causa = error;
    return false;
}

bool Guarda_Decoder(QSqlDatabase& base, const TDecoder_Registro& d) {
    QSqlQuery q(base);
    q.prepare(QStringLiteral(
        "INSERT INTO decoders (id, model, location, note, config_json, codes_json, last_read,"
        " last_saved, outcome, confirmed) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"
        " ON CONFLICT (id) DO UPDATE SET model = excluded.model, location = excluded.location,"
        " note = excluded.note, config_json = excluded.config_json,"
        " codes_json = excluded.codes_json, last_read = excluded.last_read,"
        " last_saved = excluded.last_saved, outcome = excluded.outcome,"
        " confirmed = excluded.confirmed"));
    q.addBindValue(d.Id);
    q.addBindValue(d.Referencia);
    q.addBindValue(Texto(d.Ubicacion));
    q.addBindValue(Texto(d.Nota));
    q.addBindValue(Json_Valores(d.Configuracion));
    q.addBindValue(Json_Codigos(d.Codigos));
    q.addBindValue(Momento(d.Ultima_Lectura));
    q.addBindValue(Momento(d.Ultima_Grabacion));
    q.addBindValue(Texto_Frase(d.Resultado));
    q.addBindValue(d.Confirmado ? 1 : 0);
    if (!Ejecuta(q))
        return false;
    // The possible models of an undecided one; a decided model leaves none.
    QSqlQuery posibles(base);
    if (d.Posibles.isEmpty()) {
        posibles.prepare(QStringLiteral("DELETE FROM undecided WHERE decoder = ?"));
        posibles.addBindValue(d.Id);
    } else {
        posibles.prepare(
            QStringLiteral("INSERT INTO undecided (decoder, models) VALUES (?, ?)"
                           " ON CONFLICT (decoder) DO UPDATE SET models = excluded.models"));
        posibles.addBindValue(d.Id);
        posibles.addBindValue(Modelos_Texto(d.Posibles));
    }
    return Ejecuta(posibles);
}

bool Guarda_Evento(QSqlDatabase& base, qint64 decoder, const TEvento_Registro& e, qint64* id) {
    QSqlQuery q(base);
    const bool nuevo = !id || *id == 0;
    q.prepare(nuevo ? QStringLiteral("INSERT INTO events (decoder, kind, time, port, values_json,"
                                     " acknowledged_json, all_acknowledged, outcome)"
                                     " VALUES (?, ?, ?, ?, ?, ?, ?, ?)")
                    : QStringLiteral("UPDATE events SET decoder = ?, kind = ?, time = ?, port = ?,"
                                     " values_json = ?, acknowledged_json = ?,"
                                     " all_acknowledged = ?, outcome = ? WHERE id = ?"));
    q.addBindValue(decoder);
    q.addBindValue(Nombre(kTipos, e.Tipo));
    q.addBindValue(Momento_Texto(e.Momento));
    q.addBindValue(Texto(e.Puerto));
    q.addBindValue(Json_Valores(e.Valores));
    q.addBindValue(Json_Aceptadas(e.Aceptadas));
    q.addBindValue(e.Todo_Aceptado ? 1 : 0);
    q.addBindValue(Texto_Frase(e.Resultado));
    if (!nuevo)
        q.addBindValue(*id);
    if (!Ejecuta(q))
        return false;
    if (nuevo && id)
        *id = q.lastInsertId().toLongLong();
    return true;
}

bool Cambia_Valores_Sondeos(
    QSqlDatabase& base, qint64 decoder,
    const std::function<QList<TValor_Registro>(const QList<TValor_Registro>&)>& cambia) {
    QSqlQuery q(base);
    q.prepare(QStringLiteral("SELECT id, values_json FROM events WHERE decoder = ? AND kind = ?"));
    q.addBindValue(decoder);
    q.addBindValue(Nombre(kTipos, TEvento_Registro::TTipo::Sondeo));
    if (!Ejecuta(q))
        return false;
    QList<std::pair<qint64, QString>> cambiados;
    while (q.next())
        cambiados.append(
            {q.value(0).toLongLong(), Json_Valores(cambia(Valores_Json(q.value(1).toString())))});
    for (const auto& [id, valores] : cambiados) {
        QSqlQuery u(base);
        u.prepare(QStringLiteral("UPDATE events SET values_json = ? WHERE id = ?"));
        u.addBindValue(valores);
        u.addBindValue(id);
        if (!Ejecuta(u))
            return false;
    }
    return true;
}

bool Guarda_Prueba(QSqlDatabase& base, const QDateTime& momento, const TPrueba_Registro& fila) {
    QSqlQuery q(base);
    q.prepare(QStringLiteral("INSERT INTO device_tests (time, code, type, answered, id_byte)"
                             " VALUES (?, ?, ?, ?, ?)"));
    q.addBindValue(Momento_Texto(momento));
    q.addBindValue(fila.Codigo);
    q.addBindValue(Texto(fila.Tipo));
    q.addBindValue(fila.Respondio ? 1 : 0);
    q.addBindValue(fila.Identificacion >= 0 ? QVariant(fila.Identificacion) : QVariant());
    return Ejecuta(q);
}

bool Guarda_Problema(QSqlDatabase& base, const QDateTime& momento, const TProblema_Sondeo& p) {
    QSqlQuery q(base);
    q.prepare(QStringLiteral("INSERT INTO survey_problems (time, code, id_byte, cause, port)"
                             " VALUES (?, ?, ?, ?, ?)"));
    q.addBindValue(Momento_Texto(momento));
    q.addBindValue(Texto(p.Codigo));
    q.addBindValue(p.Identificacion >= 0 ? QVariant(p.Identificacion) : QVariant());
    q.addBindValue(Nombre(kFallos, p.Fallo));
    q.addBindValue(Texto(p.Puerto));
    return Ejecuta(q);
}

bool Guarda_Dato_Sitio(QSqlDatabase& base, const QString& clave, const QString& valor) {
    QSqlQuery q(base);
    q.prepare(QStringLiteral("INSERT INTO site (key, value) VALUES (?, ?)"
                             " ON CONFLICT (key) DO UPDATE SET value = excluded.value"));
    q.addBindValue(clave);
    q.addBindValue(Texto(valor));
    return Ejecuta(q);
}

bool Guarda_Entrega(QSqlDatabase& base, const TDatos_Entrega& entrega) {
    for (const auto& [clave, campo] : kClaves_Entrega)
        if (!Guarda_Dato_Sitio(base, QString::fromLatin1(clave), entrega.*campo))
            return false;
    return true;
}

QList<TDecoder_Registro> Lee_Decoders(QSqlDatabase& base, bool* leido) {
    QList<TDecoder_Registro> decoders;
    QSqlQuery q(base);
    q.setForwardOnly(true);
    *leido = q.exec(QStringLiteral(
        "SELECT id, model, location, note, config_json, codes_json, last_read, last_saved,"
        " outcome, confirmed, (SELECT kind FROM events WHERE events.decoder = decoders.id AND"
        " kind <> 'save' ORDER BY id DESC LIMIT 1) FROM decoders ORDER BY id"));
    while (*leido && q.next()) {
        TDecoder_Registro d;
        d.Id = q.value(0).toLongLong();
        d.Referencia = q.value(1).toInt();
        d.Ubicacion = q.value(2).toString();
        d.Nota = q.value(3).toString();
        d.Configuracion = Valores_Json(q.value(4).toString());
        d.Codigos = Codigos_Json(q.value(5).toString());
        d.Ultima_Lectura = Momento_Leido(q.value(6).toString());
        d.Ultima_Grabacion = Momento_Leido(q.value(7).toString());
        d.Resultado = Frase_Texto(q.value(8).toString());
        d.Confirmado = q.value(9).toBool();
        d.Sondeado = q.value(10).toString() == Nombre(kTipos, TEvento_Registro::TTipo::Sondeo);
        decoders.append(d);
    }
    // A record of the first version has no undecided models.
    QSqlQuery posibles(base);
    posibles.setForwardOnly(true);
    QHash<qint64, QList<int>> indecisos;
    if (*leido && posibles.exec(QStringLiteral("SELECT decoder, models FROM undecided")))
        while (posibles.next())
            indecisos.insert(posibles.value(0).toLongLong(),
                             Modelos_Leidos(posibles.value(1).toString()));
    for (TDecoder_Registro& d : decoders)
        d.Posibles = indecisos.value(d.Id);
    return decoders;
}

QString Lee_Dato_Sitio(QSqlDatabase& base, const QString& clave) {
    QSqlQuery q(base);
    q.prepare(QStringLiteral("SELECT value FROM site WHERE key = ?"));
    q.addBindValue(clave);
    return q.exec() && q.next() ? q.value(0).toString() : QString();
}

QList<TProblema_Registro> Lee_Problemas(QSqlDatabase& base) {
    QList<TProblema_Registro> problemas;
    QSqlQuery q(base);
    q.setForwardOnly(true);
    // A record of the first version has no such table: it has no problems either.
    if (!q.exec(QStringLiteral(
            "SELECT time, code, id_byte, cause, port FROM survey_problems ORDER BY id")))
        return problemas;
    while (q.next()) {
        TProblema_Registro p;
        p.Momento = Momento_Leido(q.value(0).toString());
        p.Problema.Codigo = q.value(1).toString();
        p.Problema.Identificacion = q.value(2).isNull() ? -1 : q.value(2).toInt();
        p.Problema.Fallo = Valor(kFallos, q.value(3).toString());
        p.Problema.Puerto = q.value(4).toString();
        problemas.append(p);
    }
    return problemas;
}

TDatos_Entrega Lee_Entrega(QSqlDatabase& base) {
    TDatos_Entrega entrega;
    for (const auto& [clave, campo] : kClaves_Entrega)
        entrega.*campo = Lee_Dato_Sitio(base, QString::fromLatin1(clave));
    return entrega;
}

QList<TEvento_Registro> Lee_Historia(QSqlDatabase& base, qint64 decoder) {
    QList<TEvento_Registro> eventos;
    QSqlQuery q(base);
    q.setForwardOnly(true);
    q.prepare(QStringLiteral("SELECT ") + kColumnas_Evento +
              QStringLiteral(" FROM events WHERE decoder = ? ORDER BY id"));
    q.addBindValue(decoder);
    if (!Ejecuta(q)) {
        return eventos;
    }
    while (q.next()) {
        eventos.append(Evento(q));
    }
    return eventos;
}

QHash<qint64, QList<TEvento_Registro>> Lee_Grabaciones_Sin_Lectura(QSqlDatabase& base) {
    QHash<qint64, QList<TEvento_Registro>> grabaciones;
    QSqlQuery q(base);
    q.setForwardOnly(true);
    q.prepare(
        QStringLiteral("SELECT ") + kColumnas_Evento +
        QStringLiteral(", decoder FROM events AS s"
                       " WHERE kind = 'save' AND id > coalesce((SELECT max(id) FROM events AS r"
                       " WHERE r.decoder = s.decoder AND r.kind = 'read'), 0) ORDER BY id"));
    if (!Ejecuta(q)) {
        return grabaciones;
    }
    while (q.next()) {
        grabaciones[q.value(7).toLongLong()].append(Evento(q));
    }
    return grabaciones;
}
