#pragma once

#include "parameters/SonarisParameterHandler.h"

#include <juce_dsp/juce_dsp.h>

#include <memory>

/** The interface the engine drives a reverb algorithm through. An algorithm
    works in place on blocks of exactly `blockLength` samples with one or two
    channels; internally it has N (and M) channels of work buffers. */
template <typename SampleType, size_t numChannels, size_t N, size_t M>
class AbstractAlgorithm
{
public:
    explicit AbstractAlgorithm(std::shared_ptr<SonarisParameterHandler> handler)
        : parameterHandler(std::move(handler))
    {
        channelData = new SampleType*[N];
        for (size_t c = 0; c < N; ++c)
        {
            channelData[c] = new SampleType[blockLength];
            std::fill(channelData[c], channelData[c] + blockLength, SampleType(0));
        }
        workBlock = juce::dsp::AudioBlock<SampleType>(channelData, N, 0, blockLength);
    }

    virtual ~AbstractAlgorithm() { cleanUp(); }

    AbstractAlgorithm(const AbstractAlgorithm&) = delete;
    AbstractAlgorithm& operator=(const AbstractAlgorithm&) = delete;

    /** Sizes everything for the given ProcessSpec and registers the algorithm's update
        callbacks; never called while audio runs. */
    virtual void prepare(const juce::dsp::ProcessSpec& spec) = 0;

    /** Processes one block of exactly `blockLength` samples in place. */
    virtual void process(juce::dsp::AudioBlock<SampleType>& block) = 0;

    virtual void reset() = 0;

    /** Makes every later random draw deterministic (tests, offline rendering);
        without it, draws are seeded randomly. Call before prepare. */
    virtual void setRandomSeed(juce::int64) {}

    void cleanUp()
    {
        if (channelData == nullptr)
            return;
        for (size_t c = 0; c < N; ++c)
            delete[] channelData[c];
        delete[] channelData;
        channelData = nullptr;
    }

protected:
    std::shared_ptr<SonarisParameterHandler> parameterHandler;
    size_t blockLength = 32;
    SampleType** channelData = nullptr;
    juce::dsp::AudioBlock<SampleType> workBlock;
    float decayShape = 0.25f; // the decay control's default (0.5) through its curve
    float outputLevel = 0.9f;
};
