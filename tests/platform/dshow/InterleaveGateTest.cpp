#include "platform/dshow/InterleaveGate.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

constexpr REFERENCE_TIME kSecond = kUnitsPerSecond;

}  // namespace

TEST(InterleaveGate, InputsWithinTheLeadAndTheSlowestNeverWait)
{
    CInterleaveGate gate(kSecond);
    gate.Reset(2);
    EXPECT_TRUE(gate.WaitTurn(0, kSecond));  // exactly the lead ahead of input 1 at 0
    EXPECT_TRUE(gate.WaitTurn(1, 0));
    EXPECT_TRUE(gate.WaitTurn(1, 2 * kSecond));  // 1 is the one ahead now, by the lead
}

TEST(InterleaveGate, AnEndedInputHoldsNobodyBack)
{
    CInterleaveGate gate(kSecond);
    gate.Reset(3);
    gate.End(1);
    gate.End(2);
    EXPECT_TRUE(gate.WaitTurn(0, 100 * kSecond));
}

TEST(InterleaveGate, InputAheadWaitsUntilTheOtherCatchesUp)
{
    CInterleaveGate gate(kSecond);
    gate.Reset(2);
    bool went = false;
    std::thread ahead([&] { went = gate.WaitTurn(0, 5 * kSecond); });
    EXPECT_TRUE(gate.WaitTurn(1, 4 * kSecond));
    ahead.join();
    EXPECT_TRUE(went);
}

TEST(InterleaveGate, InputAheadIsFreedWhenTheOtherEnds)
{
    CInterleaveGate gate(kSecond);
    gate.Reset(2);
    bool went = false;
    std::thread ahead([&] { went = gate.WaitTurn(0, 5 * kSecond); });
    gate.End(1);
    ahead.join();
    EXPECT_TRUE(went);
}

TEST(InterleaveGate, CloseWakesAWaitWithAFailureUntilTheNextRun)
{
    CInterleaveGate gate(kSecond);
    gate.Reset(2);
    bool went = true;
    std::thread ahead([&] { went = gate.WaitTurn(0, 5 * kSecond); });
    gate.Close();
    ahead.join();
    EXPECT_FALSE(went);
    EXPECT_FALSE(gate.WaitTurn(1, 0));
    gate.Reset(2);
    EXPECT_TRUE(gate.WaitTurn(0, kSecond / 2));
}
