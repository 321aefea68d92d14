#include "gui/DozavazaRodudeVovuzu.h"

#include "core/PluginProcessor.h"

#include "BinaryData.h"

namespace
{
// Makes our look the default before any member that reads it is built, and
// remembers the one it replaced.
juce::LookAndFeel* installAsDefault(juce::LookAndFeel& ours)
{
    auto* previous = &juce::LookAndFeel::getDefaultLookAndFeel();
    juce::LookAndFeel::setDefaultLookAndFeel(&ours);
    // The framework caches typefaces per font name and style and does not
    // notice a new default look; without this, text drawn before the editor
    // opened would keep the system face.
    juce::Typeface::clearTypefaceCache();
    return previous;
}
} // namespace

bool SonarisAudioProcessorEditor::CustomFontLookAndFeel::isBoldStyle(const juce::String& style)
{
    juce::StringArray words;
    words.addTokens(style, " \t-_,", "");
    return words.contains("bold", true);
}

juce::Typeface::Ptr SonarisAudioProcessorEditor::CustomFontLookAndFeel::getTypefaceForFont(const juce::Font& font)
{
    return isBoldStyle(font.getTypefaceStyle()) ? getCustomBoldFont() : getCustomRegularFont();
}

juce::Typeface::Ptr SonarisAudioProcessorEditor::CustomFontLookAndFeel::getCustomBoldFont()
{
    static juce::Typeface::Ptr typeface = juce::Typeface::createSystemTypefaceFor(
        BinaryData::SatoshiBold_otf, static_cast<size_t>(BinaryData::SatoshiBold_otfSize));
    return typeface;
}

juce::Typeface::Ptr SonarisAudioProcessorEditor::CustomFontLookAndFeel::getCustomRegularFont()
{
    static juce::Typeface::Ptr typeface = juce::Typeface::createSystemTypefaceFor(
        BinaryData::SatoshiRegular_otf, static_cast<size_t>(BinaryData::SatoshiRegular_otfSize));
    return typeface;
}

SonarisAudioProcessorEditor::SonarisAudioProcessorEditor(SonarisAudioProcessor& owner,
                                                         juce::AudioProcessorValueTreeState& state)
    : juce::AudioProcessorEditor(owner),
      customFontLookAndFeel(),
      previousDefaultLookAndFeel(installAsDefault(customFontLookAndFeel)),
      processor(owner),
      hexGridColorManager(10, 6, &hexBackground),
      hexBackground(10, 6, hexWidthRatio, -hexOriginColumns * hexWidthRatio, hexOriginY),
      mainComponent(owner, state, hexGridColorManager),
      valueTreeState(state)
{
    hexBackground.setGradientColour(hexGridColorManager.palette["gradient"]);
    hexBackground.setGrid(hexGridColorManager.getGrid());

    addAndMakeVisible(hexBackground);
    addAndMakeVisible(mainComponent);
    addAndMakeVisible(helpModeButton);
    infoButton.setLookAndFeel(&helpModeToggleButtonLookAndFeel);
    addAndMakeVisible(infoButton);
    infoButton.addListener(this);
    helpModeButton.addListener(this);
    helpModeButton.setClickingTogglesState(true);
    helpModeButton.setLookAndFeel(&helpModeToggleButtonLookAndFeel);
    helpModeButton.setTooltip(tooltipFor("helpModeButton"));

    infoOverlay = std::make_unique<InfoOverlay>();
    infoOverlay->setHostFormat(static_cast<int>(processor.wrapperType));
    addChildComponent(*infoOverlay);

    getConstrainer()->setFixedAspectRatio(defaultWidth / defaultHeight);
    setResizeLimits(static_cast<int>(minimumWidth), static_cast<int>(minimumWidth / 1.8),
                    static_cast<int>(maximumWidth), static_cast<int>(maximumWidth / 1.8));
    setSize(static_cast<int>(defaultWidth), static_cast<int>(defaultHeight));

    // Audio Unit hosts size the view themselves.
    const bool resizable = processor.wrapperType != juce::AudioProcessor::wrapperType_AudioUnit
                           && processor.wrapperType != juce::AudioProcessor::wrapperType_AudioUnitv3;
    setResizable(resizable, resizable);
}

SonarisAudioProcessorEditor::~SonarisAudioProcessorEditor()
{
    setLookAndFeel(nullptr);
    helpModeButton.setLookAndFeel(nullptr);
    infoButton.setLookAndFeel(nullptr);
    helpModeButton.removeListener(this);
    infoButton.removeListener(this);
    tooltipWindow.reset();
    infoOverlay.reset();

    // Hand the default look back while ours still exists, so nothing (another
    // open editor, the standalone window) is left drawing with a dead object.
    // Only when ours is still the current one: a later editor may have
    // installed its own, which stays.
    if (&juce::LookAndFeel::getDefaultLookAndFeel() == &customFontLookAndFeel)
    {
        juce::LookAndFeel::setDefaultLookAndFeel(previousDefaultLookAndFeel.get());
        juce::Typeface::clearTypefaceCache();
    }
}

void SonarisAudioProcessorEditor::paint(juce::Graphics& g)
{
    g.fillAll(getLookAndFeel().findColour(juce::ResizableWindow::backgroundColourId));
}

void SonarisAudioProcessorEditor::resized()
{
    const int w = getWidth();
    const int h = getHeight();
    const auto hf = static_cast<float>(h);

    // The panel places knobs on background cells: background first.
    hexBackground.setBounds(0, 0, w, h);
    mainComponent.setBounds(0, 0, w, h);
    helpModeButton.setBounds(juce::roundToInt(0.02f * hf), juce::roundToInt(hf - 0.1f * hf - 0.02f * hf),
                             juce::roundToInt(0.1f * hf), juce::roundToInt(0.1f * hf));

    const int logoWidth = (w * 303) / 10000;
    const int margin = static_cast<int>(static_cast<float>(w) * 0.021f);
    const int logoHeight = static_cast<int>(static_cast<float>(logoWidth) * 137.0f / 18.0f);
    infoButton.setBounds(w - logoWidth - margin, h - (15 * margin) / 10 - logoHeight, logoWidth, logoHeight);

    if (infoOverlay != nullptr)
        infoOverlay->setBounds(0, 0, w, h);
}

void SonarisAudioProcessorEditor::buttonClicked(juce::Button* button)
{
    if (button == &helpModeButton)
    {
        if (helpModeButton.getToggleState())
        {
            tooltipWindow.reset();
            tooltipWindow = std::make_unique<juce::TooltipWindow>(this, 10);

            // Nudge the pointer so the element under it shows its tip at once.
            auto mouse = juce::Desktop::getInstance().getMainMouseSource();
            const auto position = mouse.getScreenPosition();
            mouse.setScreenPosition({ position.x, position.y + 1.0f });
        }
        else
        {
            tooltipWindow.reset();
        }
    }
    else if (button == &infoButton && infoOverlay != nullptr)
    {
        infoOverlay->setVisible(true);
        infoOverlay->toFront(false);
    }
}
