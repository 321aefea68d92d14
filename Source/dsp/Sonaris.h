#pragma once

#include "dsp/AbstractAlgorithm.h"
#include "dsp/FractionalDelay.h"
#include "dsp/Room.h"
#include "dsp/TiltFilter.h"
#include "parameters/ParameterRangeValues.h"
#include "parameters/SonarisParameterHandler.h"

#include <juce_dsp/juce_dsp.h>

#include <array>
#include <cmath>
#include <memory>
#include <optional>
#include <vector>

/** The reverb engine: dry copy, gliding stereo predelay, the reverb algorithm
    behind a 32-sample block FIFO, tilt, high cut, low cut and a constant-power
    dry/wet mix, in place on the host's block.

    Thread rule: prepare() and reset() allocate and run while audio is stopped;
    process() and the parameter callbacks run on the audio thread and allocate
    nothing but the tilt's coefficient objects when the tilt moves. */
template <typename SampleType>
class Sonaris
{
public:
    using Algorithm = AbstractAlgorithm<SampleType, 2, 8, 8>;
    using CutFilter = juce::dsp::ProcessorDuplicator<juce::dsp::IIR::Filter<SampleType>,
                                                     juce::dsp::IIR::Coefficients<SampleType>>;

    static constexpr size_t chunkLength = 32;

    explicit Sonaris(juce::AudioProcessor& processor)
        : parameterHandler(std::make_shared<SonarisParameterHandler>(processor))
    {
        // Placeholder first-order designs; the first preparation replaces them.
        *highCutFilter.state = juce::dsp::IIR::Coefficients<SampleType>(1, 0, 1, 0);
        *lowCutFilter.state = juce::dsp::IIR::Coefficients<SampleType>(1, 0, 1, 0);

        dryWetMixer.reset();
        algorithm = std::make_unique<Room<SampleType, 2, 8, 8>>(parameterHandler, rangeValues.roomValues);

        parameterHandler->initiate();
        dryWetMixer.setMixingRule(juce::dsp::DryWetMixingRule::sin3dB); // recomputes the gains
    }

    /** Swaps the reverb algorithm; only before the first preparation. */
    void replaceAlgorithm(std::unique_ptr<Algorithm> newAlgorithm)
    {
        jassert(! algorithmReady);
        algorithm = std::move(newAlgorithm);
        if (randomSeed.has_value())
            algorithm->setRandomSeed(*randomSeed);
    }

    /** Makes the reverb's random draws repeatable (tests, offline rendering).
        Call before prepare: preparation draws. */
    void setRandomSeed(juce::int64 seed)
    {
        randomSeed = seed;
        algorithm->setRandomSeed(seed);
    }

    void prepare(const juce::dsp::ProcessSpec& spec)
    {
        // A host that prepares with a rate or block size of 0 gets silence
        // until it prepares properly, never a crash.
        prepared = spec.sampleRate > 0.0 && std::isfinite(spec.sampleRate) && spec.maximumBlockSize > 0
                   && spec.numChannels > 0;
        if (! prepared)
            return;

        auto ownSpec = spec;
        ownSpec.numChannels = juce::jmin(spec.numChannels, (juce::uint32) 2);

        maxBlockSize = ownSpec.maximumBlockSize;
        processSpec = ownSpec;
        sampleRateFloat = (float) ownSpec.sampleRate;

        prepareFifo(ownSpec);
        parameterHandler->prepareSmoothers(ownSpec.sampleRate);
        preparePredelays();

        // Every preparation rebuilds the callback table, so it never holds
        // duplicates however often the host prepares.
        if (algorithmReady)
        {
            parameterHandler->clearUpdateFunctions();
            registerEngineCallbacks();
        }
        algorithm->prepare(ownSpec);

        highCutFilter.prepare(ownSpec);
        lowCutFilter.prepare(ownSpec);
        tiltFilter.prepare(ownSpec);

        if (! algorithmReady)
        {
            setAlgorithm((float) algorithmIndex);
        }
        else if (! settingUpAlgorithm) // the set-up pushes the values itself
        {
            // Coefficients and delay times depend on the sample rate: a new
            // rate takes every current value again.
            parameterHandler->callAllUpdateFunctions();
        }
        // What was just pushed counts as dispatched, so the first block after a
        // preparation neither ramps from zero nor re-sends unchanged values.
        parameterHandler->markAllDispatched();

        predelaySamples.assign(maxBlockSize, 0.0f);
        dryBuffer.setSize(2, (int) maxBlockSize);
        dryBuffer.clear();
        dryBlock = juce::dsp::AudioBlock<SampleType>(dryBuffer).getSubsetChannelBlock(0, ownSpec.numChannels);

        dryWetMixer.prepare(ownSpec);
        predelaySmoother.reset((int) std::floor(0.3 * (double) sampleRateFloat));
    }

    void process(juce::dsp::AudioBlock<SampleType>& block) noexcept
    {
        if (! prepared)
        {
            block.clear();
            return;
        }

        const auto channels = juce::jmin(block.getNumChannels(), (size_t) processSpec.numChannels);
        if (block.getNumChannels() > channels)
            block.getSubsetChannelBlock(channels, block.getNumChannels() - channels).clear();

        // Hosts that send more than they announced are served in prepared-size pieces.
        auto active = block.getSubsetChannelBlock(0, channels);
        for (size_t start = 0; start < active.getNumSamples(); start += maxBlockSize)
        {
            auto piece = active.getSubBlock(start, juce::jmin((size_t) maxBlockSize, active.getNumSamples() - start));
            processPiece(piece);
        }
    }

    void reset() noexcept
    {
        dryBuffer.clear();
        for (auto& predelay : predelays)
            predelay.reset();
        algorithm->reset();
        highCutFilter.reset();
        lowCutFilter.reset();
        tiltFilter.reset();
        dryWetMixer.reset();
    }

    SonarisParameterHandler& getParameterHandler() noexcept { return *parameterHandler; }
    std::shared_ptr<SonarisParameterHandler> getParameterHandlerPointer() const noexcept { return parameterHandler; }

    // Read access for tests and tools.
    const CutFilter& getHighCutFilter() const noexcept { return highCutFilter; }
    const CutFilter& getLowCutFilter() const noexcept { return lowCutFilter; }
    const TiltFilter& getTiltFilter() const noexcept { return tiltFilter; }
    const FractionalDelay<SampleType>& getPredelay(size_t channel) const noexcept { return predelays[channel]; }
    const juce::SmoothedValue<double, juce::ValueSmoothingTypes::Linear>& getPredelaySmoother() const noexcept
    {
        return predelaySmoother;
    }
    size_t getFifoSize() const noexcept { return (size_t) fifoSize; }
    bool isPrepared() const noexcept { return prepared; }

private:
    void setAlgorithm(float index)
    {
        algorithmReady = true;
        activeAlgorithm = 0;
        reset();
        algorithm->reset();

        parameterHandler->clearUpdateFunctions();
        registerEngineCallbacks((size_t) index);

        settingUpAlgorithm = true;
        prepare(processSpec);
        settingUpAlgorithm = false;
        parameterHandler->callAllUpdateFunctions();
    }

    void registerEngineCallbacks(size_t index = 1)
    {
        auto& handler = *parameterHandler;

        handler.addUpdateFunction("predelayMs", [this](float v) { predelaySmoother.setTargetValue((double) v); });
        handler.addUpdateFunction("highCut", [this](float v)
        {
            const float n = std::tan(3.1415927f * (float) (int) v / sampleRateFloat);
            setFirstOrder(*highCutFilter.state, n, n, n + 1.0f, n - 1.0f);
        });
        handler.addUpdateFunction("lowCut", [this](float v)
        {
            const float n = std::tan(3.1415927f * (float) (int) v / sampleRateFloat);
            setFirstOrder(*lowCutFilter.state, 1.0f, -1.0f, n + 1.0f, n - 1.0f);
        });
        handler.addUpdateFunction("mix", [this](float v)
        {
            dryWetMixer.setWetMixProportion(juce::jlimit(0.0f, 1.0f, v));
        });

        // The tilt control's middle lands on the algorithm's default tilt.
        auto set = index == 1 ? rangeValues.roomValues : ParameterRangeValues::ValueSet {};
        const float k = -0.30103f / std::log10(set["tilt_default"]);
        handler.addUpdateFunction("tilt", [this, k](float v)
        {
            tiltFilter.updateTilt(std::pow(10.0f, std::log10(v) / k));
        });
    }

    // Writes a first-order design into an existing coefficient object, normalised
    // as the framework does, so the filters keep their object and nothing allocates.
    static void setFirstOrder(juce::dsp::IIR::Coefficients<SampleType>& c, float b0, float b1, float a0, float a1) noexcept
    {
        if (c.coefficients.size() != 3 || ! std::isfinite(b0) || ! std::isfinite(a1) || a0 == 0.0f)
            return;
        const float a0inv = 1.0f / a0;
        auto* raw = c.coefficients.getRawDataPointer();
        raw[0] = b0 * a0inv;
        raw[1] = b1 * a0inv;
        raw[2] = a1 * a0inv;
    }

    void prepareFifo(const juce::dsp::ProcessSpec& spec)
    {
        fifoSize = (int) juce::nextPowerOfTwo((int) spec.maximumBlockSize + 32);
        reverbRing.setSize((int) spec.numChannels, fifoSize);
        reverbRing.clear();
        readPosition = juce::jmin(fifoSize, (int) chunkLength) & (fifoSize - 1);
        numReadable = 0;
        reverbChunk = juce::dsp::AudioBlock<SampleType>(reverbRing).getSubBlock(0, chunkLength);
        chunkPosition = 0;
    }

    void preparePredelays()
    {
        const auto& range = parameterHandler->getValueTreeState().getParameterRange("predelayMs");
        // One sample of headroom: the top of the range must not grow the line on the audio thread.
        const int maximum = (int) std::ceil(juce::jmax(range.start, range.end) * sampleRateFloat / 1000.0f) + 1;
        const float current = parameterHandler->getRawValue("predelayMs");
        for (auto& predelay : predelays)
        {
            predelay.setMaximumDelay(maximum);
            predelay.setDelaySamples(current * sampleRateFloat / 1000.0f);
        }
    }

    void processPiece(juce::dsp::AudioBlock<SampleType>& block) noexcept
    {
        const auto numChannels = block.getNumChannels();
        const auto numSamples = block.getNumSamples();

        // A broken upstream plug-in may send NaN or infinity: it is silence here,
        // so nothing non-finite ever enters a delay line or filter state.
        for (size_t c = 0; c < numChannels; ++c)
        {
            auto* data = block.getChannelPointer(c);
            for (size_t i = 0; i < numSamples; ++i)
                if (! std::isfinite(data[i]))
                    data[i] = 0;
        }

        dryBlock.getSubsetChannelBlock(0, numChannels).getSubBlock(0, numSamples).copyFrom(block);

        processPredelay(block);
        processReverbFifo(block);

        juce::dsp::ProcessContextReplacing<SampleType> context(block);
        tiltFilter.process(context);
        highCutFilter.process(context);
        lowCutFilter.process(context);

        dryWetMixer.pushDrySamples(dryBlock.getSubsetChannelBlock(0, numChannels).getSubBlock(0, numSamples));
        dryWetMixer.mixWetSamples(block);
    }

    void processPredelay(juce::dsp::AudioBlock<SampleType>& block) noexcept
    {
        const auto numSamples = block.getNumSamples();
        const bool gliding = ! juce::approximatelyEqual(predelaySmoother.getCurrentValue(), predelaySmoother.getTargetValue());

        if (gliding)
            for (size_t i = 0; i < numSamples; ++i)
                predelaySamples[i] = (float) juce::jmax(0.0, (double) sampleRateFloat * predelaySmoother.getNextValue() / 1000.0);

        for (size_t c = 0; c < block.getNumChannels(); ++c)
        {
            auto* data = block.getChannelPointer(c);
            auto& predelay = predelays[c];
            for (size_t i = 0; i < numSamples; ++i)
            {
                data[i] = predelay.processSample(data[i]);
                if (gliding)
                    predelay.setDelaySamples(predelaySamples[i]);
            }
        }
    }

    void processReverbFifo(juce::dsp::AudioBlock<SampleType>& block) noexcept
    {
        const auto numChannels = juce::jmin(block.getNumChannels(), (size_t) reverbRing.getNumChannels());
        const int numSamples = (int) block.getNumSamples();
        const int mask = fifoSize - 1;

        // Append the block to the ring (wrapping in two copies when needed).
        const int count = juce::jmin(numSamples, fifoSize - numReadable);
        const int writeStart = (readPosition + numReadable) & mask;
        const int firstPart = juce::jmin(count, fifoSize - writeStart);
        for (size_t c = 0; c < numChannels; ++c)
        {
            reverbRing.copyFrom((int) c, writeStart, block.getChannelPointer(c), firstPart);
            if (count > firstPart)
                reverbRing.copyFrom((int) c, 0, block.getChannelPointer(c) + firstPart, count - firstPart);
        }
        numReadable += count;

        // Play out processed chunks; a new chunk is taken the moment one is used up.
        const auto chunkChannels = juce::jmin(numChannels, reverbChunk.getNumChannels());
        for (int k = 0; k < numSamples;)
        {
            const int m = juce::jmin((int) (chunkLength - chunkPosition), numSamples - k);
            for (size_t c = 0; c < chunkChannels; ++c)
                std::copy_n(reverbChunk.getChannelPointer(c) + chunkPosition, m, block.getChannelPointer(c) + k);
            chunkPosition += (size_t) m;
            k += m;

            if (chunkPosition == chunkLength && numReadable >= (int) chunkLength)
            {
                reverbChunk = juce::dsp::AudioBlock<SampleType>(reverbRing).getSubBlock((size_t) readPosition, chunkLength);
                readPosition = (readPosition + (int) chunkLength) & mask;
                numReadable -= (int) chunkLength;
                algorithm->process(reverbChunk);
                chunkPosition = 0;
            }
        }
    }

    size_t maxBlockSize = 0;
    juce::AudioBuffer<SampleType> reverbRing;
    juce::dsp::AudioBlock<SampleType> reverbChunk;
    int fifoSize = 0, readPosition = 0, numReadable = 0;
    size_t chunkPosition = 0;
    std::shared_ptr<SonarisParameterHandler> parameterHandler;
    std::array<FractionalDelay<SampleType>, 2> predelays;
    bool algorithmReady = false;
    size_t algorithmIndex = 1;
    std::unique_ptr<Algorithm> algorithm;
    CutFilter highCutFilter, lowCutFilter;
    TiltFilter tiltFilter;
    juce::dsp::ProcessSpec processSpec {};
    float sampleRateFloat = 0.0f;
    ParameterRangeValues rangeValues;
    juce::AudioBuffer<SampleType> dryBuffer;
    juce::dsp::AudioBlock<SampleType> dryBlock;
    juce::dsp::DryWetMixer<SampleType> dryWetMixer;
    std::vector<float> predelaySamples;
    juce::SmoothedValue<double, juce::ValueSmoothingTypes::Linear> predelaySmoother { 0.0 };
    size_t activeAlgorithm = 0;
    bool prepared = false;
    bool settingUpAlgorithm = false;
    std::optional<juce::int64> randomSeed;
};
