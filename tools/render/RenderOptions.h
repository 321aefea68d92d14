#pragma once

#include <juce_core/juce_core.h>

#include <optional>
#include <string>
#include <vector>

/** Everything the command line asks for. */
struct RenderOptions
{
    std::string input;
    std::string output;
    std::vector<std::string> assignments; // ID=VALUE
    std::string preset;
    std::string savePreset;
    std::string tail = "auto";
    int blockSize = 512;
    std::optional<juce::int64> seed;
    std::optional<int> bits;
    bool impulse = false;
    bool generateDemoInput = false;
    double sampleRate = 48000.0; // for the impulse and the demo input
    std::string plot;
    bool quiet = false;
    bool json = false;
};
