// The devices test's progress line and summary, and its CSV, as texts: the wording at each
// point of a test and the exact bytes of an export.
#include "tools_fixture.h"

#include "Exporta_Prueba.h"
#include "Progreso_Prueba.h"

namespace kalvex::test {
namespace {

class DevicesTestTexts : public ToolsTest {
protected:
    void SetUp() override { Start("[hall]\nmodel = 6745\n"); }
    static TProgreso_Prueba After(int total, const std::vector<bool>& answers) {
        TProgreso_Prueba p;
        p.Empieza(total);
        for (bool a : answers)
            p.Cuenta(a);
        return p;
    }
};

TEST_F(DevicesTestTexts, TheLineEstimatesTheTimeLeftFromTheTimePerCodeSoFar) {
    const struct {
        int total;
        std::vector<bool> answers;
        qint64 elapsed_ms;
        const char* line;
    } cases[] = {
        // Before the first code there is no time per code yet.
        {100, {}, 0, "Testing 100 codes; the time left shows after the first one…"},
        {1, {}, 0, "Testing 1 code…"},
        {100, {true, false}, 760, "2 of 100 — 1 answered — about 38 s left"},
        // Rounded up: never "0 s" while a code remains.
        {3, {true, true}, 20, "2 of 3 — 2 answered — about 1 s left"},
        // From a minute on, in minutes.
        {100, {false}, 750, "1 of 100 — 0 answered — about 1 min left"},
        {200, {false, false}, 1500, "2 of 200 — 0 answered — about 2 min left"},
        // The last code done: the summary.
        {2, {true, false}, 800, "2 codes tested: 1 answered, 1 silent"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(After(c.total, c.answers).Linea(c.elapsed_ms), QString::fromUtf8(c.line))
            << c.line;
}

TEST_F(DevicesTestTexts, TheSummaryCountsTheCodesActuallyTested) {
    const struct {
        int total;
        std::vector<bool> answers;
        const char* summary;
    } cases[] = {
        {100, std::vector<bool>(100, false), "100 codes tested: 0 answered, 100 silent"},
        {10, {true, false, true}, "Stopped after 3 of 10 codes: 2 answered, 1 silent"},
        {1, {true}, "1 code tested: it answered"},
        {1, {false}, "1 code tested: no answer"},
        // An error before the first answer: nothing to sum up, the error box says why.
        {5, {}, ""},
        {0, {}, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(After(c.total, c.answers).Resumen(), QString::fromUtf8(c.summary)) << c.summary;
}

TEST_F(DevicesTestTexts, TheCsvIsQuotedGuardedAndStampedWithLocalTime) {
    const QDateTime at(QDate(2026, 12, 8), QTime(14, 5, 9));
    const QByteArray csv = Texto_Csv_Prueba({
        {"0007", "Audio", true, "Ref. 6745 / Ref. 6734", at},
        {"012", "Panels, \"east\"", false, QString(), at.addSecs(61)},
        {"123", "-Relays", true, "=1+2", QDateTime()},
    });
    EXPECT_EQ(csv, QByteArray("\xEF\xBB\xBF"
                              "Device,Type,Answered,Decoder,Time of the query\r\n"
                              "0007,Audio,yes,Ref. 6745 / Ref. 6734,2026-12-08 14:05:09\r\n"
                              "012,\"Panels, \"\"east\"\"\",no,,2026-12-08 14:06:10\r\n"
                              "123,'-Relays,yes,'=1+2,\r\n"));
    EXPECT_EQ(Texto_Csv_Prueba({}),
              QByteArray("\xEF\xBB\xBF"
                         "Device,Type,Answered,Decoder,Time of the query\r\n"));
}

class DevicesTestSpanish : public DevicesTestTexts {
protected:
    void SetUp() override { Start("[hall]\nmodel = 6745\n", QString::fromUtf8("ESPAÑOL")); }
};

TEST_F(DevicesTestSpanish, TheTextsFollowTheLanguage) {
    EXPECT_EQ(After(10, {true, false}).Resumen(),
              QString::fromUtf8("Detenido tras 2 de 10 códigos: 1 con respuesta, 1 sin respuesta"));
    const QByteArray csv = Texto_Csv_Prueba({{"0007", "Audio", true, "Ref. 6745", QDateTime()}});
    EXPECT_TRUE(csv.startsWith("\xEF\xBB\xBF"
                               "Dispositivo,Tipo,Respondió,Decodificador,Hora de la consulta\r\n"
                               "0007,Audio,sí,"))
        << csv.toStdString();
}

} // namespace
} // namespace kalvex::test
