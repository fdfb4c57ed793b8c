#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <random>
#include <set>
#include <thread>

#include "ScriptedPeer.h"
#include "r3964/C3964R.h"
#include "r3964/StopEvent.h"
#include "serial/MemoryPort.h"

using namespace r3964;
using namespace std::chrono;
using Bytes = std::vector<uint8_t>;

namespace {

// Scaled to a fifth: first DLE 20 ms, character wait 600 ms, polling 4 ms.
const C3964RTiming kFast = C3964RTiming::Scaled(0.2);

struct Fixture {
    CMemoryLine line;
    CManualResetEvent stop;
    C3964R driver {line.EndA(), stop, false, kFast};
    ScriptedPeer peer {line.EndB()};
};

uint8_t SendFrame(Fixture& f, Bytes payload)
{
    C3964RJob job;
    job.direction = kSend;
    job.buffer = payload.data();
    job.length = static_cast<uint16_t>(payload.size());
    f.driver.Transfer(job);
    f.peer.Join();
    return job.result;
}

// The partner answers STX with DLE, reads the frame up to the block check
// and answers it with `final`.
void AcceptFrame(ScriptedPeer& p, uint8_t final = DLE)
{
    if (p.Next() != STX) return;
    p.Put({DLE});
    for (;;) {
        int c = p.Next();
        if (c < 0) return;
        if (c == DLE) {
            int c2 = p.Next();
            if (c2 == ETX || c2 == ETB) break;
        }
    }
    p.Next();  // block check
    if (final) p.Put({final});
}

}  // namespace

TEST(C3964RSend, GoldenFrames)
{
    struct Case {
        const char* name;
        Bytes payload;
        Bytes onLine;  // everything after the STX and the partner's DLE
    };
    const Case cases[] = {
        {"empty", {}, {0x10, 0x03, 0x13}},
        {"plain", {0x01, 0x02, 0x03}, {0x01, 0x02, 0x03, 0x10, 0x03, 0x13}},
        // The DLE in the payload goes out twice and both copies enter the check.
        {"doubled DLE", {0x41, 0x10, 0x42}, {0x41, 0x10, 0x10, 0x42, 0x10, 0x03, 0x10}},
        {"only DLEs", {0x10, 0x10}, {0x10, 0x10, 0x10, 0x10, 0x10, 0x03, 0x13}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Fixture f;
        f.peer.Run([](ScriptedPeer& p) { AcceptFrame(p); });
        EXPECT_EQ(SendFrame(f, c.payload), kSentOk);
        Bytes expected {STX};
        expected.insert(expected.end(), c.onLine.begin(), c.onLine.end());
        EXPECT_EQ(f.peer.Seen(), expected);
        EXPECT_EQ(f.driver.Progress(), static_cast<int>(c.payload.size()));
    }
}

TEST(C3964RSend, FailuresOfTheHandshake)
{
    struct Case {
        const char* name;
        std::function<void(ScriptedPeer&)> script;
        uint8_t result;
        int stxCount;
    };
    const Case cases[] = {
        {"NAK after the block check", [](ScriptedPeer& p) { AcceptFrame(p, NAK); }, kNoFinalDle, 1},
        {"silence after the block check", [](ScriptedPeer& p) { AcceptFrame(p, 0); }, kNoFinalDle, 1},
        {"NAK to every STX",
         [](ScriptedPeer& p) {
             for (int i = 0; i < 3; ++i)
                 if (p.Next() == STX) p.Put({NAK});
         },
         kNoDleForStx, 3},
        // A partner that wants to send itself does not make the PC give way.
        {"partner STX to every STX",
         [](ScriptedPeer& p) {
             for (int i = 0; i < 3; ++i)
                 if (p.Next() == STX) p.Put({STX});
         },
         kNoDleForStx, 3},
        {"late first DLE is taken for the second STX",
         [](ScriptedPeer& p) {
             p.Next();
             std::this_thread::sleep_for(milliseconds(45));  // > first DLE wait (20 ms)
             p.Put({DLE});
             p.Next();  // the second STX, already on its way
             for (int i = 0; i < 3; ++i) p.Next();
             p.Put({DLE});
         },
         kSentOk, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Fixture f;
        f.peer.Run(c.script);
        EXPECT_EQ(SendFrame(f, {}), c.result);
        Bytes seen = f.peer.Seen();
        int stx = 0;
        for (size_t i = 0; i < seen.size() && seen[i] == STX; ++i) ++stx;
        EXPECT_EQ(stx, c.stxCount);
    }
}

TEST(C3964RSend, ReceivedBytesBeforeTheFrameAreDiscarded)
{
    Fixture f;
    f.line.EndB().WriteByte(DLE);  // stale: must not count as the answer to STX
    f.line.EndB().WriteByte(DLE);
    f.peer.Run([](ScriptedPeer& p) { AcceptFrame(p); });
    EXPECT_EQ(SendFrame(f, {0x05}), kSentOk);
    EXPECT_EQ(f.peer.Seen(), (Bytes {STX, 0x05, DLE, ETX, 0x16}));
}

TEST(C3964RReceive, Frames)
{
    struct Case {
        const char* name;
        Bytes before;        // bytes the partner puts on the line before its STX
        Bytes payload;
        uint8_t end;
        int bccDelta;
        uint16_t capacity;
        uint8_t result;
        uint8_t answer;      // PC's answer after the block check (0: none expected)
        uint16_t length;
    };
    const Case cases[] = {
        {"ETX", {}, {0x60, 0x10, 0x00}, ETX, 0, 16, kReceivedOk, DLE, 3},
        {"ETB", {}, {0x01, 0x02}, ETB, 0, 16, kReceivedOk, DLE, 2},
        {"empty", {}, {}, ETX, 0, 16, kReceivedOk, DLE, 0},
        {"wrong check", {}, {0x01, 0x02, 0x03}, ETX, 0x55, 16, kBadBcc, NAK, 3},
        {"exactly the capacity", {}, {1, 2, 3, 4}, ETX, 0, 4, kReceivedOk, DLE, 4},
        {"one byte too many", {}, {1, 2, 3, 4, 5}, ETX, 0, 4, kTooLong, 0, 4},
        {"doubled DLE one too many", {}, {1, 2, 3, 4, 0x10}, ETX, 0, 4, kBadFrameEnd, 0, 4},
        {"DLE then neither ETX nor ETB", {}, {1, 2}, 0x04, 0, 16, kBadFrameEnd, 0, 2},
        {"noise before STX uses up waits", {0x41, 0x42, 0x43}, {7}, ETX, 0, 16, kReceivedOk, DLE, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Fixture f;
        f.peer.Run([&c](ScriptedPeer& p) {
            p.Put(c.before);
            p.Put({STX});
            if (p.Next() != DLE) return;
            p.Put(ScriptedPeer::FrameBody(c.payload, c.end, c.bccDelta));
            if (c.answer) p.Next();
        });
        uint8_t buf[64] = {};
        C3964RJob job;
        job.direction = kReceive;
        job.buffer = buf;
        job.length = c.capacity;
        f.driver.Transfer(job);
        f.peer.Join();
        EXPECT_EQ(job.result, c.result);
        EXPECT_EQ(job.length, c.length);
        Bytes stored(buf, buf + job.length);
        Bytes expectedStored(c.payload.begin(), c.payload.begin() + std::min<size_t>(c.length, c.payload.size()));
        EXPECT_EQ(stored, expectedStored);
        Bytes seen = f.peer.Seen();
        Bytes expectedSeen {DLE};
        if (c.answer) expectedSeen.push_back(c.answer);
        EXPECT_EQ(seen, expectedSeen);
    }
}

TEST(C3964RReceive, TenWrongCharactersInsteadOfStxGiveResult11)
{
    Fixture f;
    for (int i = 0; i < 10; ++i) f.line.EndB().WriteByte(0x41);
    f.line.EndB().WriteByte(STX);  // the eleventh comes too late
    uint8_t buf[8];
    C3964RJob job;
    job.direction = kReceive;
    job.buffer = buf;
    job.length = sizeof buf;
    f.driver.Transfer(job);
    EXPECT_EQ(job.result, kNoStx);
}

TEST(C3964RReceive, StallInTheMiddleOfAFrameEndsWithAFailure)
{
    Fixture f;
    f.peer.Run([](ScriptedPeer& p) {
        p.Put({STX});
        p.Next();
        p.Put({1, 2, 3});  // then nothing more
    });
    uint8_t buf[8];
    C3964RJob job;
    job.direction = kReceive;
    job.buffer = buf;
    job.length = sizeof buf;
    auto t0 = steady_clock::now();
    f.driver.Transfer(job);
    auto took = steady_clock::now() - t0;
    EXPECT_EQ(job.result, kBadFrameEnd);
    EXPECT_EQ(job.length, 3);
    EXPECT_LT(took, milliseconds(1500));  // one character wait (600 ms), not more
}

TEST(C3964R, UnknownDirectionDoesNothing)
{
    Fixture f;
    C3964RJob job;
    job.direction = 0x40;
    job.result = 99;
    f.driver.Transfer(job);
    EXPECT_EQ(job.result, 0);
    EXPECT_EQ(f.line.EndB().RxQueued(), 0);
}

TEST(C3964R, ConnectionCheck)
{
    struct Case {
        const char* name;
        int ackOnEnq;  // 1-based ENQ answered with ACK, 0: never
        bool ok;
        int enqCount;
    };
    const Case cases[] = {{"first", 1, true, 1}, {"third", 3, true, 3}, {"never", 0, false, 3}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Fixture f;
        f.peer.Run([&c](ScriptedPeer& p) {
            for (int i = 1; i <= 3; ++i) {
                if (p.Next() != ENQ) return;
                if (i == c.ackOnEnq) {
                    p.Put({ACK});
                    return;
                }
                p.Put({NAK});
            }
        });
        EXPECT_EQ(f.driver.ConnectionCheck(), c.ok);
        f.peer.Join();
        EXPECT_EQ(f.peer.Seen(), Bytes(c.enqCount, ENQ));
    }
}

namespace {

// A port whose transmit queue reports full after a few bytes and never
// drains, and which answers the first STX with DLE: the driver must be
// able to give up on it when the stop event comes.
class StuckPort : public IPort {
public:
    explicit StuckPort(int fullAfter) : m_fullAfter(fullAfter) {}
    int ReadByte() override
    {
        if (m_pendingDle) {
            m_pendingDle = false;
            return DLE;
        }
        return -1;
    }
    uint16_t WriteByte(uint8_t b) override
    {
        if (m_written++ == 0 && b == STX) m_pendingDle = true;
        return 1;
    }
    uint16_t RxQueued() override { return m_pendingDle ? 1 : 0; }
    uint16_t TxQueued() override { return m_written >= m_fullAfter ? 5000 : 0; }
    void PurgeRx() override {}
    std::atomic<int> m_written {0};

private:
    int m_fullAfter;
    std::atomic<bool> m_pendingDle {false};
};

// A port that notes when each byte was written.
class TimedPort : public IPort {
public:
    int ReadByte() override { return -1; }
    uint16_t WriteByte(uint8_t) override
    {
        times.push_back(steady_clock::now());
        return 1;
    }
    uint16_t RxQueued() override { return 0; }
    uint16_t TxQueued() override { return 0; }
    void PurgeRx() override {}
    std::vector<steady_clock::time_point> times;
};

}  // namespace

TEST(C3964RStop, StopDuringAFullTransmitQueueEndsTheFrame)
{
    // Real time: the stop event must end the wait within 20 ms.
    struct Case {
        int fullAfter;
        uint8_t result;
    };
    for (Case c : {Case {0, kStoppedStx}, Case {5, kStoppedPayload}}) {
        SCOPED_TRACE(c.fullAfter);
        StuckPort port(c.fullAfter);
        CManualResetEvent stop;
        C3964R driver(port, stop, false);
        Bytes payload(1000, 0x33);
        C3964RJob job;
        job.direction = kSend;
        job.buffer = payload.data();
        job.length = static_cast<uint16_t>(payload.size());
        std::thread t([&] { driver.Transfer(job); });
        std::this_thread::sleep_for(milliseconds(150));
        auto t0 = steady_clock::now();
        stop.Set();
        t.join();
        EXPECT_LT(steady_clock::now() - t0, milliseconds(60));
        EXPECT_EQ(job.result, c.result);
    }
}

TEST(C3964RStop, StopEndsTheWaitForAFrame)
{
    // Real time: with nothing on the line a receive would wait ten times three seconds.
    CMemoryLine line;
    CManualResetEvent stop;
    C3964R driver(line.EndA(), stop, false);
    uint8_t buf[8];
    C3964RJob job;
    job.direction = kReceive;
    job.buffer = buf;
    job.length = sizeof buf;
    std::thread t([&] { driver.Transfer(job); });
    std::this_thread::sleep_for(milliseconds(100));
    auto t0 = steady_clock::now();
    stop.Set();
    t.join();
    EXPECT_LT(steady_clock::now() - t0, milliseconds(60));
    EXPECT_EQ(job.result, kNoStx);
}

TEST(C3964R, OldFirmwarePausesBeforeEveryByte)
{
    TimedPort port;
    CManualResetEvent stop;
    C3964RTiming timing = kFast;
    timing.oldFirmwarePause = milliseconds(4);
    timing.firstDle = milliseconds(10);
    timing.character = milliseconds(40);
    C3964R driver(port, stop, true, timing);
    Bytes payload {1, 2, 3, 4};
    C3964RJob job;
    job.direction = kSend;
    job.buffer = payload.data();
    job.length = 4;
    driver.Transfer(job);  // no DLE ever comes: three STX, result 20
    EXPECT_EQ(job.result, kNoDleForStx);
    ASSERT_EQ(port.times.size(), 3u);
    EXPECT_TRUE(driver.ConnectionCheck() == false);
    ASSERT_EQ(port.times.size(), 6u);
    auto start = steady_clock::now();
    EXPECT_EQ(driver.SendByte(0x41), C3964R::SendResult::ok);
    EXPECT_GE(port.times.back() - start, milliseconds(4));
    C3964R young(port, stop, false, timing);
    start = steady_clock::now();
    young.SendByte(0x41);
    EXPECT_LT(port.times.back() - start, milliseconds(4));
}

// Whatever the line delivers, a received frame never passes the buffer's
// capacity and always ends with one of the procedure's result codes.
TEST(C3964RReceive, GarbageFramesStayInsideTheBuffer)
{
    const C3964RTiming quick = C3964RTiming::Scaled(0.01);
    const std::set<uint8_t> known = {kReceivedOk, kStoppedPayload, kStoppedStx, kNoFinalDle, kBadFrameEnd, kNoStx,
                                     kTooLong,    kBadBcc,         kNoDleForStx, kStoppedEtx, kStoppedDle};
    std::mt19937 rng(3964);
    for (int round = 0; round < 20; ++round) {
        SCOPED_TRACE(round);
        CMemoryLine line;
        CManualResetEvent stop;
        C3964R driver(line.EndA(), stop, false, quick);
        ScriptedPeer peer(line.EndB());
        Bytes garbage(rng() % 120);
        for (auto& b : garbage) {
            uint32_t r = rng() % 10;
            b = r == 0 ? DLE : r == 1 ? ETX : static_cast<uint8_t>(rng());
        }
        // Most rounds end properly so that the block check is reached too.
        if (rng() % 3) garbage.insert(garbage.end(), {DLE, ETX, static_cast<uint8_t>(rng())});
        peer.Run([&garbage](ScriptedPeer& p) {
            p.Put({STX});
            if (p.Next(500) != DLE) return;
            p.Put(garbage);
            p.Next(200);  // the answer to the frame, if the driver gives one
        });
        uint8_t buf[64];
        std::fill(std::begin(buf), std::end(buf), 0xA5);
        C3964RJob job;
        job.direction = kReceive;
        job.buffer = buf;
        job.length = 32;
        driver.Transfer(job);
        peer.Join();
        EXPECT_TRUE(known.count(job.result)) << int(job.result);
        EXPECT_LE(job.length, 32);
        for (int i = 32; i < 64; ++i) ASSERT_EQ(buf[i], 0xA5) << i;
    }
}
