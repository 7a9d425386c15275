// Whether anybody can see the desk, through a row of session changes.
#include <gtest/gtest.h>

#include "deskRules.h"

TEST(DeskRules, LockAndDisconnectionAreCountedApart)
{
    const uint32_t LOG_ON = 5;
    const struct {
        uint32_t event;
        bool unseen;
    } story[] = {
        {SESSION_LOCK, true},
        {SESSION_REMOTE_DISCONNECT, true},
        {SESSION_REMOTE_CONNECT, true},   // connected again, still locked
        {SESSION_UNLOCK, false},
        {SESSION_CONSOLE_DISCONNECT, true},
        {LOG_ON, true},
        {SESSION_CONSOLE_CONNECT, false},
        {SESSION_UNLOCK, false},   // an unlock without a lock changes nothing
    };
    int32_t away = 0;
    for (const auto &step : story) {
        away = sessionAwayAfter(away, step.event);
        EXPECT_EQ(step.unseen, deskUnseen(away, false)) << "after event " << step.event;
    }
    EXPECT_TRUE(deskUnseen(0, true)) << "the screen saver runs";
}
