// Layout of the editor's parts against hand-computed bounds.
#include "EditorFixture.h"

#include "gui/RoomLookAndFeel.h"
#include "gui/VantaButtonComponent.h"

namespace
{
juce::Component* editorChild(SonarisAudioProcessorEditor& editor, const std::string& name)
{
    if (name == "helpModeButton")
        return &editor.getHelpModeButton();
    if (name == "infoButton")
        return &editor.getInfoButton();
    if (name == "hexBackground")
        return &editor.getHexBackground();
    if (name == "mainComponent")
        return &editor.getMainComponent();
    if (name == "infoOverlay")
        return &editor.getInfoOverlay();
    return nullptr;
}

juce::Component* panelChild(SonarisAudioProcessorEditor& editor, const std::string& id)
{
    auto& panel = editor.getMainComponent();
    if (auto* knob = panel.getKnobFor(id))
        return knob;
    return panel.findChildWithID(id);
}
} // namespace

TEST(EditorGeometry, ChildrenAtThreeSizes)
{
    struct Case
    {
        int w, h;
        const char* child;
        juce::Rectangle<int> expected;
    };
    const Case cases[] = {
        { 720, 400, "helpModeButton", { 8, 352, 40, 40 } },
        { 720, 400, "infoButton", { 684, 219, 21, 159 } },
        { 720, 400, "hexBackground", { 0, 0, 720, 400 } },
        { 720, 400, "mainComponent", { 0, 0, 720, 400 } },
        { 720, 400, "infoOverlay", { 0, 0, 720, 400 } },
        { 1500, 833, "helpModeButton", { 17, 733, 83, 83 } },
        { 1500, 833, "infoButton", { 1424, 445, 45, 342 } },
        { 1500, 833, "infoOverlay", { 0, 0, 1500, 833 } },
        { 694, 385, "helpModeButton", { 8, 339, 38, 38 } },
        { 694, 385, "infoButton", { 659, 205, 21, 159 } },
        { 694, 385, "mainComponent", { 0, 0, 694, 385 } },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE(std::to_string(c.w) + "x" + std::to_string(c.h) + " " + c.child);
        OpenEditor open(c.w, c.h);
        auto* child = editorChild(*open.editor, c.child);
        ASSERT_NE(child, nullptr);
        EXPECT_TRUE(sameBounds(child->getBounds(), c.expected));
    }
}

TEST(EditorGeometry, MainPanelKnobsAndLabels)
{
    struct Case
    {
        int w, h;
        const char* id;
        juce::Rectangle<int> expected;
    };
    const Case cases[] = {
        { 720, 400, "mix", { 7, 25, 152, 152 } },
        { 720, 400, "predelayMs", { 174, 32, 112, 112 } },
        { 720, 400, "decay", { 65, 164, 232, 232 } },
        { 720, 400, "tilt", { 298, 107, 103, 89 } },
        { 720, 400, "toneLabel", { 401, 107, 103, 89 } },
        { 720, 400, "shapeLabel", { 504, 107, 103, 89 } },
        { 720, 400, "dampingLabel", { 607, 107, 103, 89 } },
        { 720, 400, "highCut", { 350, 196, 103, 89 } },
        { 720, 400, "size", { 453, 196, 103, 89 } },
        { 720, 400, "dampingFreq_room_tl", { 555, 196, 103, 89 } },
        { 720, 400, "lowCut", { 298, 285, 103, 89 } },
        { 720, 400, "diffusion", { 401, 285, 103, 89 } },
        { 720, 400, "dampingIntensity", { 504, 285, 103, 89 } },
        { 1500, 833, "mix", { 15, 52, 317, 317 } },
        { 1500, 833, "predelayMs", { 363, 66, 233, 233 } },
        { 1500, 833, "decay", { 135, 342, 483, 483 } },
        { 1500, 833, "tilt", { 621, 223, 214, 186 } },
        { 1500, 833, "dampingIntensity", { 1050, 594, 214, 186 } },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE(std::to_string(c.w) + "x" + std::to_string(c.h) + " " + c.id);
        OpenEditor open(c.w, c.h);
        auto* child = panelChild(*open.editor, c.id);
        ASSERT_NE(child, nullptr);
        EXPECT_TRUE(sameBounds(child->getBounds(), c.expected));
    }
}

TEST(EditorGeometry, BackgroundAndTitles)
{
    OpenEditor open;
    auto& bg = open.editor->getHexBackground();

    struct Value
    {
        const char* name;
        float actual, expected;
    };
    const Value values[] = {
        { "s", bg.getHalfHexWidth(), 51.428574f },    { "R", bg.getHexRadius(), 59.384602f },
        { "rowStep", bg.getRowStep(), 89.076904f },   { "columnStep", bg.getColumnStep(), 102.857147f },
        { "originX", bg.getOriginX(), -113.142860f }, { "originY", bg.getOriginY(), -71.2f },
    };
    for (const auto& v : values)
        EXPECT_NEAR(v.actual, v.expected, 1e-4f) << v.name;

    // Title cells of Tone, Shape, Damping.
    EXPECT_TRUE(sameBounds(bg.getCellBounds(5, 2), { 401, 107, 103, 89 }));
    EXPECT_TRUE(sameBounds(bg.getCellBounds(6, 2), { 504, 107, 103, 89 }));
    EXPECT_TRUE(sameBounds(bg.getCellBounds(7, 2), { 607, 107, 103, 89 }));

    EXPECT_TRUE(nearBounds(bg.getLogoBounds(), { 304.24f, 13.2f, 401.76f, 65.61f }, 0.01f));

    // The honeycomb starts above and left of the window at every allowed size.
    for (int w : { 694, 720, 1500 })
    {
        open.editor->setSize(w, static_cast<int>(w / 1.8));
        EXPECT_LT(bg.getOriginY() - bg.getHexRadius() / 4.0f, 0.0f); // top vertex of row 0
        EXPECT_LT(bg.getOriginX(), 0.0f);
    }
}

TEST(EditorGeometry, InfoOverlay)
{
    struct Case
    {
        int w, h;
        juce::Rectangle<float> panel;
        juce::Rectangle<int> close;
    };
    const Case cases[] = {
        { 720, 400, { 241, 133, 238, 134 }, { 318, 227, 66, 27 } },
        { 1500, 833, { 502, 277, 496, 279 }, { 663, 472, 139, 56 } },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(std::to_string(c.w));
        OpenEditor open(c.w, c.h);
        auto& overlay = open.editor->getInfoOverlay();
        EXPECT_TRUE(nearBounds(overlay.getPanel(), c.panel, 1e-3f));
        EXPECT_TRUE(sameBounds(overlay.getCloseButton().getBounds(), c.close));
    }

    OpenEditor open;
    auto& overlay = open.editor->getInfoOverlay();
    EXPECT_TRUE(sameBounds(overlay.getTextArea(), { 264, 144, 190, 67 }));
    EXPECT_NEAR(overlay.getTextHeight(), 10.71f, 1e-3f);
    EXPECT_TRUE(nearBounds(overlay.getLogoArea(), { 415.53f, 149.75f, 47.6f, 54.92f }, 0.01f));
}

TEST(EditorGeometry, InfoTextNamesTheHostFormat)
{
    struct Case
    {
        int format;
        const char* name;
    };
    const Case cases[] = { { 0, "Undef" }, { 2, "VST3" }, { 3, "AU" },       { 6, "StdAl" },
                           { 8, "LV2" },   { 9, "Unknown" }, { -1, "Unknown" } };
    for (const auto& c : cases)
    {
        InfoOverlay overlay;
        overlay.setHostFormat(c.format);
        const auto lines = juce::StringArray::fromLines(overlay.getInfoText());
        ASSERT_EQ(lines.size(), 3);
        EXPECT_EQ(lines[0], juce::String("Version & build: 1.1.9 x64 ") + c.name);
        EXPECT_EQ(lines[1], InfoOverlay::webAddress);
    }
}

TEST(EditorGeometry, KnobUnits)
{
    struct Case
    {
        int w, h;
        float a, b, c;
        juce::Rectangle<int> label;
        float fontHeight;
        juce::Rectangle<int> slider;
        int boxWidth, boxHeight;
    };
    const Case cases[] = {
        { 103, 89, 0.23f, 0.2f, 0.75f, { 0, 0, 103, 20 }, 17.0f, { 18, 20, 66, 67 }, 66, 17 },
        { 232, 232, 0.12f, 0.1f, 0.28f, { 0, 0, 232, 27 }, 22.95f, { 26, 27, 180, 203 }, 64, 23 },
        { 152, 152, 0.18f, 0.15f, 0.5f, { 0, 0, 152, 27 }, 22.95f, { 25, 27, 101, 123 }, 76, 22 },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(std::to_string(c.w) + "x" + std::to_string(c.h));
        VantaButtonComponent unit("Name", " %");
        unit.labelHeightRatio = c.a;
        unit.textBoxHeightRatio = c.b;
        unit.textBoxWidthRatio = c.c;
        unit.setSize(c.w, c.h);
        EXPECT_TRUE(sameBounds(unit.label.getBounds(), c.label));
        EXPECT_NEAR(unit.label.getFont().getHeight(), c.fontHeight, 1e-3f);
        EXPECT_TRUE(unit.label.getFont().isBold());
        EXPECT_TRUE(sameBounds(unit.slider.getBounds(), c.slider));
        EXPECT_EQ(unit.slider.getTextBoxWidth(), c.boxWidth);
        EXPECT_EQ(unit.slider.getTextBoxHeight(), c.boxHeight);
        EXPECT_TRUE(unit.slider.isTextBoxEditable());
    }
}

TEST(EditorGeometry, KnobDrawing)
{
    const auto k = VantaLookAndFeel::getKnobGeometry(0, 0, 100, 130);
    EXPECT_FLOAT_EQ(k.radius, 47.5f);
    EXPECT_NEAR(k.lineWidth, 0.95f, 1e-6f);
    EXPECT_TRUE(nearBounds(k.body, { 2.975f, 0.475f, 94.05f, 94.05f }, 1e-4f));
    EXPECT_TRUE(sameBounds(k.shine, { 2, 0, 95, 95 }));
    EXPECT_FLOAT_EQ(k.pivot.x, 50.0f);
    EXPECT_FLOAT_EQ(k.pivot.y, 47.5f);

    // Wider than tall: centred horizontally, touching the top.
    const auto wide = VantaLookAndFeel::getKnobGeometry(10, 5, 200, 60);
    EXPECT_NEAR(wide.body.getCentreX(), 110.0f, 1e-4f);
    EXPECT_NEAR(wide.body.getY() - wide.lineWidth / 2.0f, 5.0f, 1e-4f);

    // Drawn: pointer up at position 0, down at position 1, rotating about the disc centre.
    RoomLookAndFeel lookAndFeel;
    juce::Slider slider;
    const auto render = [&](float position) {
        juce::Image image(juce::Image::ARGB, 100, 130, true);
        juce::Graphics g(image);
        lookAndFeel.drawRotarySlider(g, 0, 0, 100, 130, position, 0.0f, juce::MathConstants<float>::pi, slider);
        return image;
    };
    const auto whitesmoke = juce::Colours::whitesmoke;
    const auto up = render(0.0f);
    const auto down = render(1.0f);
    EXPECT_EQ(up.getPixelAt(50, 20), whitesmoke);
    EXPECT_NE(up.getPixelAt(50, 75), whitesmoke);
    EXPECT_EQ(down.getPixelAt(50, 75), whitesmoke);
    EXPECT_NE(down.getPixelAt(50, 20), whitesmoke);
    // Outside the disc nothing is drawn.
    for (const auto& p : { juce::Point<int>(1, 47), juce::Point<int>(98, 47), juce::Point<int>(50, 110) })
        EXPECT_EQ(up.getPixelAt(p.x, p.y).getAlpha(), 0) << p.toString();
}
