#include "link/ByteLink.h"

#include "support/FakeJournal.h"
#include "support/FakePump.h"
#include "support/ScriptedPort.h"

#include <gtest/gtest.h>

namespace vindle {
namespace {

using namespace std::chrono_literals;
using test::FakeClock;
using test::FakePump;
using test::ScriptedPort;

class ByteLinkTest : public ::testing::Test
{
protected:
    FakeClock clock;
    ScriptedPort port{clock};
    FakePump pump{clock, [this] { return port.nextArrival(); }};
    ByteLink link{port, pump, clock};
};

TEST(ReceivedTest, NoValueReadsAsZeroAndAsEmptyText)
{
    const Received none;
    EXPECT_FALSE(none.hasValue());
    EXPECT_EQ(none.toNumber(), 0);
    EXPECT_EQ(none.toText(), "");
    EXPECT_TRUE(none == 0);
    EXPECT_TRUE(none != 1);
    EXPECT_TRUE(none != 254);

    const Received twelve(12);
    EXPECT_EQ(twelve.toText(), "12");
    EXPECT_TRUE(twelve == 12);
    EXPECT_TRUE(twelve != 0);
    EXPECT_TRUE(Received(0) == 0);
    EXPECT_EQ(Received(0).toText(), "0");
}

TEST_F(ByteLinkTest, ReceiveByteTakesPendingBytesOneAtATimeAfterOneYieldEach)
{
    port.arrive({7, 3, 9});
    EXPECT_EQ(link.receiveByte(), Received(7));
    EXPECT_EQ(pump.yields(), 1);
    EXPECT_EQ(port.pendingTotal(), 2);
    EXPECT_EQ(link.receiveByte(), Received(3));
    EXPECT_EQ(link.receiveByte(), Received(9));
    EXPECT_EQ(pump.yields(), 3);
    EXPECT_EQ(pump.waits(), 0);
}

TEST_F(ByteLinkTest, SilentPortEndsReceiveByteAfterTheReceiveTimeoutWithoutSpinning)
{
    const auto start = clock.now();
    const Received result = link.receiveByte();
    EXPECT_FALSE(result.hasValue());
    EXPECT_EQ(clock.now() - start, kReceiveTimeout);
    // One blocking wait covers the whole silence: no busy polling.
    EXPECT_EQ(pump.waits(), 1);
    EXPECT_EQ(pump.yields(), 1);
}

TEST_F(ByteLinkTest, ByteArrivingAfterAdapterLatencyIsReceived)
{
    const auto start = clock.now();
    port.arriveAt(start + 30ms, {0x42});
    EXPECT_EQ(link.receiveByte(), Received(0x42));
    EXPECT_EQ(clock.now() - start, 30ms);
}

TEST_F(ByteLinkTest, ByteArrivingDuringTheLastYieldBeforeTheDeadlineIsReturned)
{
    const auto deadline = clock.now() + kReceiveTimeout;
    // Something wakes the loop just before the deadline; while the poll yields,
    // a byte comes in.
    bool woken = false;
    FakePump pumpWithEvent{clock, [&]() -> std::optional<Clock::TimePoint> {
                               if (woken) {
                                   return std::nullopt;
                               }
                               woken = true;
                               return deadline - 1us;
                           }};
    ByteLink linkWithEvent{port, pumpWithEvent, clock};
    pumpWithEvent.onYield = [&] {
        if (clock.now() == deadline - 1us && port.pendingTotal() == 0) {
            port.arrive({5});
        }
    };
    EXPECT_EQ(linkWithEvent.receiveByte(), Received(5));
}

TEST_F(ByteLinkTest, ByteArrivingAtTheDeadlineIsLeftForTheNextReceive)
{
    const auto deadline = clock.now() + kReceiveTimeout;
    port.arriveAt(deadline, {99});
    EXPECT_FALSE(link.receiveByte().hasValue());
    EXPECT_EQ(port.pendingTotal(), 1);
    EXPECT_EQ(link.receiveByte(), Received(99));
}

TEST_F(ByteLinkTest, AwaitByteWaitsWithoutLimitAndReturnsAfterOneYieldWhenPending)
{
    port.arrive({1});
    EXPECT_EQ(link.awaitByte(), 1);
    EXPECT_EQ(pump.yields(), 1);

    const auto start = clock.now();
    port.arriveAt(start + 3h, {254});
    EXPECT_EQ(link.awaitByte(), 254);
    EXPECT_EQ(clock.now() - start, 3h);
    EXPECT_EQ(pump.waits(), 1);
}

TEST_F(ByteLinkTest, DropPendingDropsWhatIsPendingNowWithoutYielding)
{
    link.dropPending();
    EXPECT_EQ(pump.yields(), 0);

    port.arrive({1, 2, 3});
    port.arriveAt(clock.now() + 1ms, {4});
    link.dropPending();
    EXPECT_EQ(pump.yields(), 0);
    EXPECT_EQ(port.pendingTotal(), 1);
    EXPECT_EQ(link.receiveByte(), Received(4));
}

TEST_F(ByteLinkTest, SendByteWritesBytesBackToBackInOrder)
{
    link.sendByte(253);
    link.sendByte(252);
    // A value that is not a byte is refused, never narrowed onto the line.
    EXPECT_THROW(link.sendByte(256), std::out_of_range);
    EXPECT_THROW(link.sendByte(-1), std::out_of_range);
    EXPECT_EQ(port.written(), (std::vector<std::uint8_t>{0xFD, 0xFC}));
    EXPECT_EQ(pump.yields(), 0);
}

// The rest of a reply still on its way is dropped; the wait ends once the
// line has been quiet for the gap since the last byte, and costs nothing long
// after an exchange.
TEST_F(ByteLinkTest, DropUntilQuietLetsAReplyRunOut)
{
    port.arrive({7});
    EXPECT_EQ(link.receiveByte(), Received(7));
    const auto lastByte = clock.now();
    port.arriveAt(lastByte + 10ms, {1});
    port.arriveAt(lastByte + 40ms, {2});
    link.dropUntilQuiet();
    EXPECT_EQ(clock.now(), lastByte + 40ms + kReplyOverGap);
    EXPECT_EQ(port.pendingTotal(), 0);

    clock.advance(1s);
    const auto later = clock.now();
    link.dropUntilQuiet();
    EXPECT_EQ(clock.now(), later);
}

// What the line's safety waits for, in simulated time, and no longer: bytes
// still arriving when the port is opened, a store an earlier run left open
// (or may have), a store of this run cut short; nothing after a whole reply.
TEST(ByteLinkSafetyTest, WaitsAsLongAsTheLineNeedsAndNoLonger)
{
    using Earlier = StoreJournal::Earlier;
    const Clock::Duration storeGiven = kModuleStoreTimeout + kReplyOverGap;
    // A byte every 40 ms for over 3 s: a line that does not fall silent.
    std::vector<Clock::Duration> running;
    for (Clock::Duration at = 40ms; at <= 3200ms; at += 40ms)
        running.push_back(at);
    struct Case
    {
        const char* what;
        Earlier earlier;
        std::vector<Clock::Duration> arrivals;
        Clock::Duration settling;
    };
    const Case cases[] = {
        {"a clean line", Earlier::None, {}, kReplyOverGap},
        {"a reply still arriving", Earlier::None, {10ms, 40ms}, 40ms + kReplyOverGap},
        {"a store left open", Earlier::Unfinished, {}, storeGiven + kReplyOverGap},
        {"no telling", Earlier::Unknown, {}, storeGiven + kReplyOverGap},
        // The module took a value when it last echoed: its time-out runs
        // from there.
        {"a store left open, still echoing",
         Earlier::Unfinished,
         {5ms, 700ms},
         700ms + storeGiven + kReplyOverGap},
        // No store is open in a module that runs: its bytes lengthen the
        // store's wait by two time-outs at most, then the line falls quiet.
        {"a store left open, then a line that does not fall silent", Earlier::Unfinished, running,
         3200ms + kReplyOverGap},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FakeClock clock;
        ScriptedPort port{clock};
        FakePump pump{clock, [&port] { return port.nextArrival(); }};
        ByteLink link{port, pump, clock};
        test::FakeJournal journal(c.earlier);
        link.setJournal(&journal);
        const auto opened = clock.now();
        for (const Clock::Duration after : c.arrivals)
            port.arriveAt(opened + after, {99});
        EXPECT_EQ(link.settle(), c.earlier);
        EXPECT_EQ(clock.now() - opened, c.settling);
        EXPECT_EQ(port.pendingTotal(), 0);
        EXPECT_EQ(journal.over, c.earlier == Earlier::None ? 0 : 1);

        // A store of this run, cut short after its first value.
        link.storeBegins();
        EXPECT_EQ(journal.begun, 1);
        const auto sent = clock.now();
        link.storeUnderWay(true);
        clock.advance(100ms);
        link.waitOutUnfinishedStore();
        EXPECT_EQ(clock.now() - sent, storeGiven);
        EXPECT_EQ(journal.over, c.earlier == Earlier::None ? 1 : 2);
        const auto waited = clock.now();
        link.waitOutUnfinishedStore();
        EXPECT_EQ(clock.now(), waited);

        // The last byte of a whole reply: the next command goes at once.
        port.arrive({254});
        EXPECT_EQ(link.receiveByte(), Received(254));
        link.replyWhole();
        const auto whole = clock.now();
        link.dropUntilQuiet();
        EXPECT_EQ(clock.now(), whole);
        // Unless something came after it: that is dropped, and the quiet
        // waited for.
        port.arrive({254});
        EXPECT_EQ(link.receiveByte(), Received(254));
        link.replyWhole();
        port.arrive({7});
        link.dropUntilQuiet();
        EXPECT_EQ(port.pendingTotal(), 0);
        EXPECT_GE(clock.now() - whole, kReplyOverGap);
    }
}

} // namespace
} // namespace vindle
