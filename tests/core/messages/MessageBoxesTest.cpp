#include "messages/MessageBoxes.h"

#include <gtest/gtest.h>

namespace kvt {
namespace {

TEST(MessageBoxes, safeDefaultChangesNothing) {
    struct Row {
        BoxButtons buttons;
        BoxAnswer expected;
    };
    const Row rows[] = {{BoxButtons::Ok, BoxAnswer::Ok},
                        {BoxButtons::OkCancel, BoxAnswer::Cancel},
                        {BoxButtons::YesNo, BoxAnswer::No},
                        {BoxButtons::YesNoCancel, BoxAnswer::Cancel}};
    for (const Row &row : rows)
        EXPECT_EQ(safeDefault(row.buttons), row.expected);
}

TEST(MessageBoxes, scriptedAnswersInOrderThenFallsBackToSafeDefault) {
    ScriptedMessageBoxes boxes;
    boxes.queueAnswer(BoxAnswer::Yes);
    EXPECT_EQ(boxes.show({"t", "first", BoxIcon::Question, BoxButtons::YesNo}), BoxAnswer::Yes);
    EXPECT_EQ(boxes.show({"t", "second", BoxIcon::Question, BoxButtons::YesNo}), BoxAnswer::No);
    ASSERT_EQ(boxes.shown().size(), 2u);
    EXPECT_EQ(boxes.shown()[1].text, "second");
}

TEST(MessageBoxes, installedImplementationReceivesBoxesAndNullRestoresFallback) {
    auto scripted = std::make_shared<ScriptedMessageBoxes>();
    setMessageBoxes(scripted);
    messageBoxes().show({"Talvio", "hello", BoxIcon::Information, BoxButtons::Ok});
    EXPECT_EQ(scripted->shown().size(), 1u);
    setMessageBoxes(nullptr);
    EXPECT_NE(dynamic_cast<StderrMessageBoxes *>(&messageBoxes()), nullptr);
}

} // namespace
} // namespace kvt
