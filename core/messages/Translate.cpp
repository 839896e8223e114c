#include "messages/Message.h"
#include "model/DG.h"

namespace kvt {

namespace {

std::shared_ptr<Message> &sharedMessageSlot() {
    static std::shared_ptr<Message> message;
    return message;
}

bool &showMsgNumbersFlag() {
    static bool on = false;
    return on;
}

} // namespace

std::shared_ptr<Message> sharedMessage() {
    auto &slot = sharedMessageSlot();
    if (!slot)
        slot = std::make_shared<Message>();
    return slot;
}

void setSharedMessage(std::shared_ptr<Message> message) {
    sharedMessageSlot() = std::move(message);
}

void releaseSharedMessage() {
    sharedMessageSlot().reset();
}

bool showMsgNumbers() {
    return showMsgNumbersFlag();
}

void setShowMsgNumbers(bool on) {
    showMsgNumbersFlag() = on;
}

std::string Translate(std::int32_t n) {
    if (showMsgNumbers())
        return std::to_string(n);
    return sharedMessage()->strGetLangMsg(sharedDG()->Langue(), n);
}

} // namespace kvt
