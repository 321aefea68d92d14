#include "ParameterAssignment.h"

#include "RenderError.h"

#include <cmath>
#include <cstdlib>

bool ParameterAssignment::holdsLeadingNumber(const juce::String& text)
{
    const std::string bytes = text.toStdString();
    const char* start = bytes.c_str();
    char* end = nullptr;
    const double value = std::strtod(start, &end);
    return end != start && std::isfinite(value);
}

ParameterAssignment ParameterAssignment::parse(const std::string& text)
{
    const juce::String whole = juce::String::fromUTF8(text.c_str());
    const int equals = whole.indexOfChar('=');
    if (equals <= 0)
        throw RenderError(RenderError::Kind::usage,
                          "--set expects ID=VALUE, got \"" + text + "\"");

    ParameterAssignment assignment;
    assignment.id = whole.substring(0, equals).trim();
    assignment.valueText = whole.substring(equals + 1).trim();

    if (assignment.valueText.startsWithChar('@'))
    {
        // A normalised value must be the whole text, and inside the control's travel.
        const auto number = assignment.valueText.substring(1).trim();
        const std::string bytes = number.toStdString();
        char* end = nullptr;
        const double value = std::strtod(bytes.c_str(), &end);
        if (bytes.empty() || *end != '\0' || ! std::isfinite(value))
            throw RenderError(RenderError::Kind::usage,
                              "value \"" + assignment.valueText.toStdString() + "\" for "
                                  + assignment.id.toStdString() + " holds no number");
        if (value < 0.0 || value > 1.0)
            throw RenderError(RenderError::Kind::usage,
                              "normalised value " + number.toStdString() + " for "
                                  + assignment.id.toStdString() + " is outside 0 to 1");
        assignment.normalised = true;
        assignment.normalisedValue = (float) value;
        return assignment;
    }

    // Caught here, before the parameter's own reading would take it as 0.
    if (! holdsLeadingNumber(assignment.valueText))
        throw RenderError(RenderError::Kind::usage,
                          "value \"" + assignment.valueText.toStdString() + "\" for "
                              + assignment.id.toStdString() + " holds no number");
    return assignment;
}

void ParameterAssignment::apply(juce::AudioProcessorValueTreeState& state) const
{
    auto* parameter = state.getParameter(id);
    if (parameter == nullptr)
    {
        juce::StringArray known;
        for (auto* p : state.processor.getParameters())
            if (auto* ranged = dynamic_cast<juce::RangedAudioParameter*>(p))
                known.add(ranged->getParameterID());
        throw RenderError(RenderError::Kind::usage,
                          "unknown parameter ID \"" + id.toStdString() + "\" (known: "
                              + known.joinIntoString(", ").toStdString() + ")");
    }

    const float value = normalised ? normalisedValue : parameter->getValueForText(valueText);
    parameter->setValueNotifyingHost(juce::jlimit(0.0f, 1.0f, value));
}
