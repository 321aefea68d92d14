// Diffusion step: delay-time layout, the orthonormal Hadamard mix, the read-before-write
// minimum of two samples, seeded determinism, and allocation-free redraws.

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <ostream>

#include "dsp/DiffusorStep.h"

#include "AllocationCounter.h"

namespace
{
using Diffusor = DiffusorStep<float, 8>;
using Frame = Diffusor::Frame;

const juce::dsp::ProcessSpec spec { 48000.0, 32, 2 };

struct LayoutCase
{
    float spreadFactor;
    float ringDelay;
    int delayRange;
    std::array<int, 8> times;   // by hand: slice + trunc(i × spread × ringDelay) + 1
};

std::ostream& operator<< (std::ostream& os, const LayoutCase& c)
{
    return os << "spread " << c.spreadFactor << " ring " << c.ringDelay << " range " << c.delayRange;
}

// Spread terms: 0.0424 × 528 = 22.3872 per channel → 0, 22, 44, 67, 89, 111, 134, 156;
// 0.04 × 1536 = 61.44 per channel → 0, 61, 122, 184, 245, 307, 368, 430.
// Range 0 has no slices; range 16 has slices of 2 whose random offset (0 or 1) is always 1.
const LayoutCase layoutCases[] = {
    { 0.0424f, 528.0f, 0, { 1, 23, 45, 68, 90, 112, 135, 157 } },
    { 0.0424f, 528.0f, 16, { 1, 25, 49, 74, 98, 122, 147, 171 } },
    { 0.04f, 1536.0f, 0, { 1, 62, 123, 185, 246, 308, 369, 431 } },
    { 0.04f, 1536.0f, 16, { 1, 64, 127, 191, 254, 318, 381, 445 } },
};

class DiffusorLayout : public ::testing::TestWithParam<LayoutCase> {};

TEST_P (DiffusorLayout, DelayTimesAreDeterministicForSmallRanges)
{
    const auto& c = GetParam();

    // Unseeded on purpose: these ranges leave nothing to chance.
    for (int instance = 0; instance < 3; ++instance)
    {
        Diffusor diffusor (c.spreadFactor);
        diffusor.ringDelay = c.ringDelay;
        diffusor.maximumRingDelay = c.ringDelay;
        diffusor.prepare (spec);
        diffusor.delayRange = c.delayRange;
        diffusor.refreshDelayTimes();

        for (size_t i = 0; i < 8; ++i)
        {
            EXPECT_EQ (diffusor.delayTimes[i], c.times[i]) << "channel " << i;
            EXPECT_EQ (diffusor.lines[i].getDelay().samples, c.times[i]) << "channel " << i;
        }
    }
}

INSTANTIATE_TEST_SUITE_P (DiffusorStep, DiffusorLayout, ::testing::ValuesIn (layoutCases));

TEST (DiffusorStep, HadamardSpreadsPreservesEnergyAndIsItsOwnInverse)
{
    Frame impulse {};
    impulse[0] = 1.0f;
    Diffusor::hadamard (impulse);
    for (auto x : impulse)
        EXPECT_FLOAT_EQ (x, 0.35355339f);

    juce::Random random (99);
    for (int trial = 0; trial < 20; ++trial)
    {
        Frame frame;
        for (auto& x : frame)
            x = random.nextFloat() * 2.0f - 1.0f;

        auto mixed = frame;
        Diffusor::hadamard (mixed);

        double energyIn = 0.0, energyOut = 0.0;
        for (size_t i = 0; i < 8; ++i)
        {
            energyIn += frame[i] * frame[i];
            energyOut += mixed[i] * mixed[i];
        }
        EXPECT_NEAR (energyOut, energyIn, 1.0e-5 * energyIn);

        Diffusor::hadamard (mixed);
        for (size_t i = 0; i < 8; ++i)
            EXPECT_NEAR (mixed[i], frame[i], 1.0e-6f);
    }
}

TEST (DiffusorStep, ChannelZeroIsHeardAfterAtLeastTwoSamples)
{
    for (int range : { 0, 16, 100, 1000 })
        for (juce::int64 seed = 1; seed <= 20; ++seed)
        {
            Diffusor diffusor (0.0424f);
            diffusor.setRandomSeed (seed);
            diffusor.ringDelay = 500.0f;
            diffusor.maximumRingDelay = 500.0f;
            diffusor.maximumDelayRange = 1000;
            diffusor.prepare (spec);
            diffusor.delayRange = range;
            diffusor.refreshDelayTimes();

            const auto arrival = diffusor.delayTimes[0] + 1;   // read before write
            ASSERT_GE (arrival, 2);

            for (int n = 0; n <= arrival; ++n)
            {
                Frame frame {};
                frame[0] = n == 0 ? 1.0f : 0.0f;
                diffusor.process (frame);

                for (auto x : frame)
                    ASSERT_FLOAT_EQ (std::abs (x), n == arrival ? 0.35355339f : 0.0f)
                        << "range " << range << " seed " << seed << " sample " << n;
            }
        }
}

// Draws of one diffusor over a preparation and a few redraws.
struct Draws
{
    std::array<std::array<int, 8>, 4> times;
    std::array<bool, 8> flips;
    bool operator== (const Draws& o) const { return times == o.times && flips == o.flips; }
};

Draws draw (Diffusor& diffusor)
{
    Draws d;
    diffusor.maximumDelayRange = 1000;
    diffusor.delayRange = 800;
    diffusor.prepare (spec);
    d.flips = diffusor.flipPolarity;
    for (auto& t : d.times)
    {
        t = diffusor.delayTimes;
        diffusor.refreshDelayTimes();
    }
    return d;
}

TEST (DiffusorStep, SameSeedDrawsIdenticallyOtherSeedsAndUnseededDiffer)
{
    Diffusor a, b, c, unseededA, unseededB;
    a.setRandomSeed (42);
    b.setRandomSeed (42);
    c.setRandomSeed (43);

    const auto drawsA = draw (a);
    EXPECT_TRUE (drawsA == draw (b));
    EXPECT_FALSE (drawsA == draw (c));
    EXPECT_FALSE (draw (unseededA) == draw (unseededB));

    // Every redraw continues the sequence rather than repeating it.
    EXPECT_NE (drawsA.times[1], drawsA.times[2]);
}

TEST (DiffusorStep, RedrawsWithinCapacityAndProcessingDoNotAllocate)
{
    Diffusor diffusor (0.04f);   // unseeded: the production path
    diffusor.ringDelay = 2000.0f;
    diffusor.maximumRingDelay = 2000.0f;
    diffusor.maximumDelayRange = 4000;
    diffusor.prepare (spec);

    AllocationCounter allocations;
    diffusor.delayRange = diffusor.maximumDelayRange - 1;
    diffusor.ringDelay = diffusor.maximumRingDelay - 1.0f;
    diffusor.refreshDelayTimes();
    Frame frame {};
    frame[3] = 1.0f;
    diffusor.process (frame);
    diffusor.reset();
    EXPECT_EQ (allocations.count(), 0u);
}

TEST (DiffusorStep, ResetSilencesTheLines)
{
    Diffusor diffusor;
    diffusor.setRandomSeed (5);
    diffusor.prepare (spec);

    juce::Random random (3);
    for (int n = 0; n < 100; ++n)
    {
        Frame frame;
        for (auto& x : frame)
            x = random.nextFloat();
        diffusor.process (frame);
    }

    diffusor.reset();
    for (int n = 0; n < 100; ++n)
    {
        Frame frame {};
        diffusor.process (frame);
        for (auto x : frame)
            ASSERT_EQ (x, 0.0f);
    }
}
} // namespace
