#pragma once

#include "core/PluginProcessor.h"
#include "gui/DozavazaRodudeVovuzu.h"

#include <gtest/gtest.h>

#include <memory>

/** A processor with its editor open at a given size. */
struct OpenEditor
{
    explicit OpenEditor(int width = 720, int height = 400)
        : editor(std::make_unique<SonarisAudioProcessorEditor>(processor, processor.getValueTreeState()))
    {
        editor->setSize(width, height);
    }

    SonarisAudioProcessor processor;
    std::unique_ptr<SonarisAudioProcessorEditor> editor;
};

inline ::testing::AssertionResult sameBounds(juce::Rectangle<int> actual, juce::Rectangle<int> expected)
{
    if (actual == expected)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "got " << actual.toString() << ", expected " << expected.toString();
}

inline ::testing::AssertionResult nearBounds(juce::Rectangle<float> actual, juce::Rectangle<float> expected,
                                             float tolerance)
{
    const bool ok = std::abs(actual.getX() - expected.getX()) <= tolerance
                    && std::abs(actual.getY() - expected.getY()) <= tolerance
                    && std::abs(actual.getWidth() - expected.getWidth()) <= tolerance
                    && std::abs(actual.getHeight() - expected.getHeight()) <= tolerance;
    if (ok)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "got " << actual.toString() << ", expected " << expected.toString();
}
