#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

/** A do-nothing processor that owns parameters for tests of the registry. */
struct TestProcessor : juce::AudioProcessor
{
    TestProcessor()
        : juce::AudioProcessor(BusesProperties()
                                   .withInput("Input", juce::AudioChannelSet::stereo(), true)
                                   .withOutput("Output", juce::AudioChannelSet::stereo(), true))
    {
    }

    const juce::String getName() const override { return "test"; }
    void prepareToPlay(double, int) override {}
    void releaseResources() override {}
    void processBlock(juce::AudioBuffer<float>&, juce::MidiBuffer&) override {}
    double getTailLengthSeconds() const override { return 0.0; }
    bool acceptsMidi() const override { return false; }
    bool producesMidi() const override { return false; }
    juce::AudioProcessorEditor* createEditor() override { return nullptr; }
    bool hasEditor() const override { return false; }
    int getNumPrograms() override { return 1; }
    int getCurrentProgram() override { return 0; }
    void setCurrentProgram(int) override {}
    const juce::String getProgramName(int) override { return {}; }
    void changeProgramName(int, const juce::String&) override {}
    void getStateInformation(juce::MemoryBlock&) override {}
    void setStateInformation(const void*, int) override {}
};

/** Sets a parameter's plain value the way a host or an attachment does. */
inline void setPlainValue(juce::AudioProcessorValueTreeState& state, const juce::String& id, float plain)
{
    auto* parameter = state.getParameter(id);
    parameter->setValueNotifyingHost(parameter->convertTo0to1(plain));
}
