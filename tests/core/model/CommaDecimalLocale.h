#pragma once

#include <clocale>
#include <initializer_list>
#include <locale>
#include <optional>
#include <stdexcept>
#include <string>

namespace kvt::test {

// Makes a locale whose decimal separator is a comma the global one, for both the C library and
// C++ streams, for the life of the object. available() is false when no such locale is
// installed (scripts/test.sh installs them all).
class CommaDecimalLocale {
public:
    CommaDecimalLocale()
        : mOldCpp(std::locale()) {
        if (const char *old = std::setlocale(LC_ALL, nullptr))
            mOldC = old;
        for (const char *name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8",
                                 "nl_NL.UTF-8", "de_DE", "fr_FR"}) {
            try {
                std::locale::global(std::locale(name));
            } catch (const std::runtime_error &) {
                continue;
            }
            std::setlocale(LC_ALL, name);
            mName = name;
            return;
        }
    }
    ~CommaDecimalLocale() {
        std::locale::global(mOldCpp);
        if (mOldC)
            std::setlocale(LC_ALL, mOldC->c_str());
    }
    CommaDecimalLocale(const CommaDecimalLocale &) = delete;
    CommaDecimalLocale &operator=(const CommaDecimalLocale &) = delete;

    bool available() const { return mName != nullptr; }
    const char *name() const { return mName; }

private:
    std::locale mOldCpp;
    std::optional<std::string> mOldC;
    const char *mName = nullptr;
};

} // namespace kvt::test
