// Every room control swept over its range at the common host rates: the audio thread allocates
// nothing but the damping-coefficient objects, and no delay line outgrows its prepared size.

#include <gtest/gtest.h>

#include "AllocationCounter.h"
#include "RoomHarness.h"

namespace
{
struct ControlSweep
{
    const char* id;
    float bottom, top;
    bool buildsCoefficients;   // each new value designs a new damping low-pass
};

const ControlSweep controls[] = {
    { "size", 0.0f, 1.0f, false },
    { "diffusion", 0.0f, 1.0f, false },
    { "decay", 0.0f, 1.0f, false },
    { "dampingIntensity", 0.0f, 1.0f, false },
    { "dampingFreq_room_er", 20.0f, 22000.0f, true },
    { "dampingFreq_room_tl", 20.0f, 22000.0f, true },
};

size_t allocationsOfOneCoefficientObject()
{
    AllocationCounter counter;
    juce::dsp::IIR::Coefficients<float>::Ptr c = new juce::dsp::IIR::Coefficients<float>(1.0f, 1.0f, 2.0f, 0.0f);
    return counter.count();
}
} // namespace

class RoomAtRate : public ::testing::TestWithParam<double> {};

TEST_P(RoomAtRate, SweepingEveryControlAllocatesOnlyCoefficientsAndGrowsNoLine)
{
    const double rate = GetParam();
    RoomHarness h(rate, 17);
    const auto preparedSizes = h.lineSizes();
    const auto perCoefficientObject = allocationsOfOneCoefficientObject();

    juce::AudioBuffer<float> buffer(2, RoomHarness::blockSize);
    juce::Random random(5);
    // Each value is held long enough (150 ms) for the tail's fade to reach zero and switch.
    const auto blocksPerStep = (int) (rate * 0.15) / RoomHarness::blockSize;

    for (const auto& control : controls)
    {
        SCOPED_TRACE(control.id);
        size_t allocations = 0, updates = 0;
        for (int step = 0; step <= 20; ++step)
        {
            h.set(control.id, control.bottom + (control.top - control.bottom) * (float) step / 20.0f);
            for (int b = 0; b < blocksPerStep; ++b)
            {
                for (int ch = 0; ch < 2; ++ch)
                    for (int i = 0; i < RoomHarness::blockSize; ++i)
                        buffer.setSample(ch, i, random.nextFloat() - 0.5f);
                AllocationCounter counter;
                h.processBlock(buffer);
                allocations += counter.count();
            }
            ++updates;
        }
        EXPECT_EQ(allocations, control.buildsCoefficients ? updates * perCoefficientObject : 0u);
        EXPECT_EQ(h.lineSizes(), preparedSizes);
        for (int ch = 0; ch < 2; ++ch)
            for (int i = 0; i < RoomHarness::blockSize; ++i)
                ASSERT_TRUE(std::isfinite(buffer.getSample(ch, i)));
    }
}

INSTANTIATE_TEST_SUITE_P(Room, RoomAtRate, ::testing::Values(44100.0, 48000.0, 88200.0, 96000.0, 192000.0),
                         [](const auto& info) { return std::to_string((int) info.param) + "Hz"; });
