#pragma once

#include <algorithm>
#include <cmath>

#include <juce_dsp/juce_dsp.h>

/** Tone tilt around a fixed pivot: a low shelf and a high shelf whose gains move in
    opposite directions with one tilt value in 0 … 1 (0.5 is flat).

    The low shelf moves by half the tilt gain against it and the high shelf by the whole
    tilt gain, so t = 0 gives +6 dB below and −12 dB above the pivot, t = 1 the reverse. */
class TiltFilter
{
public:
    using Section = juce::dsp::ProcessorDuplicator<juce::dsp::IIR::Filter<float>,
                                                   juce::dsp::IIR::Coefficients<float>>;

    /** Prepares both sections for the host's rate and channel count, then designs them. */
    void prepare (const juce::dsp::ProcessSpec& spec)
    {
        sampleRate = spec.sampleRate;
        lowShelf.prepare (spec);
        highShelf.prepare (spec);
        updateTilt (tilt);
    }

    /** Recomputes both sections for tilt t. Allocates two temporary coefficient objects. */
    void updateTilt (float t)
    {
        gainDb = 24.0f * t - 12.0f;
        tilt = t;

        // The shelf design needs a rate; prepare() applies the stored tilt.
        if (sampleRate <= 0.0)
            return;

        const auto q = std::max (std::abs (gainDb / 10.0f), 0.4f);

        const auto lowGain = juce::Decibels::decibelsToGain (gainDb * -0.5f);
        copyInto (*lowShelf.state,
                  *juce::dsp::IIR::Coefficients<float>::makeLowShelf (sampleRate, pivotFrequency, q, lowGain));

        const auto highGain = juce::Decibels::decibelsToGain (gainDb);
        copyInto (*highShelf.state,
                  *juce::dsp::IIR::Coefficients<float>::makeHighShelf (sampleRate, pivotFrequency, q, highGain));
    }

    /** Runs the low shelf, then the high shelf, in place. */
    template <typename ProcessContext>
    void process (const ProcessContext& context) noexcept
    {
        lowShelf.process (context);
        highShelf.process (context);
    }

    void reset() noexcept
    {
        lowShelf.reset();
        highShelf.reset();
    }

    /** Analytic magnitude of both sections in dB at a frequency (for tests and displays). */
    double magnitudeDb (double hz) const noexcept
    {
        if (sampleRate <= 0.0)
            return 0.0;

        const auto magnitude = lowShelf.state->getMagnitudeForFrequency (hz, sampleRate)
                             * highShelf.state->getMagnitudeForFrequency (hz, sampleRate);
        return juce::Decibels::gainToDecibels (magnitude, -300.0);
    }

    double getSampleRate() const noexcept   { return sampleRate; }
    float getPivotFrequency() const noexcept { return pivotFrequency; }
    float getGainDb() const noexcept        { return gainDb; }
    float getTilt() const noexcept          { return tilt; }

    Section& getLowShelf() noexcept         { return lowShelf; }
    Section& getHighShelf() noexcept        { return highShelf; }

private:
    // The per-channel filters keep pointing at the shared state, so the new design is
    // copied into it rather than replacing it.
    static void copyInto (juce::dsp::IIR::Coefficients<float>& shared,
                          const juce::dsp::IIR::Coefficients<float>& designed) noexcept
    {
        if (shared.coefficients.size() == designed.coefficients.size())
            std::copy (designed.coefficients.begin(), designed.coefficients.end(), shared.coefficients.begin());
        else
            shared.coefficients = designed.coefficients;
    }

    double sampleRate = 0.0;
    float pivotFrequency = 1000.0f;
    float gainDb = 0.0f;
    float tilt = 0.5f;
    Section lowShelf;
    Section highShelf;
};
