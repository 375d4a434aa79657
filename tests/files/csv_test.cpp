// The one CSV writer of the program's exports: cells a spreadsheet reads back as they were
// written, never run as formulas, in a file it opens with the right encoding.
#include "Csv.h"

#include <gtest/gtest.h>

namespace {

TEST(Csv, CellsAreQuotedAsRfc4180AndFormulasStayText) {
    const struct {
        QStringList fields;
        const char* line;
    } cases[] = {
        {{"a", "b c", ""}, "a,b c,"},
        {{"a,b"}, "\"a,b\""},
        {{"say \"hi\""}, "\"say \"\"hi\"\"\""},
        {{"two\nlines", "cr\rhere"}, "\"two\nlines\",\"cr\rhere\""},
        {{"=1+2", "+34 600", "-3", "@SUM(A1)", "\tcmd"}, "'=1+2,'+34 600,'-3,'@SUM(A1),'\tcmd"},
        {{"=a,b"}, "\"'=a,b\""},
        {{"a=b", "1-2"}, "a=b,1-2"},
        // What the line monitor writes: hex bytes and times are left as they are.
        {{"14:05:09.120", "B0 00 34 12", "12"}, "14:05:09.120,B0 00 34 12,12"},
        {{}, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Linea_Csv(c.fields), QString::fromUtf8(c.line)) << c.line;
}

TEST(Csv, AFileIsUtf8WithAByteOrderMarkAndCrLfAfterEveryLine) {
    EXPECT_EQ(Fichero_Csv({{"Entr\u00E9e", "x"}, {"y,z"}}), QByteArray("\xEF\xBB\xBF"
                                                                       "Entr\xC3\xA9"
                                                                       "e,x\r\n\"y,z\"\r\n"));
    EXPECT_EQ(Fichero_Csv({}), QByteArray("\xEF\xBB\xBF"));
}

} // namespace
