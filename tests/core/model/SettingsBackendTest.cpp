#include "model/MemorySettingsBackend.h"
#include "model/SqliteSettingsBackend.h"
#include "support/ErrorMatchers.h"
#include "support/TempDir.h"

#include <functional>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace kvt {
namespace {

using testing::ElementsAre;
using testing::IsEmpty;
using testing::Pair;

struct BackendKind {
    const char *name;
    std::function<std::unique_ptr<SettingsBackend>(const test::TempDir &)> make;
};

void PrintTo(const BackendKind &kind, std::ostream *out) {
    *out << kind.name;
}

class SettingsBackendTest : public testing::TestWithParam<BackendKind> {
protected:
    test::TempDir mDir;
    std::unique_ptr<SettingsBackend> mStore = GetParam().make(mDir);
};

TEST_P(SettingsBackendTest, namesCompareWithoutLetterCaseAndKeepTheirFirstSpelling) {
    EXPECT_EQ(mStore->read("Talvio", "UserChoice", "Language"), "");
    mStore->write("Talvio", "UserChoice", "Language", "3");
    EXPECT_EQ(mStore->read("TALVIO", "userchoice", "LANGUAGE"), "3");
    mStore->write("talvio", "USERCHOICE", "language", "4");
    EXPECT_EQ(mStore->read("Talvio", "UserChoice", "Language"), "4");
    EXPECT_THAT(mStore->enumerate("Talvio", "UserChoice"), ElementsAre(Pair("Language", "4")));
    // Only ASCII letters fold: other bytes must match exactly.
    mStore->write("Talvio", "Names", "\xc3\xa9", "e-acute");
    EXPECT_EQ(mStore->read("Talvio", "Names", "\xc3\x89"), "");
}

TEST_P(SettingsBackendTest, nestedSectionsAreSeparateAndEnumerateInKeyOrder) {
    mStore->write("Talvio", "Currencies", "DefaultSelection", "USD|");
    mStore->write("Talvio", "Currencies\\ISOCodes", "usd", "a");
    mStore->write("Talvio", "Currencies\\ISOCodes", "BEF", "b");
    mStore->write("Talvio", "Currencies\\ISOCodes", "_X", "c");
    mStore->write("Talvio", "Currencies\\ISOCodes\\Deeper", "AAA", "nested");
    mStore->write("Talvio", "Currencies\\Names", "BEF", "names");
    mStore->write("Other", "Currencies\\ISOCodes", "ATS", "other application");

    // Key order with ASCII letters folded to lower case: "_" (0x5F) sorts before letters.
    EXPECT_THAT(mStore->enumerate("talvio", "currencies\\isocodes"),
                ElementsAre(Pair("_X", "c"), Pair("BEF", "b"), Pair("usd", "a")));
    EXPECT_THAT(mStore->enumerate("Talvio", "Currencies"),
                ElementsAre(Pair("DefaultSelection", "USD|")));
    EXPECT_THAT(mStore->enumerate("Talvio", "Currencies\\Rates"), IsEmpty());
    EXPECT_EQ(mStore->read("Talvio", "Currencies", "BEF"), "");
}

TEST_P(SettingsBackendTest, sectionsListsEachNonEmptySectionOfTheApplicationOnce) {
    EXPECT_THAT(mStore->sections("Talvio"), IsEmpty());
    mStore->write("Talvio", "UserChoice", "Language", "3");
    mStore->write("Talvio", "Currencies\\ISOCodes", "BEF", "b");
    mStore->write("talvio", "USERCHOICE", "Method", "130");
    mStore->write("Talvio", "Currencies", "DefaultSelection", "USD|");
    mStore->write("Talvio", "_Private", "K", "v");
    mStore->write("Talvio", "Emptied", "K", "v");
    mStore->remove("Talvio", "Emptied", "K");
    mStore->write("Other", "Alien", "K", "other application");
    mStore->write("Talviox", "Alien", "K", "a longer name is another application");

    EXPECT_THAT(mStore->sections("TALVIO"),
                ElementsAre("_Private", "Currencies", "Currencies\\ISOCodes", "UserChoice"));
}

TEST_P(SettingsBackendTest, removeDeletesOneValueOnly) {
    mStore->write("Talvio", "Currencies\\Names", "BEF", "x");
    mStore->write("Talvio", "Currencies\\Names", "DEM", "y");
    mStore->remove("TALVIO", "currencies\\names", "bef");
    mStore->remove("Talvio", "Currencies\\Names", "absent");
    EXPECT_EQ(mStore->read("Talvio", "Currencies\\Names", "BEF"), "");
    EXPECT_THAT(mStore->enumerate("Talvio", "Currencies\\Names"), ElementsAre(Pair("DEM", "y")));
}

TEST_P(SettingsBackendTest, valuesRoundTripByteForByte) {
    const std::string values[] = {"", "|a|b|", std::string("nul\0inside", 10),
                                  "\xe2\x82\xac 1.234,56", std::string(100000, 'x')};
    for (const std::string &value : values) {
        mStore->write("Talvio", "S", "K", value);
        EXPECT_EQ(mStore->read("Talvio", "S", "K"), value);
    }
}

TEST_P(SettingsBackendTest, batchCommitKeepsAndRollbackUndoesWritesAndRemoves) {
    mStore->write("Talvio", "S", "kept", "old");
    mStore->write("Talvio", "S", "removed", "old");

    mStore->beginBatch();
    mStore->write("Talvio", "S", "kept", "new");
    mStore->write("Talvio", "S", "added", "new");
    mStore->remove("Talvio", "S", "removed");
    EXPECT_EQ(mStore->read("Talvio", "S", "kept"), "new"); // a batch sees its own writes
    EXPECT_THAT([&] { mStore->beginBatch(); }, test::ThrowsError(err::SettingsStore, {"open"}));
    mStore->rollbackBatch();
    EXPECT_THAT(mStore->enumerate("Talvio", "S"),
                ElementsAre(Pair("kept", "old"), Pair("removed", "old")));

    mStore->beginBatch();
    mStore->write("Talvio", "S", "kept", "new");
    mStore->remove("Talvio", "S", "removed");
    mStore->commitBatch();
    EXPECT_THAT(mStore->enumerate("Talvio", "S"), ElementsAre(Pair("kept", "new")));
    EXPECT_THAT([&] { mStore->commitBatch(); }, test::ThrowsError(err::SettingsStore, {"No"}));
}

INSTANTIATE_TEST_SUITE_P(
    Backends, SettingsBackendTest,
    testing::Values(BackendKind{"Memory",
                                [](const test::TempDir &) {
                                    return std::make_unique<MemorySettingsBackend>();
                                }},
                    BackendKind{"Sqlite",
                                [](const test::TempDir &dir) {
                                    return std::make_unique<SqliteSettingsBackend>(
                                        dir.file("settings.db"));
                                }}),
    [](const testing::TestParamInfo<BackendKind> &kind) { return kind.param.name; });

} // namespace
} // namespace kvt
