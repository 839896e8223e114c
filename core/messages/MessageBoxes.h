#pragma once

#include "kvt_export.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kvt {

enum class BoxIcon { None, Information, Critical, Question };
enum class BoxButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class BoxAnswer { Ok, Cancel, Yes, No };

struct BoxRequest {
    std::string title;
    std::string text;
    BoxIcon icon = BoxIcon::None;
    BoxButtons buttons = BoxButtons::Ok;
};

// An input box: a prompt, a caption ("Talvio" when empty) and the text first shown.
struct InputRequest {
    std::string prompt;
    std::string title;
    std::string initialText;
};

// Every message box, question and input box of the library goes through this interface, so
// that the engine never depends on a window toolkit: Qt dialogs, a terminal, or a script in
// tests.
class KVT_EXPORT MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    virtual BoxAnswer show(const BoxRequest &request) = 0;
    // The text entered, or nullopt when the user cancels. Where nobody can answer, the box is
    // cancelled: the safe default, which changes nothing.
    virtual std::optional<std::string> input(const InputRequest &request);
};

// Answers with the safe default of each button set and records every request; tests may
// queue the answers they want instead.
class KVT_EXPORT ScriptedMessageBoxes final : public MessageBoxes {
public:
    BoxAnswer show(const BoxRequest &request) override;
    // Answers with the texts queued (nullopt cancels); cancels once they run out.
    std::optional<std::string> input(const InputRequest &request) override;

    void queueAnswer(BoxAnswer answer) { mAnswers.push_back(answer); }
    void queueInput(std::optional<std::string> text) { mInputs.push_back(std::move(text)); }
    const std::vector<BoxRequest> &shown() const { return mShown; }
    const std::vector<InputRequest> &inputs() const { return mInputRequests; }
    void clear() { mShown.clear(); }

private:
    std::vector<BoxRequest> mShown;
    std::vector<BoxAnswer> mAnswers;
    std::vector<InputRequest> mInputRequests;
    std::vector<std::optional<std::string>> mInputs;
};

// Writes each box to stderr and takes the safe default; the fallback when no window
// toolkit or terminal implementation has been installed.
class KVT_EXPORT StderrMessageBoxes final : public MessageBoxes {
public:
    BoxAnswer show(const BoxRequest &request) override;
};

// The name of an answer as its button shows it ("OK", "Cancel", "Yes", "No").
KVT_EXPORT const char *answerName(BoxAnswer answer);

// The answers of a button set, in the order its buttons show.
KVT_EXPORT std::vector<BoxAnswer> answersOf(BoxButtons buttons);

// The safe default answer of a button set: the one that changes nothing.
KVT_EXPORT BoxAnswer safeDefault(BoxButtons buttons);

// The process-wide implementation; never null.
KVT_EXPORT MessageBoxes &messageBoxes();
KVT_EXPORT void setMessageBoxes(std::shared_ptr<MessageBoxes> boxes);
// The process-wide implementation, to put back after a while.
KVT_EXPORT std::shared_ptr<MessageBoxes> sharedMessageBoxes();

} // namespace kvt
