#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <memory>

#include <juce_dsp/juce_dsp.h>

#include "dsp/AbstractDelay.h"
#include "dsp/Delay.h"
#include "dsp/DiffusorStep.h"
#include "dsp/RingSwitch.h"
#include "dsp/FractionalDelay.h"
#include "dsp/TrigonometricLfo.h"

/** Tail ring: a feedback delay network of eight delays (the last two fractional and swept
    by a sine and a cosine LFO in quadrature), damped, diffused and fed back with a gain
    derived from the decay time.

    Delay changes wait for silence in the feedback path: pending values, fade to 0, switch
    at exactly zero gain, fade back in (120 ms each way).

    The owner (the room algorithm) tunes the public members directly, as its parameter
    mapping describes. Thread rule: setCapacity() and prepare() allocate; processFrame(),
    reset() and the switch within the prepared capacities do not. */
template <typename SampleType, size_t numChannels>
class DiffusionRing
{
public:
    static_assert (numChannels > 2, "the last two delays are the modulated ones");

    using Frame = std::array<SampleType, numChannels>;
    using Filter = juce::dsp::IIR::Filter<SampleType>;
    using CoefficientsPtr = typename juce::dsp::IIR::Coefficients<SampleType>::Ptr;

    explicit DiffusionRing (float maximumModulationIntensityToUse = 0.0f)
        : maximumModulationIntensity (maximumModulationIntensityToUse)
    {
        for (size_t i = 0; i < numChannels; ++i)
        {
            if (i < numChannels - numModulatedLines)
                delays[i] = std::make_unique<Delay<SampleType>>();
            else
                delays[i] = std::make_unique<FractionalDelay<SampleType>>();
        }
    }

    /** Sizes delays and diffusor for base delays up to maxRingDelaySamples; the modulated
        delays get room for the largest modulation excursion on top. */
    void setCapacity (float maxRingDelaySamples)
    {
        diffusor.maximumRingDelay = (float) ((std::int32_t) maxRingDelaySamples + 1);
        diffusor.refreshMaximumDelayRangeSize();

        for (size_t i = 0; i < numChannels - numModulatedLines; ++i)
            delays[i]->setMaximumDelay ((std::int32_t) (maxRingDelaySamples + 1.0f));

        const auto modulatedCapacity = (std::int32_t) ((maximumModulationIntensity + 1.0f) * (maxRingDelaySamples + 1.0f));
        for (size_t i = numChannels - numModulatedLines; i < numChannels; ++i)
            delays[i]->setMaximumDelay (modulatedCapacity);
    }

    /** Rate, feedback frame, diffusor, damping filters and block length; then the LFOs
        (fields, oscillators, tables) and a 120 ms fade resting at 1. The LFOs still need
        setRunningFrequency() at the end of the owner's preparation. */
    void prepare (const juce::dsp::ProcessSpec& spec)
    {
        sampleRate = spec.sampleRate;
        feedbackValues.fill (SampleType (0));
        diffusor.prepare (spec);

        for (auto& filter : dampingFilters)
            filter.reset();

        for (auto& delay : delays)
            delay->setNumSamples (numSamples);

        const auto maximumBlockSize = (int) spec.maximumBlockSize;
        sineLfo.prepareFields (spec.sampleRate);
        cosineLfo.prepareFields (spec.sampleRate);
        sineLfo.prepareOscillator (spec.sampleRate, maximumBlockSize);
        cosineLfo.prepareOscillator (spec.sampleRate, maximumBlockSize);
        sineLfo.initialize();
        cosineLfo.initialize();

        fade.reset ((int) std::floor (spec.sampleRate * 0.12));
        fade.setCurrentAndTargetValue (1.0f);
    }

    /** Filters and buffers are cleared; fades, pending values, write heads, LFO phases and
        the feedback frame are kept. */
    void reset() noexcept
    {
        for (auto& filter : dampingFilters)
            filter.reset();

        for (auto& delay : delays)
            delay->reset();

        diffusor.reset();
    }

    /** Applies the ring delay to the diffusor, the base delays to the unmodulated lines,
        and re-centres the modulated lines with freshly scaled LFO amplitudes. */
    void updateInternalDelays (float d)
    {
        if (! std::isfinite (d))
            return;

        ringDelay = d;
        diffusor.ringDelay = (float) (std::int32_t) d;
        diffusor.refreshDelayTimes();

        for (size_t i = 0; i < numChannels - numModulatedLines; ++i)
            delays[i]->setDelaySamples (baseDelays[i]);

        renewLfoAmplitudes();

        delays[firstModulatedLine]->setDelaySamples (modulatedBaseDelays[0] + (float) sineLfo.value);
        delays[secondModulatedLine]->setDelaySamples (modulatedBaseDelays[1] + (float) cosineLfo.value);
    }

    /** Sets each LFO's amplitude to sweep ±(base × depth − 1) samples, rescaling its held
        value so the modulated delay does not jump. */
    void renewLfoAmplitudes() noexcept
    {
        renewAmplitude (sineLfo, modulatedBaseDelays[0]);
        renewAmplitude (cosineLfo, modulatedBaseDelays[1]);
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
            const auto b = feedbackValues[c];
            const auto f = dampingFilters[c].processSample (b);
            const auto v = (f * dampingBlend + (SampleType (1) - dampingBlend) * b) + frame[c];
            y[c] = delays[c]->processSample (v);
        }

        // The direct signal runs through the ring lines and the diffusor too. Faded before
        // the diffusor and again at the output, a switch of the ring or diffusion lengths
        // (at zero gain) leaves no step in what is heard.
        for (auto& sample : y)
            sample *= g;

        diffusor.process (y);

        for (size_t c = 0; c < numChannels; ++c)
            feedbackValues[c] = (feedbackGain * y[c]) * g;

        // Two calls per frame: the oscillators step once per sample, and the value used is
        // always a fresh one. The new lengths apply from the next frame.
        sineLfo.getNextLFOValue();
        cosineLfo.getNextLFOValue();
        delays[firstModulatedLine]->setDelaySamples ((float) sineLfo.getNextLFOValue() + modulatedBaseDelays[0]);
        delays[secondModulatedLine]->setDelaySamples ((float) cosineLfo.getNextLFOValue() + modulatedBaseDelays[1]);

        for (size_t c = 0; c < numChannels; ++c)
            frame[c] = y[c] * g;
    }

    /** Shares one coefficient object between all damping filters. */
    void setDampingCoefficients (CoefficientsPtr newCoefficients) noexcept
    {
        RingSwitch::shareDampingCoefficients (*this, std::move (newCoefficients));
    }

    void setRandomSeed (juce::int64 seed) noexcept { diffusor.setRandomSeed (seed); }

    float ringDelay = 10.0f;
    float diffusionRange = 10.0f;
    SampleType feedbackGain = 0;
    std::int32_t dampingFrequency = 20000;
    SampleType dampingBlend = 1;
    float modulationDepth = 0.0f;  // no modulation until the owner sets a depth
    size_t numSamples = 32;
    static constexpr size_t numModulatedLines = 2;
    float maximumModulationIntensity;
    // Defined starts until the first size update: the constructed ring delay.
    std::array<float, 2> modulatedBaseDelays { 10.0f, 10.0f };
    size_t firstModulatedLine = numChannels - 1;
    size_t secondModulatedLine = numChannels - 2;
    double sampleRate = 48000.0;
    std::array<SampleType, numChannels> feedbackValues {};
    std::array<Filter, numChannels> dampingFilters;
    CoefficientsPtr dampingCoefficients;
    std::array<std::unique_ptr<AbstractDelay<SampleType>>, numChannels> delays;
    DiffusorStep<SampleType, numChannels> diffusor { 0.04f };
    TrigonometricLfo<SampleType, TrigonometricFunctionTypes::sine> sineLfo;
    TrigonometricLfo<SampleType, TrigonometricFunctionTypes::cosine> cosineLfo;
    float meanBaseDelay = 0.0f;
    float halfDiffusionRange = 0.0f;
    float loopDelay = 0.0f;
    juce::SmoothedValue<float, juce::ValueSmoothingTypes::Linear> fade;
    // Until the first size or diffusion update the pending values equal the applied ones,
    // so an early zero crossing of the fade switches nothing.
    float pendingRingDelay = ringDelay;
    float pendingDiffusionRange = diffusionRange;
    std::array<float, numChannels> baseDelays = makeFilled (10.0f);

private:
    static std::array<float, numChannels> makeFilled (float v) noexcept
    {
        std::array<float, numChannels> a {};
        a.fill (v);
        return a;
    }

    template <typename Lfo>
    void renewAmplitude (Lfo& lfo, float baseDelay) noexcept
    {
        const auto a = std::max (0.0f, (baseDelay + baseDelay) * modulationDepth - 2.0f);

        if (lfo.amplitude > 0.0f)
            lfo.value *= (SampleType) (a / lfo.amplitude);

        lfo.amplitude = a;
    }

    void switchToPendingValues() { RingSwitch::applyPendingValues (*this); }
};
