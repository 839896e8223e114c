#pragma once

#include "kvt_export.h"
#include "messages/Langue.h"
#include "messages/MessageRecord.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>

namespace kvt {

// The message catalogue: every user-visible text by message number and language, read from
// a file of fixed 103-byte records (4-byte little-endian key = number * 6 + language, then
// 99 bytes of Windows-1252 text padded with spaces).
//
// The whole file is read once into a hash table of decoded, trimmed UTF-8 texts, so a lookup
// neither scans nor touches the file. When two records share a key the first one counts.
class KVT_EXPORT Message {
public:
    static constexpr std::size_t kRecordSize = msgfile::kRecordSize;
    static constexpr std::size_t kTextSize = msgfile::kTextSize;
    // The largest file read: some 40,000 records, hundreds of times the texts of the product.
    static constexpr std::size_t kMaxFileSize = 4 * 1024 * 1024;

    // Reads the whole file, replacing what was loaded before. Throws Error (file access)
    // naming the file when it cannot be opened or read (a missing file among them), and when it
    // is not a message file: not a regular file, larger than kMaxFileSize, or bytes that
    // msgfile::fileProblem refuses. The loaded texts are then left as they were.
    void subLoadIndex(const std::string &argstrFileName);

    // The record layout's rules only, from bytes already in memory: every record is taken.
    void loadFromBytes(std::string_view bytes);

    // Whether any of these messages has a text in some language.
    bool holdsAnyOf(std::span<const std::int32_t> numbers) const;

    // Text of message arglIndex in language argiLang; "" when the number or the language is
    // unknown. Throws Error (overflow) when arglIndex * 6 + argiLang leaves the 32-bit range.
    std::string strGetLangMsg(std::int32_t argiLang, std::int32_t arglIndex) const;

    // Text of the record with this key (number * 6 + language); "" when there is none.
    std::string strGetMsg(std::int32_t arglIndex) const;

    // A modal box titled "Talvio" with an OK button and the critical icon, or the
    // information icon.
    void Msgbox(const std::string &rstrMsg, bool vblnCritical) const;

    std::int16_t NrLanguages() const { return kNrLanguages; }

    // Number of records counted in the last loaded file (a trailing partial record of 52
    // bytes or more counts), duplicates included.
    std::size_t recordCount() const { return mRecordCount; }

private:
    std::unordered_map<std::int32_t, std::string> mTexts;
    std::size_t mRecordCount = 0;
};

// The library's one catalogue, created on first use.
KVT_EXPORT std::shared_ptr<Message> sharedMessage();
void setSharedMessage(std::shared_ptr<Message> message);
// Drops the shared catalogue; a later use creates a new, empty one.
KVT_EXPORT void releaseSharedMessage();
// The same, only when the shared catalogue is message (the engine releasing what it held).
KVT_EXPORT void releaseSharedMessage(const Message &message);

// While on, Translate returns the bare message numbers (to find which number a text is).
// Off when the library loads.
bool showMsgNumbers();
KVT_EXPORT void setShowMsgNumbers(bool on);

// Text of message n in the current language of the shared general settings, from the shared
// catalogue; n itself as decimal text while the show-numbers switch is on.
KVT_EXPORT std::string Translate(std::int32_t n);

} // namespace kvt
