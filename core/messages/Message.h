#pragma once

#include "messages/Langue.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

namespace kvt {

// The message catalogue: every user-visible text by message number and language, read from
// a file of fixed 103-byte records (4-byte little-endian key = number * 6 + language, then
// 99 bytes of Windows-1252 text padded with spaces).
class Message {
public:
    static constexpr std::size_t kRecordSize = 103;
    static constexpr std::size_t kTextSize = 99;

    // Reads the whole file; a missing file is created empty. Throws Error when the file
    // cannot be opened or created.
    void subLoadIndex(const std::string &argstrFileName);

    // Same rules as subLoadIndex, from bytes already in memory (tests, fuzzing).
    void loadFromBytes(std::string_view bytes);

    // Text of message arglIndex in language argiLang; "" when unknown. Throws Error
    // (overflow) when arglIndex * 6 + argiLang leaves the 32-bit range.
    std::string strGetLangMsg(std::int32_t argiLang, std::int32_t arglIndex) const;

    // Text of the record with this key, trimmed; "" when there is none.
    std::string strGetMsg(std::int32_t arglIndex) const;

    // A modal box with an OK button, the critical icon or the information icon.
    void Msgbox(const std::string &rstrMsg, bool vblnCritical) const;

    std::int16_t NrLanguages() const { return kNrLanguages; }

    // Number of records counted in the last loaded file (a trailing partial record of 52
    // bytes or more counts).
    std::size_t recordCount() const { return mRecordCount; }

private:
    std::unordered_map<std::int32_t, std::string> mTexts; // already decoded and trimmed
    std::size_t mRecordCount = 0;
};

// The library's one catalogue, created on first use.
std::shared_ptr<Message> sharedMessage();
void setSharedMessage(std::shared_ptr<Message> message);
// Drops the shared catalogue; a later use creates a new, empty one.
void releaseSharedMessage();

// While on, Translate returns the bare message numbers (to find which number a text is).
bool showMsgNumbers();
void setShowMsgNumbers(bool on);

// Text of message n in the current language of the general settings.
std::string Translate(std::int32_t n);

} // namespace kvt
