#include "parameters/ParameterHandler.h"

#include <cmath>
#include <limits>

ParameterHandler::ParameterHandler(juce::AudioProcessor& processorToUse)
    : processor(processorToUse)
{
}

void ParameterHandler::addFloatParam(const std::string& id,
                                     const std::vector<UpdateFunction>& callbacks,
                                     juce::NormalisableRange<float> range,
                                     float defaultValue,
                                     std::shared_ptr<Smoother> smoother,
                                     ValueToText valueToText,
                                     TextToValue textToValue)
{
    jassert(valueTreeState == nullptr);
    jassert(indexById.find(id) == indexById.end());

    const juce::String name(id);
    auto attributes = juce::AudioParameterFloatAttributes()
                          .withLabel(name)
                          .withCategory(juce::AudioProcessorParameter::genericParameter)
                          .withAutomatable(true)
                          .withMeta(false)
                          .withInverted(false);
    if (valueToText)
        attributes = attributes.withStringFromValueFunction(std::move(valueToText));
    if (! textToValue)
    {
        // The framework's own reading (the leading number), except that a text
        // such as "nan" must not turn into a NaN parameter value.
        textToValue = [](const juce::String& text)
        {
            const float value = text.getFloatValue();
            return std::isnan(value) ? 0.0f : value;
        };
    }
    attributes = attributes.withValueFromStringFunction(std::move(textToValue));

    pendingParameters.push_back(std::make_unique<juce::AudioParameterFloat>(
        juce::ParameterID { name, 1 }, name, range, defaultValue, attributes));

    const int index = nextIndex++;
    indexById[id] = index;
    registrationOrder.push_back(index);
    lastValues.push_back(0.0f);
    rawValues.push_back(nullptr);
    updateFunctions.emplace_back();
    smoothers.push_back(std::move(smoother));

    for (const auto& callback : callbacks)
        addUpdateFunction(id, callback);
}

void ParameterHandler::addUpdateFunction(const std::string& id, const UpdateFunction& callback)
{
    const auto found = indexById.find(id);
    if (found == indexById.end() || ! callback)
        return;

    updateFunctions[(size_t) found->second].push_back(callback);
}

void ParameterHandler::buildValueTreeState()
{
    jassert(valueTreeState == nullptr);

    juce::AudioProcessorValueTreeState::ParameterLayout layout;
    for (auto& parameter : pendingParameters)
        layout.add(std::move(parameter));
    pendingParameters.clear();

    valueTreeState = std::make_shared<juce::AudioProcessorValueTreeState>(
        processor, nullptr, juce::Identifier("Parameters"), std::move(layout));

    for (const auto& [id, index] : indexById)
        rawValues[(size_t) index] = valueTreeState->getRawParameterValue(juce::String(id));
}

bool ParameterHandler::approximatelyEqual(float a, float b) noexcept
{
    if (! std::isfinite(a) || ! std::isfinite(b))
        return a == b;

    const float difference = std::abs(a - b);
    return difference <= std::numeric_limits<float>::min()
        || difference <= std::numeric_limits<float>::epsilon() * std::max(std::abs(a), std::abs(b));
}

void ParameterHandler::dispatchUpdates()
{
    for (const int index : registrationOrder)
    {
        const auto slot = (size_t) index;
        auto& callbacks = updateFunctions[slot];
        if (callbacks.empty() || rawValues[slot] == nullptr)
            continue;

        float value = rawValues[slot]->load(std::memory_order_relaxed);

        // A host can send NaN or infinity; the DSP keeps the last good value.
        if (! std::isfinite(value))
            continue;

        if (approximatelyEqual(value, lastValues[slot]))
            continue;

        if (auto* smoother = smoothers[slot].get())
        {
            // A running ramp is finished before a new target is taken.
            if (! smoother->isSmoothing() && ! approximatelyEqual(value, smoother->getTargetValue()))
                smoother->setTargetValue(value);

            value = smoother->getNextValue();
        }

        lastValues[slot] = value;

        for (auto& callback : callbacks)
            callback(value);
    }
}

void ParameterHandler::clearUpdateFunctions()
{
    // Keeps the per-parameter lists' capacity: re-registration after a clear
    // then needs no new storage.
    for (auto& callbacks : updateFunctions)
        callbacks.clear();
}

template <typename Visitor>
void ParameterHandler::forEachFiniteValue(Visitor&& visit)
{
    for (const int index : registrationOrder)
    {
        const auto slot = (size_t) index;
        if (rawValues[slot] == nullptr)
            continue;

        const float value = rawValues[slot]->load(std::memory_order_relaxed);
        if (std::isfinite(value))
            visit(slot, value);
    }
}

void ParameterHandler::markAllDispatched()
{
    forEachFiniteValue([this](size_t slot, float value)
    {
        lastValues[slot] = value;
        if (auto* smoother = smoothers[slot].get())
            smoother->setCurrentAndTargetValue(value);
    });
}

void ParameterHandler::callAllUpdateFunctions()
{
    forEachFiniteValue([this](size_t slot, float value)
    {
        for (auto& callback : updateFunctions[slot])
            callback(value);
    });
}

size_t ParameterHandler::getNumUpdateFunctions(const std::string& id) const
{
    const auto found = indexById.find(id);
    return found == indexById.end() ? 0 : updateFunctions[(size_t) found->second].size();
}

int ParameterHandler::getIndex(const std::string& id) const
{
    const auto found = indexById.find(id);
    return found == indexById.end() ? -1 : found->second;
}

float ParameterHandler::getRawValue(const std::string& id) const
{
    const auto found = indexById.find(id);
    if (found == indexById.end() || rawValues[(size_t) found->second] == nullptr)
        return 0.0f;
    return rawValues[(size_t) found->second]->load();
}
