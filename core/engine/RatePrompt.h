#pragma once

#include "kvt_export.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kvt {

// What the rate question shows: the explanation, "1 <from> =", a box holding initialText,
// "<to>", and the window caption.
struct RateQuestion {
    std::string explanation;
    std::string from;
    std::string to;
    std::string initialText;
    std::string caption;
};

// The rate question (FrmAskRate) as the engine sees it, so that the engine never depends on a
// window toolkit: a Qt window, a terminal, or a script in tests. The question has no cancel;
// insisting on a usable number is the engine's business, not the prompt's.
class KVT_EXPORT RatePrompt {
public:
    virtual ~RatePrompt() = default;
    // The text the user typed, or nullopt when this prompt cannot ask at all (no display, no
    // terminal): the caller must then give up rather than ask again.
    virtual std::optional<std::string> ask(const RateQuestion &question) = 0;
};

// Answers with the texts queued, in order, and records every question; once the answers run
// out it cannot ask, so a test never waits for a user.
class KVT_EXPORT ScriptedRatePrompt final : public RatePrompt {
public:
    std::optional<std::string> ask(const RateQuestion &question) override;

    void queueAnswer(std::string text) { mAnswers.push_back(std::move(text)); }
    const std::vector<RateQuestion> &asked() const { return mAsked; }

private:
    std::vector<RateQuestion> mAsked;
    std::vector<std::string> mAnswers;
    std::size_t mNextAnswer = 0;
};

// The fallback until a window or terminal prompt is installed: it cannot ask.
class KVT_EXPORT UnavailableRatePrompt final : public RatePrompt {
public:
    std::optional<std::string> ask(const RateQuestion &question) override;
};

// The process-wide prompt; never null.
RatePrompt &ratePrompt();
// Null puts the fallback back.
KVT_EXPORT void setRatePrompt(std::shared_ptr<RatePrompt> prompt);
// The process-wide prompt, to put back after a while.
KVT_EXPORT std::shared_ptr<RatePrompt> sharedRatePrompt();

} // namespace kvt
