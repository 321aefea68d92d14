#pragma once

#include "gui/HexGridColorManager.h"
#include "gui/TooltipTexts.h"
#include "gui/VantaButtonComponent.h"

#include <juce_audio_processors/juce_audio_processors.h>
#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

class SonarisAudioProcessor;

/** Transparent layer over the background carrying the ten knobs and the hover
    areas of the section titles. Knobs of the sections sit on honeycomb cells. */
class MainComponent : public juce::Component
{
public:
    using Attachment = juce::AudioProcessorValueTreeState::SliderAttachment;

    MainComponent(SonarisAudioProcessor& processor, juce::AudioProcessorValueTreeState& state,
                  vanta::HexGridColorManager& colorManager);
    ~MainComponent() override;

    void paint(juce::Graphics&) override {}
    void resized() override;

    /** The knob unit bound to a parameter ID, or nullptr. */
    VantaButtonComponent* getKnobFor(const juce::String& parameterId) noexcept;

private:
    std::shared_ptr<VantaButtonComponent> makeKnob(const char* name, const char* suffix, const char* parameterId);
    void addKnob(VantaButtonComponent& knob, std::unique_ptr<Attachment>& attachment);

    TooltipTexts tooltipTexts;
    SonarisAudioProcessor& processor;
    juce::AudioProcessorValueTreeState& valueTreeState;
    juce::Label toneLabel, shapeLabel, dampingLabel;

    std::shared_ptr<VantaButtonComponent> mix, decay, frequency, preDelay, intensity, diffusion, size, lowCut, highCut,
        tilt;

    std::unique_ptr<Attachment> mixAttachment, frequencyAttachment, intensityAttachment, preDelayAttachment,
        diffusionAttachment, sizeAttachment, highCutAttachment, lowCutAttachment, tiltAttachment, decayAttachment;

    vanta::HexGridColorManager& hexGridColorManager;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(MainComponent)
};
