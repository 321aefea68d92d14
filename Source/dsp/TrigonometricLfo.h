#pragma once

#include <cmath>
#include <cstdint>

#include <juce_dsp/juce_dsp.h>

#include "dsp/TrigonometricFunctionTypes.h"

/** Slow sine or cosine oscillator for delay modulation.

    Wraps a juce::dsp::Oscillator reading a lookup table, steps it only every
    `updateInterval` calls and holds the value in between. The output swings between
    −amplitude/2 and +amplitude/2 (amplitude in delay samples, set by the owner).

    The oscillator is prepared at sr × 0.5 / updateInterval, and the owner calls
    getNextLFOValue() twice per audio sample, so the oscillator steps once per sample at
    four times its nominal frequency: 0.5 Hz becomes 2 Hz at any host rate.

    Thread rule: prepare() and initialize() allocate (lookup table, ramp buffer);
    getNextLFOValue() does not. Not copyable: the waveform captures this object. */
template <typename SampleType, TrigonometricFunctionTypes Type>
class TrigonometricLfo
{
public:
    TrigonometricLfo() = default;
    TrigonometricLfo (const TrigonometricLfo&) = delete;
    TrigonometricLfo& operator= (const TrigonometricLfo&) = delete;

    /** Fields, smoothed frequency target, oscillator preparation at the reduced nominal
        rate and the lookup table, in that order. */
    void prepare (double sampleRate, int maximumBlockSize)
    {
        prepareFields (sampleRate);
        prepareOscillator (sampleRate, maximumBlockSize);
        initialize();
    }

    /** First preparation step: field values and the (smoothed) frequency target. */
    void prepareFields (double sampleRate)
    {
        frequency = 1.0f;
        amplitude = 21.0f;
        phaseOffset = 0.0f;
        updateInterval = 2;
        tableSize = 2 * (size_t) (sampleRate / 10.0);
        countdown = 2;
        oscillator.setFrequency (1.0f);
    }

    /** Second step: sample rate, ramp buffer, phase 0, frequency smoother reset. */
    void prepareOscillator (double sampleRate, int maximumBlockSize)
    {
        oscillator.prepare ({ sampleRate * 0.5 / (double) updateInterval,
                              (juce::uint32) juce::jmax (1, maximumBlockSize),
                              1 });
    }

    /** Builds the waveform lookup table over [−π, π]. */
    void initialize()
    {
        if constexpr (Type == TrigonometricFunctionTypes::sine)
            oscillator.initialise ([this] (float x) { return std::sin (x + phaseOffset); }, tableSize);
        else
            oscillator.initialise ([this] (float x) { return std::cos (x + phaseOffset); }, tableSize);
    }

    /** Last step of the owner's preparation: 0.5 Hz, with the smoothing bypassed. */
    void setRunningFrequency()
    {
        frequency = 0.5f;
        oscillator.setFrequency (0.5f, true);
    }

    /** Returns the held value, or a fresh one every updateInterval-th call. */
    SampleType getNextLFOValue() noexcept
    {
        if (--countdown != 0)
            return value;

        countdown = updateInterval;

        // Before the first preparation there is no waveform to read.
        if (! oscillator.isInitialised())
            return value;

        value = (SampleType) ((oscillator.processSample (0.0f) + 0.0f) * amplitude * 0.5f);
        return value;
    }

    // The owner rescales amplitude and value directly when the modulation depth changes.
    SampleType value = 0;
    float frequency = 3.0f;
    float amplitude = 2.0f;
    float phaseOffset = 0.0f;
    std::int32_t updateInterval = 1;
    size_t tableSize = 128;
    std::int32_t countdown = 1;
    juce::dsp::Oscillator<float> oscillator;
};
