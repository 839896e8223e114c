#include "support/ConversionFixture.h"

#include "support/SampleTables.h"

namespace kvt::test {

void ConversionFixture::SetUp() {
    boxes = std::make_shared<ScriptedMessageBoxes>();
    setMessageBoxes(boxes);
    addSampleCurrencies(change);
}

void ConversionFixture::TearDown() {
    setMessageBoxes(nullptr);
}

void ConversionFixture::setRate(const std::string &from, const std::string &to, double rate) {
    setGivenRate(change, from, to, rate);
}

std::string ConversionFixture::lastFailure() const {
    return boxes->shown().empty() ? std::string() : boxes->shown().back().text;
}

} // namespace kvt::test
