#include "model/ISO.h"
#include "support/ConversionFixture.h"

#include <cstdlib>
#include <new>

// Counts the heap allocations of this test program, so that a test can show that conversions
// allocate nothing once their currencies have been looked up.
namespace {
std::size_t allocations = 0;
} // namespace

void *operator new(std::size_t size) {
    ++allocations;
    if (void *memory = std::malloc(size == 0 ? 1 : size))
        return memory;
    throw std::bad_alloc();
}

void operator delete(void *memory) noexcept {
    std::free(memory);
}

void operator delete(void *memory, std::size_t) noexcept {
    std::free(memory);
}

namespace kvt {
namespace {

class ConversionAllocations : public test::ConversionFixture {};

TEST_F(ConversionAllocations, repeatedConversionsAllocateNothing) {
    struct Row {
        const char *from;
        const char *to;
        MethodeArondiType method;
        const char *pattern;
        std::int16_t nbDecEuroInter;
    };
    const Row rows[] = {{"EUR", "BEF", Legal, "", 15},
                        {"BEF", "FRF", Legal, "", 3},
                        {"EUR", "BEF", suptargetValue, "X.X9", 15},
                        {"DEM", "ITL", infTargetValue, "X00", 6},
                        {"EUR", "EUR", NearValue, "0.0X", 15}};
    for (const Row &row : rows) {
        convert(1234.567, row.from, row.to, row.method, row.pattern, row.nbDecEuroInter);
        const std::size_t before = allocations;
        for (int i = 0; i < 100; ++i)
            convert(1234.567 + i, row.from, row.to, row.method, row.pattern, row.nbDecEuroInter);
        EXPECT_EQ(allocations - before, 0u) << row.from << " -> " << row.to << ' ' << row.pattern;
    }
    EXPECT_EQ(failuresShown(), 0u);
}

TEST_F(ConversionAllocations, changingACollectionMakesTheNextConversionLookAgain) {
    setRate("USD", "JPY", 150.0);
    EXPECT_EQ(convert(2, "USD", "JPY", Legal, ""), 300);
    // Replace JPY's catalogue and selection entries: the remembered records must not be used.
    change.DelDevise("JPY");
    change.ColISO()->Remove("JPY");
    change.mSubAddISO("JPY", 0, "X.XX", "");
    change.ColISO()->Item("JPY")->AddAlias("ISO", "JPY", true);
    change.ColISO()->Item("JPY")->AddTaux("USD", 0.0);
    change.AddDevise("JPY");
    EXPECT_EQ(convert(2, "USD", "JPY", Legal, ""), 300); // USD's record for JPY is unchanged
    change.ColISO()->Item("USD")->ColTaux()->Remove("JPY");
    EXPECT_EQ(convert(2, "USD", "JPY", Legal, ""), 0);
    EXPECT_EQ(failuresShown(), 1u);
}

} // namespace
} // namespace kvt
