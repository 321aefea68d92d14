#include "core/PluginProcessor.h"

#include "gui/DozavazaRodudeVovuzu.h"

#include <cmath>

SonarisAudioProcessor::SonarisAudioProcessor()
    : juce::AudioProcessor(BusesProperties()
                               .withInput("Input", juce::AudioChannelSet::stereo(), true)
                               .withOutput("Output", juce::AudioChannelSet::stereo(), true)),
      engine(*this)
{
    getValueTreeState().state.setProperty("version", versionString, nullptr);
}

SonarisAudioProcessor::~SonarisAudioProcessor() = default;

const juce::String SonarisAudioProcessor::getName() const
{
    return "Brisa";
}

juce::AudioProcessorValueTreeState& SonarisAudioProcessor::getValueTreeState()
{
    return engine.getParameterHandler().getValueTreeState();
}

juce::AudioProcessorEditor* SonarisAudioProcessor::createEditor()
{
    return new SonarisAudioProcessorEditor(*this, getValueTreeState());
}

bool SonarisAudioProcessor::isBusesLayoutSupported(const BusesLayout& layouts) const
{
    const auto output = layouts.getMainOutputChannelSet();
    if (output != juce::AudioChannelSet::mono() && output != juce::AudioChannelSet::stereo())
        return false;

    return layouts.getMainInputChannelSet() == output;
}

void SonarisAudioProcessor::prepareToPlay(double sampleRate, int samplesPerBlock)
{
    engine.prepare({ sampleRate,
                     (juce::uint32) juce::jmax(0, samplesPerBlock),
                     (juce::uint32) juce::jmax(0, getTotalNumInputChannels()) });
}

void SonarisAudioProcessor::releaseResources()
{
    engine.reset();
}

void SonarisAudioProcessor::processBlock(juce::AudioBuffer<float>& buffer, juce::MidiBuffer&)
{
    juce::ScopedNoDenormals noDenormals;

    for (int channel = getTotalNumInputChannels(); channel < getTotalNumOutputChannels(); ++channel)
        buffer.clear(channel, 0, buffer.getNumSamples());

    juce::dsp::AudioBlock<float> block(buffer);

    engine.getParameterHandler().dispatchUpdates();
    engine.process(block);
}

void SonarisAudioProcessor::getStateInformation(juce::MemoryBlock& destData)
{
    const auto state = getValueTreeState().copyState();
    if (const auto xml = state.createXml())
        copyXmlToBinary(*xml, destData);
}

void SonarisAudioProcessor::setStateInformation(const void* data, int sizeInBytes)
{
    if (data == nullptr || sizeInBytes <= 0)
        return;

    const auto xml = getXmlFromBinary(data, sizeInBytes);
    auto& valueTreeState = getValueTreeState();
    if (xml == nullptr || ! xml->getTagName().equalsIgnoreCase(valueTreeState.state.getType().toString()))
        return;

    // A value that is not a finite number must never reach a parameter: drop
    // that child, and the parameter keeps its present value.
    for (auto* child = xml->getFirstChildElement(); child != nullptr;)
    {
        auto* next = child->getNextElement();
        if (child->hasAttribute("value") && ! std::isfinite(child->getDoubleAttribute("value")))
            xml->removeChildElement(child, true);
        child = next;
    }

    // The framework would reset a parameter without a child to its default;
    // a parameter the blob does not mention keeps its present value instead.
    for (auto* parameter : getParameters())
    {
        auto* ranged = dynamic_cast<juce::RangedAudioParameter*>(parameter);
        if (ranged == nullptr || xml->getChildByAttribute("id", ranged->getParameterID()) != nullptr)
            continue;

        auto* child = xml->createNewChildElement("PARAM");
        child->setAttribute("id", ranged->getParameterID());
        child->setAttribute("value", ranged->convertFrom0to1(ranged->getValue()));
    }

    valueTreeState.replaceState(juce::ValueTree::fromXml(*xml));
}

// The plug-in formats' entry point.
juce::AudioProcessor* JUCE_CALLTYPE createPluginFilter()
{
    return new SonarisAudioProcessor();
}
