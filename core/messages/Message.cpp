#include "messages/Message.h"

#include "messages/Cp1252.h"
#include "messages/MessageBoxes.h"
#include "model/Error.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <system_error>

namespace kvt {

namespace {

using FileHandle = std::unique_ptr<std::FILE, int (*)(std::FILE *)>;

Error fileError(const std::string &fileName, const char *what, int errorNumber) {
    return Error(err::FileAccess, std::string("Cannot ") + what + " the message file \"" + fileName
                                      + "\": " + std::generic_category().message(errorNumber));
}

FileHandle openFile(const std::string &fileName, const char *mode) {
    errno = 0;
    return {std::fopen(fileName.c_str(), mode), &std::fclose};
}

// The file's whole content; a file that does not exist yet is created empty, so that the
// next start finds it (and shows empty texts rather than failing).
std::string readOrCreate(const std::string &fileName) {
    FileHandle file = openFile(fileName, "rb");
    if (!file) {
        const int openError = errno;
        std::error_code ignored;
        if (std::filesystem::exists(fileName, ignored))
            throw fileError(fileName, "open", openError);
        // "ab" never truncates, should the file appear in between.
        if (!openFile(fileName, "ab"))
            throw fileError(fileName, "create", errno);
        return {};
    }
    std::string content;
    char buffer[64 * 1024];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0)
        content.append(buffer, got);
    if (std::ferror(file.get()))
        throw fileError(fileName, "read", errno);
    return content;
}

std::string_view trimSpaces(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

} // namespace

void Message::subLoadIndex(const std::string &argstrFileName) {
    loadFromBytes(readOrCreate(argstrFileName));
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
