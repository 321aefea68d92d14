#pragma once

#include "parameters/SonarisParameterHandler.h"

#include <juce_dsp/juce_dsp.h>

#include <memory>

/** The reverb engine. This first version holds the parameter set and leaves
    the audio untouched; the signal chain joins it later. */
template <typename SampleType>
class Sonaris
{
public:
    explicit Sonaris(juce::AudioProcessor& processor)
        : parameterHandler(std::make_shared<SonarisParameterHandler>(processor))
    {
        parameterHandler->initiate();
    }

    void prepare(const juce::dsp::ProcessSpec& spec)
    {
        processSpec = spec;
        parameterHandler->prepareSmoothers(spec.sampleRate);
    }

    void process(juce::dsp::AudioBlock<SampleType>&) noexcept {}

    void reset() noexcept {}

    SonarisParameterHandler& getParameterHandler() noexcept { return *parameterHandler; }
    std::shared_ptr<SonarisParameterHandler> getParameterHandlerPointer() const noexcept { return parameterHandler; }

private:
    juce::dsp::ProcessSpec processSpec {};
    std::shared_ptr<SonarisParameterHandler> parameterHandler;
};
