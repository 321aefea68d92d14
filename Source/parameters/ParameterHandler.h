#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

/** Creates the host parameters, owns their value-tree state and, once per audio
    block, passes every value that moved to the DSP's update callbacks.

    Tables are filled during registration and preparation only; the dispatch on
    the audio thread reads them without locks and allocates nothing. */
class ParameterHandler
{
public:
    using UpdateFunction = std::function<void(float)>;
    using Smoother = juce::SmoothedValue<float, juce::ValueSmoothingTypes::Linear>;
    using ValueToText = std::function<juce::String(float, int)>;
    using TextToValue = std::function<float(const juce::String&)>;

    explicit ParameterHandler(juce::AudioProcessor& processorToUse);

    ParameterHandler(const ParameterHandler&) = delete;
    ParameterHandler& operator=(const ParameterHandler&) = delete;

    void addFloatParam(const std::string& id,
                       const std::vector<UpdateFunction>& callbacks,
                       juce::NormalisableRange<float> range,
                       float defaultValue,
                       std::shared_ptr<Smoother> smoother = {},
                       ValueToText valueToText = {},
                       TextToValue textToValue = {});

    /** Appends a callback to a registered parameter; an unknown ID is ignored. */
    void addUpdateFunction(const std::string& id, const UpdateFunction& callback);

    void buildValueTreeState();

    /** Audio thread, start of every block. */
    void dispatchUpdates();

    void clearUpdateFunctions();

    /** Counts every current value as dispatched: last values and smoothers are
        set to the present values, so the next dispatch only passes on what moves
        after this point. Not on the audio thread. */
    void markAllDispatched();
    void callAllUpdateFunctions();

    juce::AudioProcessorValueTreeState& getValueTreeState() { return *valueTreeState; }
    std::shared_ptr<juce::AudioProcessorValueTreeState> getValueTreeStatePointer() const { return valueTreeState; }

    /** Number of callbacks registered for a parameter (0 for unknown IDs). */
    size_t getNumUpdateFunctions(const std::string& id) const;

    /** Index of a parameter in registration order, or -1. */
    int getIndex(const std::string& id) const;

    /** The framework's plain (range-unit) current value of a parameter. */
    float getRawValue(const std::string& id) const;

    /** Equality used by the dispatch: exact for non-finite values, otherwise an
        absolute (smallest normal float) or relative (float epsilon) bound. */
    static bool approximatelyEqual(float a, float b) noexcept;

protected:
    /** Visits (slot, value) for every parameter whose current value is finite. */
    template <typename Visitor>
    void forEachFiniteValue(Visitor&& visit);

    int nextIndex = 0;
    std::shared_ptr<juce::AudioProcessorValueTreeState> valueTreeState;
    std::vector<int> registrationOrder;
    std::unordered_map<std::string, int> indexById;
    // Dense per-index tables: every entry exists before audio runs, so the
    // dispatch never inserts (and never allocates) on the audio thread.
    std::vector<float> lastValues;
    std::vector<std::atomic<float>*> rawValues;
    std::vector<std::vector<UpdateFunction>> updateFunctions;
    juce::AudioProcessor& processor;
    std::vector<std::unique_ptr<juce::RangedAudioParameter>> pendingParameters;
    std::vector<std::shared_ptr<Smoother>> smoothers;
};
