// Renders the editor offscreen and checks colours where the layout puts them.
#include "EditorFixture.h"

namespace
{
juce::Image render(SonarisAudioProcessorEditor& editor, const juce::String& fileName)
{
    auto image = editor.createComponentSnapshot(editor.getLocalBounds(), true, 1.0f);
    const juce::File dir(BRISA_TEST_OUTPUT_DIR);
    dir.createDirectory();
    const auto file = dir.getChildFile(fileName);
    file.deleteFile();
    juce::FileOutputStream out(file);
    juce::PNGImageFormat().writeImageToStream(image, out);
    return image;
}

// A point inside hexagon (column, row), left of centre and below the top glow,
// clear of a knob, its value box and a section title.
juce::Point<int> cellProbe(HexBackground& bg, int column, int row)
{
    const float s = bg.getHalfHexWidth();
    const float r = bg.getHexRadius();
    const float cx = bg.getOriginX() + ((row % 2 != 0) ? s : 0.0f) + static_cast<float>(column) * bg.getColumnStep() + s;
    const float cy = bg.getOriginY() + static_cast<float>(row) * bg.getRowStep() + 0.75f * r;
    return { juce::roundToInt(cx - 0.8f * s), juce::roundToInt(cy + 0.4f * r) };
}

void checkPicture(int width, int height)
{
    SCOPED_TRACE(std::to_string(width) + "x" + std::to_string(height));
    OpenEditor open(width, height);
    auto& editor = *open.editor;
    const auto image = render(editor, "editor-" + juce::String(width) + "x" + juce::String(height) + ".png");
    ASSERT_EQ(image.getWidth(), width);
    ASSERT_EQ(image.getHeight(), height);

    auto& bg = editor.getHexBackground();
    ASSERT_LT(cellProbe(bg, 4, 2).y, height);
    ASSERT_GT(cellProbe(bg, 4, 2).y, (2 * height) / 5); // below the glow

    struct Cell
    {
        int column, row;
        juce::uint32 argb;
    };
    const Cell cells[] = {
        { 4, 2, 0xFF05251E }, { 5, 2, 0xFF05251E }, { 4, 3, 0xFF05251E }, { 4, 4, 0xFF05251E },
        { 6, 2, 0xFF00664A }, { 5, 3, 0xFF00664A }, { 5, 4, 0xFF00664A },
        { 7, 2, 0xFF00D4A8 }, { 6, 3, 0xFF00D4A8 }, { 6, 4, 0xFF00D4A8 },
        { 7, 3, 0xFF0F0F0F }, { 7, 4, 0xFF0F0F0F },
    };
    for (const auto& c : cells)
    {
        const auto p = cellProbe(bg, c.column, c.row);
        EXPECT_EQ(image.getPixelAt(p.x, p.y).getARGB(), c.argb)
            << "cell " << c.column << "," << c.row << " at " << p.toString();
    }

    // Every knob disc sits at the top centre of its slider's rotary area.
    auto& panel = editor.getMainComponent();
    for (const char* id : { "mix", "decay", "predelayMs", "tilt", "highCut", "lowCut", "size", "diffusion",
                            "dampingFreq_room_tl", "dampingIntensity" })
    {
        SCOPED_TRACE(id);
        auto& slider = panel.getKnobFor(id)->slider;
        const auto area = slider.getBounds().withHeight(slider.getHeight() - slider.getTextBoxHeight());
        const auto knob = VantaLookAndFeel::getKnobGeometry(0, 0, area.getWidth(), area.getHeight());
        const auto origin = editor.getLocalPoint(&slider, juce::Point<int>());
        const auto centre = knob.body.getCentre().toInt() + origin;

        const auto inside = image.getPixelAt(centre.x, centre.y);
        EXPECT_NEAR(inside.getRed(), inside.getGreen(), 12) << inside.toString();
        EXPECT_NEAR(inside.getGreen(), inside.getBlue(), 12) << inside.toString();
        EXPECT_GT(inside.getRed(), 0x38) << inside.toString();
        EXPECT_LT(inside.getRed(), 0xB0) << inside.toString();

        // Just below the disc lies the cell, then the value box: for cell
        // knobs the pixel beside the disc shows the section colour again.
        const int beside = juce::roundToInt(knob.body.getRight() + 3.0f) + origin.x;
        const auto cellColour = image.getPixelAt(origin.x - 2, centre.y);
        if (std::string(id) != "mix" && std::string(id) != "decay" && std::string(id) != "predelayMs")
        {
            EXPECT_EQ(image.getPixelAt(beside, centre.y), cellColour);
        }
    }
}
} // namespace

TEST(EditorPicture, DefaultSize) { checkPicture(720, 400); }

TEST(EditorPicture, MaximumSize) { checkPicture(1500, 833); }
