#pragma once

#include "kvt_export.h"

#include <cstdint>
#include <stdexcept>
#include <string>

namespace kvt {

// The library's one failure type: a number and a description, like an automation error.
// Program boundaries turn it into an error reply; inside the library it is thrown by value.
class KVT_EXPORT Error : public std::runtime_error {
public:
    Error(std::int32_t number, const std::string &description)
        : std::runtime_error(description)
        , mNumber(number) {}

    std::int32_t number() const { return mNumber; }
    std::string description() const { return what(); }

private:
    std::int32_t mNumber;
};

// Error numbers of the library's own failures. Automation-style numbers: object-defined
// errors start at 0x80040000.
namespace err {
inline constexpr std::int32_t ObjectBase = static_cast<std::int32_t>(0x80040000u);
inline constexpr std::int32_t KeyNotFound = ObjectBase + 1;
inline constexpr std::int32_t DuplicateKey = ObjectBase + 2;
inline constexpr std::int32_t PositionOutOfRange = ObjectBase + 3;
inline constexpr std::int32_t Overflow = ObjectBase + 6;
inline constexpr std::int32_t DivisionByZero = ObjectBase + 11;
inline constexpr std::int32_t TypeMismatch = ObjectBase + 13;
inline constexpr std::int32_t InvalidArgument = ObjectBase + 5;
inline constexpr std::int32_t SettingsStore = ObjectBase + 20;
inline constexpr std::int32_t FileAccess = ObjectBase + 21;
inline constexpr std::int32_t TraceViewer = ObjectBase + 30;
inline constexpr std::int32_t AddInMgr = ObjectBase + 31;
inline constexpr std::int32_t Windows = ObjectBase + 32;
inline constexpr std::int32_t NotInitialised = ObjectBase + 40;
inline constexpr std::int32_t RateIsZero = ObjectBase + 1000;
} // namespace err

} // namespace kvt
