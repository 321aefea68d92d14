// brisa-render against the built VST3 in a host: the same sound, and presets
// that travel both ways between the tool and the plug-in.
#include "HostHelpers.h"
#include "ToolRunner.h"

using namespace host;

namespace
{
const juce::String tool { BRISA_RENDER_PATH };
constexpr double rate = 48000.0;
constexpr int block = 512;

juce::File folderFor(const juce::String& name)
{
    auto folder = juce::File::getSpecialLocation(juce::File::tempDirectory).getChildFile("brisa-render-host").getChildFile(name);
    folder.deleteRecursively();
    folder.createDirectory();
    return folder;
}

/** The host's state of a JUCE VST3 holds the plug-in's own blob (magic, length,
    XML, zero byte) followed by the wrapper's private data. */
struct HostState
{
    std::unique_ptr<juce::XmlElement> xml;
    juce::MemoryBlock pluginBlob;
    juce::MemoryBlock wrapperData;

    static HostState of(juce::AudioPluginInstance& plugin)
    {
        HostState state;
        juce::MemoryBlock saved;
        plugin.getStateInformation(saved);
        state.xml = juce::AudioProcessor::getXmlFromBinary(saved.getData(), (int) saved.getSize());
        auto* component = state.xml != nullptr ? state.xml->getChildByName("IComponent") : nullptr;
        juce::MemoryBlock componentState;
        if (component == nullptr || ! componentState.fromBase64Encoding(component->getAllSubText()))
            return state;
        const auto* bytes = static_cast<const char*>(componentState.getData());
        if (componentState.getSize() < 9)
            return state;
        const auto size = 8 + (size_t) juce::ByteOrder::littleEndianInt(bytes + 4) + 1;
        if (size > componentState.getSize())
            return state;
        state.pluginBlob.append(bytes, size);
        state.wrapperData.append(bytes + size, componentState.getSize() - size);
        return state;
    }

    /** Gives the plug-in another blob of its own, the way a host restores a session. */
    void restoreInto(juce::AudioPluginInstance& plugin, const juce::MemoryBlock& blob)
    {
        juce::MemoryBlock componentState(blob);
        componentState.append(wrapperData.getData(), wrapperData.getSize());
        auto* component = xml->getChildByName("IComponent");
        component->deleteAllTextElements();
        component->addTextElement(componentState.toBase64Encoding());
        juce::MemoryBlock hostState;
        juce::AudioProcessor::copyXmlToBinary(*xml, hostState);
        plugin.setStateInformation(hostState.getData(), (int) hostState.getSize());
    }
};

juce::String xmlOf(const juce::MemoryBlock& blob)
{
    const auto xml = juce::AudioProcessor::getXmlFromBinary(blob.getData(), (int) blob.getSize());
    return xml != nullptr ? xml->toString() : juce::String();
}

double rmsDb(const juce::AudioBuffer<float>& audio)
{
    double energy = 0.0;
    for (int c = 0; c < audio.getNumChannels(); ++c)
        for (int i = 0; i < audio.getNumSamples(); ++i)
            energy += (double) audio.getSample(c, i) * audio.getSample(c, i);
    return 10.0 * std::log10(energy / (audio.getNumChannels() * (double) audio.getNumSamples()) + 1e-30);
}

struct MixCase
{
    const char* name;
    const char* mix;
    bool exact;
};

void PrintTo(const MixCase& c, std::ostream* os) { *os << c.name; }

class RendererVersusVst3 : public testing::TestWithParam<MixCase>
{
};
} // namespace

// The tool saves its settings as a preset; the plug-in restores it before it is
// prepared, then plays the same input in the same blocks. Unseeded, the plug-in
// draws other diffusion delays, so the wet sound agrees in level, not sample by sample.
TEST_P(RendererVersusVst3, SameSoundAsThePlugin)
{
    const auto& c = GetParam();
    const auto folder = folderFor(c.name);
    // Steady noise, long against the diffusion's delays, so that the wet level does not
    // hang on one draw of them.
    juce::AudioBuffer<float> dry(2, (int) (rate * 1.5));
    juce::Random random(21);
    for (int ch = 0; ch < 2; ++ch)
        for (int i = 0; i < dry.getNumSamples(); ++i)
            dry.setSample(ch, i, (random.nextFloat() * 2.0f - 1.0f) * 0.3f);
    const auto input = folder.getChildFile("in.wav"), output = folder.getChildFile("out.wav"),
               preset = folder.getChildFile("settings.brisa");
    ASSERT_TRUE(writeWav(input, dry, rate));

    const double tailSeconds = 2.0;
    const auto result = runTool(tool, { input.getFullPathName(), "-o", output.getFullPathName(), "--block", juce::String(block),
                                        "--tail", juce::String(tailSeconds), "--seed", "4", "--set", juce::String("mix=") + c.mix,
                                        "--set", "decay=1.5 sec", "--set", "size=9", "--save-preset", preset.getFullPathName() });
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const auto rendered = readAudio(output);

    auto plugin = loadPlugin(Format::vst3, rate, block);
    ASSERT_NE(plugin, nullptr);
    juce::MemoryBlock blob;
    ASSERT_TRUE(preset.loadFileAsData(blob));
    HostState::of(*plugin).restoreInto(*plugin, blob);
    plugin->setRateAndBufferSizeDetails(rate, block);
    plugin->prepareToPlay(rate, block);

    juce::AudioBuffer<float> played(2, dry.getNumSamples() + (int) (tailSeconds * rate));
    played.clear();
    for (int ch = 0; ch < 2; ++ch)
        played.copyFrom(ch, 0, dry, ch, 0, dry.getNumSamples());
    juce::MidiBuffer midi;
    for (int start = 0; start < played.getNumSamples(); start += block)
    {
        juce::AudioBuffer<float> view(played.getArrayOfWritePointers(), 2, start, juce::jmin(block, played.getNumSamples() - start));
        plugin->processBlock(view, midi);
    }
    plugin->releaseResources();

    ASSERT_EQ(rendered.getNumChannels(), 2);
    ASSERT_EQ(rendered.getNumSamples(), played.getNumSamples());
    if (c.exact)
    {
        for (int ch = 0; ch < 2; ++ch)
            for (int i = 0; i < played.getNumSamples(); ++i)
                ASSERT_EQ(rendered.getSample(ch, i), played.getSample(ch, i)) << ch << ":" << i;
    }
    else
    {
        EXPECT_GT(rmsDb(played), -60.0) << "the plug-in played nothing";
        EXPECT_NEAR(rmsDb(rendered), rmsDb(played), 0.5);
        RecordProperty("rmsDifferenceDb", juce::String(rmsDb(rendered) - rmsDb(played), 3).toStdString());
    }
}

INSTANTIATE_TEST_SUITE_P(Mix, RendererVersusVst3,
                         testing::Values(MixCase { "Dry", "0", true }, MixCase { "Wet", "100", false }),
                         [](const testing::TestParamInfo<MixCase>& info) { return std::string(info.param.name); });

TEST(RendererPresetInVst3, ToolPresetRestoresInThePluginAndBack)
{
    const auto folder = folderFor("presets");
    const auto fromTool = folder.getChildFile("from-tool.brisa");
    const auto result = runTool(tool, { "--set", "decay=2.0 sec", "--set", "size=15", "--set", "mix=40",
                                        "--set", "highCut=4000", "--set", "tilt=@0.25", "--save-preset", fromTool.getFullPathName() });
    ASSERT_EQ(result.exitCode, 0) << result.err;
    juce::MemoryBlock toolBlob;
    ASSERT_TRUE(fromTool.loadFileAsData(toolBlob));

    auto plugin = loadPlugin(Format::vst3, rate, block);
    ASSERT_NE(plugin, nullptr);
    auto hostState = HostState::of(*plugin);
    ASSERT_FALSE(hostState.pluginBlob.isEmpty());
    hostState.restoreInto(*plugin, toolBlob);

    // What the host shows, in the plug-in's own texts.
    const std::pair<const char*, const char*> expected[] = {
        { "decay", "2.00 sec" }, { "size", "15" }, { "mix", "40.0" }, { "highCut", "4000" }, { "tilt", "50% drk" },
        { "predelayMs", "20" } };
    for (const auto& [id, text] : expected)
        EXPECT_EQ(findParameter(*plugin, id)->getCurrentValueAsText(), juce::String(text)) << id;
    // And the plug-in saves exactly what it was given.
    EXPECT_EQ(xmlOf(HostState::of(*plugin).pluginBlob), xmlOf(toolBlob));

    // Back: the host changes values; the tool loads what the plug-in saved.
    findParameter(*plugin, "size")->setValueNotifyingHost(0.1f);
    findParameter(*plugin, "dampingIntensity")->setValueNotifyingHost(0.9f);
    processIsFinite(*plugin, rate, block, 2); // values reach a VST3 inside process calls
    const auto pluginBlob = HostState::of(*plugin).pluginBlob;
    const auto fromPlugin = folder.getChildFile("from-plugin.brisa");
    ASSERT_TRUE(fromPlugin.replaceWithData(pluginBlob.getData(), pluginBlob.getSize()));

    const auto input = folder.getChildFile("in.wav");
    ASSERT_TRUE(writeWav(input, makeBurst(2, rate, 0.05, 3), rate));
    const auto loaded = runTool(tool, { input.getFullPathName(), "-o", folder.getChildFile("out.wav").getFullPathName(),
                                        "--preset", fromPlugin.getFullPathName(), "--tail", "0", "--json" });
    ASSERT_EQ(loaded.exitCode, 0) << loaded.err;
    const auto settings = juce::JSON::parse(loaded.out)["settings"];
    for (const auto& id : parameterIds)
        EXPECT_EQ(settings[juce::Identifier(id)]["text"].toString(), findParameter(*plugin, id)->getCurrentValueAsText()) << id;
    EXPECT_EQ(settings["size"]["text"].toString(), "3.8");
    EXPECT_EQ(settings["dampingIntensity"]["text"].toString(), "90.0");
}
