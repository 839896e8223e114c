#include "engine/Change.h"
#include "messages/Message.h"
#include "model/DG.h"

#include <gtest/gtest.h>

namespace kvt {
namespace {

// The engine's end releases the library's general settings and messages it holds, so that a
// later use starts from new, empty ones; an engine given its own leaves the shared ones alone.
TEST(EngineLifetime, anEndingEngineReleasesTheSharedSettingsAndMessagesItHolds) {
    std::weak_ptr<DG> dg = sharedDG();
    std::weak_ptr<Message> messages = sharedMessage();
    sharedDG()->setDeviseFrom("BEF");
    {
        Change engine;
        engine.initialize(sharedDG(), sharedMessage(), {});
    }
    EXPECT_TRUE(dg.expired());
    EXPECT_TRUE(messages.expired());
    EXPECT_EQ(sharedDG()->DeviseFrom(), "");

    dg = sharedDG();
    messages = sharedMessage();
    {
        Change engine;
        engine.initialize(std::make_shared<DG>(), std::make_shared<Message>(), {});
    }
    EXPECT_EQ(sharedDG(), dg.lock());
    EXPECT_EQ(sharedMessage(), messages.lock());
    releaseSharedDG();
    releaseSharedMessage();
}

} // namespace
} // namespace kvt
