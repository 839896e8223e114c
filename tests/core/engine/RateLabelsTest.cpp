#include "engine/Change.h"
#include "engine/RatePrompt.h"
#include "messages/Langue.h"
#include "messages/Message.h"
#include "messages/MsgIds.h"
#include "model/DG.h"
#include "model/Error.h"
#include "model/ISO.h"
#include "support/ConversionFixture.h"
#include "support/ErrorMatchers.h"
#include "support/MessageFiles.h"
#include "support/ScopedNumericLocale.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace kvt {
namespace {

using testing::ElementsAre;
using testing::HasSubstr;

// A rate record to set before a case: given (Exist true) or cleared.
struct RateSetting {
    const char *from;
    const char *to;
    double rate;
    bool exist = true;
};

class RateLabelsTest : public test::ConversionFixture {
protected:
    void SetUp() override {
        ConversionFixture::SetUp();
        settings = std::make_shared<DG>();
        settings->setLangue(EN);
        settings->setDeviseFrom("BEF");
        settings->setDeviseTo("FRF");
        settings->setDevFormat("X.XX");
        settings->setNbDecEuroInter(3);
        change.setGeneralSettings(settings);
        auto catalogue = std::make_shared<Message>();
        catalogue->loadFromBytes(test::messageFileOf({{msg::RateCaption, EN, "Exchange rate"},
                                                      {msg::CrossRateCaption, EN, "Cross rate"},
                                                      {msg::OperationFailed, EN, "Error"}}));
        change.setMessages(catalogue);
        prompt = std::make_shared<ScriptedRatePrompt>();
        setRatePrompt(prompt);
    }
    void TearDown() override {
        setRatePrompt(nullptr);
        ConversionFixture::TearDown();
    }

    // Sets the records of one case; restoreRates puts the sample tables back.
    void apply(const std::vector<RateSetting> &settingsOfCase) {
        for (const RateSetting &s : settingsOfCase) {
            Taux &record = *change.ColISO()->Item(s.from)->ColTaux()->Item(s.to);
            mSaved.push_back({s.from, s.to, record.Change, record.Exist});
            record.Change = s.rate;
            record.Exist = s.exist;
        }
    }
    void restoreRates() {
        for (auto s = mSaved.rbegin(); s != mSaved.rend(); ++s) {
            Taux &record = *change.ColISO()->Item(s->from)->ColTaux()->Item(s->to);
            record.Change = s->rate;
            record.Exist = s->exist;
        }
        mSaved.clear();
    }

    std::shared_ptr<DG> settings;
    std::shared_ptr<ScriptedRatePrompt> prompt;

private:
    std::vector<RateSetting> mSaved;
};

struct LabelRow {
    const char *from;
    const char *to;
    std::vector<RateSetting> rates;
    std::array<const char *, 3> sentences; // of lines 1 to 3; "" for an empty line
};

const std::vector<LabelRow> &labelRows() {
    static const std::vector<LabelRow> rows = {
        // A euro-area currency and the euro: the fixed rate is direct from the euro...
        {"EUR", "BEF", {}, {"1 EUR = 40.3399 BEF", "", ""}},
        // ... and the other way round it is the reverse rate, so its inverse is a cross rate.
        {"BEF", "EUR", {}, {"1 EUR = 40.3399 BEF", "1 BEF = 0.02478935247732 EUR", ""}},
        {"BEF",
         "FRF",
         {},
         {"1 EUR = 40.3399 BEF", "1 EUR = 6.55957 FRF", "1 BEF = 0.16260749282968 FRF"}},
        {"FRF",
         "BEF",
         {},
         {"1 EUR = 6.55957 FRF", "1 EUR = 40.3399 BEF", "1 FRF = 6.14977811045541 BEF"}},
        {"BEF", "BEF", {}, {"1 BEF = 1 BEF", "", ""}},
        // Outside the euro area, a rate given only the other way round.
        {"USD", "GBP", {{"GBP", "USD", 1.25}}, {"1 GBP = 1.25 USD", "1 USD = 0.8 GBP", ""}},
        {"GBP", "USD", {{"GBP", "USD", 1.25}}, {"1 GBP = 1.25 USD", "", ""}},
        // The four directions the two euro rates can be given in.
        {"USD",
         "BEF",
         {{"EUR", "USD", 1.1}},
         {"1 EUR = 1.1 USD", "1 EUR = 40.3399 BEF", "1 USD = 36.6726363636364 BEF"}},
        {"USD",
         "BEF",
         {{"USD", "EUR", 0.9}},
         {"1 USD = 0.9 EUR", "1 EUR = 40.3399 BEF", "1 USD = 36.30591 BEF"}},
        {"BEF",
         "USD",
         {{"EUR", "USD", 1.1}},
         {"1 EUR = 40.3399 BEF", "1 EUR = 1.1 USD", "1 BEF = 0.02726828772506 USD"}},
        {"BEF",
         "USD",
         {{"USD", "EUR", 0.9}},
         {"1 EUR = 40.3399 BEF", "1 USD = 0.9 EUR", "1 BEF = 0.0275437249748 USD"}},
        {"BEF",
         "USD",
         {{"EUR", "BEF", 0.0, false}, {"BEF", "EUR", 0.0248}, {"USD", "EUR", 0.9}},
         {"1 BEF = 0.0248 EUR", "1 USD = 0.9 EUR", "1 BEF = 0.02755555555556 USD"}},
    };
    return rows;
}

void expectLabels(const RateLabels &labels, const std::array<const char *, 3> &sentences) {
    for (std::size_t line = 0; line < 3; ++line) {
        SCOPED_TRACE(line);
        EXPECT_EQ(labels[line][1], sentences[line]);
        // A line has a caption exactly when it has a sentence; the last of two or three
        // lines is the derived cross rate.
        const bool empty = std::string(sentences[line]).empty();
        const bool last = line + 1 == 3 || std::string(sentences[line + 1]).empty();
        const char *caption = empty ? "" : (last && line > 0 ? "Cross rate" : "Exchange rate");
        EXPECT_EQ(labels[line][0], caption);
    }
}

TEST_F(RateLabelsTest, describeTheRateOfEachKindOfPair) {
    const test::ScopedNumericLocale locale = test::cLocale();
    ASSERT_TRUE(locale.ok());
    for (const LabelRow &row : labelRows()) {
        SCOPED_TRACE(std::string(row.from) + " -> " + row.to);
        apply(row.rates);
        RateLabels labels;
        labels[2] = {"former", "content"};
        change.UpdateRateLabels(labels, row.from, row.to);
        expectLabels(labels, row.sentences);
        EXPECT_TRUE(prompt->asked().empty());
        restoreRates();
    }
}

TEST_F(RateLabelsTest, writeDecimalCommasInAGermanLocale) {
    const test::ScopedNumericLocale locale = test::germanLocale();
    if (!locale.ok())
        GTEST_SKIP() << "no German locale installed (Debian: locales-all)";
    RateLabels labels;
    change.UpdateRateLabels(labels, "BEF", "FRF");
    expectLabels(labels,
                 {"1 EUR = 40,3399 BEF", "1 EUR = 6,55957 FRF", "1 BEF = 0,16260749282968 FRF"});
    setRate("GBP", "USD", 1234.5);
    change.UpdateRateLabels(labels, "USD", "GBP");
    expectLabels(labels, {"1 GBP = 1234,5 USD", "1 USD = 0,00081004455245 GBP", ""});
}

TEST_F(RateLabelsTest, askForAMissingRateInTheReverseDirection) {
    const test::ScopedNumericLocale locale = test::cLocale();
    prompt->queueAnswer("0.8");
    RateLabels labels;
    change.UpdateRateLabels(labels, "USD", "GBP");
    ASSERT_EQ(prompt->asked().size(), 1u);
    EXPECT_EQ(prompt->asked()[0].from, "GBP");
    EXPECT_EQ(prompt->asked()[0].to, "USD");
    expectLabels(labels, {"1 GBP = 0.8 USD", "1 USD = 1.25 GBP", ""});
}

TEST_F(RateLabelsTest, letFailuresReachTheCallerWithTheFormerContentDropped) {
    const test::ScopedNumericLocale locale = test::cLocale();
    RateLabels labels;
    labels[0] = {"former", "content"};
    // No rate either way and a prompt that cannot ask: the rate error.
    EXPECT_THAT([&] { change.UpdateRateLabels(labels, "USD", "GBP"); },
                test::ThrowsError(err::RateIsZero, {"GBP and USD"}));
    EXPECT_EQ(labels, RateLabels{});

    EXPECT_THAT([&] { change.UpdateRateLabels(labels, "USD", "XYZ"); },
                test::ThrowsError(err::KeyNotFound, {"XYZ"}));

    // A cross rate beyond the doubles is an overflow, not "inf".
    setRate("USD", "EUR", 1e307);
    EXPECT_THAT([&] { change.UpdateRateLabels(labels, "USD", "BEF"); },
                test::ThrowsError(err::Overflow, {"USD", "BEF"}));
    EXPECT_EQ(labels[1][1], "1 EUR = 40.3399 BEF");
    EXPECT_EQ(labels[2][1], "");
    EXPECT_EQ(failuresShown(), 0u);
}

struct DetailRow {
    const char *name;
    double amount;
    const char *from;
    const char *to;
    MethodeArondiType method;
    const char *pattern;
    std::vector<RateSetting> rates;
    ConversionDetail source;
    ConversionDetail target;
    double rateAfter; // rdblTaux starts at 7.5
};

const std::vector<DetailRow> &detailRows() {
    static const std::vector<DetailRow> rows = {
        {"two euro-area currencies",
         1000,
         "BEF",
         "FRF",
         Legal,
         "X",
         {},
         {"BEF", "1000 BEF", "24.789 EUR", "1 EUR", "1 EUR"},
         {"162.61 FRF", "24.789 EUR", "162.61 FRF", "40.3399 BEF", "6.55957 FRF"},
         -1},
        {"from outside the euro area into it",
         100,
         "USD",
         "BEF",
         Legal,
         "",
         {{"EUR", "USD", 1.1}},
         {"USD", "100 USD", "90.909 EUR", "1 EUR", "1 EUR"},
         {"3667 BEF", "90.909 EUR", "3667 BEF", "1.1 USD", "40.3399 BEF"},
         -1},
        {"rounded up to a target ending",
         1000,
         "BEF",
         "DEM",
         suptargetValue,
         "X.X9",
         {},
         {"BEF", "1000 BEF", "24.789 EUR", "1 EUR", "1 EUR"},
         {"48.49 DEM", "24.789 EUR", "48.49 DEM", "40.3399 BEF", "1.95583 DEM"},
         -1},
        {"a euro-area currency and the euro: direct",
         1000,
         "EUR",
         "BEF",
         Legal,
         "X.XX",
         {},
         {"EUR", "1 BEF", "", "", ""},
         {"40340 BEF", "0.025 EUR", "", "", ""},
         -1},
        {"outside the euro area: direct, rate left alone",
         1234.5,
         "USD",
         "GBP",
         Legal,
         "X",
         {{"USD", "GBP", 0.8}},
         {"USD", "1 GBP", "", "", ""},
         {"987.6 GBP", "1.25 USD", "", "", ""},
         7.5},
    };
    return rows;
}

TEST_F(RateLabelsTest, detailEachKindOfConversion) {
    const test::ScopedNumericLocale locale = test::cLocale();
    for (const DetailRow &row : detailRows()) {
        SCOPED_TRACE(row.name);
        apply(row.rates);
        ConversionDetail source;
        ConversionDetail target;
        source[4] = "former";
        double rate = 7.5;
        change.UpdateTaux(row.amount, source, target, row.from, row.to, rate, row.method,
                          row.pattern);
        EXPECT_EQ(source, row.source);
        EXPECT_EQ(target, row.target);
        EXPECT_EQ(rate, row.rateAfter);
        // Through the euro, the result equals the second leg's.
        if (!row.source[2].empty()) {
            EXPECT_EQ(target[0], target[2]);
        }
        EXPECT_EQ(failuresShown(), 0u);
        restoreRates();
    }
}

TEST_F(RateLabelsTest, detailGroupsThousandsWithTheUsersSeparators) {
    const test::ScopedNumericLocale locale = test::germanLocale();
    if (!locale.ok())
        GTEST_SKIP() << "no German locale installed (Debian: locales-all)";
    ConversionDetail source;
    ConversionDetail target;
    double rate = 0;
    change.UpdateTaux(1e7, source, target, "BEF", "DEM", rate, Legal, "");
    EXPECT_THAT(source, ElementsAre("BEF", "10000000 BEF", "247.893,525 EUR", "1 EUR", "1 EUR"));
    EXPECT_THAT(target, ElementsAre("484.837,59 DEM", "247.893,525 EUR", "484.837,59 DEM",
                                    "40,3399 BEF", "1,95583 DEM"));

    setRate("GBP", "JPY", 1234.5678);
    change.UpdateTaux(10000, source, target, "JPY", "GBP", rate, Legal, "");
    EXPECT_THAT(source, ElementsAre("JPY", "1 GBP", "", "", ""));
    EXPECT_THAT(target, ElementsAre("8,1 GBP", "1.234,568 JPY", "", "", ""));
}

TEST_F(RateLabelsTest, detailIsEmptyAndTheRateUntouchedWhenTheSettingsAllowNoConversion) {
    struct Row {
        const char *from;
        const char *to;
        const char *pattern;
    };
    const Row rows[] = {{"", "FRF", "X.XX"},
                        {"BEF", "", "X.XX"},
                        {"BEF", "BEF", "X.XX"},
                        {"BEF", "FRF", "0.00"},
                        {"BEF", "FRF", "x.xx"}};
    for (const Row &row : rows) {
        SCOPED_TRACE(std::string(row.from) + "|" + row.to + "|" + row.pattern);
        settings->setDeviseFrom(row.from);
        settings->setDeviseTo(row.to);
        settings->setDevFormat(row.pattern);
        ConversionDetail source;
        ConversionDetail target;
        source.fill("former");
        target.fill("former");
        double rate = 7.5;
        change.UpdateTaux(1000, source, target, "BEF", "FRF", rate, Legal, "X.XX");
        EXPECT_EQ(source, ConversionDetail{});
        EXPECT_EQ(target, ConversionDetail{});
        EXPECT_EQ(rate, 7.5);
    }
    EXPECT_EQ(failuresShown(), 0u);
}

TEST_F(RateLabelsTest, detailAsksForAMissingEuroRateBeforeWorkingOutAnyAmount) {
    const test::ScopedNumericLocale locale = test::cLocale();
    prompt->queueAnswer("1.1");
    ConversionDetail source;
    ConversionDetail target;
    double rate = 0;
    change.UpdateTaux(1000, source, target, "BEF", "USD", rate, Legal, "");
    ASSERT_EQ(prompt->asked().size(), 1u);
    EXPECT_EQ(prompt->asked()[0].from, "EUR");
    EXPECT_EQ(prompt->asked()[0].to, "USD");
    EXPECT_THAT(target,
                ElementsAre("27.27 USD", "24.789 EUR", "27.27 USD", "40.3399 BEF", "1.1 USD"));
    EXPECT_EQ(failuresShown(), 0u);
}

TEST_F(RateLabelsTest, detailShowsAFailureAndKeepsWhatWasFilled) {
    const test::ScopedNumericLocale locale = test::cLocale();
    ConversionDetail source;
    ConversionDetail target;
    double rate = 7.5;
    // No rate between JPY and GBP: the conversion gives 0, then reading the rate fails.
    change.UpdateTaux(100, source, target, "JPY", "GBP", rate, Legal, "");
    EXPECT_THAT(source, ElementsAre("JPY", "1 GBP", "", "", ""));
    EXPECT_THAT(target, ElementsAre("0 GBP", "", "", "", ""));
    EXPECT_EQ(rate, 7.5);
    ASSERT_EQ(failuresShown(), 1u);
    const BoxRequest &box = boxes->shown().back();
    EXPECT_THAT(box.text, testing::StartsWith("Error (UpdateTaux): Conversion rate is 0"));
    EXPECT_THAT(box.text, HasSubstr("GBP and JPY"));
    EXPECT_EQ(box.icon, BoxIcon::None);
    EXPECT_EQ(box.buttons, BoxButtons::Ok);

    boxes->clear();
    change.UpdateTaux(100, source, target, "XYZ", "GBP", rate, Legal, "");
    EXPECT_EQ(source, ConversionDetail{});
    ASSERT_EQ(failuresShown(), 1u);
    EXPECT_THAT(lastFailure(), HasSubstr("(UpdateTaux): "));
    EXPECT_THAT(lastFailure(), HasSubstr("XYZ"));
}

} // namespace
} // namespace kvt
