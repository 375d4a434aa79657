// The configuration file's format on its own: what is written reads back the same, and bytes
// that are not such a file are told apart by what is wrong with them.

#include "Fichero_Configuracion.h"

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

TFichero_Configuracion Ejemplo() {
    TFichero_Configuracion f;
    f.Referencia = 6758;
    f.Fecha = QDateTime::fromString(QStringLiteral("2025-03-14T10:32:05+01:00"), Qt::ISODate);
    f.Instalacion = QStringLiteral("Calle Mayor 12");
    f.Programa = QStringLiteral("3.3");
    f.Leida = true;
    f.Nuevos = {{"Edit1", "Output 1, Code", QJsonValue("123"), {}},
                {"ComboBoxEx9", "Output 1, Unit", QJsonValue(1), "Minutes"},
                {"C2", "Programmed by the entrance", QJsonValue(true), {}}};
    f.Actuales = {{"Edit1", "Output 1, Code", QJsonValue(""), {}},
                  {"ComboBoxEx9", "Output 1, Unit", QJsonValue(-1), {}},
                  {"C2", "Programmed by the entrance", QJsonValue(false), {}}};
    return f;
}

// The written file with one member changed (or removed, for an undefined value).
QByteArray Con(const QString& miembro, const QJsonValue& valor) {
    QJsonObject o = QJsonDocument::fromJson(Escribe_Configuracion(Ejemplo())).object();
    if (valor.isUndefined())
        o.remove(miembro);
    else
        o.insert(miembro, valor);
    return QJsonDocument(o).toJson();
}

// The written file with its first `antes` replaced by `despues`.
QByteArray Repetido(const char* antes, const char* despues) {
    QByteArray bytes = Escribe_Configuracion(Ejemplo());
    const qsizetype donde = bytes.indexOf(antes);
    EXPECT_GE(donde, 0) << antes;
    return bytes.replace(donde, qstrlen(antes), despues);
}

void Igual(const QList<TValor_Fichero>& a, const QList<TValor_Fichero>& b) {
    ASSERT_EQ(a.size(), b.size());
    for (int i = 0; i < a.size(); ++i) {
        EXPECT_EQ(a[i].Campo, b[i].Campo);
        EXPECT_EQ(a[i].Lugar, b[i].Lugar);
        EXPECT_EQ(a[i].Valor, b[i].Valor) << a[i].Campo.toStdString();
        EXPECT_EQ(a[i].Mostrado, b[i].Mostrado);
    }
}

TEST(ConfigurationFormat, WhatIsWrittenReadsBackWithEveryMember) {
    const TFichero_Configuracion f = Ejemplo();
    const QByteArray bytes = Escribe_Configuracion(f);
    const TLectura_Fichero l = Lee_Configuracion(bytes);
    ASSERT_EQ(l.Fallo, TFallo_Fichero::Ninguno);
    EXPECT_EQ(l.Fichero.Referencia, 6758);
    EXPECT_EQ(l.Fichero.Fecha, f.Fecha);
    EXPECT_EQ(l.Fichero.Instalacion, f.Instalacion);
    EXPECT_EQ(l.Fichero.Programa, f.Programa);
    EXPECT_TRUE(l.Fichero.Leida);
    Igual(l.Fichero.Nuevos, f.Nuevos);
    Igual(l.Fichero.Actuales, f.Actuales);
    // Readable and diffable: one member per line, the date with its offset.
    EXPECT_TRUE(bytes.contains("\n        {\n"));
    EXPECT_TRUE(bytes.contains("\"date\": \"2025-03-14T10:32:05+01:00\""));
    EXPECT_TRUE(bytes.contains("\"shown\": \"Minutes\""));
}

TEST(ConfigurationFormat, WithoutAnInstallationTheFileNamesNone) {
    TFichero_Configuracion f = Ejemplo();
    f.Instalacion.clear();
    const QByteArray bytes = Escribe_Configuracion(f);
    EXPECT_FALSE(bytes.contains("installation"));
    EXPECT_EQ(Lee_Configuracion(bytes).Fichero.Instalacion, QString());
}

TEST(ConfigurationFormat, EveryCutOfAFileIsTruncated) {
    const QByteArray bytes = Escribe_Configuracion(Ejemplo()).trimmed();
    for (qsizetype n = 0; n < bytes.size(); ++n)
        EXPECT_EQ(Lee_Configuracion(bytes.left(n)).Fallo, TFallo_Fichero::Truncado)
            << n << ": " << bytes.left(n).right(20).toStdString();
}

TEST(ConfigurationFormat, DamageInsideTheFileIsReportedWithItsPlace) {
    QByteArray bytes = Escribe_Configuracion(Ejemplo());
    const qsizetype donde = bytes.indexOf("\"model\"");
    bytes[donde + 9] = '#';
    const TLectura_Fichero l = Lee_Configuracion(bytes);
    EXPECT_EQ(l.Fallo, TFallo_Fichero::Sintaxis);
    EXPECT_NEAR(l.Posicion, donde + 9, 2);
    EXPECT_EQ(Lee_Configuracion(Escribe_Configuracion(Ejemplo()) + "}").Fallo,
              TFallo_Fichero::Sintaxis);
}

// However hostile the brackets, the cause is the right one and is found without recursion.
TEST(ConfigurationFormat, BracketsThatCannotBeAConfigurationAreToldFromACutFile) {
    const QByteArray inicio = "{\"format\": ";
    const struct {
        const char* what;
        QByteArray bytes;
        TFallo_Fichero fallo;
        qint64 desde, hasta; // where the reading stopped
    } cases[] = {
        {"200,000 lists never closed, then a stray brace", inicio + QByteArray(200000, '[') + '}',
         TFallo_Fichero::Anidado, inicio.size(), inicio.size() + 2000},
        {"a brace where a list closes", inicio + "[[1, 2}]]}", TFallo_Fichero::Sintaxis,
         inicio.size() + 6, inicio.size() + 6},
        {"a closing brace too many", inicio + "1}}", TFallo_Fichero::Sintaxis, inicio.size() + 1,
         inicio.size() + 2},
        {"cut inside nested lists", inicio + "[[[1, 2", TFallo_Fichero::Truncado, 0,
         inicio.size() + 7},
    };
    for (const auto& c : cases) {
        const TLectura_Fichero l = Lee_Configuracion(c.bytes);
        EXPECT_EQ(l.Fallo, c.fallo) << c.what;
        EXPECT_GE(l.Posicion, c.desde) << c.what;
        EXPECT_LE(l.Posicion, c.hasta) << c.what;
    }
}

TEST(ConfigurationFormat, FilesThatAreNotAConfigurationAreToldApart) {
    const struct {
        const char* what;
        QByteArray bytes;
        TFallo_Fichero fallo;
        QString miembro;
    } cases[] = {
        {"a list", "[1, 2]", TFallo_Fichero::Ajeno, {}},
        {"a picture", QByteArray("\xFF\xD8\xFF\xE0{{[\"", 8), TFallo_Fichero::Ajeno, {}},
        {"a text", "model = 6758\n{", TFallo_Fichero::Ajeno, {}},
        {"another program's JSON", R"({"name": "x", "version": 1})", TFallo_Fichero::Ajeno, {}},
        {"another format", Con("format", "kalvex-installation"), TFallo_Fichero::Ajeno, {}},
        {"a later format", Con("format_version", 2), TFallo_Fichero::Mas_Reciente, {}},
        {"a version as text", Con("format_version", "1"), TFallo_Fichero::Estructura,
         "format_version"},
        {"no model", Con("model", QJsonValue::Undefined), TFallo_Fichero::Estructura, "model"},
        {"a model with a fraction", Con("model", 6758.5), TFallo_Fichero::Estructura, "model"},
        {"no New column", Con("new", QJsonValue::Undefined), TFallo_Fichero::Estructura, "new"},
        {"a New column that is no list", Con("new", "Edit1"), TFallo_Fichero::Estructura, "new"},
        {"a value without its field", Con("new", QJsonArray{QJsonObject{{"value", "1"}}}),
         TFallo_Fichero::Estructura, "field"},
        {"a value that is a list",
         Con("new", QJsonArray{QJsonObject{{"field", "Edit1"}, {"value", QJsonArray{}}}}),
         TFallo_Fichero::Estructura, "value"},
        {"a value that is null",
         Con("new", QJsonArray{QJsonObject{{"field", "Edit1"}, {"value", QJsonValue()}}}),
         TFallo_Fichero::Estructura, "value"},
        {"a Current column that is no list", Con("current", 3), TFallo_Fichero::Estructura,
         "current"},
        {"far too large",
         QByteArray(Mayor_Fichero_Configuracion + 1, ' '),
         TFallo_Fichero::Demasiado_Grande,
         {}},
        // The JSON reader keeps the last of two members of one name: each is refused by name.
        {"two New columns", Repetido("\"current\":", "\"new\": [], \"current\":"),
         TFallo_Fichero::Estructura, "new"},
        {"two models", Repetido("\"model\": 6758", "\"model\": 6758, \"model\": 6745"),
         TFallo_Fichero::Estructura, "model"},
        {"two values in one entry",
         Repetido("\"value\": \"123\"", "\"value\": \"123\", \"value\": \"999\""),
         TFallo_Fichero::Estructura, "value"},
        {"a name repeated through an escape",
         Repetido("\"model\": 6758", "\"model\": 6758, \"m\\u006fdel\": 6745"),
         TFallo_Fichero::Estructura, "model"},
    };
    for (const auto& c : cases) {
        const TLectura_Fichero l = Lee_Configuracion(c.bytes);
        EXPECT_EQ(l.Fallo, c.fallo) << c.what;
        EXPECT_EQ(l.Miembro, c.miembro) << c.what;
    }
    // A text editor's byte order mark is no damage.
    EXPECT_EQ(Lee_Configuracion("\xEF\xBB\xBF" + Escribe_Configuracion(Ejemplo())).Fallo,
              TFallo_Fichero::Ninguno);
    // The Current column is for the reader: a file without it still loads.
    EXPECT_EQ(Lee_Configuracion(Con("current", QJsonValue::Undefined)).Fallo,
              TFallo_Fichero::Ninguno);
}

} // namespace
