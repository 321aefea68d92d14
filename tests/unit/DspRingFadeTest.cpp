// Both feedback rings: a delay change waits for the full fade-out, switches at exactly zero
// fade gain and fades back in; a second change within one fade only replaces the pending
// value; an unchanged pending value still fades out and in without switching.

#include <gtest/gtest.h>

#include <cmath>

#include "dsp/DiffusionRing.h"
#include "dsp/EarlyRefDiffRing.h"

#include "AllocationCounter.h"

namespace
{
using EarlyRing = EarlyRefDiffRing<float, 8>;
using TailRing = DiffusionRing<float, 8>;

template <typename Ring> struct RingTraits;

template <> struct RingTraits<EarlyRing>
{
    static constexpr double fadeSeconds = 0.08;
    static void setPendingSize (EarlyRing& ring, float d) { ring.pendingRingDelay = d; }
    static int appliedDelay (const EarlyRing& ring) { return ring.lines[0]->getDelay().samples; }
};

template <> struct RingTraits<TailRing>
{
    static constexpr double fadeSeconds = 0.12;
    static void setPendingSize (TailRing& ring, float d)
    {
        // The size update moves the base delays together with the pending ring delay.
        ring.pendingRingDelay = d;
        ring.baseDelays.fill (d);
        ring.modulatedBaseDelays = { d, d };
    }
    static int appliedDelay (const TailRing& ring) { return ring.delays[0]->getDelay().samples; }
};

template <typename Ring>
class RingFade : public ::testing::Test
{
protected:
    using Traits = RingTraits<Ring>;

    void prepareAt (double rate)
    {
        sampleRate = rate;
        ring.setRandomSeed (11);
        ring.setCapacity (1000.0f);
        ring.diffusor.maximumDelayRange = 400;
        ring.prepare ({ rate, 32, 2 });

        // A settled state: 200 samples and a range of 96 applied, nothing pending.
        Traits::setPendingSize (ring, 200.0f);
        ring.updateInternalDelays (200.0f);
        ring.diffusor.delayRange = 96;
        ring.diffusor.refreshDelayTimes();
        ring.diffusionRange = ring.pendingDiffusionRange = 96.0f;
    }

    int fadeFrames() const { return (int) std::floor (sampleRate * Traits::fadeSeconds); }

    void processFrames (int count)
    {
        for (int n = 0; n < count; ++n)
        {
            typename Ring::Frame frame {};
            ring.processFrame (frame);
        }
    }

    Ring ring;
    double sampleRate = 0.0;
};

using RingTypes = ::testing::Types<EarlyRing, TailRing>;
TYPED_TEST_SUITE (RingFade, RingTypes);

TYPED_TEST (RingFade, ChangeWaitsForFullFadeOutThenFadesBackIn)
{
    for (double rate : { 48000.0, 44100.0 })
    {
        this->prepareAt (rate);
        const auto frames = this->fadeFrames();   // 3840/3528 early, 5760/5292 tail

        RingTraits<TypeParam>::setPendingSize (this->ring, 300.0f);
        this->ring.fade.setTargetValue (0.0f);

        for (int n = 1; n < frames; ++n)
        {
            this->processFrames (1);
            ASSERT_EQ (RingTraits<TypeParam>::appliedDelay (this->ring), 200) << rate << " frame " << n;
            ASSERT_GT (this->ring.fade.getCurrentValue(), 0.0f);
        }

        this->processFrames (1);   // the fade reaches exactly 0 here
        EXPECT_EQ (this->ring.fade.getCurrentValue(), 0.0f);
        EXPECT_EQ (RingTraits<TypeParam>::appliedDelay (this->ring), 300) << rate;
        EXPECT_FLOAT_EQ (this->ring.ringDelay, 300.0f);
        EXPECT_FLOAT_EQ (this->ring.diffusor.ringDelay, 300.0f);

        this->processFrames (frames - 1);
        EXPECT_LT (this->ring.fade.getCurrentValue(), 1.0f);
        this->processFrames (1);
        EXPECT_EQ (this->ring.fade.getCurrentValue(), 1.0f);
        EXPECT_FALSE (this->ring.fade.isSmoothing());
    }
}

TYPED_TEST (RingFade, TwoChangesWithinOneFadeApplyOnlyTheLast)
{
    this->prepareAt (48000.0);
    const auto frames = this->fadeFrames();

    RingTraits<TypeParam>::setPendingSize (this->ring, 300.0f);
    this->ring.fade.setTargetValue (0.0f);
    this->processFrames (frames / 2);

    RingTraits<TypeParam>::setPendingSize (this->ring, 400.0f);
    this->ring.fade.setTargetValue (0.0f);   // already heading there: left alone

    for (int n = frames / 2 + 1; n < frames; ++n)
    {
        this->processFrames (1);
        ASSERT_EQ (RingTraits<TypeParam>::appliedDelay (this->ring), 200) << n;
    }

    this->processFrames (1);
    EXPECT_EQ (RingTraits<TypeParam>::appliedDelay (this->ring), 400);
    EXPECT_FLOAT_EQ (this->ring.ringDelay, 400.0f);
}

TYPED_TEST (RingFade, UnchangedPendingValuesStillFadeOutAndIn)
{
    this->prepareAt (48000.0);
    const auto frames = this->fadeFrames();
    const auto timesBefore = this->ring.diffusor.delayTimes;

    this->ring.fade.setTargetValue (0.0f);
    this->processFrames (frames);
    EXPECT_EQ (this->ring.fade.getCurrentValue(), 0.0f);

    this->processFrames (frames);
    EXPECT_EQ (this->ring.fade.getCurrentValue(), 1.0f);

    // No switch happened: no redraw, same delays.
    EXPECT_EQ (this->ring.diffusor.delayTimes, timesBefore);
    EXPECT_EQ (RingTraits<TypeParam>::appliedDelay (this->ring), 200);
}

TYPED_TEST (RingFade, DiffusionChangeAloneRedrawsDiffusorOnly)
{
    this->prepareAt (48000.0);
    const auto timesBefore = this->ring.diffusor.delayTimes;

    this->ring.pendingDiffusionRange = 160.0f;
    this->ring.fade.setTargetValue (0.0f);
    this->processFrames (this->fadeFrames());

    EXPECT_EQ (this->ring.diffusor.delayRange, 160);
    EXPECT_FLOAT_EQ (this->ring.diffusionRange, 160.0f);
    EXPECT_NE (this->ring.diffusor.delayTimes, timesBefore);
    EXPECT_EQ (RingTraits<TypeParam>::appliedDelay (this->ring), 200);
}

TYPED_TEST (RingFade, FadeAndSwitchDoNotAllocate)
{
    this->prepareAt (48000.0);

    AllocationCounter allocations;
    RingTraits<TypeParam>::setPendingSize (this->ring, 900.0f);
    this->ring.pendingDiffusionRange = 300.0f;
    this->ring.fade.setTargetValue (0.0f);
    this->processFrames (2 * this->fadeFrames());
    this->ring.reset();
    EXPECT_EQ (allocations.count(), 0u);
    EXPECT_EQ (RingTraits<TypeParam>::appliedDelay (this->ring), 900);
}

TEST (EarlyRefDiffRing, FeedbackDecaysAndResetSilences)
{
    EarlyRing ring;
    ring.setRandomSeed (3);
    ring.setCapacity (1000.0f);
    ring.prepare ({ 48000.0, 32, 2 });
    ring.updateInternalDelays (300.0f);
    ring.pendingRingDelay = ring.ringDelay;
    ring.feedback = 0.6f;

    // The impulse recirculates (about 300 samples per pass) with falling energy.
    double previousEnergy = 0.0;
    for (int window = 0; window < 5; ++window)
    {
        double energy = 0.0;
        for (int n = 0; n < 1500; ++n)
        {
            EarlyRing::Frame frame {};
            if (window == 0 && n == 0)
                frame.fill (1.0f);
            ring.processFrame (frame);
            for (auto x : frame)
            {
                ASSERT_TRUE (std::isfinite (x));
                energy += x * x;
            }
        }
        EXPECT_GT (energy, 0.0);
        if (window > 0)
        {
            EXPECT_LT (energy, previousEnergy);
        }
        previousEnergy = energy;
    }

    ring.reset();
    for (int n = 0; n < 4800; ++n)
    {
        EarlyRing::Frame frame {};
        ring.processFrame (frame);
        for (auto x : frame)
            ASSERT_EQ (x, 0.0f);
    }
}

TEST (DiffusionRing, ModulatedDelaysStayOnBaseWhenDepthIsTooSmall)
{
    TailRing ring (0.02f);
    ring.setRandomSeed (4);
    ring.setCapacity (3000.0f);
    ring.prepare ({ 48000.0, 32, 2 });
    ring.sineLfo.setRunningFrequency();
    ring.cosineLfo.setRunningFrequency();

    // 2 × 500 × 0.001 − 2 < 0: amplitude 0, the modulated delays sit on their base.
    ring.modulationDepth = 0.001f;
    RingTraits<TailRing>::setPendingSize (ring, 500.0f);
    ring.updateInternalDelays (500.0f);
    EXPECT_EQ (ring.sineLfo.amplitude, 0.0f);
    EXPECT_EQ (ring.cosineLfo.amplitude, 0.0f);

    for (int n = 0; n < 1000; ++n)
    {
        TailRing::Frame frame {};
        ring.processFrame (frame);
        ASSERT_EQ (ring.delays[7]->getDelay().samples + ring.delays[7]->getDelay().fraction, 500.0f);
        ASSERT_EQ (ring.delays[6]->getDelay().samples + ring.delays[6]->getDelay().fraction, 500.0f);
    }

    // A depth of 0.004 sweeps ±(500 × 0.004 − 1) = ±1 sample, rescaling the held value.
    ring.modulationDepth = 0.004f;
    ring.renewLfoAmplitudes();
    EXPECT_FLOAT_EQ (ring.sineLfo.amplitude, 2.0f);
    float lowest = 1.0e9f, highest = -1.0e9f;
    for (int n = 0; n < 24000; ++n)
    {
        TailRing::Frame frame {};
        ring.processFrame (frame);
        const auto d = ring.delays[7]->getDelay();
        lowest = std::min (lowest, (float) d.samples + d.fraction);
        highest = std::max (highest, (float) d.samples + d.fraction);
    }
    EXPECT_NEAR (lowest, 499.0f, 1.0e-2f);
    EXPECT_NEAR (highest, 501.0f, 1.0e-2f);
}
} // namespace
