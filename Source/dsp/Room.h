#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>

#include <juce_dsp/juce_dsp.h>

#include "dsp/AbstractAlgorithm.h"
#include "dsp/DiffusionRing.h"
#include "dsp/EarlyRefDiffRing.h"
#include "dsp/FractionalDelayLine.h"
#include "parameters/SonarisParameterHandler.h"

/** The room reverb: the stereo input is spread over eight channels, runs through the
    early-reflection ring and then the tail ring, and four channels are mixed back to
    stereo (left: early channel 4 + tail channel 2, right: early channel 5 + tail channel 3).

    Voicing: preparation sizes every line for the largest delay the controls can reach,
    applies the current size and diffusion, fixes the modulation depth and registers one
    update function per room parameter. Size and diffusion changes only store pending
    values and start the rings' fades; the rings switch at zero feedback.

    Thread rule: construction and prepare() allocate; process(), reset() and the update
    functions do not, except the damping-coefficient objects built when a damping
    frequency changes. */
template <typename SampleType, size_t numChannels, size_t N, size_t M>
class Room : public AbstractAlgorithm<SampleType, numChannels, N, M>
{
    static_assert (N == 8 && M == 8, "the room's rings and output taps are laid out for eight channels");
    static_assert (numChannels >= 1 && numChannels <= 2, "the room takes mono or stereo blocks");

    using Base = AbstractAlgorithm<SampleType, numChannels, N, M>;
    using Frame = std::array<SampleType, N>;
    using Coefficients = juce::dsp::IIR::Coefficients<SampleType>;

public:
    using RangeSet = std::unordered_map<std::string, float>;

    Room (std::shared_ptr<SonarisParameterHandler> handler, RangeSet roomRangeSet)
        : Base (std::move (handler)),
          rangeValues (std::move (roomRangeSet)),
          tail (range ("maximumModulationIntensity"))
    {
        earlyReflectionsGain = (this->outputLevel * 0.9f) * 1.1f;
        outputGain = (this->outputLevel * 0.9f) * 0.8f;
    }

    ~Room() override = default;

    void prepare (const juce::dsp::ProcessSpec& spec) override
    {
        sampleRate = (float) spec.sampleRate;

        // Capacities for the top of the size range; with the modulation's excursion on
        // top for the two swept tail lines.
        earlyReflections.setCapacity (msToSamples (range ("idbv_er_top")));
        tail.setCapacity (msToSamples (range ("idbv_tl_top")));

        earlyReflections.prepare (spec);
        tail.prepare (spec);

        heardSincePreparation = false;
        applyInitialMapping();
    }

    void process (juce::dsp::AudioBlock<SampleType>& block) override
    {
        heardSincePreparation = true;
        const auto numBlockChannels = std::min (block.getNumChannels(), numChannels);
        if (numBlockChannels == 0)
            return;

        const auto n = block.getNumSamples();
        const auto count = std::min (this->blockLength, n);
        auto** work = this->channelData;

        // Even internal channels carry the left input, odd ones the right.
        for (size_t c = 0; c < N; ++c)
        {
            const auto* source = block.getChannelPointer ((c % 2 == 0) ? 0 : numBlockChannels - 1);
            std::copy (source, source + count, work[c]);
        }

        runFrames (earlyReflections, earlyReflections.numSamples);

        for (size_t i = 0; i < numBlockChannels; ++i)
        {
            auto* out = block.getChannelPointer (i);
            std::copy (work[i + 4], work[i + 4] + count, out);
            juce::FloatVectorOperations::multiply (out, earlyReflectionsGain, (int) n);
        }

        runFrames (tail, tail.numSamples);

        for (size_t i = 0; i < numBlockChannels; ++i)
        {
            auto* out = block.getChannelPointer (i);
            juce::FloatVectorOperations::add (out, work[i + 2], (int) count);
            juce::FloatVectorOperations::multiply (out, outputGain, (int) n);
        }
    }

    void reset() override
    {
        this->workBlock.clear();

        // Both rings clear their filters, ring lines and diffusors. The tail's pending
        // feedback frame and the swept lines' interpolator memory are audio too: left in
        // place they would restart the tail after a reset.
        earlyReflections.reset();
        tail.reset();
        tail.feedbackValues.fill (SampleType (0));

        for (size_t i = N - tail.numModulatedLines; i < N; ++i)
            if (auto* line = dynamic_cast<FractionalDelayLine<SampleType>*> (&tail.delays[i]->getLine()))
                line->clearInterpolatorState();
    }

    /** Both rings' diffusors draw from fixed, distinct seeds derived from this one. */
    void setRandomSeed (juce::int64 seed) override
    {
        earlyReflections.setRandomSeed (deriveSeed (seed, 1));
        tail.setRandomSeed (deriveSeed (seed, 2));
    }

    // Read access for the owner's diagnostics and the tests.
    const EarlyRefDiffRing<SampleType, N>& getEarlyReflections() const noexcept { return earlyReflections; }
    const DiffusionRing<SampleType, N>& getTail() const noexcept { return tail; }
    float getDecayShape() const noexcept { return this->decayShape; }
    float getSampleRate() const noexcept { return sampleRate; }
    float getEarlyReflectionsGain() const noexcept { return earlyReflectionsGain; }
    float getOutputGain() const noexcept { return outputGain; }

private:
    /** Constants of the mapping, fixed per preparation (they depend on the rate). */
    struct Mapping
    {
        float erDelayBottom, erDelayRange;
        float tailDelayBottom, tailDelayRange;
        float erDiffusionBottom, erDiffusionRange;
        float tailDiffusionBottom, tailDiffusionRange;
        float erFeedbackBottom, erFeedbackRange;
        float decayBottomSamples, decayRangeSamples;
        float intensityCurve, decayCurve;
    };

    static float responseCurveExponent (float defaultValue) noexcept
    {
        return -0.30103f / std::log10 (defaultValue);
    }

    /** Controls outside their range would stretch delays past the prepared capacities
        (a line growing on the audio thread) or feed a logarithm a negative number. */
    static float limitUnit (float v) noexcept { return std::isfinite (v) ? juce::jlimit (0.0f, 1.0f, v) : 0.0f; }
    static float limitHertz (float v) noexcept { return std::isfinite (v) ? juce::jlimit (20.0f, 22000.0f, v) : 20.0f; }

    float range (const std::string& key) const
    {
        const auto it = rangeValues.find (key);
        return it != rangeValues.end() ? it->second : 0.0f;
    }

    float msToSamples (float ms) const noexcept { return (ms * sampleRate) / 1000.0f; }

    float currentValue (const char* id) const { return limitUnit (this->parameterHandler->getRawValue (id)); }

    static juce::int64 deriveSeed (juce::int64 seed, juce::uint64 stream) noexcept
    {
        // splitmix64: nearby seeds give unrelated streams.
        auto z = (juce::uint64) seed + stream * 0x9E3779B97F4A7C15ull;
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return (juce::int64) (z ^ (z >> 31));
    }

    Mapping makeMapping() const
    {
        Mapping m;
        m.erDelayBottom = range ("idbv_er_bottom");
        m.erDelayRange = range ("idbv_er_top") - m.erDelayBottom;
        m.tailDelayBottom = range ("idbv_tl_bottom");
        m.tailDelayRange = range ("idbv_tl_top") - m.tailDelayBottom;
        m.erDiffusionBottom = range ("ddrs_er_bottom");
        m.erDiffusionRange = range ("ddrs_er_top") - m.erDiffusionBottom;
        m.tailDiffusionBottom = range ("ddrs_tl_bottom");
        m.tailDiffusionRange = range ("ddrs_tl_top") - m.tailDiffusionBottom;
        m.erFeedbackBottom = range ("decay_er_bottom");
        m.erFeedbackRange = range ("decay_er_top") - m.erFeedbackBottom;
        m.decayBottomSamples = range ("decayTime_bottom") * sampleRate;
        m.decayRangeSamples = (range ("decayTime_top") - range ("decayTime_bottom")) * sampleRate;
        m.intensityCurve = responseCurveExponent (range ("dampingIntensity_default"));
        m.decayCurve = responseCurveExponent ((range ("decayTime_default") - range ("decayTime_bottom"))
                                              / (range ("decayTime_top") - range ("decayTime_bottom")));
        return m;
    }

    template <typename Ring>
    void runFrames (Ring& ring, size_t numFrames) noexcept
    {
        auto** work = this->channelData;
        const auto frames = std::min (numFrames, this->blockLength);

        for (size_t f = 0; f < frames; ++f)
        {
            Frame frame;
            for (size_t c = 0; c < N; ++c)
                frame[c] = work[c][f];

            const auto wasFadingOut = ring.fade.getTargetValue() == 0.0f;
            ring.processFrame (frame);

            // A fade-out that turned into a fade-in is the switch at zero gain.
            if (wasFadingOut && ring.fade.getTargetValue() != 0.0f)
                onSwitch (ring);

            for (size_t c = 0; c < N; ++c)
                work[c][f] = frame[c];
        }
    }

    void onSwitch (EarlyRefDiffRing<SampleType, N>&) noexcept {}

    /** The swept tail lines take a new size here, at zero output, rather than the moment
        the size moves: a jump of their length under full feedback would click. */
    void onSwitch (DiffusionRing<SampleType, N>&) noexcept
    {
        tail.modulatedBaseDelays = { pendingModulatedBaseDelay, pendingModulatedBaseDelay };
        tail.renewLfoAmplitudes();
    }

    //==============================================================================
    void applyInitialMapping()
    {
        const auto m = makeMapping();

        const auto tl = msToSamples (currentValue ("size") * m.tailDelayRange + m.tailDelayBottom);
        setTailBaseDelays (tl);
        tail.modulatedBaseDelays = { tl, tl };
        pendingModulatedBaseDelay = tl;
        tail.updateInternalDelays (tl);

        const auto er = msToSamples (currentValue ("size") * m.erDelayRange + m.erDelayBottom);
        earlyReflections.updateInternalDelays (er);

        // Nothing is pending beyond what was just applied, so a fade reaching zero before
        // the first size update never switches to stale lengths (e.g. another rate's).
        tail.pendingRingDelay = tl;
        earlyReflections.pendingRingDelay = er;

        tail.ringDelay = 10.0f;
        earlyReflections.ringDelay = 10.0f;

        earlyReflections.diffusor.maximumDelayRange = (std::int32_t) msToSamples (range ("ddrs_er_top")) + 1;
        earlyReflections.diffusor.refreshMaximumDelayRangeSize();
        tail.diffusor.maximumDelayRange = (std::int32_t) msToSamples (range ("ddrs_tl_top")) + 1;
        tail.diffusor.refreshMaximumDelayRangeSize();

        const auto erRange = (std::int32_t) msToSamples ((1.0f - currentValue ("diffusion")) * m.erDiffusionRange + m.erDiffusionBottom);
        earlyReflections.diffusor.delayRange = erRange;
        earlyReflections.diffusor.refreshDelayTimes();
        earlyReflections.pendingDiffusionRange = (float) erRange;

        const auto tailRange = (std::int32_t) msToSamples ((1.0f - currentValue ("diffusion")) * m.tailDiffusionRange + m.tailDiffusionBottom);
        tail.diffusionRange = (float) tailRange;
        tail.diffusor.delayRange = tailRange;
        tail.diffusor.refreshDelayTimes();
        tail.pendingDiffusionRange = (float) tailRange;
        tail.halfDiffusionRange = (float) tailRange * 0.5f;
        tail.loopDelay = tail.meanBaseDelay + tail.halfDiffusionRange;

        // Stale on purpose: the next zero crossing of a fade re-applies what is pending.
        tail.diffusionRange = 10.0f;
        earlyReflections.diffusionRange = 10.0f;

        registerUpdateFunctions (m);

        tail.sineLfo.setRunningFrequency();
        tail.cosineLfo.setRunningFrequency();

        const auto modulationCurve = responseCurveExponent (range ("modulationIntensity_default"));
        const auto depth = std::pow (10.0f, -0.481486052f / modulationCurve);
        if (depth > 0.0f)
            tail.modulationDepth = depth * range ("maximumModulationIntensity");

        tail.renewLfoAmplitudes();

        // The rate-dependent values (damping filters, loop gain) follow a new rate at once
        // instead of waiting for their control to move.
        applyCurrentValues (m);
    }

    void applyCurrentValues (const Mapping& m)
    {
        updateEarlyDamping (this->parameterHandler->getRawValue ("dampingFreq_room_er"));
        updateTailDamping (this->parameterHandler->getRawValue ("dampingFreq_room_tl"));
        updateDampingIntensity (m, this->parameterHandler->getRawValue ("dampingIntensity"));
        updateDecay (m, this->parameterHandler->getRawValue ("decay"));
    }

    void registerUpdateFunctions (const Mapping& m)
    {
        auto& handler = *this->parameterHandler;
        handler.addUpdateFunction ("dampingFreq_room_er", [this] (float v) { updateEarlyDamping (v); });
        handler.addUpdateFunction ("dampingFreq_room_tl", [this] (float v) { updateTailDamping (v); });
        handler.addUpdateFunction ("dampingIntensity", [this, m] (float v) { updateDampingIntensity (m, v); });
        handler.addUpdateFunction ("decay", [this, m] (float v) { updateDecay (m, v); });
        handler.addUpdateFunction ("size", [this, m] (float v) { updateSize (m, v); });
        handler.addUpdateFunction ("diffusion", [this, m] (float v) { updateDiffusion (m, v); });
    }

    //==============================================================================
    /** First-order low-pass {n, n, n + 1, n − 1} with n = tan(π f / fs). The design
        frequency stays below Nyquist: above it the pole would leave the unit circle
        (only possible at rates under 44.1 kHz). */
    static typename Coefficients::Ptr makeDampingLowPass (float cutoff, double rate)
    {
        const auto designCutoff = std::min (cutoff, (float) (rate * 0.499));
        const auto n = std::tan ((designCutoff * 3.1415927f) / (float) rate);
        return new Coefficients (n, n, n + 1.0f, n - 1.0f);
    }

    void updateEarlyDamping (float v)
    {
        v = limitHertz (v);
        const auto cutoff = (std::int32_t) ((22000.0f - v) * 0.5f + v);
        earlyReflections.dampingFrequency = cutoff;
        earlyReflections.setDampingCoefficients (makeDampingLowPass ((float) cutoff, earlyReflections.sampleRate));
    }

    void updateTailDamping (float v)
    {
        const auto cutoff = (std::int32_t) limitHertz (v);
        tail.dampingFrequency = cutoff;
        tail.setDampingCoefficients (makeDampingLowPass ((float) cutoff, tail.sampleRate));
    }

    void updateDampingIntensity (const Mapping& m, float v) noexcept
    {
        tail.dampingBlend = (SampleType) std::pow (10.0f, std::log10 (limitUnit (v)) / m.intensityCurve);
    }

    void updateDecay (const Mapping& m, float v) noexcept
    {
        v = limitUnit (v);
        this->decayShape = std::pow (10.0f, std::log10 (v) / m.decayCurve);
        earlyReflections.feedback = (SampleType) std::max (std::min (v * m.erFeedbackRange + m.erFeedbackBottom, 1.0f), 0.0f);
        updateTailLoopGain (m);
    }

    void updateSize (const Mapping& m, float v) noexcept
    {
        v = limitUnit (v);

        const auto tl = msToSamples (v * m.tailDelayRange + m.tailDelayBottom);
        tail.pendingRingDelay = tl;
        setTailBaseDelays (tl);
        pendingModulatedBaseDelay = tl;
        tail.fade.setTargetValue (0.0f);

        earlyReflections.pendingRingDelay = msToSamples (v * m.erDelayRange + m.erDelayBottom);
        earlyReflections.fade.setTargetValue (0.0f);

        updateTailLoopGain (m);
        switchAtOnceIfUnheard();
    }

    void updateDiffusion (const Mapping& m, float v) noexcept
    {
        const auto u = 1.0f - limitUnit (v);

        earlyReflections.pendingDiffusionRange = (float) (std::int32_t) msToSamples (u * m.erDiffusionRange + m.erDiffusionBottom);
        earlyReflections.fade.setTargetValue (0.0f);

        tail.pendingDiffusionRange = (float) (std::int32_t) msToSamples (u * m.tailDiffusionRange + m.tailDiffusionBottom);
        tail.halfDiffusionRange = tail.pendingDiffusionRange * 0.5f;
        tail.loopDelay = tail.halfDiffusionRange + tail.meanBaseDelay;
        tail.fade.setTargetValue (0.0f);

        updateTailLoopGain (m);
        switchAtOnceIfUnheard();
    }

    /** Before the first block after a preparation there is nothing to fade: the values the
        engine pushes then are applied at once, so a sound played right at the start keeps
        its reverb instead of meeting both rings fading out. */
    void switchAtOnceIfUnheard()
    {
        if (heardSincePreparation)
            return;

        switchNow (earlyReflections);
        switchNow (tail);
        onSwitch (tail);
    }

    template <typename Ring>
    static void switchNow (Ring& ring)
    {
        if (! juce::approximatelyEqual (ring.ringDelay, ring.pendingRingDelay))
        {
            ring.updateInternalDelays (ring.pendingRingDelay);
            ring.ringDelay = ring.pendingRingDelay;
        }

        if (! juce::approximatelyEqual (ring.diffusionRange, ring.pendingDiffusionRange))
        {
            ring.diffusor.delayRange = (std::int32_t) ring.pendingDiffusionRange;
            ring.diffusor.refreshDelayTimes();
            ring.diffusionRange = ring.pendingDiffusionRange;
        }

        ring.fade.setCurrentAndTargetValue (1.0f);
    }

    /** Six unmodulated base delays at tl (the modulated pair follows at the switch); the
        loop length is the mean of all eight plus half the diffusion range. */
    void setTailBaseDelays (float tl) noexcept
    {
        tail.meanBaseDelay = 0.0f;
        for (size_t i = 0; i < N - tail.numModulatedLines; ++i)
        {
            tail.meanBaseDelay += tl;
            tail.baseDelays[i] = tl;
        }
        tail.meanBaseDelay = ((tl + tl) + tail.meanBaseDelay) * 0.125f;
        tail.loopDelay = tail.meanBaseDelay + tail.halfDiffusionRange;
    }

    /** One pass through a loop of loopDelay samples loses 60 dB × loopDelay / T. */
    void updateTailLoopGain (const Mapping& m) noexcept
    {
        const auto t = this->decayShape * m.decayRangeSamples + m.decayBottomSamples;
        const auto gain = std::pow (0.001f, tail.loopDelay / t);
        tail.feedbackGain = (SampleType) std::max (std::min (gain, 1.0f), 0.0f);
    }

    //==============================================================================
    float sampleRate = 48000.0f;
    RangeSet rangeValues;
    EarlyRefDiffRing<SampleType, N> earlyReflections;
    DiffusionRing<SampleType, N> tail;
    float earlyReflectionsGain = 0.0f;
    float outputGain = 0.0f;
    float pendingModulatedBaseDelay = 10.0f;
    bool heardSincePreparation = false;
};
