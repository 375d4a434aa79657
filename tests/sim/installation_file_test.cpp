#include "SimInstallation.h"

#include "LineEnd.h"

#include <gtest/gtest.h>

#include <fstream>

namespace kalvex::sim {
namespace {

struct Malformed {
    const char* what;
    const char* text;
    int line;
    const char* message;
};

void PrintTo(const Malformed& m, std::ostream* os) {
    *os << m.what;
}

class MalformedInstallation : public testing::TestWithParam<Malformed> {};

TEST_P(MalformedInstallation, IsRefusedNamingFileAndLine) {
    const Malformed& c = GetParam();
    try {
        ParseInstallation(c.text, "bus.ini");
        FAIL() << "accepted";
    } catch (const InstallationError& e) {
        const std::string message = e.what();
        EXPECT_EQ(message.rfind("bus.ini:" + std::to_string(c.line) + ": ", 0), 0u) << message;
        EXPECT_NE(message.find(c.message), std::string::npos) << message;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MalformedInstallation,
    testing::Values(
        Malformed{"no section", "model = 6745\n", 1, "before the first"},
        Malformed{"no model", "# flat\n[a]\ncodes = - - - -\n", 2, "has no model"},
        Malformed{"unknown model", "[a]\n\nmodel = 6799\n", 3, "unknown model '6799'"},
        Malformed{"key of another model", "[a]\nmodel = 6745\ntimes = 1s 1s 1s 1s\n", 3,
                  "'times' does not belong to a 6745"},
        Malformed{"too few codes", "[a]\nmodel = 6746\ncodes = 0001 0002\n", 3,
                  "8 values expected, found 2"},
        Malformed{"short code", "[a]\nmodel = 6745\ncodes = 001 - - -\n", 3, "'001'"},
        Malformed{"sensor time too long", "[a]\nmodel = 6758\ntimes = 128s - - - - - - -\n", 3,
                  "'128s'"},
        Malformed{"sensor time without unit", "[a]\nmodel = 6758\ntimes = 5 - - - - - - -\n", 3,
                  "'5'"},
        Malformed{"relay state", "[a]\nmodel = 6759\nstates = on on on on on on on maybe\n", 3,
                  "'maybe'"},
        Malformed{"panel beyond a nibble", "[d]\nmodel = 6775\npanel = 16\n", 3, "0 to 15"},
        Malformed{"digitizer serves nothing", "[d]\nmodel = 6775\nserves = 1234\n", 3,
                  "'serves' does not belong"},
        Malformed{"bad device code", "[a]\nmodel = 6745\nserves = 12\n", 3, "'12'"},
        Malformed{"duplicate key", "[a]\nmodel = 6745\nmodel = 6746\n", 3, "given twice"},
        Malformed{"duplicate name", "[a]\nmodel = 6745\n[a]\nmodel = 6746\n", 3,
                  "already listed at line 1"},
        Malformed{"not a key line", "[a]\nmodel 6745\n", 2, "expected [name] or key = value"},
        Malformed{"empty section name", "[ ]\n", 1, "[name]"},
        Malformed{"nothing", "# only a comment\n", 1, "no decoder"}),
    [](const auto& info) {
        std::string name = info.param.what;
        for (char& ch : name)
            if (!std::isalnum(static_cast<unsigned char>(ch)))
                ch = '_';
        return name;
    });

TEST(Installation, FileValuesLandInTheModelsRegisters) {
    const auto inst = ParseInstallation("[s]\nmodel = 6758\nserves = a101\n"
                                        "codes = A123 - - - - - - -\ntimes = 5m 10s - - - - - -\n"
                                        "[r]\nmodel = 6759\nstates = on off 7 off off off off off\n"
                                        "[t]\nmodel = 6734\nentrance = no\n"
                                        "[c]\nmodel = 6786\n"
                                        "[d]\nmodel = 6775\nblock = 45\n",
                                        "x");
    const Decoder& s = inst.decoders[0];
    EXPECT_EQ(s.serves, std::vector<uint16_t>{0xA101});
    EXPECT_EQ(s.Word(0x00), 0xA123);
    EXPECT_EQ(s.Word(0x02), 0xFFFF);
    EXPECT_EQ(s.memory[0x20], 0x85);
    EXPECT_EQ(s.memory[0x22], 0x0A);
    EXPECT_EQ(s.memory[0x24], 0xFF);
    const Decoder& r = inst.decoders[1];
    EXPECT_EQ(r.memory[0x21], 1);
    EXPECT_EQ(r.memory[0x23], 0);
    EXPECT_EQ(r.memory[0x25], 7);
    EXPECT_EQ(inst.decoders[2].Word(0x04), 0x0000);
    EXPECT_EQ(inst.decoders[2].Word(0x00), 0xFFFF); // no start address given
    EXPECT_EQ(inst.decoders[3].Word(0x00), 0x8F00); // the converter's "no address"
    EXPECT_EQ(inst.decoders[4].memory[0x22], 0x45);
}

TEST(Installation, DemoSurvivesSaveAndLoadUnchanged) {
    const auto demo =
        LoadInstallation(std::string(KALVEX_SOURCE_DIR) + "/sim/installations/demo.ini");
    ASSERT_EQ(demo.decoders.size(), 13u);
    test::TempDir dir;
    SaveInstallation(demo, dir.Path("saved.ini"));
    const auto again = LoadInstallation(dir.Path("saved.ini"));
    ASSERT_EQ(again.decoders.size(), demo.decoders.size());
    for (size_t i = 0; i < demo.decoders.size(); ++i) {
        EXPECT_EQ(again.decoders[i].name, demo.decoders[i].name);
        EXPECT_EQ(again.decoders[i].model, demo.decoders[i].model);
        EXPECT_EQ(again.decoders[i].serves, demo.decoders[i].serves);
        EXPECT_EQ(again.decoders[i].quirk, demo.decoders[i].quirk);
        EXPECT_EQ(again.decoders[i].memory, demo.decoders[i].memory) << demo.decoders[i].name;
    }
}

TEST(Installation, ValuesWithoutAFileFormAreSavedAsNumbers) {
    // What the program may write need not be one of the file's names (a relay state 7, an
    // entrance word 1234): saving must keep it.
    auto inst = ParseInstallation("[t]\nmodel = 6734\n[r]\nmodel = 6759\n", "x");
    inst.decoders[0].SetWord(0x04, 0x1234);
    inst.decoders[1].memory[0x21] = 7;
    const auto again = ParseInstallation(FormatInstallation(inst), "x");
    EXPECT_EQ(again.decoders[0].Word(0x04), 0x1234);
    EXPECT_EQ(again.decoders[1].memory[0x21], 7);
}

TEST(Installation, UnreadableFileIsNamed) {
    EXPECT_THROW(
        {
            try {
                LoadInstallation("/nonexistent/bus.ini");
            } catch (const InstallationError& e) {
                EXPECT_NE(std::string(e.what()).find("/nonexistent/bus.ini"), std::string::npos);
                throw;
            }
        },
        InstallationError);
}

} // namespace
} // namespace kalvex::sim
