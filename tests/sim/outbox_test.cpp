// Pacing: bytes leave at the line's rate, measured from when each would have arrived, however
// late the simulator wakes up.

#include "SimOutbox.h"

#include <gtest/gtest.h>

namespace kalvex::sim::test {
namespace {

class PacedOutboxTest : public ::testing::Test {
protected:
    void SetUp() override {
        outbox.SetPacing(true);
        outbox.Add(t0, {Clock::duration::zero(), {1, 2, 3, 4}, std::nullopt});
    }
    // How many bytes have left by `at`.
    size_t FlushAt(Clock::duration at) {
        outbox.Flush(t0 + at, [this](const uint8_t*, size_t n) { written += n; });
        return written;
    }
    const Clock::time_point t0 = Clock::now();
    Outbox outbox;
    size_t written = 0;
};

TEST_F(PacedOutboxTest, EachByteLeavesAByteTimeAfterThePrevious) {
    EXPECT_EQ(FlushAt(ByteTime - std::chrono::microseconds(1)), 0u);
    EXPECT_EQ(FlushAt(ByteTime), 1u);
    EXPECT_EQ(FlushAt(2 * ByteTime - std::chrono::microseconds(1)), 1u);
    EXPECT_EQ(FlushAt(4 * ByteTime), 4u);
}

TEST_F(PacedOutboxTest, ALateWakeUpDoesNotDelayTheBytesAfterIt) {
    EXPECT_EQ(FlushAt(ByteTime + std::chrono::microseconds(600)), 1u);
    EXPECT_EQ(FlushAt(2 * ByteTime), 2u);
    // Woken far too late: what the line would have delivered by then leaves at once.
    EXPECT_EQ(FlushAt(10 * ByteTime), 4u);
}

TEST_F(PacedOutboxTest, ByteTimesRestartWhenTheLineWasIdle) {
    EXPECT_EQ(FlushAt(4 * ByteTime), 4u);
    outbox.Add(t0 + 20 * ByteTime, {Clock::duration::zero(), {5}, std::nullopt});
    EXPECT_EQ(FlushAt(21 * ByteTime - std::chrono::microseconds(1)), 4u);
    EXPECT_EQ(FlushAt(21 * ByteTime), 5u);
}

} // namespace
} // namespace kalvex::sim::test
