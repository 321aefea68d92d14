// Loads the built plug-in binaries through the framework's hosting code, as a
// DAW would, and checks what a host sees of Brisa.
#include <gtest/gtest.h>

#include "HostHelpers.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <cmath>
#include <memory>

using namespace host;

namespace
{
class PluginHost : public testing::TestWithParam<Format>
{
protected:
    void SetUp() override
    {
        plugin = loadPlugin(GetParam());
        ASSERT_NE(plugin, nullptr) << "the built plug-in was not found or did not load";
    }

    std::unique_ptr<juce::AudioPluginInstance> plugin;
};
} // namespace

TEST_P(PluginHost, ReportsItsIdentity)
{
    EXPECT_EQ(plugin->getName(), "Brisa");
    EXPECT_FALSE(plugin->acceptsMidi());
    EXPECT_FALSE(plugin->producesMidi());
    EXPECT_EQ(plugin->getLatencySamples(), 0);

    if (GetParam() == Format::vst3)
    {
        // The VST3 wrapper hides a single program; any program a host sees is unnamed.
        EXPECT_LE(plugin->getNumPrograms(), 1);
        for (int i = 0; i < plugin->getNumPrograms(); ++i)
            EXPECT_TRUE(plugin->getProgramName(i).isEmpty());
        EXPECT_DOUBLE_EQ(plugin->getTailLengthSeconds(), 40.0);
    }
}

TEST_P(PluginHost, AcceptsMatchingMonoOrStereoOnly)
{
    using Set = juce::AudioChannelSet;
    auto layout = [](Set in, Set out)
    {
        juce::AudioProcessor::BusesLayout l;
        l.inputBuses.add(in);
        l.outputBuses.add(out);
        return l;
    };

    EXPECT_TRUE(plugin->checkBusesLayoutSupported(layout(Set::stereo(), Set::stereo())));
    EXPECT_FALSE(plugin->checkBusesLayoutSupported(layout(Set::stereo(), Set::mono())));
    EXPECT_FALSE(plugin->checkBusesLayoutSupported(layout(Set::mono(), Set::stereo())));

    // An LV2 plug-in has a fixed port set, so only the VST3 can switch to mono.
    if (GetParam() == Format::vst3)
    {
        EXPECT_TRUE(plugin->checkBusesLayoutSupported(layout(Set::mono(), Set::mono())));
    }
}

TEST_P(PluginHost, ShowsElevenParametersWithTheirDefaultTexts)
{
    for (const auto& id : parameterIds)
        EXPECT_NE(findParameter(*plugin, id), nullptr) << id;

    int own = 0;
    for (auto* parameter : plugin->getParameters())
        own += parameterIds.contains(parameter->getName(100)) ? 1 : 0;
    EXPECT_EQ(own, 11);

    if (GetParam() != Format::vst3)
        return; // the framework's LV2 host formats values itself

    const std::pair<const char*, const char*> defaults[] = {
        { "mix", "33.3" }, { "predelayMs", "20" }, { "decay", "1.00 sec" }, { "highCut", "10000" },
        { "lowCut", "20" }, { "tilt", "none" }, { "size", "11" }, { "diffusion", "50.0" },
        { "dampingFreq_room_er", "11000" }, { "dampingFreq_room_tl", "5000" }, { "dampingIntensity", "50.0" },
    };
    for (const auto& [id, text] : defaults)
    {
        auto* parameter = findParameter(*plugin, id);
        ASSERT_NE(parameter, nullptr) << id;
        EXPECT_EQ(parameter->getCurrentValueAsText(), juce::String(text)) << id;
    }
}

TEST_P(PluginHost, RestoresEveryParameterFromItsSavedState)
{
    juce::MemoryBlock saved;
    plugin->getStateInformation(saved);

    std::map<juce::String, float> before;
    for (const auto& id : parameterIds)
    {
        auto* parameter = findParameter(*plugin, id);
        ASSERT_NE(parameter, nullptr);
        before[id] = parameter->getValue();
        parameter->setValueNotifyingHost(parameter->getValue() < 0.5f ? 0.9f : 0.1f);
    }
    // Parameter changes reach the plug-in inside the next process call.
    processIsFinite(*plugin, 48000.0, 256, 2);
    juce::MemoryBlock changed;
    plugin->getStateInformation(changed);
    EXPECT_NE(changed, saved);

    plugin->setStateInformation(saved.getData(), (int) saved.getSize());
    processIsFinite(*plugin, 48000.0, 256, 2);

    // The plug-in itself is back where it was...
    juce::MemoryBlock restored;
    plugin->getStateInformation(restored);
    EXPECT_EQ(restored.toString(), saved.toString());

    // ...and the VST3 host's parameter view follows it (the framework's LV2 host
    // does not read parameter values back from a restored state).
    if (GetParam() == Format::vst3)
    {
        for (const auto& id : parameterIds)
            EXPECT_NEAR(findParameter(*plugin, id)->getValue(), before[id], 1.0e-4f) << id;
    }
}

TEST_P(PluginHost, ProcessesFiniteAudioAtCommonRatesAndOddBlocks)
{
    for (const double rate : { 44100.0, 48000.0, 96000.0 })
        for (const int block : { 1, 37, 512, 1031 })
            EXPECT_TRUE(processIsFinite(*plugin, rate, block, 40)) << rate << " Hz, blocks up to " << block;
}

INSTANTIATE_TEST_SUITE_P(BuiltBinaries, PluginHost, testing::Values(Format::vst3, Format::lv2), formatName);

// A saved session whose value reads "nan" must not poison the plug-in.
TEST(PluginHostVst3, IgnoresAStateWithANonFiniteValue)
{
    auto plugin = loadPlugin(Format::vst3);
    ASSERT_NE(plugin, nullptr);

    auto* mix = findParameter(*plugin, "mix");
    ASSERT_NE(mix, nullptr);
    const float mixBefore = mix->getValue();

    juce::MemoryBlock hostState;
    plugin->getStateInformation(hostState);
    const auto hostXml = juce::AudioProcessor::getXmlFromBinary(hostState.getData(), (int) hostState.getSize());
    ASSERT_NE(hostXml, nullptr);
    auto* component = hostXml->getChildByName("IComponent");
    ASSERT_NE(component, nullptr);

    juce::MemoryBlock componentState;
    ASSERT_TRUE(componentState.fromBase64Encoding(component->getAllSubText()));

    // The component state is the plug-in's own blob (magic, length, XML, zero)
    // followed by the wrapper's private data.
    const auto* bytes = static_cast<const char*>(componentState.getData());
    ASSERT_GE(componentState.getSize(), 9u);
    const auto length = (size_t) juce::ByteOrder::littleEndianInt(bytes + 4);
    ASSERT_LE(8 + length + 1, componentState.getSize());
    const juce::String xmlText = juce::String::fromUTF8(bytes + 8, (int) length);
    auto state = juce::parseXML(xmlText);
    ASSERT_NE(state, nullptr);
    for (auto* child : state->getChildIterator())
    {
        if (child->getStringAttribute("id") == "mix")
            child->setAttribute("value", "nan");
        if (child->getStringAttribute("id") == "decay")
            child->setAttribute("value", 0.25); // proves the state was applied
    }

    juce::MemoryBlock poisoned;
    juce::AudioProcessor::copyXmlToBinary(*state, poisoned);
    poisoned.append(bytes + 8 + length + 1, componentState.getSize() - (8 + length + 1));
    component->deleteAllTextElements();
    component->addTextElement(poisoned.toBase64Encoding());

    juce::MemoryBlock poisonedHostState;
    juce::AudioProcessor::copyXmlToBinary(*hostXml, poisonedHostState);
    plugin->setStateInformation(poisonedHostState.getData(), (int) poisonedHostState.getSize());

    EXPECT_TRUE(processIsFinite(*plugin, 48000.0, 512, 20));
    EXPECT_FLOAT_EQ(mix->getValue(), mixBefore);
    EXPECT_NEAR(findParameter(*plugin, "decay")->getValue(), 0.25f, 1e-4f);
    EXPECT_EQ(mix->getCurrentValueAsText(), "33.3");
}
