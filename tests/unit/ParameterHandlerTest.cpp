// The registry's per-block dispatch: what reaches the DSP callbacks, when.
#include "AllocationCounter.h"
#include "TestProcessor.h"
#include "parameters/ParameterHandler.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

namespace
{
struct Registry : testing::Test
{
    TestProcessor processor;
    ParameterHandler handler { processor };
    std::shared_ptr<ParameterHandler::Smoother> smoother = std::make_shared<ParameterHandler::Smoother>(0.0f);
    std::vector<float> plainCalls, smoothCalls;

    void SetUp() override
    {
        plainCalls.reserve(64);
        smoothCalls.reserve(64);
        handler.addFloatParam("plain", { [this](float v) { plainCalls.push_back(v); } },
                              { 0.0f, 1.0f, 0.0f, 1.0f }, 0.5f);
        handler.addFloatParam("smooth", { [this](float v) { smoothCalls.push_back(v); } },
                              { 20.0f, 22000.0f, 0.0f, 1.0f }, 10000.0f, smoother);
        handler.addFloatParam("silent", {}, { 0.0f, 1.0f, 0.0f, 1.0f }, 0.25f);
        handler.addFloatParam("zero", {}, { 0.0f, 1.0f, 0.0f, 1.0f }, 0.0f);
        handler.buildValueTreeState();
    }

    void set(const char* id, float plain) { setPlainValue(handler.getValueTreeState(), id, plain); }
};
} // namespace

TEST_F(Registry, IndicesFollowRegistrationOrder)
{
    EXPECT_EQ(handler.getIndex("plain"), 0);
    EXPECT_EQ(handler.getIndex("smooth"), 1);
    EXPECT_EQ(handler.getIndex("zero"), 3);
    EXPECT_EQ(handler.getIndex("unknown"), -1);
}

TEST_F(Registry, DispatchesOnlyValuesThatMovedBeyondTheTolerance)
{
    handler.dispatchUpdates();
    ASSERT_EQ(plainCalls, std::vector<float>({ 0.5f })); // last value starts at 0

    handler.dispatchUpdates();
    EXPECT_EQ(plainCalls.size(), 1u); // unchanged: no call

    set("plain", std::nextafter(0.5f, 1.0f)); // one float step
    handler.dispatchUpdates();
    EXPECT_EQ(plainCalls.size(), 1u);

    set("plain", 0.5001f);
    handler.dispatchUpdates();
    ASSERT_EQ(plainCalls.size(), 2u);
    EXPECT_FLOAT_EQ(plainCalls.back(), 0.5001f);
}

TEST_F(Registry, ZeroValuedParameterWaitsForAChange)
{
    std::vector<float> calls;
    handler.addUpdateFunction("zero", [&](float v) { calls.push_back(v); });
    handler.dispatchUpdates();
    EXPECT_TRUE(calls.empty());
    set("zero", 0.75f);
    handler.dispatchUpdates();
    EXPECT_EQ(calls, std::vector<float>({ 0.75f }));
}

TEST_F(Registry, SmoothedParameterRampsInBlockSteps)
{
    smoother->reset(4);

    // Start-up: the smoother starts at 0 and ramps to the current value.
    for (int block = 0; block < 6; ++block)
        handler.dispatchUpdates();
    EXPECT_EQ(smoothCalls, std::vector<float>({ 2500.0f, 5000.0f, 7500.0f, 10000.0f }));

    // 20 -> 10000 while settled at 20; a change during the ramp waits for its end.
    set("smooth", 20.0f);
    for (int block = 0; block < 4; ++block)
        handler.dispatchUpdates();
    smoothCalls.clear();
    set("smooth", 10000.0f);
    handler.dispatchUpdates();
    handler.dispatchUpdates();
    set("smooth", 5000.0f);
    handler.dispatchUpdates();
    handler.dispatchUpdates();
    handler.dispatchUpdates();
    EXPECT_EQ(smoothCalls, std::vector<float>({ 2515.0f, 5010.0f, 7505.0f, 10000.0f, 8750.0f }));
}

TEST_F(Registry, SmootherWithoutRampPassesValuesAtOnce)
{
    smoother->reset(0);
    handler.dispatchUpdates();
    set("smooth", 440.0f);
    handler.dispatchUpdates();
    EXPECT_EQ(smoothCalls, std::vector<float>({ 10000.0f, 440.0f }));
}

TEST_F(Registry, DuplicateCallbacksRunOncePerRegistration)
{
    int calls = 0;
    const auto count = [&](float) { ++calls; };
    handler.addUpdateFunction("silent", count);
    handler.addUpdateFunction("silent", count);
    handler.addUpdateFunction("unknown", count); // ignored
    handler.dispatchUpdates();
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(handler.getNumUpdateFunctions("silent"), 2u);
}

TEST_F(Registry, ParametersWithoutCallbacksAreNeverDispatched)
{
    set("silent", 0.9f);
    handler.dispatchUpdates();
    // Adding a callback later dispatches from the start value 0, as if never seen.
    std::vector<float> calls;
    handler.addUpdateFunction("silent", [&](float v) { calls.push_back(v); });
    handler.dispatchUpdates();
    EXPECT_EQ(calls, std::vector<float>({ 0.9f }));
}

TEST_F(Registry, NonFiniteHostValuesNeverReachTheCallbacks)
{
    handler.dispatchUpdates();
    auto* raw = handler.getValueTreeState().getRawParameterValue("plain");
    for (const float bad : { std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                             -std::numeric_limits<float>::infinity() })
    {
        raw->store(bad);
        handler.dispatchUpdates();
        handler.callAllUpdateFunctions();
    }
    EXPECT_EQ(plainCalls, std::vector<float>({ 0.5f }));
    raw->store(0.25f);
    handler.dispatchUpdates();
    EXPECT_EQ(plainCalls.back(), 0.25f);
}

TEST_F(Registry, CallAllBypassesSmoothersAndKeepsLastValues)
{
    smoother->reset(4);
    handler.callAllUpdateFunctions();
    EXPECT_EQ(smoothCalls, std::vector<float>({ 10000.0f }));
    EXPECT_EQ(plainCalls, std::vector<float>({ 0.5f }));
    handler.dispatchUpdates(); // still sees the difference from the last dispatched 0
    EXPECT_EQ(plainCalls.size(), 2u);
    EXPECT_EQ(smoothCalls.back(), 2500.0f);
}

TEST_F(Registry, ClearingRemovesEveryCallback)
{
    handler.clearUpdateFunctions();
    handler.dispatchUpdates();
    handler.callAllUpdateFunctions();
    EXPECT_TRUE(plainCalls.empty());
    EXPECT_EQ(handler.getNumUpdateFunctions("plain"), 0u);
}

TEST_F(Registry, FirstDispatchAllocatesNothing)
{
    smoother->reset(4);
    std::size_t allocations = 0;
    {
        AllocationCounter counter;
        handler.dispatchUpdates();
        allocations += counter.count();
    }
    set("plain", 0.1f);
    {
        AllocationCounter counter;
        handler.dispatchUpdates();
        allocations += counter.count();
    }
    EXPECT_EQ(allocations, 0u);
    EXPECT_EQ(plainCalls.size(), 2u);
}
