#pragma once

#include "gui/BrisaMainComponent.h"
#include "gui/HelpModeToggleButtonLookAndFeel.h"
#include "gui/HexBackground.h"
#include "gui/HexGridColorManager.h"
#include "gui/InfoOverlay.h"
#include "gui/TooltipTexts.h"

#include <juce_audio_processors/juce_audio_processors.h>
#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

class SonarisAudioProcessor;

/** The plug-in window: honeycomb background, knob panel, help-mode toggle,
    info button and overlay. Help texts are looked up in the editor itself. */
class SonarisAudioProcessorEditor : public juce::AudioProcessorEditor,
                                    public juce::Button::Listener,
                                    public TooltipTexts
{
public:
    /** Default look of the whole plug-in: the framework's, with the two
        embedded faces replacing the sans-serif font. */
    class CustomFontLookAndFeel : public juce::LookAndFeel_V4
    {
    public:
        juce::Typeface::Ptr getTypefaceForFont(const juce::Font& font) override;

        /** True when the style names "Bold" as a whole word, ignoring case. */
        static bool isBoldStyle(const juce::String& style);

        static juce::Typeface::Ptr getCustomBoldFont();
        static juce::Typeface::Ptr getCustomRegularFont();
    };

    SonarisAudioProcessorEditor(SonarisAudioProcessor& processor, juce::AudioProcessorValueTreeState& state);
    ~SonarisAudioProcessorEditor() override;

    void paint(juce::Graphics& g) override;
    void resized() override;
    void buttonClicked(juce::Button* button) override;

    // For hosts of tests: read-only views of the parts.
    juce::ToggleButton& getHelpModeButton() noexcept { return helpModeButton; }
    juce::TextButton& getInfoButton() noexcept { return infoButton; }
    InfoOverlay& getInfoOverlay() noexcept { return *infoOverlay; }
    MainComponent& getMainComponent() noexcept { return mainComponent; }
    HexBackground& getHexBackground() noexcept { return hexBackground; }
    juce::TooltipWindow* getTooltipWindow() const noexcept { return tooltipWindow.get(); }
    CustomFontLookAndFeel& getCustomFontLookAndFeel() noexcept { return customFontLookAndFeel; }

private:
    CustomFontLookAndFeel customFontLookAndFeel;
    // The default look before ours, restored when this editor goes away.
    juce::WeakReference<juce::LookAndFeel> previousDefaultLookAndFeel;
    SonarisAudioProcessor& processor;
    float hexOriginColumns = 1.1f;
    float hexOriginY = -0.178f;
    double defaultWidth = 720.0;
    double defaultHeight = 400.0;
    float hexWidthRatio = 1.0f / 7.0f;
    double minimumWidth = 694.0;
    double maximumWidth = 1500.0;
    vanta::HexGridColorManager hexGridColorManager;
    HexBackground hexBackground;
    MainComponent mainComponent;
    juce::ToggleButton helpModeButton;
    std::unique_ptr<juce::TooltipWindow> tooltipWindow;
    juce::AudioProcessorValueTreeState& valueTreeState;
    HelpModeToggleButtonLookAndFeel helpModeToggleButtonLookAndFeel;
    juce::TextButton infoButton;
    std::unique_ptr<InfoOverlay> infoOverlay;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(SonarisAudioProcessorEditor)
};
