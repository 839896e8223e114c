#include "messages/Message.h"

#include "messages/Cp1252.h"
#include "messages/MessageBoxes.h"
#include "model/Error.h"
#include "model/FileDescriptor.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <limits>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace kvt {

namespace {

Error fileError(const std::string &fileName, const char *what, int errorNumber) {
    return Error(err::FileAccess, std::string("Cannot ") + what + " the message file \"" + fileName
                                      + "\": " + std::generic_category().message(errorNumber));
}

Error notMessageFile(const std::string &fileName, const std::string &why) {
    return Error(err::FileAccess,
                 "The file \"" + fileName + "\" is not a message file: " + why + ".");
}

// The file's whole content. Opened without blocking and read only when it is a regular file of
// a message file's size: a pipe would wait for ever, and a device such as /dev/zero never ends.
std::string readMessageFile(const std::string &fileName) {
    const FileDescriptor file(::open(fileName.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (file.get() < 0)
        throw fileError(fileName, "open", errno);
    struct stat info {};
    if (::fstat(file.get(), &info) != 0)
        throw fileError(fileName, "examine", errno);
    if (!S_ISREG(info.st_mode))
        throw notMessageFile(fileName, "it is not a regular file");
    const auto tooLarge = [&] {
        return notMessageFile(fileName, "it is larger than a message file can be ("
                                            + std::to_string(Message::kMaxFileSize / 1024 / 1024)
                                            + " MiB)");
    };
    if (static_cast<std::uintmax_t>(info.st_size) > Message::kMaxFileSize)
        throw tooLarge();
    // Read straight into room for the size the file has: no copy, and no memory touched twice,
    // which is much of a short command's start. One byte more shows a file that grew meanwhile.
    std::string content(static_cast<std::size_t>(info.st_size) + 1, '\0');
    std::size_t size = 0;
    for (;;) {
        const ssize_t got = ::read(file.get(), content.data() + size, content.size() - size);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            throw fileError(fileName, "read", errno);
        if (got == 0) {
            content.resize(size);
            return content;
        }
        size += static_cast<std::size_t>(got);
        if (size == content.size()) { // it grew while being read
            if (size > Message::kMaxFileSize)
                throw tooLarge();
            content.resize(std::min(2 * size, Message::kMaxFileSize + 1));
        }
    }
}

std::string_view trimSpaces(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

} // namespace

void Message::subLoadIndex(const std::string &argstrFileName) {
    const std::string bytes = readMessageFile(argstrFileName);
    if (const auto problem = msgfile::fileProblem(bytes))
        throw notMessageFile(argstrFileName, *problem);
    loadFromBytes(bytes);
}

bool Message::holdsAnyOf(std::span<const std::int32_t> numbers) const {
    return std::any_of(numbers.begin(), numbers.end(), [&](std::int32_t number) {
        for (std::int32_t language = 0; language < kNrLanguages; ++language)
            if (!strGetLangMsg(language, number).empty())
                return true;
        return false;
    });
}

void Message::loadFromBytes(std::string_view bytes) {
    const std::size_t count = msgfile::recordCount(bytes.size());
    std::unordered_map<std::int32_t, std::string> texts;
    texts.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const msgfile::RawRecord record = msgfile::recordAt(bytes, i);
        const auto [slot, isFirst] = texts.try_emplace(record.key);
        if (isFirst)
            slot->second = decodeCp1252(trimSpaces(record.text));
    }
    mTexts = std::move(texts);
    mRecordCount = count;
}

std::string Message::strGetLangMsg(std::int32_t argiLang, std::int32_t arglIndex) const {
    // Any other language value would land on the key of a neighbouring message.
    if (argiLang < 0 || argiLang >= kNrLanguages)
        return {};
    const std::int64_t key = std::int64_t{arglIndex} * kNrLanguages + argiLang;
    if (key < std::numeric_limits<std::int32_t>::min()
        || key > std::numeric_limits<std::int32_t>::max())
        throw Error(err::Overflow, "Overflow: message " + std::to_string(arglIndex)
                                       + " in language " + std::to_string(argiLang)
                                       + " has no 32-bit message key");
    return strGetMsg(static_cast<std::int32_t>(key));
}

std::string Message::strGetMsg(std::int32_t arglIndex) const {
    const auto found = mTexts.find(arglIndex);
    return found == mTexts.end() ? std::string() : found->second;
}

void Message::Msgbox(const std::string &rstrMsg, bool vblnCritical) const {
    messageBoxes().show({"Talvio", rstrMsg, vblnCritical ? BoxIcon::Critical : BoxIcon::Information,
                         BoxButtons::Ok});
}

} // namespace kvt
