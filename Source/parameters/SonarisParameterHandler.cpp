#include "parameters/SonarisParameterHandler.h"

#include <cmath>
#include <cstdio>
#include <iostream>
#include <limits>
#include <stdexcept>
#include <string>

namespace
{
// Skew that puts `centre` at the middle of the control's travel.
float skewForCentre(float start, float end, float centre)
{
    return (float) (std::log(0.5) / std::log((centre - start) / (end - start)));
}

juce::NormalisableRange<float> makeRange(float start, float end, float interval, float skew)
{
    return juce::NormalisableRange<float>(start, end, interval, skew, false);
}

juce::String format(const char* pattern, double value)
{
    char text[64];
    std::snprintf(text, sizeof(text), pattern, value);
    return juce::String(text);
}
} // namespace

SonarisParameterHandler::SonarisParameterHandler(juce::AudioProcessor& processorToUse)
    : ParameterHandler(processorToUse),
      highCutSmoother(std::make_shared<Smoother>(0.0f)),
      tiltSmoother(std::make_shared<Smoother>(0.0f))
{
}

void SonarisParameterHandler::initiate()
{
    const auto percentText = [](float v, int) { return percentToText(v); };
    const auto percentValue = [](const juce::String& t) { return textToPercent(t); };

    addFloatParam("mix", {}, makeRange(0.0f, 1.0f, 0.001f, 1.0f), 0.333f, {}, percentText, percentValue);
    addFloatParam("predelayMs", {}, makeRange(0.0f, 250.0f, 1.0f, 0.438947648f), 20.0f);
    addFloatParam("decay", {}, makeRange(0.0f, 1.0f, 0.001f, 1.0f), 0.5f, {},
                  [this](float v, int) { return decayToText(v); },
                  [this](const juce::String& t) { return textToDecay(t); });
    addFloatParam("highCut", {}, makeRange(20.0f, 22000.0f, 10.0f, skewForCentre(20.0f, 22000.0f, 5000.0f)),
                  10000.0f, highCutSmoother);
    addFloatParam("lowCut", {}, makeRange(20.0f, 2000.0f, 10.0f, skewForCentre(20.0f, 2000.0f, 500.0f)), 20.0f);
    addFloatParam("tilt", {}, makeRange(0.0f, 1.0f, 0.001f, 1.0f), 0.5f, tiltSmoother,
                  [](float v, int) { return tiltToText(v); });
    addFloatParam("size", {}, makeRange(0.0f, 1.0f, 0.01f, 1.0f), 0.5f, {},
                  [this](float v, int) { return sizeToText(v); },
                  [this](const juce::String& t) { return textToSize(t); });
    addFloatParam("diffusion", {}, makeRange(0.0f, 1.0f, 0.001f, 1.0f), 0.5f, {}, percentText, percentValue);
    addFloatParam("dampingFreq_room_er", {},
                  makeRange(20.0f, 22000.0f, 10.0f, skewForCentre(20.0f, 22000.0f, 11000.0f)), 11000.0f);
    addFloatParam("dampingFreq_room_tl", {},
                  makeRange(20.0f, 22000.0f, 10.0f, skewForCentre(20.0f, 22000.0f, 5000.0f)), 5000.0f);
    addFloatParam("dampingIntensity", {}, makeRange(0.0f, 1.0f, 0.001f, 1.0f), 0.5f, {}, percentText, percentValue);

    buildValueTreeState();
}

void SonarisParameterHandler::prepareSmoothers(double sampleRate)
{
    highCutSmoother->reset((int) std::floor(sampleRate * 0.0001));
    tiltSmoother->reset((int) std::floor(sampleRate * 0.001));
}

ParameterRangeValues::ValueSet SonarisParameterHandler::getRangeValueSet(float algorithmIndex) const
{
    if (approximatelyEqual(algorithmIndex, 1.0f))
        return rangeValues.roomValues;
    return {};
}

float SonarisParameterHandler::stringToFloat(const juce::String& text)
{
    const std::string bytes = text.toStdString();
    try
    {
        const float value = std::stof(bytes);
        if (std::isnan(value))
            throw std::invalid_argument("stof: not a number");
        if (std::isinf(value))
            return value > 0.0f ? std::numeric_limits<float>::max() : std::numeric_limits<float>::lowest();
        return value;
    }
    catch (const std::out_of_range&)
    {
        // Too large (or too small) for a float: take the nearest end, or 0 for
        // an underflow such as 1e-50.
        const double wide = std::strtod(bytes.c_str(), nullptr);
        if (std::isnan(wide) || std::abs(wide) < 1.0)
            return 0.0f;
        return wide > 0.0 ? std::numeric_limits<float>::max() : std::numeric_limits<float>::lowest();
    }
    catch (const std::exception& e)
    {
        std::cerr << "Invalid input: " << e.what() << std::endl;
        return 0.0f;
    }
}

juce::String SonarisParameterHandler::percentToText(float value)
{
    return format("%0.1f", (double) (value * 100.0f));
}

float SonarisParameterHandler::textToPercent(const juce::String& text)
{
    return stringToFloat(text) / 100.0f;
}

juce::String SonarisParameterHandler::decayToText(float value) const
{
    auto set = getRangeValueSet(1.0f);
    const float bottom = set["decayTime_bottom"];
    const float top = set["decayTime_top"];
    const float def = set["decayTime_default"];
    const float k = -0.30103f / std::log10((def - bottom) / (top - bottom));
    const float seconds = bottom + (top - bottom) * std::pow(10.0f, std::log10(value) / k);
    return format("%0.2f", (double) seconds) + " sec";
}

float SonarisParameterHandler::textToDecay(const juce::String& text) const
{
    auto set = getRangeValueSet(1.0f);
    const float bottom = set["decayTime_bottom"];
    const float top = set["decayTime_top"];
    const float def = set["decayTime_default"];
    const float k = -0.30103f / std::log10((def - bottom) / (top - bottom));
    const float seconds = stringToFloat(text);
    float value = std::pow(10.0f, std::log10((seconds - bottom) / (top - bottom)) * k);
    if (std::isnan(value))
        value = 0.0f;
    return juce::jlimit(0.0f, 1.0f, value);
}

juce::String SonarisParameterHandler::tiltToText(float value)
{
    if (value < 0.5f)
        return juce::String((int) ((0.5f - value) * 200.0f)) + "% drk";
    if (value > 0.5f)
        return juce::String((int) ((value - 0.5f) * 200.0f)) + "% brt";
    return "none";
}

juce::String SonarisParameterHandler::sizeToText(float value) const
{
    auto set = getRangeValueSet(1.0f);
    const float metres = value * (set["size_top"] - set["size_bottom"]) + set["size_bottom"];
    return format(metres < 5.0f ? "%.1f" : "%.0f", (double) metres);
}

float SonarisParameterHandler::textToSize(const juce::String& text) const
{
    auto set = getRangeValueSet(1.0f);
    const float value = (stringToFloat(text) - set["size_bottom"]) / (set["size_top"] - set["size_bottom"]);
    // The framework clamps to the range; an overflowing text must not become NaN on the way.
    return std::isfinite(value) ? value : (value > 0.0f ? 1.0f : 0.0f);
}
