#pragma once

#include "gui/VantaColors.h"
#include "gui/VantaLookAndFeel.h"

#include <juce_gui_basics/juce_gui_basics.h>

/** Dimmed card over the whole editor with the version line, the host format,
    the maker's logo and a Close button. */
class InfoOverlay : public juce::Component, public juce::Button::Listener
{
public:
    InfoOverlay();
    ~InfoOverlay() override;

    void paint(juce::Graphics& g) override;
    void resized() override;
    void buttonClicked(juce::Button* button) override;

    /** The host's wrapper type (juce::AudioProcessor::WrapperType as int). */
    void setHostFormat(int format) noexcept { hostFormat = format; }

    static juce::String getHostFormatName(int format);
    juce::String getInfoText() const;

    // Layout pieces, also read by paint.
    juce::Rectangle<float> getPanel() const noexcept { return panel; }
    juce::Rectangle<int> getTextArea() const noexcept;
    float getTextHeight() const noexcept { return 0.45f * margin(); }
    juce::Rectangle<float> getLogoArea() const noexcept;
    juce::TextButton& getCloseButton() noexcept { return closeButton; }

    static constexpr const char* webAddress = "https://vanta.audio";
    static constexpr const char* rightsNotice = "\xc2\xa9 2026 Vanta Audio. All rights reserved.";

private:
    float margin() const noexcept { return 0.1f * panel.getWidth(); }

    VantaColors colours;
    VantaLookAndFeel lookAndFeel;
    juce::TextButton closeButton;
    juce::Image logo;
    int hostFormat = 0;
    juce::Rectangle<float> panel;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(InfoOverlay)
};
