#include "Json_Registro.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <array>
#include <utility>

namespace {

// The stored names of the code spaces: they must never change once files exist.
constexpr std::array<std::pair<TEspacio_Codigo, const char*>, 7> kEspacios = {{
    {TEspacio_Codigo::Llamada, "call"},
    {TEspacio_Codigo::Panel, "panel"},
    {TEspacio_Codigo::Sensor, "sensor"},
    {TEspacio_Codigo::Rele, "relay"},
    {TEspacio_Codigo::Rango_6734, "range_6734"},
    {TEspacio_Codigo::Direccion_6786, "address_6786"},
    {TEspacio_Codigo::Digitalizador, "digitizer"},
}};

QString Nombre_Espacio(TEspacio_Codigo espacio) {
    for (const auto& [e, nombre] : kEspacios) {
        if (e == espacio) {
            return QString::fromLatin1(nombre);
        }
    }
    return {};
}

bool Espacio_Nombrado(const QString& nombre, TEspacio_Codigo& espacio) {
    for (const auto& [e, n] : kEspacios) {
        if (nombre == QLatin1String(n)) {
            espacio = e;
            return true;
        }
    }
    return false;
}

QString Texto_Json(const QJsonArray& lista) {
    return QString::fromUtf8(QJsonDocument(lista).toJson(QJsonDocument::Compact));
}

QJsonArray Lista_Json(const QString& json) {
    return QJsonDocument::fromJson(json.toUtf8()).array();
}

// A literal alone is a JSON string, as earlier versions stored every place and value; any
// other phrase is an array of strings (literals) and {"key", "args"} objects.
QJsonValue Json_Frase(const TFrase& frase) {
    if (frase.Es_Literal())
        return frase.Literal();
    QJsonArray partes;
    for (const TParte_Frase& p : frase.Partes()) {
        if (p.Clave.isEmpty()) {
            partes.append(p.Literal);
            continue;
        }
        QJsonObject parte{{"key", p.Clave}};
        if (!p.Argumentos.isEmpty())
            parte.insert(QStringLiteral("args"), QJsonArray::fromStringList(p.Argumentos));
        partes.append(parte);
    }
    return partes;
}

// False when `valor` is not a phrase as Json_Frase writes it.
bool Frase_Json(const QJsonValue& valor, TFrase& frase) {
    frase = TFrase();
    if (valor.isString()) {
        frase = valor.toString();
        return true;
    }
    if (!valor.isArray())
        return false;
    for (const QJsonValue& p : valor.toArray()) {
        if (p.isString()) {
            frase += p.toString();
            continue;
        }
        const QString clave = p.toObject().value(QStringLiteral("key")).toString();
        if (clave.isEmpty())
            return false;
        QStringList argumentos;
        for (const QJsonValue& a : p.toObject().value(QStringLiteral("args")).toArray())
            argumentos.append(a.toString());
        frase += TFrase::De_Clave(clave, argumentos);
    }
    return true;
}

TFrase Frase_De(const QJsonValue& valor) {
    TFrase frase;
    return Frase_Json(valor, frase) ? frase : TFrase();
}

} // namespace

QString Json_Valores(const QList<TValor_Registro>& valores) {
    QJsonArray lista;
    for (const TValor_Registro& v : valores) {
        lista.append(QJsonObject{
            {"field", v.Campo}, {"place", Json_Frase(v.Lugar)}, {"text", Json_Frase(v.Texto)}});
    }
    return Texto_Json(lista);
}

QString Json_Codigos(const QList<TCodigo_Registro>& codigos) {
    QJsonArray lista;
    for (const TCodigo_Registro& c : codigos) {
        // Codes are at most eight hexadecimal digits: exact as JSON numbers.
        lista.append(QJsonObject{{"space", Nombre_Espacio(c.Espacio)},
                                 {"from", c.Desde},
                                 {"to", c.Hasta},
                                 {"text", c.Texto},
                                 {"place", Json_Frase(c.Lugar)}});
    }
    return Texto_Json(lista);
}

QString Json_Aceptadas(const QList<bool>& aceptadas) {
    QJsonArray lista;
    for (bool a : aceptadas) {
        lista.append(a);
    }
    return Texto_Json(lista);
}

QList<TValor_Registro> Valores_Json(const QString& json) {
    QList<TValor_Registro> valores;
    for (const QJsonValue& v : Lista_Json(json)) {
        const QJsonObject o = v.toObject();
        valores.append({o["field"].toString(), Frase_De(o["place"]), Frase_De(o["text"])});
    }
    return valores;
}

QList<TCodigo_Registro> Codigos_Json(const QString& json) {
    QList<TCodigo_Registro> codigos;
    for (const QJsonValue& v : Lista_Json(json)) {
        const QJsonObject o = v.toObject();
        TCodigo_Registro c;
        if (!Espacio_Nombrado(o["space"].toString(), c.Espacio)) {
            continue; // a space this version does not know cannot clash with its codes
        }
        c.Desde = o["from"].toInteger();
        c.Hasta = o["to"].toInteger();
        c.Texto = o["text"].toString();
        c.Lugar = Frase_De(o["place"]);
        codigos.append(c);
    }
    return codigos;
}

QList<bool> Aceptadas_Json(const QString& json) {
    QList<bool> aceptadas;
    for (const QJsonValue& v : Lista_Json(json)) {
        aceptadas.append(v.toBool());
    }
    return aceptadas;
}

QString Texto_Frase(const TFrase& frase) {
    const QJsonValue json = Json_Frase(frase);
    return json.isString() ? json.toString() : Texto_Json(json.toArray());
}

TFrase Frase_Texto(const QString& texto) {
    TFrase frase;
    QJsonParseError error{};
    const QJsonDocument json = QJsonDocument::fromJson(texto.toUtf8(), &error);
    if (error.error == QJsonParseError::NoError && json.isArray() &&
        Frase_Json(json.array(), frase))
        return frase;
    return texto;
}

QString Momento_Texto(const QDateTime& momento) {
    return momento.isValid() ? momento.toUTC().toString(Qt::ISODateWithMs) : QString();
}

QDateTime Momento_Leido(const QString& texto) {
    const QDateTime momento = QDateTime::fromString(texto, Qt::ISODateWithMs);
    return momento.isValid() ? momento.toLocalTime() : QDateTime();
}
