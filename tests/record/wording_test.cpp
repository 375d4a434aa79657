// What the record keeps is worded in the language shown when it is shown, whatever language
// the program had when it was recorded; a text an earlier version stored is shown as stored.

#include "Json_Registro.h"
#include "Presenta_Registro.h"
#include "RecordFixture.h"

namespace kalvex::test {
namespace {

using Wording = RecordTest;

TEST_F(Wording, StoredFactsReadInTheLanguageShown) {
    const auto clave = [](const char* k, const QStringList& args = {}) {
        return TFrase::De_Clave(QString::fromLatin1(k), args);
    };
    using T = TEvento_Registro::TTipo;
    TDecoder_Registro indeciso;
    indeciso.Posibles = {6745, 6713, 6734};
    struct Caso {
        const char* que;
        std::function<QString(TTextos_Registro&)> redacta;
        QString ingles;
        QString espanol;
    } casos[] = {
        {"place with its number", [&](auto& t) { return t.Frase(clave("GEN_MEN038", {"2"})); },
         "Output 2, code", QStringLiteral("Salida 2, c\u00F3digo")},
        {"place built of parts",
         [&](auto& t) { return t.Frase(clave("GEN_MEN03") + " 2" + ", " + clave("GEN_MEN05")); },
         "Output 2, Time", "Salida 2, Tiempo"},
        {"check box", [&](auto& t) { return t.Frase(clave("GEN_MEN103")); }, "Yes",
         QStringLiteral("S\u00ED")},
        {"list item", [&](auto& t) { return t.Frase(clave("GEN_MEN07")); }, "Seconds", "Segundos"},
        {"outcome", [&](auto& t) { return t.Frase(clave("F_MENSA19")); }, "Values updated",
         "Valores actualizados"},
        {"text of an earlier version",
         [&](auto& t) { return t.Frase(Frase_Texto("Valores actualizados")); },
         "Valores actualizados", "Valores actualizados"},
        {"survey event", [&](auto& t) { return t.Tipo(T::Sondeo); }, "Survey", "Sondeo"},
        {"save event", [&](auto& t) { return t.Tipo(T::Grabacion); }, "Save",
         QStringLiteral("Grabaci\u00F3n")},
        {"survey problem", [&](auto& t) { return t.Fallo(TFallo_Sondeo::Incompleta); },
         "read-out incomplete", "lectura incompleta"},
        {"undecided model", [&](auto& t) { return t.Modelo(indeciso); }, "6745, 6713 or 6734",
         "6745, 6713 o 6734"},
    };
    for (const Caso& c : casos) {
        Idioma = QStringLiteral("ENGLISH");
        TTextos_Registro ingles;
        EXPECT_EQ(c.redacta(ingles), c.ingles) << c.que;
        Idioma = QStringLiteral("ESPA\u00D1OL");
        TTextos_Registro espanol;
        EXPECT_EQ(c.redacta(espanol), c.espanol) << c.que;
    }
}

// A phrase goes through the record's text columns and comes back the same; any text that is
// not a phrase the record wrote is a literal, as an earlier version's texts are.
TEST_F(Wording, PhrasesSurviveTheirColumnAndOtherTextsAreLiterals) {
    const TFrase frases[] = {
        {},
        TFrase("0301"),
        TFrase::De_Clave("GEN_MEN038", {"2"}),
        TFrase::De_Clave("GEN_MEN03") + " 2 / " + TFrase::De_Clave("GEN_MEN021"),
        TFrase("[\"not\", {\"a\": 1}]"),
    };
    for (const TFrase& f : frases)
        EXPECT_TRUE(Frase_Texto(Texto_Frase(f)) == f) << Texto_Frase(f).toStdString();
    for (const char* texto : {"Values updated", "[1, 2]", "{\"key\": \"GEN_MEN03\"}", "[{}]"})
        EXPECT_TRUE(Frase_Texto(texto) == TFrase(texto)) << texto;
}

} // namespace
} // namespace kalvex::test
