#include "messages/Message.h"
#include "model/DG.h"
#include "model/SharedInstance.h"

namespace kvt {

namespace {

// Never destroyed: the engine releases it when it ends, and the engine may itself be a static
// that ends after this one would have.
SharedInstance<Message> &sharedMessageInstance() {
    static auto *instance = new SharedInstance<Message>();
    return *instance;
}

bool &showMsgNumbersFlag() {
    static bool on = false;
    return on;
}

} // namespace

std::shared_ptr<Message> sharedMessage() {
    return sharedMessageInstance().get();
}

void setSharedMessage(std::shared_ptr<Message> message) {
    sharedMessageInstance().set(std::move(message));
}

void releaseSharedMessage() {
    sharedMessageInstance().release();
}

void releaseSharedMessage(const Message &message) {
    sharedMessageInstance().releaseIfHolding(&message);
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
