#pragma once

#include "engine/Change.h"
#include "messages/MessageBoxes.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace kvt::test {

// An engine with the sample tables (support/SampleTables.h). Message boxes are scripted so
// that failures can be counted.
class ConversionFixture : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Sets a given rate: 1 from = rate to.
    void setRate(const std::string &from, const std::string &to, double rate);
    std::size_t failuresShown() const { return boxes->shown().size(); }
    std::string lastFailure() const;

    double convert(double amount, const std::string &from, const std::string &to,
                   MethodeArondiType method, const std::string &pattern,
                   std::int16_t nbDecEuroInter = 15) {
        return change.dblConvert(amount, from, to, nbDecEuroInter, method, pattern);
    }

    Change change;
    std::shared_ptr<ScriptedMessageBoxes> boxes;
};

} // namespace kvt::test
