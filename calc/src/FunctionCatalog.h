#pragma once

#include <array>
#include <span>
#include <string_view>

namespace talvio::calc {

// One text in each of the six languages, in the message table's order (de, en, es, fr, it, nl).
using Texts = std::array<std::string_view, 6>;

struct ArgumentText {
    Texts name;
    Texts description;
};

// What Calc shows of a cell function: the name users type, its description and its arguments.
struct FunctionText {
    std::string_view programmatic; // the interface method's name
    std::string_view display;      // the same in every language
    Texts description;
    std::span<const ArgumentText> arguments;
};

// The index in Texts of a language ("de", "fr", ...): English for the languages Talvio lacks.
std::size_t textIndexOf(std::string_view language);

// The functions, or nullptr for a name that is not one of them.
const FunctionText *functionNamed(std::string_view programmatic);
const FunctionText *functionDisplayed(std::string_view display);

} // namespace talvio::calc
