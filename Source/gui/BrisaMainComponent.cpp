#include "gui/BrisaMainComponent.h"

#include "core/PluginProcessor.h"

MainComponent::MainComponent(SonarisAudioProcessor& owner, juce::AudioProcessorValueTreeState& state,
                             vanta::HexGridColorManager& colorManager)
    : processor(owner),
      valueTreeState(state),
      toneLabel({}, {}),
      shapeLabel({}, {}),
      dampingLabel({}, {}),
      mix(makeKnob("Mix", " %", "mix")),
      decay(makeKnob("Decay", "", "decay")),
      frequency(makeKnob("Frequency", " Hz", "dampingFreq_room_tl")),
      preDelay(makeKnob("PreDelay", " ms", "predelayMs")),
      intensity(makeKnob("Intensity", " %", "dampingIntensity")),
      diffusion(makeKnob("Diffusion", " %", "diffusion")),
      size(makeKnob("Size", " m", "size")),
      lowCut(makeKnob("Low Cut", " Hz", "lowCut")),
      highCut(makeKnob("High Cut", " Hz", "highCut")),
      tilt(makeKnob("Tilt", "", "tilt")),
      hexGridColorManager(colorManager)
{
    // Every knob inherits the panel's look.
    setLookAndFeel(&hexGridColorManager.getRoomLookAndFeel());

    // The titles are painted by the background; these labels only carry the help.
    toneLabel.setComponentID("toneLabel");
    shapeLabel.setComponentID("shapeLabel");
    dampingLabel.setComponentID("dampingLabel");
    for (auto* label : { &toneLabel, &shapeLabel, &dampingLabel })
    {
        addAndMakeVisible(*label);
        label->setTooltip(tooltipTexts.tooltipFor(label->getComponentID().toStdString()));
    }

    decay->labelHeightRatio = 0.12f;
    decay->textBoxHeightRatio = 0.1f;
    decay->textBoxWidthRatio = 0.28f;
    mix->labelHeightRatio = 0.18f;
    mix->textBoxHeightRatio = 0.15f;
    mix->textBoxWidthRatio = 0.5f;
    preDelay->labelHeightRatio = 0.18f;
    preDelay->textBoxHeightRatio = 0.15f;
    preDelay->textBoxWidthRatio = 0.4f;

    addKnob(*decay, decayAttachment);
    addKnob(*mix, mixAttachment);
    addKnob(*frequency, frequencyAttachment);
    addKnob(*preDelay, preDelayAttachment);
    addKnob(*intensity, intensityAttachment);
    addKnob(*diffusion, diffusionAttachment);
    addKnob(*size, sizeAttachment);
    addKnob(*highCut, highCutAttachment);
    addKnob(*lowCut, lowCutAttachment);
    addKnob(*tilt, tiltAttachment);

    // Only the slider carries the help, not the knob's name label.
    const std::pair<VantaButtonComponent*, const char*> tips[] = {
        { mix.get(), "mixKnob" },
        { decay.get(), "decayKnob" },
        { frequency.get(), "dampingFrequencyKnob" },
        { preDelay.get(), "preDelayKnob" },
        { intensity.get(), "dampingIntensityKnob" },
        { diffusion.get(), "diffusionKnob" },
        { size.get(), "sizeKnobRooms" },
        { lowCut.get(), "lowCutKnob" },
        { highCut.get(), "highCutKnob" },
        { tilt.get(), "tiltKnob" },
    };
    for (const auto& [knob, key] : tips)
        knob->slider.setTooltip(tooltipTexts.tooltipFor(key));
}

MainComponent::~MainComponent()
{
    // Attachments go first (they talk to the sliders), then the inherited look.
    mixAttachment.reset();
    frequencyAttachment.reset();
    intensityAttachment.reset();
    preDelayAttachment.reset();
    diffusionAttachment.reset();
    sizeAttachment.reset();
    highCutAttachment.reset();
    lowCutAttachment.reset();
    tiltAttachment.reset();
    decayAttachment.reset();
    setLookAndFeel(nullptr);
}

std::shared_ptr<VantaButtonComponent> MainComponent::makeKnob(const char* name, const char* suffix,
                                                              const char* parameterId)
{
    auto knob = std::make_shared<VantaButtonComponent>(name, suffix);
    knob->setComponentID(parameterId);
    return knob;
}

void MainComponent::addKnob(VantaButtonComponent& knob, std::unique_ptr<Attachment>& attachment)
{
    addAndMakeVisible(knob);
    attachment = std::make_unique<Attachment>(valueTreeState, knob.getComponentID(), knob.slider);
}

VantaButtonComponent* MainComponent::getKnobFor(const juce::String& parameterId) noexcept
{
    for (auto* knob : { mix.get(), decay.get(), frequency.get(), preDelay.get(), intensity.get(), diffusion.get(),
                        size.get(), lowCut.get(), highCut.get(), tilt.get() })
        if (knob->getComponentID() == parameterId)
            return knob;
    return nullptr;
}

void MainComponent::resized()
{
    const auto w = static_cast<float>(getWidth());
    const auto h = static_cast<float>(getHeight());
    const auto n = [](float v) { return juce::roundToInt(v); };

    mix->setBounds(n(0.01f * w), n(0.062f * h), n(0.38f * h), n(0.38f * h));
    preDelay->setBounds(n(0.242f * w), n(0.079f * h), n(0.28f * h), n(0.28f * h));
    decay->setBounds(n(0.09f * w), n(0.41f * h), n(0.58f * h), n(0.58f * h));

    auto* background = hexGridColorManager.getBackground();
    if (background == nullptr)
        return;

    const auto cell = [background](int column, int row) { return background->getCellBounds(column, row); };
    toneLabel.setBounds(cell(5, 2));
    shapeLabel.setBounds(cell(6, 2));
    dampingLabel.setBounds(cell(7, 2));
    tilt->setBounds(cell(4, 2));
    highCut->setBounds(cell(4, 3));
    size->setBounds(cell(5, 3));
    frequency->setBounds(cell(6, 3));
    lowCut->setBounds(cell(4, 4));
    diffusion->setBounds(cell(5, 4));
    intensity->setBounds(cell(6, 4));
}
