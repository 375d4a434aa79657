#include "Fichero_Configuracion.h"

#include "Claves_Json.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>

#include <algorithm>
#include <vector>

namespace {

const QString Formato = QStringLiteral("kalvex-decoder-configuration");
constexpr int Version_Formato = 1;

const QString M_Formato = QStringLiteral("format");
const QString M_Version = QStringLiteral("format_version");
const QString M_Modelo = QStringLiteral("model");
const QString M_Fecha = QStringLiteral("date");
const QString M_Instalacion = QStringLiteral("installation");
const QString M_Programa = QStringLiteral("program");
const QString M_Leida = QStringLiteral("read_out");
const QString M_Nuevos = QStringLiteral("new");
const QString M_Actuales = QStringLiteral("current");
const QString M_Campo = QStringLiteral("field");
const QString M_Lugar = QStringLiteral("place");
const QString M_Valor = QStringLiteral("value");
const QString M_Mostrado = QStringLiteral("shown");

QJsonArray Lista(const QList<TValor_Fichero>& valores) {
    QJsonArray lista;
    for (const TValor_Fichero& v : valores) {
        QJsonObject o{{M_Campo, v.Campo}, {M_Lugar, v.Lugar}, {M_Valor, v.Valor}};
        if (!v.Mostrado.isEmpty())
            o.insert(M_Mostrado, v.Mostrado);
        lista.append(o);
    }
    return lista;
}

bool Es_Entero(const QJsonValue& v) {
    return v.isDouble() && v.toDouble() == v.toInt();
}

// False, with the member at fault, when the list or one of its values is malformed.
bool Lee_Lista(const QJsonValue& lista, QList<TValor_Fichero>& valores, QString& miembro) {
    if (!lista.isArray()) {
        return false;
    }
    for (const QJsonValue& v : lista.toArray()) {
        const QJsonObject o = v.toObject();
        const QJsonValue valor = o.value(M_Valor);
        if (!v.isObject() || !o.value(M_Campo).isString()) {
            miembro = M_Campo;
            return false;
        }
        if (!valor.isString() && !valor.isBool() && !valor.isDouble()) {
            miembro = M_Valor;
            return false;
        }
        valores.append({o.value(M_Campo).toString(), o.value(M_Lugar).toString(), valor,
                        o.value(M_Mostrado).toString()});
    }
    return true;
}

// Where a text that is not JSON went wrong, as far as its brackets tell: at the first closing
// bracket that closes nothing or the wrong thing (-1 when none), and whether it ends inside a
// string or with an object or list still open. One pass, no recursion: any nesting is safe.
struct TCierres {
    qsizetype Erroneo = -1;
    bool Abierto = false;
};

TCierres Cierres(const QByteArray& bytes) {
    std::vector<char> abiertos;
    bool en_texto = false;
    bool escape = false;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (en_texto) {
            if (escape)
                escape = false;
            else if (c == '\\')
                escape = true;
            else if (c == '"')
                en_texto = false;
        } else if (c == '"') {
            en_texto = true;
        } else if (c == '{' || c == '[') {
            abiertos.push_back(c == '{' ? '}' : ']');
        } else if (c == '}' || c == ']') {
            if (abiertos.empty() || abiertos.back() != c)
                return {i, false};
            abiertos.pop_back();
        }
    }
    return {-1, en_texto || !abiertos.empty()};
}

TLectura_Fichero Fallo_En(TFallo_Fichero fallo, qint64 posicion) {
    TLectura_Fichero lectura;
    lectura.Fallo = fallo;
    lectura.Posicion = posicion;
    return lectura;
}

// Why text the JSON reader refused is no configuration. A file cut short (a copy interrupted,
// a full disk) ends inside what it began, with every bracket before the end in its place; one
// damaged inside reads wrong at the place of the damage.
TLectura_Fichero Fallo_Sintaxis(const QByteArray& texto, const QJsonParseError& error,
                                qint64 marca) {
    if (error.error == QJsonParseError::DeepNesting)
        return Fallo_En(TFallo_Fichero::Anidado, error.offset + marca);
    const TCierres cierres = Cierres(texto);
    if (cierres.Erroneo >= 0)
        return Fallo_En(TFallo_Fichero::Sintaxis,
                        std::min<qint64>(cierres.Erroneo, error.offset) + marca);
    return Fallo_En(cierres.Abierto ? TFallo_Fichero::Truncado : TFallo_Fichero::Sintaxis,
                    error.offset + marca);
}

TLectura_Fichero Fallo(TFallo_Fichero fallo, const QString& miembro = {}) {
    TLectura_Fichero lectura;
    lectura.Fallo = fallo;
    lectura.Miembro = miembro;
    return lectura;
}

} // namespace

QByteArray Escribe_Configuracion(const TFichero_Configuracion& fichero) {
    QJsonObject o{{M_Formato, Formato},
                  {M_Version, Version_Formato},
                  {M_Modelo, fichero.Referencia},
                  {M_Fecha, fichero.Fecha.toString(Qt::ISODate)},
                  {M_Programa, fichero.Programa},
                  {M_Leida, fichero.Leida},
                  {M_Nuevos, Lista(fichero.Nuevos)},
                  {M_Actuales, Lista(fichero.Actuales)}};
    if (!fichero.Instalacion.isEmpty())
        o.insert(M_Instalacion, fichero.Instalacion);
    return QJsonDocument(o).toJson(QJsonDocument::Indented);
}

TLectura_Fichero Lee_Configuracion(const QByteArray& bytes) {
    if (bytes.size() > Mayor_Fichero_Configuracion)
        return Fallo(TFallo_Fichero::Demasiado_Grande);
    // A text editor may have put the UTF-8 byte order mark in front.
    const QByteArray marca("\xEF\xBB\xBF");
    const QByteArray texto = bytes.startsWith(marca) ? bytes.mid(marca.size()) : bytes;
    const QByteArray limpio = texto.trimmed();
    if (limpio.isEmpty())
        return Fallo(TFallo_Fichero::Truncado);
    // A picture, a text or a list is no configuration, however damaged.
    if (!limpio.startsWith('{'))
        return Fallo(TFallo_Fichero::Ajeno);
    QJsonParseError error{};
    const QJsonDocument documento = QJsonDocument::fromJson(texto, &error);
    if (error.error != QJsonParseError::NoError)
        return Fallo_Sintaxis(texto, error, bytes.size() - texto.size());
    const QJsonObject o = documento.object();
    if (o.value(M_Formato).toString() != Formato)
        return Fallo(TFallo_Fichero::Ajeno);
    // The JSON reader keeps the last of two members of one name without a word: a file with
    // two "new" lists or two values in one entry would load one of them unseen.
    if (QString repetido; Clave_Repetida(texto, repetido))
        return Fallo(TFallo_Fichero::Estructura, repetido);
    const QJsonValue version = o.value(M_Version);
    if (!Es_Entero(version) || version.toInt() < 1)
        return Fallo(TFallo_Fichero::Estructura, M_Version);
    if (version.toInt() > Version_Formato)
        return Fallo(TFallo_Fichero::Mas_Reciente);
    if (!Es_Entero(o.value(M_Modelo)))
        return Fallo(TFallo_Fichero::Estructura, M_Modelo);

    TLectura_Fichero lectura;
    TFichero_Configuracion& f = lectura.Fichero;
    f.Referencia = o.value(M_Modelo).toInt();
    f.Fecha = QDateTime::fromString(o.value(M_Fecha).toString(), Qt::ISODate);
    f.Instalacion = o.value(M_Instalacion).toString();
    f.Programa = o.value(M_Programa).toString();
    f.Leida = o.value(M_Leida).toBool();
    QString miembro = M_Nuevos;
    if (!Lee_Lista(o.value(M_Nuevos), f.Nuevos, miembro))
        return Fallo(TFallo_Fichero::Estructura, miembro);
    // The current values are for the reader; a file without them still loads.
    miembro = M_Actuales;
    if (o.contains(M_Actuales) && !Lee_Lista(o.value(M_Actuales), f.Actuales, miembro))
        return Fallo(TFallo_Fichero::Estructura, miembro);
    return lectura;
}
