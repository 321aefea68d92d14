// Knobs and parameters follow each other in both directions.
#include "EditorFixture.h"

#include "TestProcessor.h"

namespace
{
juce::Label* valueBoxOf(juce::Slider& slider)
{
    for (auto* child : slider.getChildren())
        if (auto* label = dynamic_cast<juce::Label*>(child))
            return label;
    return nullptr;
}

float plainValue(juce::AudioProcessorValueTreeState& state, const char* id)
{
    return state.getRawParameterValue(id)->load();
}
} // namespace

TEST(EditorParameters, ValueBoxesShowParameterTextPlusSuffix)
{
    OpenEditor open;
    auto& panel = open.editor->getMainComponent();

    struct Case
    {
        const char* id;
        const char* text;
    };
    // Defaults of the parameter set, as the value boxes show them.
    const Case cases[] = {
        { "mix", "33.3 %" },         { "decay", "1.00 sec" },         { "tilt", "none" },
        { "size", "11 m" },          { "diffusion", "50.0 %" },       { "dampingIntensity", "50.0 %" },
        { "predelayMs", "20 ms" },   { "highCut", "10000 Hz" },       { "lowCut", "20 Hz" },
        { "dampingFreq_room_tl", "5000 Hz" },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.id);
        auto* knob = panel.getKnobFor(c.id);
        ASSERT_NE(knob, nullptr);
        auto* box = valueBoxOf(knob->slider);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->getText(), c.text);
    }
}

TEST(EditorParameters, SliderMovesParameter)
{
    OpenEditor open;
    auto& state = open.processor.getValueTreeState();
    auto& mix = *open.editor->getMainComponent().getKnobFor("mix");

    mix.slider.setValue(0.5, juce::sendNotificationSync);
    EXPECT_FLOAT_EQ(plainValue(state, "mix"), 0.5f);
    EXPECT_EQ(valueBoxOf(mix.slider)->getText(), "50.0 %");

    // Double-click default comes from the parameter.
    EXPECT_NEAR(mix.slider.getDoubleClickReturnValue(), 0.333, 1e-6);
}

TEST(EditorParameters, TypedTextGoesThroughTheParameterText)
{
    OpenEditor open;
    auto& state = open.processor.getValueTreeState();
    auto& decay = *open.editor->getMainComponent().getKnobFor("decay");

    auto* box = valueBoxOf(decay.slider);
    ASSERT_NE(box, nullptr);
    box->setText("2.0", juce::sendNotificationSync);

    // 2.0 s on the 0.5 + 2 v² curve: v = sqrt(0.75), snapped to the 0.001 grid.
    EXPECT_NEAR(plainValue(state, "decay"), 0.866f, 1e-6f);
    EXPECT_EQ(box->getText(), "2.00 sec");

    auto* mixBox = valueBoxOf(open.editor->getMainComponent().getKnobFor("mix")->slider);
    mixBox->setText("50 %", juce::sendNotificationSync);
    EXPECT_FLOAT_EQ(plainValue(state, "mix"), 0.5f);
}

TEST(EditorParameters, HostChangeMovesSlider)
{
    OpenEditor open;
    auto& state = open.processor.getValueTreeState();
    auto& panel = open.editor->getMainComponent();

    setPlainValue(state, "decay", 0.25f);
    setPlainValue(state, "highCut", 2000.0f);
    EXPECT_NEAR(panel.getKnobFor("decay")->slider.getValue(), 0.25, 1e-6);
    EXPECT_NEAR(panel.getKnobFor("highCut")->slider.getValue(), 2000.0, 1e-3);
    EXPECT_EQ(valueBoxOf(panel.getKnobFor("highCut")->slider)->getText(), "2000 Hz");

    // A new editor shows the current values.
    open.editor.reset();
    SonarisAudioProcessorEditor again(open.processor, state);
    EXPECT_NEAR(again.getMainComponent().getKnobFor("decay")->slider.getValue(), 0.25, 1e-6);
}
