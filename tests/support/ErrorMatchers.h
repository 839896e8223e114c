#pragma once

#include "model/Error.h"

#include <gmock/gmock.h>
#include <initializer_list>
#include <string>
#include <vector>

namespace kvt::test {

// Matches a callable that throws kvt::Error with this number and a description holding every
// given text: EXPECT_THAT([&] { ... }, ThrowsError(err::TypeMismatch, {"RoundType", "1.5"})).
inline auto ThrowsError(std::int32_t number, std::initializer_list<std::string> texts) {
    std::vector<testing::Matcher<std::string>> holds;
    for (const std::string &text : texts)
        holds.push_back(testing::HasSubstr(text));
    return testing::Throws<Error>(testing::AllOf(
        testing::Property("number", &Error::number, number),
        testing::Property("description", &Error::description, testing::AllOfArray(holds))));
}

} // namespace kvt::test
