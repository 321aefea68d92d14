#pragma once

#include "dsp/AbstractAlgorithm.h"

/** An algorithm that leaves its block unchanged: the engine's chain around the
    reverb (FIFO timing, predelay, filters, mix) can be measured on its own. */
template <typename SampleType, size_t numChannels, size_t N, size_t M>
class PassThroughAlgorithm : public AbstractAlgorithm<SampleType, numChannels, N, M>
{
public:
    using AbstractAlgorithm<SampleType, numChannels, N, M>::AbstractAlgorithm;

    void prepare(const juce::dsp::ProcessSpec&) override {}
    void process(juce::dsp::AudioBlock<SampleType>&) override {}
    void reset() override {}
};
