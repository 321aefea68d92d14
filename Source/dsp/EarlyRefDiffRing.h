#pragma once

#include <array>
#include <cmath>
#include <cstdint>
#include <memory>

#include <juce_dsp/juce_dsp.h>

#include "dsp/DelayLine.h"
#include "dsp/DiffusorStep.h"
#include "dsp/RingSwitch.h"

/** Early-reflection ring: equal integer delays per channel, damped, summed with the input,
    diffused and fed back with one gain.

    Delay changes never click: the owner stores pending values and fades the feedback to 0;
    at exactly zero fade gain the ring switches to them and fades back in.

    The owner (the room algorithm) tunes the public members directly, as its parameter
    mapping describes. Thread rule: setCapacity() and prepare() allocate; processFrame(),
    reset() and the switch within the prepared capacities do not. */
template <typename SampleType, size_t numChannels>
class EarlyRefDiffRing
{
public:
    using Frame = std::array<SampleType, numChannels>;
    using Filter = juce::dsp::IIR::Filter<SampleType>;
    using CoefficientsPtr = typename juce::dsp::IIR::Coefficients<SampleType>::Ptr;

    EarlyRefDiffRing()
    {
        for (auto& line : lines)
            line = std::make_unique<DelayLine<SampleType>>();
    }

    /** Sizes the ring lines and the diffusor for ring delays up to maxRingDelaySamples. */
    void setCapacity (float maxRingDelaySamples)
    {
        diffusor.maximumRingDelay = (float) ((std::int32_t) maxRingDelaySamples + 1);
        diffusor.refreshMaximumDelayRangeSize();

        for (auto& line : lines)
            line->setMaximumDelay ((std::int32_t) (maxRingDelaySamples + 1.0f));
    }

    /** Rate, diffusor, damping filters, block length and an 80 ms fade resting at 1. */
    void prepare (const juce::dsp::ProcessSpec& spec)
    {
        sampleRate = spec.sampleRate;
        diffusor.prepare (spec);

        for (auto& filter : dampingFilters)
            filter.reset();

        for (auto& line : lines)
            line->setNumSamples (numSamples);

        fade.reset ((int) std::floor (spec.sampleRate * 0.08));
        fade.setCurrentAndTargetValue (1.0f);
    }

    /** Filters and buffers are cleared; fades, pending values and write heads are kept. */
    void reset() noexcept
    {
        for (auto& filter : dampingFilters)
            filter.reset();

        for (auto& line : lines)
            line->reset();

        diffusor.reset();
    }

    /** Applies a ring delay (in samples) to every line and redraws the diffusion delays. */
    void updateInternalDelays (float d)
    {
        if (! std::isfinite (d))
            return;

        ringDelay = d;
        diffusor.ringDelay = (float) (std::int32_t) d;
        diffusor.refreshDelayTimes();

        const auto whole = std::floor (d);
        for (auto& line : lines)
            line->setDelay ({ (std::int32_t) whole, d - whole });
    }

    /** One frame of eight channel samples in place. */
    void processFrame (Frame& frame) noexcept
    {
        const auto g = fade.getNextValue();

        if (g == 0.0f)
            switchToPendingValues();

        Frame y;

        for (size_t c = 0; c < numChannels; ++c)
        {
            const auto d = lines[c]->get();
            const auto f = dampingFilters[c].processSample (d);
            y[c] = (f * dampingBlend + d * (SampleType (1) - dampingBlend)) + frame[c];
        }

        // The direct signal runs through the ring lines and the diffusor too. Faded before
        // the diffusor and again at the output, a switch of the ring or diffusion lengths
        // (at zero gain) leaves no step in what is heard.
        for (auto& sample : y)
            sample *= g;

        diffusor.process (y);

        for (size_t c = 0; c < numChannels; ++c)
            lines[c]->write ((feedback * y[c]) * g);

        for (size_t c = 0; c < numChannels; ++c)
            frame[c] = y[c] * g;
    }

    /** Shares one coefficient object between all damping filters. */
    void setDampingCoefficients (CoefficientsPtr newCoefficients) noexcept
    {
        RingSwitch::shareDampingCoefficients (*this, std::move (newCoefficients));
    }

    void setRandomSeed (juce::int64 seed) noexcept { diffusor.setRandomSeed (seed); }

    float ringDelay = 100.0f;
    float diffusionRange = 100.0f;
    SampleType feedback = 0;
    std::int32_t dampingFrequency = 20000;
    SampleType dampingBlend = 1;
    size_t numSamples = 32;
    float spreadFactor = 0.0424f;
    double sampleRate = 48000.0;
    std::array<Filter, numChannels> dampingFilters;
    CoefficientsPtr dampingCoefficients;
    std::array<std::unique_ptr<DelayLine<SampleType>>, numChannels> lines;
    DiffusorStep<SampleType, numChannels> diffusor { spreadFactor };
    juce::SmoothedValue<float, juce::ValueSmoothingTypes::Linear> fade;
    // Until the first size or diffusion update the pending values equal the applied ones,
    // so an early zero crossing of the fade switches nothing.
    float pendingRingDelay = ringDelay;
    float pendingDiffusionRange = diffusionRange;

private:
    void switchToPendingValues() { RingSwitch::applyPendingValues (*this); }
};
