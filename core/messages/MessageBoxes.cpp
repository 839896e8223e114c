#include "messages/MessageBoxes.h"

#include <iostream>

namespace kvt {

namespace {

std::shared_ptr<MessageBoxes> &currentBoxes() {
    static std::shared_ptr<MessageBoxes> boxes = std::make_shared<StderrMessageBoxes>();
    return boxes;
}

} // namespace

const char *answerName(BoxAnswer answer) {
    switch (answer) {
    case BoxAnswer::Ok:
        return "OK";
    case BoxAnswer::Cancel:
        return "Cancel";
    case BoxAnswer::Yes:
        return "Yes";
    case BoxAnswer::No:
        return "No";
    }
    return "?";
}

std::vector<BoxAnswer> answersOf(BoxButtons buttons) {
    switch (buttons) {
    case BoxButtons::Ok:
        return {BoxAnswer::Ok};
    case BoxButtons::OkCancel:
        return {BoxAnswer::Ok, BoxAnswer::Cancel};
    case BoxButtons::YesNo:
        return {BoxAnswer::Yes, BoxAnswer::No};
    case BoxButtons::YesNoCancel:
        return {BoxAnswer::Yes, BoxAnswer::No, BoxAnswer::Cancel};
    }
    return {BoxAnswer::Cancel};
}

BoxAnswer safeDefault(BoxButtons buttons) {
    switch (buttons) {
    case BoxButtons::Ok:
        return BoxAnswer::Ok;
    case BoxButtons::OkCancel:
    case BoxButtons::YesNoCancel:
        return BoxAnswer::Cancel;
    case BoxButtons::YesNo:
        return BoxAnswer::No;
    }
    return BoxAnswer::Cancel;
}

BoxAnswer ScriptedMessageBoxes::show(const BoxRequest &request) {
    mShown.push_back(request);
    if (mAnswers.empty())
        return safeDefault(request.buttons);
    const BoxAnswer answer = mAnswers.front();
    mAnswers.erase(mAnswers.begin());
    return answer;
}

std::optional<std::string> MessageBoxes::input(const InputRequest &) {
    return std::nullopt;
}

std::optional<std::string> ScriptedMessageBoxes::input(const InputRequest &request) {
    mInputRequests.push_back(request);
    if (mInputs.empty())
        return std::nullopt;
    std::optional<std::string> text = std::move(mInputs.front());
    mInputs.erase(mInputs.begin());
    return text;
}

BoxAnswer StderrMessageBoxes::show(const BoxRequest &request) {
    const BoxAnswer answer = safeDefault(request.buttons);
    std::cerr << (request.title.empty() ? "Talvio" : request.title) << ": " << request.text << " ["
              << answerName(answer) << "]\n";
    return answer;
}

MessageBoxes &messageBoxes() {
    return *currentBoxes();
}

std::shared_ptr<MessageBoxes> sharedMessageBoxes() {
    return currentBoxes();
}

void setMessageBoxes(std::shared_ptr<MessageBoxes> boxes) {
    currentBoxes() = boxes ? std::move(boxes) : std::make_shared<StderrMessageBoxes>();
}

} // namespace kvt
