// The devices test's progress line and summary, and its CSV, as texts: the wording at each
// point of a test and the exact bytes of an export.
#include "tools_fixture.h"

#include "Exporta_Prueba.h"
#include "Progreso_Prueba.h"

#include <functional>

namespace kalvex::test {
namespace {

class DevicesTestTexts : public ToolsTest {
protected:
    void SetUp() override { Start("[hall]\nmodel = 6745\n"); }
    // The codes done at an even pace, the last at elapsed_ms.
    static TProgreso_Prueba After(int total, const std::vector<bool>& answers,
                                  qint64 elapsed_ms = 0) {
        TProgreso_Prueba p;
        p.Empieza(total);
        const qint64 n = static_cast<qint64>(answers.size());
        for (qint64 i = 0; i < n; ++i)
            p.Cuenta(answers[static_cast<std::size_t>(i)], elapsed_ms * (i + 1) / n);
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
        // From two minutes on, in minutes.
        {100, {false}, 750, "1 of 100 — 0 answered — about 75 s left"},
        {200, {false, false}, 1500, "2 of 200 — 0 answered — about 2 min left"},
        {200, {false, false}, 2020, "2 of 200 — 0 answered — about 3 min left"},
        // The last code done: the summary.
        {2, {true, false}, 800, "2 codes tested: 1 answered, 1 silent"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(After(c.total, c.answers, c.elapsed_ms).Linea(), QString::fromUtf8(c.line))
            << c.line;
}

// The seconds a progress line estimates ("about 3 min left": 180).
int EstimatedSeconds(const QString& line) {
    const QStringList words = line.section(QStringLiteral("about "), 1).split(' ');
    return words.value(0).toInt() * (words.value(1) == "min" ? 60 : 1);
}

// Once a tenth of the codes is done, no line estimates twice or half the one before (while
// the estimate is ten seconds or more: below, whole seconds are the coarse part).
TEST_F(DevicesTestTexts, TheEstimateDoesNotJumpOnceATenthIsDone) {
    const struct {
        const char* what;
        int total;
        std::function<qint64(int)> code_ms; // how long the code at that place takes
    } cases[] = {
        {"answered codes, then silent ones", 200, [](int i) { return i < 100 ? 30 : 800; }},
        {"one code held up by retries", 100, [](int i) { return i == 40 ? 30000 : 500; }},
        {"steady, past two minutes", 300, [](int) { return 600; }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TProgreso_Prueba p;
        p.Empieza(c.total);
        qint64 elapsed = 0;
        int before = 0;
        for (int i = 0; i < c.total - 1; ++i) {
            elapsed += c.code_ms(i);
            p.Cuenta(false, elapsed);
            const int now = EstimatedSeconds(p.Linea());
            if (10 * (i + 1) > c.total && before >= 10 && now >= 10) {
                EXPECT_LT(now, 2 * before) << "after code " << i + 1;
                EXPECT_GT(2 * now, before) << "after code " << i + 1;
            }
            before = now;
        }
    }
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
                               "Dispositivo,Tipo,Respondió,Decoder,Hora de la consulta\r\n"
                               "0007,Audio,sí,"))
        << csv.toStdString();
}

} // namespace
} // namespace kalvex::test
