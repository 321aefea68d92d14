#pragma once

#include <juce_graphics/juce_graphics.h>

#include <memory>

/** Parses an embedded SVG text and returns its filled outline; the caller owns
    the path. Text that does not parse gives an empty path. */
std::unique_ptr<juce::Path> createPathFromSVG(const char* svgText);
