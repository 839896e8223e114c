#include "engine/RatePrompt.h"

namespace kvt {

namespace {

std::shared_ptr<RatePrompt> &currentPrompt() {
    static std::shared_ptr<RatePrompt> prompt = std::make_shared<UnavailableRatePrompt>();
    return prompt;
}

} // namespace

std::optional<std::string> ScriptedRatePrompt::ask(const RateQuestion &question) {
    mAsked.push_back(question);
    if (mNextAnswer == mAnswers.size())
        return std::nullopt;
    return mAnswers[mNextAnswer++];
}

std::optional<std::string> UnavailableRatePrompt::ask(const RateQuestion & /*question*/) {
    return std::nullopt;
}

RatePrompt &ratePrompt() {
    return *currentPrompt();
}

std::shared_ptr<RatePrompt> sharedRatePrompt() {
    return currentPrompt();
}

void setRatePrompt(std::shared_ptr<RatePrompt> prompt) {
    currentPrompt() = prompt ? std::move(prompt) : std::make_shared<UnavailableRatePrompt>();
}

} // namespace kvt
