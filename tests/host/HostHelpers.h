#pragma once

// Loading the built plug-in binaries through the framework's hosting code.
#include <gtest/gtest.h>

#include <juce_audio_processors/juce_audio_processors.h>

#include <cmath>
#include <map>
#include <memory>

namespace host
{
enum class Format { vst3, lv2 };

inline std::string formatName(const testing::TestParamInfo<Format>& info)
{
    return info.param == Format::vst3 ? "VST3" : "LV2";
}

inline std::unique_ptr<juce::AudioPluginInstance> loadPlugin(Format format, double sampleRate = 48000.0, int blockSize = 512)
{
    juce::OwnedArray<juce::PluginDescription> types;
    std::unique_ptr<juce::AudioPluginFormat> pluginFormat;

    if (format == Format::vst3)
    {
        pluginFormat = std::make_unique<juce::VST3PluginFormat>();
        pluginFormat->findAllTypesForFile(types, BRISA_VST3_PATH);
    }
    else
    {
        // The framework's LV2 host only scans its default folders unless told.
        pluginFormat = std::make_unique<juce::LV2PluginFormat>();
        const auto bundleFolder = juce::File(BRISA_LV2_PATH).getParentDirectory();
        pluginFormat->searchPathsForPlugins(juce::FileSearchPath(bundleFolder.getFullPathName()), false, false);
        pluginFormat->findAllTypesForFile(types, BRISA_LV2_URI);
    }

    if (types.isEmpty())
        return {};

    juce::String error;
    auto instance = pluginFormat->createInstanceFromDescription(*types[0], sampleRate, blockSize, error);
    if (instance == nullptr)
        ADD_FAILURE() << "cannot instantiate: " << error;
    return instance;
}

inline juce::AudioProcessorParameter* findParameter(juce::AudioPluginInstance& plugin, const juce::String& id)
{
    for (auto* parameter : plugin.getParameters())
        if (parameter->getName(100) == id)
            return parameter;
    return nullptr;
}

inline const juce::StringArray parameterIds { "mix", "predelayMs", "decay", "highCut", "lowCut", "tilt",
                                       "size", "diffusion", "dampingFreq_room_er", "dampingFreq_room_tl",
                                       "dampingIntensity" };

inline bool processIsFinite(juce::AudioPluginInstance& plugin, double sampleRate, int maxBlock, int numBlocks)
{
    plugin.setRateAndBufferSizeDetails(sampleRate, maxBlock);
    plugin.prepareToPlay(sampleRate, maxBlock);
    juce::AudioBuffer<float> buffer(2, maxBlock);
    juce::MidiBuffer midi;
    juce::Random random(7);
    bool finite = true;
    for (int b = 0; b < numBlocks; ++b)
    {
        const int n = 1 + random.nextInt(maxBlock);
        juce::AudioBuffer<float> view(buffer.getArrayOfWritePointers(), 2, n);
        for (int c = 0; c < 2; ++c)
            for (int i = 0; i < n; ++i)
                view.setSample(c, i, random.nextFloat() * 2.0f - 1.0f);
        plugin.processBlock(view, midi);
        for (int c = 0; c < 2; ++c)
            for (int i = 0; i < n; ++i)
                finite = finite && std::isfinite(view.getSample(c, i));
    }
    plugin.releaseResources();
    return finite;
}

} // namespace host
