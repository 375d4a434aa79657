// The code plan's rows, free runs, next free codes and search, over installations given as
// the codes their decoders hold.

#include "Numeracion_Codigos.h"
#include "Plan_Codigos.h"

#include <gtest/gtest.h>

#include <QStringList>

namespace {

using E = TEspacio_Codigo;

// One decoder holding one code (or range), its digits as the editors give them.
struct Code {
    E space;
    const char* from;
    const char* to = nullptr;
};

QList<TDecoder_Registro> Decoders(std::initializer_list<Code> codes) {
    QList<TDecoder_Registro> decoders;
    for (const Code& c : codes) {
        TDecoder_Registro d;
        d.Id = decoders.size() + 1;
        const QString to = QString::fromLatin1(c.to ? c.to : c.from);
        d.Codigos = {{c.space, QString::fromLatin1(c.from).toLongLong(nullptr, 16),
                      to.toLongLong(nullptr, 16), QString::fromLatin1(c.from), "Output 1"}};
        decoders << d;
    }
    return decoders;
}

// A space's rows: "0105–0199 free (95)", or a code's text, "!" after one that clashes.
QStringList Rows(const TEspacio_Plan& space) {
    QStringList rows;
    for (const TFila_Plan& f : space.Filas)
        rows << (f.Libre ? Texto_Tramo(space.Espacio, f.Desde, f.Hasta) +
                               QStringLiteral(" free (%1)").arg(f.Cuantos())
                         : f.Codigo.Texto + (f.Choques.isEmpty() ? "" : "!"));
    return rows;
}

QString Next(const TPlan_Codigos& plan, E space, qint64 n) {
    const auto run = plan.Libres_Seguidos(space, n);
    return run ? Texto_Tramo(space, run->first, run->second) : QStringLiteral("none");
}

TEST(CodePlan, FreeRunsAndTheNextFreeCodes) {
    const struct {
        const char* what;
        QList<TDecoder_Registro> decoders;
        E space;
        QStringList rows;
        std::vector<std::pair<qint64, const char*>> next; // N → the run found
    } cases[] = {
        {"an empty space is one run",
         {},
         E::Llamada,
         {"0000–9999 free (10000)"},
         {{1, "0000"}, {10000, "0000–9999"}, {10001, "none"}, {0, "none"}}},
        {"a full space has none",
         Decoders({{E::Rango_6734, "0000", "9999"}}),
         E::Rango_6734,
         {"0000"},
         {{1, "none"}}},
        {"codes at both ends leave no run there",
         Decoders({{E::Llamada, "0000"},
                   {E::Llamada, "0104"},
                   {E::Llamada, "0200"},
                   {E::Llamada, "9999"}}),
         E::Llamada,
         {"0000", "0001–0103 free (103)", "0104", "0105–0199 free (95)", "0200",
          "0201–9998 free (9798)", "9999"},
         {{95, "0001–0095"}, {104, "0201–0304"}, {9798, "0201–9998"}, {9799, "none"}}},
        {"runs at the start and the end",
         Decoders({{E::Panel, "100"}, {E::Panel, "998"}}),
         E::Panel,
         {"000–099 free (100)", "100", "101–997 free (897)", "998", "999 free (1)"},
         {{100, "000–099"}, {101, "101–201"}, {898, "none"}}},
        {"N larger than any run",
         Decoders({{E::Sensor, "000"}, {E::Sensor, "500"}, {E::Sensor, "999"}}),
         E::Sensor,
         {"000", "001–499 free (499)", "500", "501–998 free (498)", "999"},
         {{499, "001–499"}, {500, "none"}}},
        // Digits counted as decimal: 0199 and 0200 are neighbours, not 0x67 codes apart.
        {"address ranges hold every code between their ends, overlapping ones clash",
         Decoders({{E::Rango_6734, "0100", "0199"},
                   {E::Rango_6734, "0150", "0300"},
                   {E::Rango_6734, "0700", "0500"},
                   {E::Llamada, "0250"}}),
         E::Rango_6734,
         {"0000–0099 free (100)", "0100!", "0150!", "0301–0499 free (199)", "0700",
          "0701–9999 free (9299)"},
         {{199, "0301–0499"}, {200, "0701–0900"}}},
        {"a code with digits not of its space takes no room",
         Decoders({{E::Llamada, "12AB"}, {E::Llamada, "0005"}}),
         E::Llamada,
         {"0000–0004 free (5)", "0005", "0006–9999 free (9994)", "12AB"},
         {{5, "0000–0004"}}},
        {"a relay code may carry its class; a digitizer is panel and block",
         Decoders({{E::Rele, "B002"}, {E::Digitalizador, "105"}}),
         E::Digitalizador,
         {"0/00–1/04 free (105)", "105", "1/06–9/99 free (894)"},
         {{105, "0/00–1/04"}, {106, "1/06–2/11"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const TPlan_Codigos plan(c.decoders);
        const TEspacio_Plan& space = plan.Espacio(c.space);
        EXPECT_EQ(Rows(space), c.rows);
        qint64 free = 0;
        for (const TFila_Plan& f : space.Filas)
            free += f.Libre ? f.Cuantos() : 0;
        EXPECT_EQ(space.Libres, free);
        for (const auto& [n, expected] : c.next)
            EXPECT_EQ(Next(plan, c.space, n), QString::fromUtf8(expected)) << "N = " << n;
    }
    // The relay code with its class counted as 002.
    EXPECT_EQ(Rows(TPlan_Codigos(Decoders({{E::Rele, "B002"}})).Espacio(E::Rele)),
              (QStringList{"000–001 free (2)", "B002", "003–999 free (997)"}));
}

TEST(CodePlan, SearchFindsTheCodesHoldingATypedCodeElseItsFreeRun) {
    const TPlan_Codigos plan(Decoders({{E::Llamada, "0150"},
                                       {E::Rango_6734, "0100", "0199"},
                                       {E::Sensor, "150"},
                                       {E::Digitalizador, "105"}}));
    // What was found, "space:row" each, or "no code".
    auto found = [&](const char* typed) {
        const auto hits = plan.Busca(QString::fromLatin1(typed));
        if (!hits)
            return QStringLiteral("no code");
        QStringList out;
        for (const auto& h : *hits)
            out << QStringLiteral("%1:%2")
                       .arg(static_cast<int>(h.Espacio))
                       .arg(Rows(plan.Espacio(h.Espacio)).at(h.Fila));
        return out.join(' ');
    };
    const struct {
        const char* typed;
        const char* found;
    } cases[] = {
        {"150", "0:0150 2:150 4:0100"}, // a call code, a sensor code, inside a range
        {"a150", "2:150"},              // the class letter picks the space
        {" 0199 ", "4:0100"},
        // Free wherever it reads as a code, in a space without codes too.
        {"0200", "0:0151–9999 free (9849) 4:0200–9999 free (9800) 5:0000–9999 free (10000)"},
        {"1/5", "6:105"},
        {"12345", "no code"},
        {"12x", "no code"},
        {"", "no code"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(found(c.typed), QString::fromUtf8(c.found)) << c.typed;
}

} // namespace
