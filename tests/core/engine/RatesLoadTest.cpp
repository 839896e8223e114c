#include "engine/Change.h"
#include "engine/RatePrompt.h"
#include "messages/Message.h"
#include "messages/MessageBoxes.h"
#include "model/DG.h"
#include "model/ISO.h"
#include "model/MemorySettingsBackend.h"
#include "model/Registry.h"
#include "support/ForwardingBackend.h"

#include <gtest/gtest.h>

namespace kvt {
namespace {

// A memory store that tells whether a batch is open.
class BatchWatchingBackend final : public test::ForwardingBackend {
public:
    void beginBatch() override {
        ForwardingBackend::beginBatch();
        inBatch = true;
    }
    void commitBatch() override {
        inBatch = false;
        ForwardingBackend::commitBatch();
    }
    void rollbackBatch() override {
        inBatch = false;
        ForwardingBackend::rollbackBatch();
    }

    bool inBatch = false;
};

// Answers every question with the same rate and notes whether the store was in a batch then.
class WatchingPrompt final : public RatePrompt {
public:
    explicit WatchingPrompt(const BatchWatchingBackend &backend)
        : mBackend(backend) {}
    std::optional<std::string> ask(const RateQuestion &question) override {
        asked.push_back(question.from + " " + question.to);
        askedInBatch = askedInBatch || mBackend.inBatch;
        return "0.7";
    }

    std::vector<std::string> asked;
    bool askedInBatch = false;

private:
    const BatchWatchingBackend &mBackend;
};

class RatesLoad : public testing::Test {
protected:
    RatesLoad() {
        setSharedRegistry(std::make_shared<Registry>(backend));
        setMessageBoxes(boxes);
        setRatePrompt(prompt);
        auto settings = std::make_shared<DG>();
        settings->setLangue(EN);
        change.initializeTables(settings, std::make_shared<Message>());
        change.setProjectName("Talvio");
    }
    ~RatesLoad() override {
        setRatePrompt(nullptr);
        setMessageBoxes(nullptr);
        setSharedRegistry(nullptr);
    }

    double rate(const char *owner, const char *other, bool *given = nullptr) {
        const Taux &record = *change.ColISO()->Item(owner)->ColTaux()->Item(other);
        if (given != nullptr)
            *given = record.Exist;
        return record.Change;
    }

    std::shared_ptr<BatchWatchingBackend> backend = std::make_shared<BatchWatchingBackend>();
    std::shared_ptr<ScriptedMessageBoxes> boxes = std::make_shared<ScriptedMessageBoxes>();
    std::shared_ptr<WatchingPrompt> prompt = std::make_shared<WatchingPrompt>(*backend);
    Change change;
};

TEST_F(RatesLoad, derivesTheShownRatesOnceTheLoadIsCommitted) {
    backend->write("Talvio", "Currencies\\Rates", "EUR", "USD|1.1|");
    backend->write("Talvio", "Currencies\\Rates", "USD", "GBP|0|");
    change.ReadReg();

    // The stored rate of 0 is needed for a connected pair: the user is asked, with no batch
    // of the store open meanwhile.
    EXPECT_EQ(prompt->asked, std::vector<std::string>{"USD GBP"});
    EXPECT_FALSE(prompt->askedInBatch);
    bool given = false;
    EXPECT_EQ(rate("USD", "GBP", &given), 0.7);
    EXPECT_TRUE(given);
    EXPECT_DOUBLE_EQ(rate("GBP", "USD", &given), 1 / 0.7);
    EXPECT_FALSE(given);
    EXPECT_DOUBLE_EQ(rate("BEF", "DEM"), 1.95583 / 40.3399);
    EXPECT_DOUBLE_EQ(rate("USD", "BEF"), 40.3399 / 1.1);
    EXPECT_EQ(rate("USD", "JPY"), 0.0);
    EXPECT_TRUE(boxes->shown().empty());
}

} // namespace
} // namespace kvt
