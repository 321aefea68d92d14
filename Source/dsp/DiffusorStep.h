#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

#include <juce_dsp/juce_dsp.h>

#include "dsp/DelayLine.h"

/** One diffusion step: a short delay per channel with a randomised length, an orthonormal
    Hadamard mix and random polarity flips.

    Channel i sits in the i-th slice of the diffusion range, shifted by i × spreadFactor of
    the ring delay, at a random position of at least one sample inside its slice.

    Randomness: by default every redraw reseeds from the clock, so no two instances sound
    alike. setRandomSeed() switches to one deterministic generator whose sequence every
    later redraw continues (for tests and reproducible renders).

    Thread rule: prepare() and refreshMaximumDelayRangeSize() allocate; process(), reset()
    and refreshDelayTimes() within the sized capacities do not. */
template <typename SampleType, size_t numChannels>
class DiffusorStep
{
public:
    static_assert (numChannels > 0 && (numChannels & (numChannels - 1)) == 0,
                   "the Hadamard mix needs a power-of-two channel count");

    using Frame = std::array<SampleType, numChannels>;

    explicit DiffusorStep (float spreadFactorToUse = 0.04f) : spreadFactor (spreadFactorToUse) {}

    /** Sizes the lines, draws delay times and polarities. The ProcessSpec is not read. */
    void prepare (const juce::dsp::ProcessSpec&)
    {
        maximumDelayRange = (std::int32_t) (float) maximumDelayRange + 1;
        refreshMaximumDelayRangeSize();

        maximumRingDelay = (float) ((std::int32_t) maximumRingDelay + 1);
        refreshMaximumDelayRangeSize();

        refreshDelayTimes();

        reseedUnlessFixed();
        for (auto& flip : flipPolarity)
            flip = random.nextBool();
    }

    /** One frame in place: read-before-write delays, Hadamard mix, polarity flips. */
    void process (Frame& frame) noexcept
    {
        for (size_t i = 0; i < numChannels; ++i)
        {
            const auto d = lines[i].get();
            lines[i].write (d * feedback + frame[i]);
            frame[i] = d;
        }

        hadamard (frame);

        for (size_t i = 0; i < numChannels; ++i)
            if (flipPolarity[i])
                frame[i] = -frame[i];
    }

    void reset() noexcept
    {
        for (auto& line : lines)
            line.reset();
    }

    /** Draws new delay times from delayRange, ringDelay and spreadFactor. */
    void refreshDelayTimes()
    {
        reseedUnlessFixed();

        const auto width = std::max (0, (int) ((float) delayRange * 0.125f));

        for (size_t i = 0; i < numChannels; ++i)
        {
            auto offset = width > 0 ? random.nextInt (width) : 0;

            if (offset < 2)
                offset = 1;

            const auto slice = (std::int32_t) ((float) delayRange * ((float) i / (float) numChannels));
            const auto spread = (std::int32_t) (((float) i * spreadFactor) * ringDelay);
            delayTimes[i] = slice + spread + offset;
            lines[i].setDelay ({ delayTimes[i], 0.0f });
        }
    }

    /** Sizes each line for the largest range and ring delay it must hold. */
    void refreshMaximumDelayRangeSize()
    {
        for (size_t i = 0; i < numChannels; ++i)
        {
            const auto slice = (std::int32_t) ((float) maximumDelayRange * ((float) (i + 1) / (float) numChannels));
            const auto spread = (std::int32_t) (((float) i * spreadFactor) * maximumRingDelay);
            lines[i].setMaximumDelay (slice + spread);
        }
    }

    /** Makes every later draw come from one generator seeded once with this value. */
    void setRandomSeed (juce::int64 seed) noexcept
    {
        random.setSeed (seed);
        fixedSeed = true;
    }

    /** Unnormalised fast Walsh–Hadamard transform in natural order, scaled by 1/√N so the
        mix is orthonormal (energy preserving and its own inverse). */
    static void hadamard (Frame& frame) noexcept
    {
        for (size_t half = 1; half < numChannels; half *= 2)
            for (size_t start = 0; start < numChannels; start += 2 * half)
                for (size_t i = start; i < start + half; ++i)
                {
                    const auto a = frame[i];
                    const auto b = frame[i + half];
                    frame[i] = a + b;
                    frame[i + half] = a - b;
                }

        for (auto& x : frame)
            x *= scale();
    }

    std::int32_t delayRange = 16;
    std::int32_t maximumDelayRange = 32;
    float ringDelay = 10.0f;
    float maximumRingDelay = 12.0f;
    SampleType feedback = 0;
    std::array<DelayLine<SampleType>, numChannels> lines;
    std::array<std::int32_t, numChannels> delayTimes {};
    std::array<bool, numChannels> flipPolarity {};
    float spreadFactor;

private:
    static SampleType scale() noexcept
    {
        if constexpr (numChannels == 8)
            return (SampleType) 0.35355339;
        else
            return (SampleType) (1.0 / std::sqrt ((double) numChannels));
    }

    void reseedUnlessFixed() noexcept
    {
        if (! fixedSeed)
            random.setSeedRandomly();
    }

    juce::Random random;
    bool fixedSeed = false;
};
