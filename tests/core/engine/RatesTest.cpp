#include "engine/RatePrompt.h"
#include "messages/Message.h"
#include "messages/MsgIds.h"
#include "model/DG.h"
#include "model/Devise.h"
#include "model/ISO.h"
#include "model/MemorySettingsBackend.h"
#include "model/Registry.h"
#include "support/ConversionFixture.h"
#include "support/ErrorMatchers.h"
#include "support/MessageFiles.h"
#include "support/SampleTables.h"

#include <map>
#include <optional>
#include <utility>
#include <vector>

namespace kvt {
namespace {

constexpr double kBEF = 40.3399;
constexpr double kDEM = 1.95583;

std::string rateErrorText(const std::string &from, const std::string &to) {
    return "Conversion rate is 0 or does not exist.\r\nThe conversion rate between " + from
           + " and " + to
           + " is 0.\r\nPlease, provide a non zero conversion rate for them in the control panel.";
}

struct CountingListener final : RateTableListener {
    void LoadClickTableTaux() override { ++refreshes; }
    int refreshes = 0;
};

// A rate record as a test states it: 1 from = rate to, given or not.
struct RateSetting {
    const char *from;
    const char *to;
    double rate;
    bool given = true;
};

using RateTable = std::map<std::pair<std::string, std::string>, std::pair<double, bool>>;

// The sample tables (EUR; BEF, DEM, FRF, ITL with their fixed rates; USD, GBP, JPY, AAA, BBB
// without rates), a scripted rate prompt that cannot ask until answers are queued, and a
// message catalogue of its own in English.
class Rates : public test::ConversionFixture {
protected:
    void SetUp() override {
        ConversionFixture::SetUp();
        setSharedRegistry(std::make_shared<Registry>(std::make_shared<MemorySettingsBackend>()));
        sharedRegistry()->setProjectName("Talvio");
        settings->setLangue(EN);
        catalogue->loadFromBytes(test::messageFileOf({
            {msg::AskRateExplanation, EN, "A rate is missing."},
            {msg::AskRateHowTo, EN, "Type how much one unit is worth."},
            {msg::AskRateNotZero, EN, "The rate cannot be 0."},
            {msg::AskRateNotUsable, EN, "The rate must be positive."},
            {msg::OperationFailed, EN, "Failed"},
        }));
        connect();
    }
    void TearDown() override {
        setRatePrompt(nullptr);
        setSharedRegistry(nullptr);
        ConversionFixture::TearDown();
    }

    // Starts a row of a table afresh: new sample tables, no question asked, no box shown.
    void freshTables() {
        change = Change();
        test::addSampleCurrencies(change);
        prompt = std::make_shared<ScriptedRatePrompt>();
        listener = std::make_shared<CountingListener>();
        boxes->clear();
        connect();
    }

    Taux &record(const std::string &owner, const std::string &other) {
        return *change.ColISO()->Item(owner)->ColTaux()->Item(other);
    }
    void apply(const std::vector<RateSetting> &rates) {
        for (const RateSetting &r : rates)
            record(r.from, r.to) = Taux{r.rate, r.given, r.to};
    }
    void answer(std::initializer_list<const char *> texts) {
        for (const char *text : texts)
            prompt->queueAnswer(text);
    }
    std::size_t questions() const { return prompt->asked().size(); }

    // Every rate record of the catalogue: (owner, other) -> (Change, Exist).
    RateTable allRates() {
        RateTable rates;
        for (const std::shared_ptr<ISO> &entry : *change.ColISO())
            for (const std::shared_ptr<Taux> &rate : *entry->ColTaux())
                rates[{entry->Value(), rate->Devise}] = {rate->Change, rate->Exist};
        return rates;
    }

    void connect() {
        change.setGeneralSettings(settings);
        change.setMessages(catalogue);
        change.setRateTableListener(listener);
        setRatePrompt(prompt);
    }

    std::shared_ptr<DG> settings = std::make_shared<DG>();
    std::shared_ptr<Message> catalogue = std::make_shared<Message>();
    std::shared_ptr<ScriptedRatePrompt> prompt = std::make_shared<ScriptedRatePrompt>();
    std::shared_ptr<CountingListener> listener = std::make_shared<CountingListener>();
};

TEST_F(Rates, readsAGivenRateInEitherDirectionAndAsksForAMissingOne) {
    struct Row {
        const char *name;
        std::vector<RateSetting> rates;
        const char *from;
        const char *to;
        std::vector<const char *> answers;
        double expected;
        std::size_t questions;
    };
    const Row rows[] = {
        {"forward", {{"USD", "GBP", 0.6}}, "USD", "GBP", {}, 0.6, 0},
        {"reverse, inverted", {{"GBP", "USD", 1.6}}, "USD", "GBP", {}, 1 / 1.6, 0},
        {"forward before reverse",
         {{"USD", "GBP", 0.6}, {"GBP", "USD", 2}},
         "USD",
         "GBP",
         {},
         0.6,
         0},
        {"fixed euro rate", {}, "EUR", "BEF", {}, kBEF, 0},
        {"fixed euro rate, inverted", {}, "BEF", "EUR", {}, 1 / kBEF, 0},
        {"a code with itself", {}, "USD", "USD", {}, 1, 0},
        {"a shown rate is not given", {{"USD", "JPY", 150, false}}, "USD", "JPY", {"140"}, 140, 1},
        {"neither", {}, "USD", "JPY", {"150"}, 150, 1},
        {"forward given as 0", {{"USD", "GBP", 0}}, "USD", "GBP", {"0.7"}, 0.7, 1},
        {"reverse given as 0", {{"GBP", "USD", 0}}, "USD", "GBP", {"0.7"}, 0.7, 1},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        freshTables();
        apply(row.rates);
        for (const char *text : row.answers)
            prompt->queueAnswer(text);

        EXPECT_DOUBLE_EQ(change.TauxDeChange(row.from, row.to), row.expected);
        ASSERT_EQ(questions(), row.questions);
        if (row.questions > 0) {
            // What was asked for is 1 from in to, and it is kept as from's given rate.
            const RateQuestion &asked = prompt->asked().front();
            EXPECT_EQ(asked.from, row.from);
            EXPECT_EQ(asked.to, row.to);
            EXPECT_EQ(asked.initialText, "1");
            EXPECT_EQ(asked.caption, "Talvio");
            EXPECT_EQ(record(row.from, row.to).Change, row.expected);
            EXPECT_TRUE(record(row.from, row.to).Exist);
        }
    }
}

TEST_F(Rates, everyFailureInsideTheRateBecomesTheRateError) {
    EXPECT_EQ(err::RateIsZero, -2147220504); // 0x800403E8 as a signed 32-bit number
    change.mSubAddISO("CCC", 0, "X.XX", ""); // in the catalogue, without any rate record
    struct Row {
        const char *name;
        const char *from;
        const char *to;
        std::vector<const char *> answers;
        std::size_t questions;
    };
    const Row rows[] = {
        {"the prompt cannot ask", "USD", "JPY", {}, 1},
        {"the prompt cannot ask again after a 0", "USD", "JPY", {"0"}, 2},
        {"text that is not a number", "USD", "JPY", {"abc"}, 1},
        {"unknown code", "XYZ", "USD", {}, 0},
        {"missing record", "USD", "CCC", {}, 0},
        {"missing reverse record", "CCC", "USD", {}, 0},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        prompt = std::make_shared<ScriptedRatePrompt>();
        setRatePrompt(prompt);
        for (const char *text : row.answers)
            prompt->queueAnswer(text);
        const std::string from = row.from;
        const std::string to = row.to;
        EXPECT_THAT([&] { change.TauxDeChange(from, to); },
                    testing::Throws<Error>(testing::AllOf(
                        testing::Property(&Error::number, err::RateIsZero),
                        testing::Property(&Error::description, rateErrorText(from, to)))));
        EXPECT_EQ(questions(), row.questions);
    }
    EXPECT_FALSE(record("USD", "JPY").Exist);
    EXPECT_EQ(listener->refreshes, 0);
}

TEST_F(Rates, askRateInsistsOnANonZeroRateThenStoresAndSpreadsIt) {
    answer({"0", "0.0", "1.25"});
    EXPECT_DOUBLE_EQ(change.AskRate("EUR", "USD", "1", "Caption"), 1.25);

    // Each 0 brings message 552 and the question again, as the user left it.
    ASSERT_EQ(boxes->shown().size(), 2u);
    for (const BoxRequest &box : boxes->shown()) {
        EXPECT_EQ(box.text, "The rate cannot be 0.");
        EXPECT_EQ(box.icon, BoxIcon::None);
        EXPECT_EQ(box.buttons, BoxButtons::Ok);
    }
    ASSERT_EQ(questions(), 3u);
    const RateQuestion &first = prompt->asked()[0];
    EXPECT_EQ(first.explanation, "A rate is missing.\r\nType how much one unit is worth.");
    EXPECT_EQ(first.from, "EUR");
    EXPECT_EQ(first.to, "USD");
    EXPECT_EQ(first.initialText, "1");
    EXPECT_EQ(first.caption, "Caption");
    EXPECT_EQ(prompt->asked()[1].initialText, "0");
    EXPECT_EQ(prompt->asked()[2].initialText, "0.0");

    EXPECT_EQ(record("EUR", "USD").Change, 1.25);
    EXPECT_TRUE(record("EUR", "USD").Exist);
    // Cross rates with the euro-area currencies are derived, shown only.
    EXPECT_DOUBLE_EQ(record("BEF", "USD").Change, 1.25 / kBEF);
    EXPECT_DOUBLE_EQ(record("USD", "DEM").Change, kDEM / 1.25);
    EXPECT_FALSE(record("BEF", "USD").Exist);
    EXPECT_EQ(listener->refreshes, 1);
}

// A negative rate would drop the sign of every amount, and one too small or too large to invert
// would break every conversion the other way: the question insists, and the put refuses them.
TEST_F(Rates, askRateAndThePutRefuseRatesThatCannotBeUsed) {
    answer({"-2", "1e-320", "1e308", "2"});
    EXPECT_EQ(change.AskRate("EUR", "USD", "1", "Caption"), 2.0);
    ASSERT_EQ(boxes->shown().size(), 3u);
    for (const BoxRequest &box : boxes->shown())
        EXPECT_EQ(box.text, "The rate must be positive.");
    EXPECT_EQ(record("EUR", "USD").Change, 2.0);

    for (const double rate : {0.0, -2.0, 1e-320, 1e308, -0.0})
        EXPECT_THAT(
            [&] { change.setTauxDeChange("USD", "JPY", rate); },
            test::ThrowsError(err::InvalidArgument, {"The rate 1 USD = ", " JPY cannot be used"}));
    EXPECT_THAT([&] { change.setTauxDeChange("USD", "JPY", std::nan("")); },
                test::ThrowsError(err::InvalidArgument, {"1 USD = nan JPY"}));
    EXPECT_FALSE(record("USD", "JPY").Exist);
    change.setTauxDeChange("USD", "JPY", 1e-300);
    EXPECT_EQ(record("USD", "JPY").Change, 1e-300);
}

TEST_F(Rates, askRateFailsOnTextThatIsNotANumberAndStoresNothing) {
    answer({"1.2.5"});
    EXPECT_THAT([&] { change.AskRate("USD", "JPY", "1", "Talvio"); },
                test::ThrowsError(err::TypeMismatch, {"\"1.2.5\""}));
    EXPECT_FALSE(record("USD", "JPY").Exist);
    EXPECT_EQ(listener->refreshes, 0);
}

TEST_F(Rates, askRateEndsWithTheRateErrorWhenThePromptCannotAsk) {
    setRatePrompt(nullptr); // the fallback of a process without display or terminal
    EXPECT_EQ(&change.FrmAskRate(), &ratePrompt());
    EXPECT_THAT([&] { change.AskRate("USD", "JPY", "1", "Talvio"); },
                test::ThrowsError(err::RateIsZero, {rateErrorText("USD", "JPY")}));
    EXPECT_TRUE(boxes->shown().empty());
}

TEST_F(Rates, convertRateGoesThroughTheEuroWhenEitherSideIsInTheEuroArea) {
    apply({{"EUR", "USD", 1.1}, {"USD", "GBP", 0.6}, {"BEF", "USD", 99}});
    struct Row {
        const char *from;
        const char *to;
        double expected;
    };
    const Row rows[] = {
        {"BEF", "USD", 1.1 / kBEF}, // the given BEF-USD rate is not used
        {"USD", "DEM", kDEM / 1.1}, {"BEF", "DEM", kDEM / kBEF}, {"EUR", "BEF", kBEF},
        {"BEF", "EUR", 1 / kBEF},   {"USD", "GBP", 0.6},         {"GBP", "USD", 1 / 0.6},
        {"EUR", "USD", 1.1},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(std::string(row.from) + " " + row.to);
        EXPECT_DOUBLE_EQ(change.TauxDeChangeConvert(row.from, row.to), row.expected);
    }
    EXPECT_EQ(questions(), 0u);
    EXPECT_TRUE(boxes->shown().empty());
}

TEST_F(Rates, convertRateAsksForTheMissingEuroLegOnce) {
    answer({"1.1"});
    EXPECT_DOUBLE_EQ(change.TauxDeChangeConvert("BEF", "USD"), 1.1 / kBEF);
    ASSERT_EQ(questions(), 1u);
    EXPECT_EQ(prompt->asked()[0].from, "EUR");
    EXPECT_EQ(prompt->asked()[0].to, "USD");
}

TEST_F(Rates, convertRateShowsAFailureAndGivesZero) {
    struct Row {
        const char *from;
        const char *to;
        std::string description;
    };
    const Row rows[] = {
        {"USD", "JPY", rateErrorText("USD", "JPY")},
        {"BEF", "JPY", rateErrorText("EUR", "JPY")},
        {"USD", "XYZ", "Key not found in the collection: \"XYZ\""},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(std::string(row.from) + " " + row.to);
        boxes->clear();
        EXPECT_EQ(change.TauxDeChangeConvert(row.from, row.to), 0.0);
        ASSERT_EQ(boxes->shown().size(), 1u);
        const BoxRequest &box = boxes->shown()[0];
        EXPECT_EQ(box.text, "Failed (TauxDeChangeConvert): " + row.description);
        EXPECT_EQ(box.icon, BoxIcon::None);
        EXPECT_EQ(box.buttons, BoxButtons::Ok);
    }
}

TEST_F(Rates, askRateRequiredFollowsEveryBranch) {
    struct Row {
        const char *name;
        std::vector<RateSetting> rates;
        const char *from;
        const char *to;
        bool expected;
    };
    const Row rows[] = {
        // From in the euro area: its fixed rate, then the euro's rate for To or To's for the euro.
        {"fixed rate not given", {{"EUR", "BEF", kBEF, false}}, "BEF", "USD", true},
        {"fixed rate 0", {{"EUR", "BEF", 0}}, "BEF", "EUR", true},
        {"euro's rate for To", {{"EUR", "USD", 1.1}}, "BEF", "USD", false},
        {"euro's rate for To is 0", {{"EUR", "USD", 0}}, "BEF", "USD", true},
        {"To's rate for the euro", {{"USD", "EUR", 0.9}}, "BEF", "USD", false},
        {"To's rate for the euro is 0", {{"USD", "EUR", 0}}, "BEF", "USD", true},
        {"no rate, To is the euro", {}, "BEF", "EUR", false},
        {"no rate, To is not the euro", {}, "BEF", "USD", true},
        {"To in the euro area too", {}, "BEF", "DEM", false},
        // From outside, To inside: From's rate with the euro, then To's fixed rate.
        {"From's rate for the euro", {{"USD", "EUR", 0.9}}, "USD", "BEF", false},
        {"euro's rate for From", {{"EUR", "USD", 1.1}}, "USD", "BEF", false},
        {"no rate with the euro", {}, "USD", "BEF", true},
        {"From's rate for the euro is 0", {{"USD", "EUR", 0}}, "USD", "BEF", true},
        {"euro's rate for From is 0", {{"EUR", "USD", 0}}, "USD", "BEF", true},
        {"From is the euro", {}, "EUR", "BEF", false},
        {"From is the euro, fixed rate 0", {{"EUR", "BEF", 0}}, "EUR", "BEF", true},
        {"fixed rate of To not given",
         {{"USD", "EUR", 0.9}, {"EUR", "BEF", kBEF, false}},
         "USD",
         "BEF",
         false},
        {"fixed rate of To is 0", {{"USD", "EUR", 0.9}, {"EUR", "BEF", 0}}, "USD", "BEF", true},
        // Neither in the euro area: the direct rate either way.
        {"forward rate", {{"USD", "GBP", 0.6}}, "USD", "GBP", false},
        {"forward rate 0", {{"USD", "GBP", 0}}, "USD", "GBP", true},
        {"reverse rate", {{"GBP", "USD", 1.6}}, "USD", "GBP", false},
        {"reverse rate 0", {{"GBP", "USD", 0}}, "USD", "GBP", true},
        {"shown rate only", {{"USD", "GBP", 0.6, false}}, "USD", "GBP", true},
        {"no rate, same code", {}, "USD", "USD", false},
        {"no rate, different codes", {}, "USD", "JPY", true},
        {"the euro and a free currency", {{"EUR", "USD", 1.1}}, "EUR", "USD", false},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        freshTables();
        apply(row.rates);
        EXPECT_EQ(change.AskRateRequired(row.from, row.to), row.expected);
        EXPECT_EQ(questions(), 0u);
    }
}

TEST_F(Rates, missingCodesAndRecordsReachTheCaller) {
    change.mSubAddISO("CCC", 0, "X.XX", "");
    change.ColISO()->Item("CCC")->AddAlias("ISO", "CCC", true);
    change.AddDevise("CCC"); // selected, but without rate records
    EXPECT_THAT([&] { change.AskRateRequired("XYZ", "USD"); },
                test::ThrowsError(err::KeyNotFound, {"XYZ"}));
    EXPECT_THAT([&] { change.AskRateRequired("USD", "CCC"); },
                test::ThrowsError(err::KeyNotFound, {"CCC"}));
    EXPECT_THAT([&] { change.AskRateRequired("BEF", "CCC"); },
                test::ThrowsError(err::KeyNotFound, {"CCC"}));
    EXPECT_THAT([&] { change.UpdateAllTaux(); }, test::ThrowsError(err::KeyNotFound, {"CCC"}));
}

TEST_F(Rates, propagateDerivesTheRatesBetweenTheOtherCurrencyAndTheEuroArea) {
    apply({{"EUR", "USD", 1.1}, {"USD", "GBP", 0.6}});
    const RateTable before = allRates();
    for (const auto &[dev1, dev2] : {std::pair{"EUR", "USD"}, std::pair{"USD", "EUR"}}) {
        SCOPED_TRACE(std::string(dev1) + " " + dev2);
        freshTables();
        apply({{"EUR", "USD", 1.1}, {"USD", "GBP", 0.6}});
        change.PropagateTaux(dev1, dev2);

        RateTable expected = before;
        for (const auto &[zone, fixed] :
             {std::pair{"BEF", kBEF}, {"DEM", kDEM}, {"FRF", 6.55957}, {"ITL", 1936.27}}) {
            expected[{zone, "USD"}] = {1.1 / fixed, false};
            expected[{"USD", zone}] = {fixed / 1.1, false};
        }
        const RateTable after = allRates();
        ASSERT_EQ(after.size(), expected.size());
        for (const auto &[pair, value] : expected) {
            SCOPED_TRACE(pair.first + " " + pair.second);
            EXPECT_DOUBLE_EQ(after.at(pair).first, value.first);
            EXPECT_EQ(after.at(pair).second, value.second);
        }
    }
}

TEST_F(Rates, propagateChangesNothingUnlessExactlyOneCodeIsTheEuro) {
    apply({{"EUR", "USD", 1.1}, {"USD", "GBP", 0.6}});
    const RateTable before = allRates();
    for (const auto &[dev1, dev2] :
         {std::pair{"USD", "GBP"}, std::pair{"EUR", "EUR"}, std::pair{"eur", "USD"}}) {
        SCOPED_TRACE(std::string(dev1) + " " + dev2);
        change.PropagateTaux(dev1, dev2);
        EXPECT_EQ(allRates(), before);
    }
    EXPECT_TRUE(boxes->shown().empty());
}

TEST_F(Rates, updateAllShowsARateForEveryConnectedPairOnly) {
    apply({{"EUR", "USD", 1.1}, {"USD", "GBP", 0.6}});
    const RateTable before = allRates();
    change.UpdateAllTaux();
    struct Row {
        const char *from;
        const char *to;
        double shown;
    };
    const Row rows[] = {
        // Given rates keep their value.
        {"USD", "GBP", 0.6},
        {"EUR", "BEF", kBEF},
        // Connected by a rate in the other direction, or through the euro.
        {"GBP", "USD", 1 / 0.6},
        {"USD", "EUR", 1 / 1.1},
        {"BEF", "DEM", kDEM / kBEF},
        {"BEF", "USD", 1.1 / kBEF},
        {"USD", "BEF", kBEF / 1.1},
        // A code with itself.
        {"USD", "USD", 1},
        {"JPY", "JPY", 1},
        {"EUR", "EUR", 1},
        {"BEF", "BEF", 1},
        // Not connected: left as they were.
        {"GBP", "BEF", 0},
        {"BEF", "GBP", 0},
        {"EUR", "GBP", 0},
        {"USD", "JPY", 0},
        {"AAA", "BBB", 0},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(std::string(row.from) + " " + row.to);
        EXPECT_DOUBLE_EQ(record(row.from, row.to).Change, row.shown);
    }
    for (const auto &[pair, value] : allRates())
        EXPECT_EQ(value.second, before.at(pair).second) << pair.first << " " << pair.second;
    EXPECT_EQ(questions(), 0u);
    EXPECT_TRUE(boxes->shown().empty());
}

TEST_F(Rates, updateAllAsksForAConnectedRateOfZeroOnce) {
    apply({{"USD", "GBP", 0}});
    answer({"0.7"});
    change.UpdateAllTaux();
    EXPECT_EQ(questions(), 1u);
    EXPECT_EQ(record("USD", "GBP").Change, 0.7);
    EXPECT_DOUBLE_EQ(record("GBP", "USD").Change, 1 / 0.7);
    EXPECT_TRUE(boxes->shown().empty());
}

TEST_F(Rates, updateAllEndsWhenNoRateCanBeAsked) {
    apply({{"USD", "GBP", 0}});
    change.UpdateAllTaux();
    // One question and one failure box per pair that needs the rate, then the pass goes on.
    EXPECT_EQ(questions(), 2u);
    ASSERT_EQ(boxes->shown().size(), 2u);
    EXPECT_EQ(boxes->shown()[0].text,
              "Failed (TauxDeChangeConvert): " + rateErrorText("USD", "GBP"));
    EXPECT_EQ(record("USD", "GBP").Change, 0.0);
    EXPECT_DOUBLE_EQ(record("BEF", "DEM").Change, kDEM / kBEF);
}

TEST_F(Rates, convOkNeedsTwoDifferentCurrenciesAndATargetWithAnX) {
    struct Row {
        const char *from;
        const char *to;
        const char *target;
        bool expected;
    };
    const Row rows[] = {
        {"EUR", "USD", "0.0X", true},  {"EUR", "USD", "X9", true},
        {"EUR", "eur", "X", true}, // codes compare exactly
        {"", "USD", "X", false},       {"EUR", "", "X", false},
        {"USD", "USD", "X.XX", false}, {"EUR", "USD", "0.09", false},
        {"EUR", "USD", "x.xx", false}, {"EUR", "USD", "", false},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(std::string(row.from) + " " + row.to + " " + row.target);
        settings->setDeviseFrom(row.from);
        settings->setDeviseTo(row.to);
        settings->setDevFormat(row.target);
        EXPECT_EQ(change.ConvOK(), row.expected);
    }
}

} // namespace
} // namespace kvt
