#include "messages/ShippedMessageFile.h"

#include "model/Error.h"
#include "support/TempDir.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace kvt {
namespace {

TEST(ShippedMessageFile, takesAnExplicitPathAsItIsEvenBeforeItExists) {
    test::TempDir dir;
    const std::string missing = dir.file("custom.msg").string();
    std::ofstream(dir.file("found.msg")) << "x";
    EXPECT_EQ(findMessageFile(missing, {dir.file("found.msg").string()}), missing);
}

TEST(ShippedMessageFile, takesTheFirstLocationHoldingAFile) {
    test::TempDir dir;
    std::filesystem::create_directory(dir.file("folder.msg"));
    std::ofstream(dir.file("second.msg")) << "x";
    std::ofstream(dir.file("third.msg")) << "x";
    const std::string missing = dir.file("missing.msg").string();
    const std::string folder = dir.file("folder.msg").string();
    const std::string second = dir.file("second.msg").string();
    const std::string third = dir.file("third.msg").string();

    EXPECT_EQ(findMessageFile("", {missing, folder, second, third}), second);
    EXPECT_EQ(findMessageFile("", {third, second}), third);
}

TEST(ShippedMessageFile, failsNamingEveryPlaceSearchedWhenNoneHoldsAFile) {
    test::TempDir dir;
    const std::string first = dir.file("a.msg").string();
    const std::string second = dir.file("b.msg").string();
    try {
        findMessageFile("", {first, second});
        FAIL() << "no error";
    } catch (const Error &error) {
        EXPECT_EQ(error.number(), err::FileAccess);
        EXPECT_EQ(error.description(),
                  "No message file found; looked for \"" + first + "\", \"" + second + "\"");
    }
}

TEST(ShippedMessageFile, looksInTheInstallLocationThenInTheBuildTree) {
    const std::vector<std::string> locations = shippedMessageFileLocations();
    ASSERT_EQ(locations.size(), 2u);
    EXPECT_EQ(std::filesystem::path(locations[0]).filename(), "talvio.msg");
    EXPECT_EQ(std::filesystem::path(locations[0]).parent_path().filename(), "talvio");
    EXPECT_EQ(locations[1], TALVIO_TEST_MESSAGE_FILE);
    // The build tree always has one, so the default search succeeds here.
    EXPECT_TRUE(std::filesystem::is_regular_file(shippedMessageFile()));
}

} // namespace
} // namespace kvt
