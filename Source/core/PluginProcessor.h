#pragma once

#include "dsp/Sonaris.h"

#include <juce_audio_processors/juce_audio_processors.h>

/** The object the host creates for every instance of Brisa. */
class SonarisAudioProcessor : public juce::AudioProcessor
{
public:
    SonarisAudioProcessor();
    ~SonarisAudioProcessor() override;

    const juce::String getName() const override;
    bool acceptsMidi() const override { return false; }
    bool producesMidi() const override { return false; }
    bool isMidiEffect() const override { return false; }
    double getTailLengthSeconds() const override { return 40.0; }

    int getNumPrograms() override { return 1; }
    int getCurrentProgram() override { return 0; }
    void setCurrentProgram(int) override {}
    const juce::String getProgramName(int) override { return {}; }
    void changeProgramName(int, const juce::String&) override {}

    bool hasEditor() const override { return true; }
    juce::AudioProcessorEditor* createEditor() override;

    bool isBusesLayoutSupported(const BusesLayout& layouts) const override;
    void prepareToPlay(double sampleRate, int samplesPerBlock) override;
    void releaseResources() override;
    void processBlock(juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midi) override;
    using juce::AudioProcessor::processBlock;

    void getStateInformation(juce::MemoryBlock& destData) override;
    void setStateInformation(const void* data, int sizeInBytes) override;

    juce::AudioProcessorValueTreeState& getValueTreeState();
    Sonaris<float>& getEngine() noexcept { return engine; }

    /** Makes the reverb's random draws repeatable (tests, offline rendering);
        call before prepareToPlay. Without it every instance sounds a little different. */
    void setRandomSeed(juce::int64 seed) { engine.setRandomSeed(seed); }

    static constexpr const char* versionString = "1.1.9";

private:
    Sonaris<float> engine;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(SonarisAudioProcessor)
};
