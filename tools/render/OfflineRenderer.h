#pragma once

#include "TailLength.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <functional>

/** Drives a plug-in processor the way a host does, offline: set the bus layout,
    prepareToPlay(rate, block), then processBlock on consecutive host-sized blocks
    (the last one shorter) over the input and its tail. Parameters are whatever
    the processor holds when render() is called. */
class OfflineRenderer
{
public:
    using Progress = std::function<void(double fraction)>;

    OfflineRenderer(juce::AudioProcessor& processorToDrive, int hostBlockSize);

    /** Renders 1- or 2-channel input; the result has the input's channel count and
        its length plus the tail. */
    juce::AudioBuffer<float> render(const juce::AudioBuffer<float>& input,
                                    double sampleRate,
                                    TailLength tail,
                                    const Progress& progress = {});

    /** Wall-clock seconds spent in prepareToPlay and processBlock by the last render. */
    double getProcessingSeconds() const noexcept { return processingSeconds; }

private:
    void prepare(int numChannels, double sampleRate);

    juce::AudioProcessor& processor;
    const int blockSize;
    double processingSeconds = 0.0;
};
