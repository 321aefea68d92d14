// Help mode, tooltips, info overlay, size rules, fonts and palette.
#include "EditorFixture.h"

#include "gui/TooltipTexts.h"
#include "gui/VantaColors.h"

namespace
{
void setHelpMode(SonarisAudioProcessorEditor& editor, bool on)
{
    // A click toggles the state first and then notifies, like this.
    editor.getHelpModeButton().setToggleState(on, juce::sendNotificationSync);
}
} // namespace

TEST(EditorBehaviour, HelpModeCreatesAndDeletesTheTooltipWindow)
{
    OpenEditor open;
    auto& editor = *open.editor;
    EXPECT_EQ(editor.getTooltipWindow(), nullptr);

    setHelpMode(editor, true);
    auto* first = editor.getTooltipWindow();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->getParentComponent(), &editor);

    setHelpMode(editor, false);
    EXPECT_EQ(editor.getTooltipWindow(), nullptr);

    // A watcher tells a fresh window from a reused one even if the address repeats.
    juce::Component::SafePointer<juce::TooltipWindow> old(first);
    EXPECT_EQ(old.getComponent(), nullptr);
    setHelpMode(editor, true);
    ASSERT_NE(editor.getTooltipWindow(), nullptr);
    EXPECT_EQ(editor.getTooltipWindow()->getParentComponent(), &editor);
}

TEST(EditorBehaviour, TooltipsOnSlidersAndSectionTitlesOnly)
{
    OpenEditor open;
    auto& panel = open.editor->getMainComponent();
    TooltipTexts texts;

    struct Case
    {
        const char* id;
        const char* key;
    };
    const Case knobs[] = {
        { "mix", "mixKnob" },
        { "decay", "decayKnob" },
        { "predelayMs", "preDelayKnob" },
        { "tilt", "tiltKnob" },
        { "highCut", "highCutKnob" },
        { "lowCut", "lowCutKnob" },
        { "size", "sizeKnobRooms" },
        { "diffusion", "diffusionKnob" },
        { "dampingFreq_room_tl", "dampingFrequencyKnob" },
        { "dampingIntensity", "dampingIntensityKnob" },
    };
    for (const auto& c : knobs)
    {
        SCOPED_TRACE(c.id);
        auto* knob = panel.getKnobFor(c.id);
        ASSERT_NE(knob, nullptr);
        EXPECT_EQ(knob->slider.getTooltip(), texts.tooltipFor(c.key));
        EXPECT_TRUE(knob->label.getTooltip().isEmpty());
    }

    for (const char* id : { "toneLabel", "shapeLabel", "dampingLabel" })
    {
        auto* label = dynamic_cast<juce::Label*>(panel.findChildWithID(id));
        ASSERT_NE(label, nullptr) << id;
        EXPECT_EQ(label->getTooltip(), texts.tooltipFor(id));
        EXPECT_TRUE(label->getText().isEmpty());
    }

    EXPECT_EQ(open.editor->getHelpModeButton().getTooltip(),
              "Help mode enabled. Hover over elements for information on their use.");
}

TEST(EditorBehaviour, TooltipTextsKeepTheirWording)
{
    TooltipTexts texts;
    // Spot checks of wording that is easy to damage: non-ASCII quotes and the product name.
    EXPECT_TRUE(texts.tooltipFor("mixKnob").contains("Sonaris"));
    EXPECT_TRUE(texts.tooltipFor("tiltKnob").contains(juce::String::fromUTF8(u8"a \u201ctilt\u201d to")));
    EXPECT_TRUE(texts.tooltipFor("shapeLabel").startsWith(juce::String::fromUTF8(u8"The \u201cShape\u201d section")));
    EXPECT_TRUE(texts.tooltipFor("highCutKnob").endsWith(juce::String::fromUTF8(u8"\u201cDamping\u201d feature.")));
    EXPECT_EQ(texts.tooltipFor("lowCutKnob"), "A simple low cut filter to remove low frequencies.");
    EXPECT_TRUE(texts.tooltipFor("noSuchKey").isEmpty());
}

TEST(EditorBehaviour, InfoButtonShowsOverlayAndCloseHidesIt)
{
    OpenEditor open;
    auto& editor = *open.editor;
    auto& overlay = editor.getInfoOverlay();
    EXPECT_FALSE(overlay.isVisible());

    static_cast<juce::Button::Listener&>(editor).buttonClicked(&editor.getInfoButton());
    EXPECT_TRUE(overlay.isVisible());
    EXPECT_EQ(overlay.getCloseButton().getButtonText(), "Close");

    static_cast<juce::Button::Listener&>(overlay).buttonClicked(&overlay.getCloseButton());
    EXPECT_FALSE(overlay.isVisible());
}

TEST(EditorBehaviour, SizeRulesPerHostFormat)
{
    struct Case
    {
        juce::AudioProcessor::WrapperType format;
        bool resizable;
    };
    const Case cases[] = {
        { juce::AudioProcessor::wrapperType_VST3, true },
        { juce::AudioProcessor::wrapperType_LV2, true },
        { juce::AudioProcessor::wrapperType_Standalone, true },
        { juce::AudioProcessor::wrapperType_AudioUnit, false },
        { juce::AudioProcessor::wrapperType_AudioUnitv3, false },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(static_cast<int>(c.format));
        juce::AudioProcessor::setTypeOfNextNewPlugin(c.format);
        SonarisAudioProcessor processor;
        juce::AudioProcessor::setTypeOfNextNewPlugin(juce::AudioProcessor::wrapperType_Undefined);
        ASSERT_EQ(processor.wrapperType, c.format);

        SonarisAudioProcessorEditor editor(processor, processor.getValueTreeState());
        EXPECT_EQ(editor.getWidth(), 720);
        EXPECT_EQ(editor.getHeight(), 400);
        EXPECT_EQ(editor.isResizable(), c.resizable);
        EXPECT_EQ(editor.resizableCorner != nullptr, c.resizable);

        auto* constrainer = editor.getConstrainer();
        ASSERT_NE(constrainer, nullptr);
        EXPECT_DOUBLE_EQ(constrainer->getFixedAspectRatio(), 1.8);
        EXPECT_EQ(constrainer->getMinimumWidth(), 694);
        EXPECT_EQ(constrainer->getMinimumHeight(), 385);
        EXPECT_EQ(constrainer->getMaximumWidth(), 1500);
        EXPECT_EQ(constrainer->getMaximumHeight(), 833);

        // Dragging the corner: width within limits, 1.8 kept.
        for (int width : { 100, 900, 3000 })
        {
            juce::Rectangle<int> bounds(0, 0, width, 300);
            constrainer->checkBounds(bounds, editor.getBounds(), { 0, 0, 10000, 10000 }, false, false, true, true);
            EXPECT_GE(bounds.getWidth(), 694);
            EXPECT_LE(bounds.getWidth(), 1500);
            EXPECT_NEAR(bounds.getWidth() / static_cast<double>(bounds.getHeight()), 1.8, 0.01);
        }
    }
}

TEST(EditorBehaviour, BoldStylesPickTheBoldFace)
{
    using LookAndFeel = SonarisAudioProcessorEditor::CustomFontLookAndFeel;
    struct Case
    {
        const char* style;
        bool bold;
    };
    const Case cases[] = {
        { "Bold", true },      { "bold", true },     { "Bold Italic", true }, { "Italic BOLD", true },
        { "Regular", false },  { "Boldly", false },  { "SemiBold", false },   { "Unbold", false },
        { "", false },
    };
    LookAndFeel lookAndFeel;
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.style);
        EXPECT_EQ(LookAndFeel::isBoldStyle(c.style), c.bold);

        juce::Font font(12.0f);
        font.setTypefaceStyle(c.style);
        const auto expected = c.bold ? LookAndFeel::getCustomBoldFont() : LookAndFeel::getCustomRegularFont();
        EXPECT_EQ(lookAndFeel.getTypefaceForFont(font), expected);
    }

    ASSERT_NE(LookAndFeel::getCustomBoldFont(), nullptr);
    ASSERT_NE(LookAndFeel::getCustomRegularFont(), nullptr);
    EXPECT_NE(LookAndFeel::getCustomBoldFont(), LookAndFeel::getCustomRegularFont());
    EXPECT_EQ(LookAndFeel::getCustomBoldFont()->getName(), "Inter");

    // While an editor is open, default-font text gets the bold face from a bold flag.
    OpenEditor open;
    EXPECT_EQ(juce::Font(20.0f, juce::Font::bold).getTypefacePtr(), LookAndFeel::getCustomBoldFont());
}

TEST(EditorBehaviour, UnknownPaletteKeysAreTransparentBlack)
{
    VantaColors colours;
    EXPECT_EQ(colours.palette["noSuchColour"], juce::Colour(0x00000000u));
    EXPECT_EQ(colours.commonColours["noSuchColour"], juce::Colour(0x00000000u));
    EXPECT_EQ(colours.palette["knobs"], juce::Colour(0xFF5A5A5Au));
    EXPECT_EQ(colours.commonColours["backgroundOverlay"], juce::Colour(0x80000000u));
}
