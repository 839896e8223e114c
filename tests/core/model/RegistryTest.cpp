#include "model/Registry.h"

#include "model/MemorySettingsBackend.h"
#include "support/ErrorMatchers.h"
#include "support/ScopedEnv.h"
#include "support/TempDir.h"

#include <fstream>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sstream>

namespace kvt {
namespace {

namespace fs = std::filesystem;
using test::ThrowsError;
using testing::ElementsAre;
using testing::IsEmpty;
using testing::Pair;

class RegistryTest : public testing::Test {
protected:
    RegistryTest() { mRegistry.setProjectName("Talvio"); }

    std::shared_ptr<MemorySettingsBackend> mBackend = std::make_shared<MemorySettingsBackend>();
    Registry mRegistry{mBackend};
};

TEST_F(RegistryTest, getSettingStoresTheDefaultForAnAbsentOrEmptyValue) {
    struct Row {
        std::optional<std::string> stored; // nullopt: absent
        const char *expected;
    };
    const Row rows[] = {{std::nullopt, "OFF"}, {"", "OFF"}, {"ON", "ON"}, {" ", " "}};
    for (const Row &row : rows) {
        mBackend->remove("Talvio", "ENGINE", "DEBUGMAIN");
        if (row.stored)
            mBackend->write("Talvio", "ENGINE", "DEBUGMAIN", *row.stored);
        EXPECT_EQ(mRegistry.strGetSetting("ENGINE", "DEBUGMAIN", "OFF"), row.expected);
        EXPECT_EQ(mBackend->read("Talvio", "ENGINE", "DEBUGMAIN"), row.expected);
    }
    // Even an empty default is stored, so the key shows up when its section is listed.
    EXPECT_EQ(mRegistry.strGetSetting("Currencies\\Rates", "EUR", ""), "");
    EXPECT_THAT(mRegistry.EnumerateSection("currencies\\rates"), ElementsAre(Pair("EUR", "")));
}

TEST_F(RegistryTest, writesListsAndDeletesUnderItsApplicationName) {
    mRegistry.SetReg("Currencies\\Names", "BEF", "Belgischer Franken|");
    mRegistry.SetReg("Currencies\\Names", "DEM", "DM|");
    mBackend->write("Other", "Currencies\\Names", "ATS", "not ours");
    mRegistry.DeleteSetting("Currencies\\Names", "dem");
    EXPECT_THAT(mRegistry.EnumerateSection("Currencies\\Names"),
                ElementsAre(Pair("BEF", "Belgischer Franken|")));
    EXPECT_THAT(mRegistry.EnumerateSections(), ElementsAre("Currencies\\Names"));
    EXPECT_EQ(mBackend->read("talvio", "currencies\\names", "bef"), "Belgischer Franken|");
}

TEST_F(RegistryTest, everyOperationNeedsAProjectName) {
    mRegistry.setProjectName("");
    const std::vector<std::function<void()>> operations = {
        [&] { mRegistry.strGetSetting("S", "K", "d"); }, [&] { mRegistry.SetReg("S", "K", "v"); },
        [&] { mRegistry.EnumerateSection("S"); },        [&] { mRegistry.EnumerateSections(); },
        [&] { mRegistry.DeleteSetting("S", "K"); },      [&] { mRegistry.LogFile("line"); },
    };
    for (const auto &operation : operations)
        EXPECT_THAT(operation, ThrowsError(err::SettingsStore, {"ProjectName"}));
    EXPECT_THAT(mBackend->enumerate("", "S"), IsEmpty());
}

TEST_F(RegistryTest, batchCommitsOnlyWhenEveryScopeCommitted) {
    {
        Registry::Batch batch(mRegistry);
        mRegistry.SetReg("S", "rolledBack", "1");
    }
    {
        Registry::Batch outer(mRegistry);
        mRegistry.SetReg("S", "committed", "1");
        {
            Registry::Batch inner(mRegistry);
            mRegistry.SetReg("S", "inner", "1");
            inner.commit(); // joins the outer batch: nothing is saved yet
        }
        outer.commit();
    }
    EXPECT_THAT(mRegistry.EnumerateSection("S"),
                ElementsAre(Pair("committed", "1"), Pair("inner", "1")));

    Registry::Batch outer(mRegistry);
    mRegistry.SetReg("S", "abandoned", "1");
    {
        Registry::Batch inner(mRegistry); // left without commit, as by an exception caught later
    }
    EXPECT_THAT([&] { outer.commit(); }, ThrowsError(err::SettingsStore, {"none"}));
    EXPECT_EQ(mBackend->read("Talvio", "S", "abandoned"), "");

    Registry::Batch next(mRegistry); // the store is usable again
    mRegistry.SetReg("S", "next", "1");
    next.commit();
    EXPECT_EQ(mBackend->read("Talvio", "S", "next"), "1");
}

TEST_F(RegistryTest, logFileAppendsLinesWithCrLfAndCreatesItsFolder) {
    test::TempDir dir;
    const fs::path path = dir.path() / "state" / "LogFile.Log";
    const test::ScopedEnv env("TALVIO_LOG_FILE", path.string());
    mRegistry.LogFile("first");
    mRegistry.LogFile("");
    mRegistry.LogFile("third \xe2\x82\xac");
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    EXPECT_EQ(content.str(), "first\r\n\r\nthird \xe2\x82\xac\r\n");

    const test::ScopedEnv blocked("TALVIO_LOG_FILE", (path / "below-a-file.Log").string());
    EXPECT_THAT([&] { mRegistry.LogFile("x"); },
                ThrowsError(err::FileAccess, {(path / "below-a-file.Log").string()}));
}

TEST(SharedRegistry, defaultStoreOpensTheSettingsFileOnlyWhenUsed) {
    test::TempDir dir;
    const test::ScopedEnv env("TALVIO_SETTINGS", dir.file("settings.db").string());
    setSharedRegistry(nullptr);
    const std::shared_ptr<Registry> registry = sharedRegistry();
    EXPECT_EQ(sharedRegistry(), registry);
    registry->setProjectName("Talvio");
    EXPECT_FALSE(fs::exists(dir.file("settings.db")));
    EXPECT_EQ(registry->strGetSetting("ENGINE", "DEBUGMAIN", "OFF"), "OFF");
    EXPECT_TRUE(fs::exists(dir.file("settings.db")));

    auto replacement = std::make_shared<Registry>(std::make_shared<MemorySettingsBackend>());
    setSharedRegistry(replacement);
    EXPECT_EQ(sharedRegistry(), replacement);
    setSharedRegistry(nullptr);
}

} // namespace
} // namespace kvt
