// What a host asks of the processor, answered by the class itself.
#include "core/PluginProcessor.h"

#include <gtest/gtest.h>

TEST(Processor, Identity)
{
    SonarisAudioProcessor processor;
    EXPECT_EQ(processor.getName(), "Brisa");
    EXPECT_FALSE(processor.acceptsMidi());
    EXPECT_FALSE(processor.producesMidi());
    EXPECT_FALSE(processor.isMidiEffect());
    EXPECT_EQ(processor.getTailLengthSeconds(), 40.0);
    EXPECT_EQ(processor.getLatencySamples(), 0);
    EXPECT_TRUE(processor.hasEditor());
    EXPECT_EQ(processor.getBus(true, 0)->getName(), "Input");
    EXPECT_EQ(processor.getBus(false, 0)->getName(), "Output");

    EXPECT_EQ(processor.getNumPrograms(), 1);
    processor.setCurrentProgram(3);
    processor.changeProgramName(0, "renamed");
    EXPECT_EQ(processor.getCurrentProgram(), 0);
    EXPECT_TRUE(processor.getProgramName(0).isEmpty());
    EXPECT_EQ(processor.getParameters().size(), 11);
}

TEST(Processor, AcceptsMatchingMonoOrStereoLayoutsOnly)
{
    using Set = juce::AudioChannelSet;
    struct Case { Set in, out; bool accepted; };
    const Case cases[] = {
        { Set::mono(), Set::mono(), true },       { Set::stereo(), Set::stereo(), true },
        { Set::stereo(), Set::mono(), false },    { Set::mono(), Set::stereo(), false },
        { Set::create5point1(), Set::create5point1(), false },
        { Set::disabled(), Set::stereo(), false }, { Set::stereo(), Set::disabled(), false },
        { Set::disabled(), Set::disabled(), false },
    };
    SonarisAudioProcessor processor;
    for (const auto& c : cases)
    {
        juce::AudioProcessor::BusesLayout layout;
        layout.inputBuses.add(c.in);
        layout.outputBuses.add(c.out);
        EXPECT_EQ(processor.checkBusesLayoutSupported(layout), c.accepted)
            << c.in.getDescription() << " -> " << c.out.getDescription();
    }
}

TEST(Processor, FreshInstanceCarriesItsVersion)
{
    SonarisAudioProcessor processor;
    EXPECT_EQ(processor.getValueTreeState().state.getProperty("version").toString(), "1.1.9");
}

TEST(Processor, EmptyBlockIsAccepted)
{
    SonarisAudioProcessor processor;
    processor.prepareToPlay(48000.0, 64);
    juce::AudioBuffer<float> empty(2, 0);
    juce::MidiBuffer midi;
    processor.processBlock(empty, midi);
    SUCCEED();
}
