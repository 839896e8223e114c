#include "HostProcess.h"
#include "support/ChildProcess.h"
#include "support/MessageFiles.h"
#include "support/ScopedEnv.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <iterator>
#include <pwd.h>
#include <set>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

namespace talvio::test {
namespace {

using testing::HasSubstr;

// Every run in the C locale unless a test picks another; no terminal, so nothing is asked.
class EngineCommandTest : public testing::Test, protected HostFixture {
protected:
    kvt::test::ScopedEnv mLocale{"LC_ALL", "C"};
};

struct Row {
    std::vector<std::string> arguments;
    std::string input;
    int status;
    std::string out;
    std::string err; // a part of stderr; "" means stderr must be empty
};

void expectRows(const HostFixture &host, const std::vector<Row> &rows) {
    for (const auto &row : rows)
        expectResult(host.run(row.arguments, row.input), row.arguments, row.status, row.out,
                     row.err);
}

TEST_F(EngineCommandTest, convertsOneAmountWithTheStoredOrTheGivenRounding) {
    expectRows(
        *this,
        {
            {{"convert", "1000", "BEF", "FRF"}, "", 0, "162.61 FRF\n", ""},
            {{"convert", "-123.456", "BEF", "FRF"}, "", 0, "-20.07 FRF\n", ""},
            {{"convert", "--raw", "1000", "BEF", "FRF"}, "", 0, "162.61\n", ""},
            {{"convert", "--method", "up", "--pattern", "X9", "1000", "BEF", "FRF"},
             "",
             0,
             "169 FRF\n",
             ""},
            {{"convert", "--method=legal", "--", "-1e3", "BEF", "EUR"}, "", 0, "-24.79 EUR\n", ""},
            {{"convert", "--euro-decimals", "3", "--raw", "1000", "BEF", "FRF"},
             "",
             0,
             "162.61\n",
             ""},
        });
}

TEST_F(EngineCommandTest, writesAmountsWithTheSeparatorsOfTheUsersLocale) {
    const kvt::test::ScopedEnv german("LC_ALL", "de_DE.UTF-8");
    expectRows(*this, {
                          {{"convert", "1000000", "BEF", "EUR"}, "", 0, "24.789,35 EUR\n", ""},
                          {{"convert", "--raw", "1000000", "BEF", "EUR"}, "", 0, "24789.35\n", ""},
                      });
}

TEST_F(EngineCommandTest, streamModeKeepsLinesAlignedAndReportsBadLines) {
    expectRows(*this,
               {
                   {{"convert", "BEF", "FRF"}, "1000\n-5e2\n", 0, "162.61 FRF\n-81.30 FRF\n", ""},
                   {{"convert", "--raw", "BEF", "FRF"},
                    "1000\nabc\n\n40.3399",
                    1,
                    "162.61\n\n\n6.56\n",
                    "line 2: not an amount: \"abc\""},
               });
    const auto result = run({"convert", "BEF", "FRF"}, "1\n1,5\n2\n");
    EXPECT_THAT(result.err, HasSubstr("line 2"));
    EXPECT_THAT(result.err, testing::Not(HasSubstr("line 3")));
    // With both streams in one file, a complaint stays between the results around it.
    const auto both = runProgram({"/bin/sh", "-c", "exec \"$@\" 2>&1", "sh", TALVIO_BINARY,
                                  "--settings", settingsPath(), "--messages",
                                  TALVIO_TEST_MESSAGE_FILE, "convert", "--raw", "BEF", "FRF"},
                                 "1000\nabc\n40.3399\n");
    EXPECT_EQ(both.out, "162.61\ntalvio: line 2: not an amount: \"abc\"\n\n6.56\n");
}

// Output is written in blocks, yet whoever sends one line and waits for its answer gets it.
TEST_F(EngineCommandTest, aStreamAnswersEachLineBeforeTheNextOneIsSent) {
    kvt::test::ChildProcess talvio(TALVIO_BINARY,
                                   {"--settings", settingsPath(), "--messages",
                                    TALVIO_TEST_MESSAGE_FILE, "convert", "--raw", "BEF", "FRF"});
    const struct {
        const char *line;
        const char *answer;
    } rows[] = {{"1000", "162.61"}, {"abc", ""}, {"-5e2", "-81.3"}, {"40.3399", "6.56"}};
    for (const auto &row : rows) {
        talvio.writeLine(row.line);
        ASSERT_EQ(talvio.readLine().value_or("(no answer)"), row.answer) << row.line;
    }
    talvio.closeInput();
    EXPECT_EQ(talvio.wait(), 1);
}

TEST_F(EngineCommandTest, aMissingRateFailsWithoutTerminalAndNamesSetRate) {
    expectRows(*this,
               {
                   {{"convert", "100", "BEF", "USD"},
                    "",
                    1,
                    "",
                    "no exchange rate is stored for BEF to USD; enter one with: talvio set-rate "
                    "EUR USD RATE"},
                   {{"convert", "USD", "GBP"}, "1\n", 1, "", "talvio set-rate USD GBP RATE"},
                   {{"rate", "USD", "GBP"}, "", 1, "", "talvio set-rate USD GBP"},
                   {{"convert", "1", "XXX", "USD"}, "", 1, "", "XXX is not a selected currency"},
               });
}

TEST_F(EngineCommandTest, setRateEntersTheRateAndItsInverseAndSavesThem) {
    expectRows(*this, {
                          {{"set-rate", "EUR", "USD", "1.1"}, "", 0, "", ""},
                          {{"rate", "EUR", "USD"}, "", 0, "1.1\n", ""},
                          {{"rate", "USD", "EUR"}, "", 0, "0.909090909090909\n", ""},
                          {{"convert", "--raw", "100", "BEF", "USD"}, "", 0, "2.73\n", ""},
                          {{"set-rate", "USD", "GBP", "0.5"}, "", 0, "", ""},
                          {{"convert", "--raw", "10", "GBP", "USD"}, "", 0, "20\n", ""},
                          {{"labels", "BEF", "USD"},
                           "",
                           0,
                           "Exchange rate\t1 EUR = 40.3399 BEF\n"
                           "Exchange rate\t1 EUR = 1.1 USD\n"
                           "Cross rate\t1 BEF = 0.02726828772506 USD\n",
                           ""},
                      });
}

// A negative rate would drop the sign of every amount, and one whose inverse overflows would
// break every conversion the other way: neither may enter, nor be used when found stored.
TEST_F(EngineCommandTest, setRateRefusesRatesThatCannotBeUsed) {
    const std::string refused = "not a usable exchange rate: ";
    expectRows(*this, {
                          {{"set-rate", "BEF", "USD", "3"}, "", 1, "", "BEF is in the euro zone"},
                          {{"set-rate", "USD", "FRF", "3"}, "", 1, "", "FRF is in the euro zone"},
                          {{"set-rate", "USD", "USD", "3"}, "", 1, "", "no rate to itself"},
                          {{"set-rate", "EUR", "USD", "0"}, "", 1, "", refused + "\"0\""},
                          {{"set-rate", "EUR", "USD", "abc"}, "", 1, "", refused + "\"abc\""},
                          {{"set-rate", "EUR", "USD", "-2"}, "", 1, "", refused + "\"-2\""},
                          {{"set-rate", "EUR", "USD", "1e-320"}, "", 1, "", refused + "\"1e-320\""},
                          {{"set-rate", "EUR", "USD", "1e308"}, "", 1, "", refused + "\"1e308\""},
                          {{"rate", "EUR", "USD"}, "", 1, "", "no exchange rate"},
                          {{"set-rate", "EUR", "USD", "1e-300"}, "", 0, "", ""},
                          {{"rate", "USD", "EUR"}, "", 0, "1E+300\n", ""},
                      });
}

TEST_F(EngineCommandTest, storedRatesThatCannotBeUsedAreReportedAndLeftOut) {
    const std::string report = "The setting Currencies\\Rates / EUR holds the rate ";
    expectRows(*this,
               {
                   {{"settings", "set", "Currencies\\Rates", "EUR", "USD|-2|GBP|1e999|CHF|1e-320|"},
                    "",
                    0,
                    "",
                    ""},
                   {{"convert", "100", "EUR", "USD"},
                    "",
                    1,
                    "",
                    "Talvio: " + report
                        + "\"-2\" for USD, which is not a number greater than 0 that can be "
                          "inverted; the rate was left out."},
                   {{"rate", "EUR", "GBP"}, "", 1, "", report + "\"1e999\" for GBP"},
                   {{"rate", "EUR", "CHF"}, "", 1, "", report + "\"1e-320\" for CHF"},
                   {{"set-rate", "EUR", "USD", "2"}, "", 0, "", report + "\"1e999\" for GBP"},
                   // The save drops the rates it left out; the fixed euro rates go with the euro's.
                   {{"settings", "get", "Currencies\\Rates", "EUR"},
                    "",
                    0,
                    "USD|2|ATS|13.7603|BEF|40.3399|DEM|1.95583|ESP|166.386|FIM|5.94573|FRF|6.55957|"
                    "GRD|340.75|IEP|0.787564|ITL|1936.27|LUF|40.3399|NLG|2.20371|PTE|200.482|\n",
                    ""},
                   {{"convert", "--raw", "100", "EUR", "USD"}, "", 0, "200\n", ""},
               });
}

// A message file that is not Talvio's is refused before anything is stored; one that lacks some
// texts loads, and the stored names of those currencies stay as they were.
TEST_F(EngineCommandTest, badMessageFilesAreRefusedAndNeverBlankStoredNames) {
    const kvt::test::TempDir dir;
    const auto file = [&](const char *name, const std::string &bytes) {
        kvt::test::writeFile(dir.file(name), bytes);
        return dir.file(name).string();
    };
    std::string shipped;
    {
        std::ifstream in(TALVIO_TEST_MESSAGE_FILE, std::ios::binary);
        shipped.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    // The shipped file without the texts of one message (BEF's names).
    std::string withoutBef;
    for (std::size_t at = 0; at + 103 <= shipped.size(); at += 103) {
        const auto key = static_cast<unsigned char>(shipped[at])
                         | static_cast<unsigned char>(shipped[at + 1]) << 8;
        if (key / 6 != 200)
            withoutBef += shipped.substr(at, 103);
    }
    const std::string befNames =
        "Belgischer Franken|Belgian franc|Franco belga|Franc belge|Franco belga|Belgische frank|";
    ASSERT_EQ(run({"currencies"}).status, 0);
    const std::vector<std::pair<std::string, std::string>> refused = {
        {file("empty.msg", ""), "no whole record"},
        {file("truncated.msg", shipped.substr(0, 60)), "no whole record"},
        {file("noise.msg", std::string(4000, '\x9D')), "not text"},
        {file("foreign.msg",
              kvt::test::messageFile({{5000 * 6, "Deutsch"}, {5000 * 6 + 1, "English"}})),
         "holds none of the texts Talvio uses"},
        {dir.file("missing.msg").string(), "No such file"},
        {"/dev/zero", "not a regular file"},
    };
    for (const auto &[path, why] : refused) {
        const auto result = run({"--messages", path, "currencies"});
        EXPECT_EQ(result.status, 1) << path;
        EXPECT_EQ(result.out, "") << path;
        EXPECT_THAT(result.err, HasSubstr("\"" + path + "\"")) << path;
        EXPECT_THAT(result.err, HasSubstr(why)) << path;
    }
    const auto partial = run({"--messages", file("partial.msg", withoutBef), "currencies"});
    EXPECT_EQ(partial.status, 0) << partial.err;
    EXPECT_THAT(partial.out, HasSubstr("BEF\tBelgian franc\n"));
    expectRows(*this,
               {{{"settings", "get", "Currencies\\Names", "BEF"}, "", 0, befNames + "\n", ""},
                {{"settings", "get", "Currencies\\Names", "USD"},
                 "",
                 0,
                 "US-Dollar|US dollar|D\u00F3lar estadounidense|Dollar am\u00E9ricain|Dollaro "
                 "statunitense|Amerikaanse dollar|\n",
                 ""}});
}

// A store the user may only read serves every command that only reads: loading writes nothing.
TEST_F(EngineCommandTest, aReadOnlyStoreServesTheReadingCommands) {
    const kvt::test::TempDir dir;
    const std::string settings = (dir.path() / "settings.db").string();
    // Root may write any file: as root, the commands run as nobody.
    std::vector<std::string> command;
    if (::geteuid() == 0) {
        const passwd *nobody = ::getpwnam("nobody");
        ASSERT_NE(nobody, nullptr);
        ASSERT_EQ(::chown(dir.path().c_str(), nobody->pw_uid, nobody->pw_gid), 0);
        command = {"/usr/bin/setpriv", "--reuid=" + std::to_string(nobody->pw_uid),
                   "--regid=" + std::to_string(nobody->pw_gid), "--clear-groups"};
        if (runProgram({command[0], command[1], command[2], command[3], TALVIO_BINARY, "--version"})
                .status
            != 0)
            GTEST_SKIP() << "the build tree cannot be read by nobody";
    }
    command.insert(command.end(),
                   {TALVIO_BINARY, "--settings", settings, "--messages", TALVIO_TEST_MESSAGE_FILE});
    const auto talvio = [&](std::vector<std::string> words) {
        words.insert(words.begin(), command.begin(), command.end());
        return runProgram(words);
    };
    ASSERT_EQ(talvio({"set-rate", "EUR", "USD", "2"}).status, 0);
    ASSERT_EQ(::chmod(settings.c_str(), 0400), 0);
    const Row rows[] = {
        {{"convert", "1000", "BEF", "FRF"}, "", 0, "162.61 FRF\n", ""},
        {{"convert", "--raw", "10", "EUR", "USD"}, "", 0, "20\n", ""},
        {{"rate", "USD", "EUR"}, "", 0, "0.5\n", ""},
        {{"labels", "EUR", "USD"}, "", 0, "Exchange rate\t1 EUR = 2 USD\n", ""},
        {{"formats", "legal"}, "", 0, "", ""},
        {{"set-rate", "EUR", "USD", "3"}, "", 1, "", "readonly database"},
    };
    for (const Row &row : rows) {
        const auto result = talvio(row.arguments);
        const auto name = testing::PrintToString(row.arguments);
        EXPECT_EQ(result.status, row.status) << name << "\n" << result.err;
        EXPECT_EQ(result.out, row.out) << name;
        EXPECT_THAT(result.err, HasSubstr(row.err)) << name;
    }
    EXPECT_EQ(talvio({"currencies"}).out.substr(0, 14), "USD\tUS dollar\n");
}

// The names of the files created in a folder since the last look, from the kernel's queue of
// events: none is missed however briefly it lived.
class CreatedFiles {
public:
    explicit CreatedFiles(const std::filesystem::path &folder)
        : mFd(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
        EXPECT_GE(::inotify_add_watch(mFd, folder.c_str(), IN_CREATE), 0) << folder;
    }
    ~CreatedFiles() { ::close(mFd); }
    CreatedFiles(const CreatedFiles &) = delete;
    CreatedFiles &operator=(const CreatedFiles &) = delete;

    std::set<std::string> take() {
        std::set<std::string> names;
        alignas(inotify_event) char buffer[4096];
        for (ssize_t count = 0; (count = ::read(mFd, buffer, sizeof buffer)) > 0;) {
            for (const char *next = buffer; next < buffer + count;) {
                const auto *event = reinterpret_cast<const inotify_event *>(next);
                names.insert(event->name);
                next += sizeof(inotify_event) + event->len;
            }
        }
        return names;
    }

private:
    int mFd;
};

// A command that only reads the store creates no side file of it (-wal, -shm, -journal), not even
// for a moment; one that writes does so with the write-ahead log, and leaves no side file behind.
TEST_F(EngineCommandTest, commandsThatOnlyReadCreateNoSideFilesOfTheStore) {
    const struct {
        Row row;
        bool writes;
    } rows[] = {
        {{{"set-rate", "EUR", "USD", "2"}, "", 0, "", ""}, true},
        {{{"convert", "1000", "BEF", "FRF"}, "", 0, "162.61 FRF\n", ""}, false},
        {{{"convert", "--raw", "EUR", "USD"}, "10\n", 0, "20\n", ""}, false},
        {{{"rate", "USD", "EUR"}, "", 0, "0.5\n", ""}, false},
        {{{"settings", "set", "UserChoice", "Language", "3"}, "", 0, "", ""}, true},
        {{{"settings", "get", "UserChoice", "Language"}, "", 0, "3\n", ""}, false},
        {{{"set-rate", "EUR", "USD", "4"}, "", 0, "", ""}, true},
        {{{"rate", "USD", "EUR"}, "", 0, "0.25\n", ""}, false},
    };
    const auto folder = std::filesystem::path(settingsPath()).parent_path();
    CreatedFiles created(folder);
    for (const auto &[row, writes] : rows) {
        const auto name = testing::PrintToString(row.arguments);
        expectRows(*this, {row});
        const auto names = created.take();
        if (writes) {
            EXPECT_EQ(names.count("settings.db-wal"), 1u) << name;
        } else {
            EXPECT_EQ(names, std::set<std::string>{}) << name;
        }
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1) << name;
    }
}

// A bad line of a stream is quoted, never echoed whole: one line could be megabytes.
TEST_F(EngineCommandTest, aHugeBadLineIsQuotedShort) {
    const std::string line = std::string(78, 'a') + "\u00E9" + std::string(1'000'000, 'b');
    const auto result = run({"convert", "--raw", "BEF", "FRF"}, "1000\n" + line + "\n");
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "162.61\n\n");
    EXPECT_EQ(result.err, "talvio: line 2: not an amount: \"" + std::string(78, 'a')
                              + "\u00E9b\"... (" + std::to_string(line.size()) + " bytes)\n");
}

TEST_F(EngineCommandTest, listsCurrenciesFormatsLabelsAndDetail) {
    const auto selection = run({"currencies"});
    EXPECT_EQ(selection.status, 0);
    EXPECT_THAT(selection.out, HasSubstr("BEF\tBelgian franc\n"));
    EXPECT_THAT(run({"currencies", "--all"}).out, HasSubstr("USD\tUS dollar\n"));
    const auto formats = run({"formats", "up"});
    EXPECT_EQ(formats.status, 0);
    EXPECT_THAT(formats.out, testing::StartsWith("X.XX\t"));
    EXPECT_EQ(std::count(formats.out.begin(), formats.out.end(), '\n'), 9);
    expectRows(*this, {
                          {{"formats", "legal"}, "", 0, "", ""},
                          {{"labels", "BEF", "FRF"},
                           "",
                           0,
                           "Exchange rate\t1 EUR = 40.3399 BEF\n"
                           "Exchange rate\t1 EUR = 6.55957 FRF\n"
                           "Cross rate\t1 BEF = 0.16260749282968 FRF\n",
                           ""},
                      });
    const auto detail = run({"detail", "1000", "BEF", "FRF"});
    EXPECT_EQ(detail.status, 0);
    EXPECT_THAT(detail.out, HasSubstr("1000 BEF\t24.789352477323900 EUR\n"));
}

TEST_F(EngineCommandTest, wrongUseExitsWithTwo) {
    const std::vector<std::vector<std::string>> rows = {
        {"convert", "BEF"},
        {"convert", "1", "BEF", "FRF", "X"},
        {"convert", "--method", "sideways", "1", "BEF", "FRF"},
        {"convert", "--method", "129", "1", "BEF", "FRF"},
        {"convert", "--euro-decimals", "2", "1", "BEF", "FRF"},
        {"convert", "--euro-decimals", "x", "1", "BEF", "FRF"},
        {"convert", "1,5", "BEF", "FRF"},
        {"convert", "--fast", "BEF", "FRF"},
        {"rate", "BEF"},
        {"detail", "abc", "BEF", "FRF"},
        {"set-rate", "USD", "GBP"},
        {"currencies", "extra"},
        {"formats"},
        {"formats", "sideways"},
        {"convert", "--pattern", "\u20AC", "1", "BEF", "FRF"},
        {"convert", "--pattern", "", "1", "BEF", "FRF"},
        {"convert", "--pattern=X.X.X", "1", "BEF", "FRF"},
        {"detail", "--pattern", "99", "1", "BEF", "FRF"},
    };
    for (const auto &row : rows) {
        const auto result = run(row);
        EXPECT_EQ(result.status, 2) << testing::PrintToString(row) << result.err;
        EXPECT_THAT(result.err, HasSubstr("usage: talvio " + row[0]))
            << testing::PrintToString(row);
    }
    for (const char *command :
         {"convert", "rate", "labels", "detail", "set-rate", "currencies", "formats", "settings"}) {
        const auto help = runTalvio({command, "--help"});
        EXPECT_EQ(help.status, 0) << command;
        EXPECT_THAT(help.out, HasSubstr(std::string("usage: talvio ") + command)) << command;
    }
    EXPECT_THAT(run({"convert", "--pattern", "X.X.X", "1", "BEF", "FRF"}).err,
                HasSubstr("not a rounding pattern: \"X.X.X\" (\"X\" placeholders, digits and at "
                          "most one \".\", with at least one \"X\"; for example X.XX"));
    // An empty path would mean the default file, not the one the user meant.
    for (const char *option : {"--settings", "--messages"}) {
        const auto result = run({option, "", "currencies"});
        EXPECT_EQ(result.status, 2) << option;
        EXPECT_THAT(result.err, HasSubstr(std::string("option ") + option
                                          + " needs a file path, not an empty one"));
    }
    // Without a known command the usage line is the program's own, naming it once.
    for (const std::vector<std::string> &words :
         {std::vector<std::string>{"frobnicate"}, std::vector<std::string>{}}) {
        const auto result = runTalvio(words);
        EXPECT_EQ(result.status, 2) << testing::PrintToString(words);
        EXPECT_THAT(result.err, HasSubstr("usage: talvio [--settings PATH]"));
        EXPECT_THAT(result.err, testing::Not(HasSubstr("talvio talvio")));
    }
}

// Qt is loaded only by what needs the bus or a window: the loader's log names every library
// the process opens, the library itself included.
TEST_F(EngineCommandTest, plainCommandsLoadNoQtLibrary) {
    const kvt::test::ScopedEnv loaderLog("LD_DEBUG", "files");
    for (const std::vector<std::string> &command : std::vector<std::vector<std::string>>{
             {"set-rate", "EUR", "USD", "1.08"},
             {"convert", "1000", "BEF", "FRF"},
             {"convert", "--raw", "BEF", "FRF"},
             {"rate", "BEF", "USD"},
             {"labels", "BEF", "USD"},
             {"detail", "1000", "BEF", "FRF"},
             {"currencies"},
             {"formats", "up"},
             {"settings", "get", "UserChoice", "Language"},
         }) {
        const auto result = run(command, "1000\n");
        const auto name = testing::PrintToString(command);
        EXPECT_EQ(result.status, 0) << name;
        EXPECT_THAT(result.err, HasSubstr("file=libkvt.so")) << name;
        EXPECT_THAT(result.err, testing::Not(HasSubstr("libQt6"))) << name;
    }
}

// The bus module missing, unreadable or not a module fails the command that needs the bus,
// naming the file; the plain commands go on working.
TEST_F(EngineCommandTest, aBusModuleThatCannotBeLoadedFailsOnlyTheCommandThatNeedsIt) {
    const kvt::test::TempDir modules;
    const kvt::test::ScopedEnv moduleDir("TALVIO_MODULE_DIR", modules.path().string());
    const auto module = modules.file("kvtbus.so");
    const std::vector<std::pair<std::function<void()>, std::string>> cases{
        {[] {}, "kvtbus.so cannot be loaded: "},
        {[&] { std::ofstream(module) << "not a module"; }, "kvtbus.so cannot be loaded: "},
        {[&] {
             std::filesystem::remove(module);
             std::filesystem::create_symlink(TALVIO_TEST_KVT_LIBRARY, module);
         },
         "kvtbus.so has no entry point talvio_module_init"},
    };
    for (const auto &[makeModule, failure] : cases) {
        makeModule();
        const auto addIn = run({"addin"});
        EXPECT_EQ(addIn.status, 1) << failure;
        EXPECT_THAT(addIn.err, HasSubstr(failure));
        EXPECT_EQ(run({"convert", "1000", "BEF", "FRF"}).out, "162.61 FRF\n") << failure;
    }
}

// Results go out in blocks, the last at the end: a full disk then is a failure, not a success.
TEST_F(EngineCommandTest, resultsThatCannotBeWrittenAreAFailure) {
    const auto result =
        runProgram({"/bin/sh", "-c",
                    "\"$0\" --settings \"$1\" --messages \"$2\" convert 1000 BEF FRF >/dev/full",
                    TALVIO_BINARY, settingsPath(), TALVIO_TEST_MESSAGE_FILE});
    EXPECT_EQ(result.status, 1);
    EXPECT_THAT(result.err, HasSubstr("the results could not be written: No space left on device"));
}

} // namespace
} // namespace talvio::test
