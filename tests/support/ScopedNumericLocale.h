#pragma once

#include <clocale>
#include <initializer_list>
#include <locale>
#include <stdexcept>
#include <string>

namespace kvt::test {

// Switches the numeric conventions of the C library (LC_NUMERIC) and of C++ streams to the
// first of the given locales that the system has, for the life of the object, then puts the
// previous ones back. ok() is false when none is installed; tests then skip (Debian: package
// locales-all).
class ScopedNumericLocale {
public:
    ScopedNumericLocale(std::initializer_list<const char *> names)
        : mPreviousCpp(std::locale()) {
        const char *previous = std::setlocale(LC_NUMERIC, nullptr);
        mPrevious = previous != nullptr ? previous : "C";
        for (const char *name : names) {
            if (std::setlocale(LC_NUMERIC, name) == nullptr)
                continue;
            try {
                std::locale::global(std::locale(mPreviousCpp, name, std::locale::numeric));
            } catch (const std::runtime_error &) {
                continue;
            }
            mName = name;
            return;
        }
        std::setlocale(LC_NUMERIC, mPrevious.c_str());
    }
    ~ScopedNumericLocale() {
        std::locale::global(mPreviousCpp);
        std::setlocale(LC_NUMERIC, mPrevious.c_str());
    }
    ScopedNumericLocale(const ScopedNumericLocale &) = delete;
    ScopedNumericLocale &operator=(const ScopedNumericLocale &) = delete;

    bool ok() const { return !mName.empty(); }
    const std::string &name() const { return mName; }

private:
    std::locale mPreviousCpp;
    std::string mPrevious;
    std::string mName;
};

// The locales the tests run under: the "C" locale and one that writes a decimal comma and a
// "." between thousands.
inline ScopedNumericLocale cLocale() {
    return ScopedNumericLocale{"C"};
}
inline ScopedNumericLocale germanLocale() {
    return ScopedNumericLocale{"de_DE.UTF-8", "de_DE.utf8", "de_DE"};
}

} // namespace kvt::test
