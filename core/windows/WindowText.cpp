#include "windows/WindowText.h"

#include "messages/Message.h"

namespace kvt::windows {

QString windowText(const std::string &text) {
    QString shown = QString::fromStdString(text);
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return shown;
}

QString messageText(std::int32_t message) {
    return windowText(Translate(message));
}

} // namespace kvt::windows
