#include "gui/VantaLookAndFeel.h"

#include "BinaryData.h"

#include <algorithm>

VantaLookAndFeel::VantaLookAndFeel()
{
    setColour(juce::Label::textColourId, juce::Colours::white);
    // Fully transparent: value boxes float on the honeycomb without a frame.
    setColour(juce::Slider::textBoxOutlineColourId, juce::Colour(0x00FF0000u));
    setColour(juce::TextButton::buttonColourId, colours.commonColours["idleButton"]);
    knobShine = juce::ImageCache::getFromMemory(BinaryData::KnobShine_png, BinaryData::KnobShine_pngSize);
}

VantaLookAndFeel::KnobGeometry VantaLookAndFeel::getKnobGeometry(int x, int y, int width, int height) noexcept
{
    KnobGeometry k {};
    k.radius = static_cast<float>(std::min(width / 2, height / 2)) * 0.95f;
    k.lineWidth = 0.02f * k.radius;

    // The disc hangs from the top of the area, centred horizontally.
    const float left = static_cast<float>(x) + static_cast<float>(width) * 0.5f - k.radius;
    const float top = static_cast<float>(y);
    const float half = k.lineWidth / 2.0f;
    k.body = { left + half, top + half, 2.0f * k.radius - k.lineWidth, 2.0f * k.radius - k.lineWidth };
    k.shine = { static_cast<int>(left), static_cast<int>(top), static_cast<int>(2.0f * k.radius),
                static_cast<int>(2.0f * k.radius) };
    k.pivot = { static_cast<float>(x + width / 2), top + k.radius };
    k.pointerThickness = 4.0f * k.lineWidth;
    k.pointerLength = 0.9f * k.radius;
    return k;
}

void VantaLookAndFeel::drawRotarySliderWithColor(juce::Graphics& g, int x, int y, int width, int height,
                                                 float sliderPos, float rotaryStartAngle, float rotaryEndAngle,
                                                 juce::Slider&, juce::Colour fill, juce::Colour outline)
{
    const auto k = getKnobGeometry(x, y, width, height);

    g.setColour(fill);
    g.fillEllipse(k.body);

    g.setColour(juce::Colours::white);
    if (knobShine.isValid() && g.getClipBounds().intersects(k.shine))
        g.drawImage(knobShine, k.shine.getX(), k.shine.getY(), k.shine.getWidth(), k.shine.getHeight(), 0, 0, 212,
                    212);

    g.setColour(outline);
    g.drawEllipse(k.body, k.lineWidth);

    // Square at the rim, rounded at the inner end: one path instead of a union.
    const float angle = rotaryStartAngle + sliderPos * (rotaryEndAngle - rotaryStartAngle);
    juce::Path pointer;
    pointer.addRoundedRectangle(k.pivot.x - k.pointerThickness / 2.0f, static_cast<float>(y) + 2.0f,
                                k.pointerThickness, k.pointerLength, 3.0f, 3.0f, false, false, true, true);
    pointer.applyTransform(juce::AffineTransform::rotation(angle, k.pivot.x, k.pivot.y));
    g.fillPath(pointer);
}
