#include "model/Collections.h"
#include "model/Devise.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace kvt {
namespace {

std::shared_ptr<Taux> rate(const char *code)
{
    return std::make_shared<Taux>(Taux{1.0, false, code});
}

std::vector<std::string> codesOf(const ColTaux &col)
{
    std::vector<std::string> codes;
    for (const auto &item : col)
        codes.push_back(item->Devise);
    return codes;
}

void expectError(const std::function<void()> &operation, std::int32_t number,
                 const std::string &descriptionPart)
{
    try {
        operation();
        ADD_FAILURE() << "expected an error containing \"" << descriptionPart << '"';
    } catch (const Error &e) {
        EXPECT_EQ(e.number(), number);
        EXPECT_NE(e.description().find(descriptionPart), std::string::npos) << e.description();
    }
}

TEST(KeyedCollection, keysCompareWithoutRegardToCaseAndPositionsStartAtOne)
{
    ColTaux col;
    col.Add(rate("BEF"), "BEF");
    col.Add(rate("usd"), "usd");
    EXPECT_EQ(col.Count(), 2);
    EXPECT_EQ(col.Item("bef")->Devise, "BEF");
    EXPECT_EQ(col.Item("USD")->Devise, "usd");
    EXPECT_EQ(col.Item(1)->Devise, "BEF");
    EXPECT_EQ(col.Item(2)->Devise, "usd");
    EXPECT_EQ(col.keyAt(2), "usd");
}

TEST(KeyedCollection, emptyKeyAppendsAnItemReachableOnlyByPosition)
{
    ColTaux col;
    col.Add(rate("A"), "");
    col.Add(rate("B"), "B");
    EXPECT_EQ(col.Count(), 2);
    EXPECT_EQ(col.Item(1)->Devise, "A");
    EXPECT_EQ(col.find(""), nullptr);
    col.Add(rate("C"), ""); // several items may lack a key
    EXPECT_EQ(col.Count(), 3);
}

TEST(KeyedCollection, failuresLeaveTheCollectionUnchanged)
{
    ColTaux col;
    col.Add(rate("BEF"), "BEF");
    col.Add(rate("DEM"), "DEM");
    const std::vector<std::string> before = codesOf(col);

    expectError([&] { col.Add(rate("X"), "bef"); }, err::DuplicateKey, "bef");
    expectError([&] { col.Item("FRF"); }, err::KeyNotFound, "FRF");
    expectError([&] { col.Remove("FRF"); }, err::KeyNotFound, "FRF");
    expectError([&] { col.Item(0); }, err::PositionOutOfRange, "Position 0");
    expectError([&] { col.Item(3); }, err::PositionOutOfRange, "holds 2");
    expectError([&] { col.Remove(-1); }, err::PositionOutOfRange, "-1");
    expectError([&] { col.AddAfter(rate("X"), "X", 3); }, err::PositionOutOfRange, "3");

    EXPECT_EQ(codesOf(col), before);
    EXPECT_EQ(col.Item("DEM")->Devise, "DEM");
}

TEST(KeyedCollection, removeByKeyOrPositionFreesTheKey)
{
    ColTaux col;
    for (const char *code : {"A", "B", "C", "D"})
        col.Add(rate(code), code);
    col.Remove("b");
    col.Remove(1);
    EXPECT_EQ(codesOf(col), (std::vector<std::string>{"C", "D"}));
    EXPECT_EQ(col.find("A"), nullptr);
    col.Add(rate("A"), "A"); // a removed key can be used again
    EXPECT_EQ(col.Item(3)->Devise, "A");
}

TEST(KeyedCollection, insertBeforeAndAfterPositions)
{
    ColTaux col;
    col.Add(rate("B"), "B");
    col.AddBefore(rate("A"), "A", 1);
    col.AddAfter(rate("C"), "C", 2);
    col.AddAfter(rate("AB"), "AB", 1);
    EXPECT_EQ(codesOf(col), (std::vector<std::string>{"A", "AB", "B", "C"}));
    EXPECT_EQ(col.Item("ab")->Devise, "AB");
}

// A selection of currencies named by their codes, each with its code alias.
std::shared_ptr<ColDevises> selectionOf(const std::vector<std::string> &codes)
{
    auto col = std::make_shared<ColDevises>();
    for (const std::string &code : codes) {
        auto devise = std::make_shared<Devise>();
        devise->AddAlias("ISO", code, true);
        col->Add(devise, code);
    }
    return col;
}

std::vector<std::string> orderOf(const ColDevises &col)
{
    std::vector<std::string> order;
    for (std::int32_t i = 1; i <= col.Count(); ++i) {
        EXPECT_EQ(col.keyAt(i), col.Item(i)->ISO()) << "key and code differ at " << i;
        order.push_back(col.Item(i)->ISO());
    }
    return order;
}

TEST(ColDevises, permuteItemsExchangesExactlyTheTwoItemsAndKeepsEveryKey)
{
    struct Row {
        std::vector<std::string> codes;
        std::int32_t index1;
        std::int32_t index2;
        std::vector<std::string> expected;
    };
    const std::vector<Row> rows = {
        {{"A", "B"}, 1, 2, {"B", "A"}},
        {{"A", "B"}, 2, 1, {"B", "A"}},
        {{"A", "B", "C", "D", "E"}, 1, 3, {"C", "B", "A", "D", "E"}},
        {{"A", "B", "C", "D", "E"}, 3, 5, {"A", "B", "E", "D", "C"}},
        {{"A", "B", "C", "D", "E"}, 2, 5, {"A", "E", "C", "D", "B"}},
        {{"A", "B", "C", "D", "E"}, 1, 5, {"E", "B", "C", "D", "A"}},
        {{"A", "B", "C", "D", "E"}, 2, 3, {"A", "C", "B", "D", "E"}},
        {{"A", "B", "C"}, 2, 2, {"A", "B", "C"}},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(testing::Message() << row.index1 << " <-> " << row.index2);
        auto col = selectionOf(row.codes);
        col->PermuteItems(row.index1, row.index2);
        EXPECT_EQ(orderOf(*col), row.expected);
        for (const std::string &code : row.codes)
            EXPECT_EQ(col->Item(code)->ISO(), code);
    }
}

TEST(ColDevises, permuteItemsWithABadPositionChangesNothing)
{
    auto col = selectionOf({"A", "B", "C"});
    EXPECT_THROW(col->PermuteItems(1, 4), Error);
    EXPECT_THROW(col->PermuteItems(0, 2), Error);
    EXPECT_EQ(orderOf(*col), (std::vector<std::string>{"A", "B", "C"}));
}

} // namespace
} // namespace kvt
