#include "OfflineRenderer.h"

#include <cmath>

namespace
{
double now()
{
    return juce::Time::getMillisecondCounterHiRes() * 0.001;
}
} // namespace

OfflineRenderer::OfflineRenderer(juce::AudioProcessor& processorToDrive, int hostBlockSize)
    : processor(processorToDrive), blockSize(juce::jmax(1, hostBlockSize))
{
}

void OfflineRenderer::prepare(int numChannels, double sampleRate)
{
    const auto set = numChannels == 1 ? juce::AudioChannelSet::mono() : juce::AudioChannelSet::stereo();
    juce::AudioProcessor::BusesLayout layout;
    layout.inputBuses.add(set);
    layout.outputBuses.add(set);
    processor.setBusesLayout(layout);
    processor.setRateAndBufferSizeDetails(sampleRate, blockSize);
    processor.setNonRealtime(true);
    processor.prepareToPlay(sampleRate, blockSize);
}

juce::AudioBuffer<float> OfflineRenderer::render(const juce::AudioBuffer<float>& input,
                                                 double sampleRate,
                                                 TailLength tail,
                                                 const Progress& progress)
{
    const int numChannels = juce::jlimit(1, 2, input.getNumChannels());
    const int inputLength = input.getNumSamples();
    const double tailSeconds = tail.automatic ? TailLength::maximumSeconds : juce::jmax(0.0, tail.seconds);
    const int limit = inputLength + (int) std::llround(tailSeconds * sampleRate);
    const int quietWindow = (int) std::llround(TailLength::quietSeconds * sampleRate);
    const float quietLevel = juce::Decibels::decibelsToGain((float) TailLength::quietLevelDb);

    juce::AudioBuffer<float> output(numChannels, limit);
    output.clear();
    for (int c = 0; c < numChannels; ++c)
        output.copyFrom(c, 0, input, c, 0, inputLength);

    juce::MidiBuffer midi;
    processingSeconds = 0.0;
    double started = now();

    prepare(numChannels, sampleRate);

    int position = 0;
    int end = limit;
    int quietFrom = inputLength; // first sample of the current run of quiet tail

    while (position < limit)
    {
        const int n = juce::jmin(blockSize, limit - position);
        juce::AudioBuffer<float> block(output.getArrayOfWritePointers(), numChannels, position, n);
        processor.processBlock(block, midi);

        if (tail.automatic)
        {
            for (int i = juce::jmax(0, inputLength - position); i < n; ++i)
                for (int c = 0; c < numChannels; ++c)
                    if (std::abs(block.getSample(c, i)) >= quietLevel)
                        quietFrom = position + i + 1;
        }
        position += n;

        if (tail.automatic && position >= quietFrom + quietWindow)
        {
            end = juce::jmin(limit, quietFrom + quietWindow);
            break;
        }

        if (progress)
        {
            processingSeconds += now() - started;
            progress((double) position / (double) limit);
            started = now();
        }
    }

    processor.releaseResources();
    processingSeconds += now() - started;

    output.setSize(numChannels, end, true);
    if (progress)
        progress(1.0);
    return output;
}
