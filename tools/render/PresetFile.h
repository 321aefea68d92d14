#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

/** A saved plug-in state on disk: the blob the plug-in's getStateInformation
    writes (what hosts store), or the same state as plain XML text. */
class PresetFile
{
public:
    /** Restores the processor from the file; throws RenderError when the file is
        missing or holds neither a state blob nor a "Parameters" XML document. */
    static void load(const juce::File& file, juce::AudioProcessor& processor);

    /** Writes the processor's state blob, through a temporary file in the same
        folder so that a failure leaves nothing behind; throws RenderError. */
    static void save(const juce::File& file, juce::AudioProcessor& processor);

    /** The state blob of a file's content, converting plain XML; empty when the
        content is neither. */
    static juce::MemoryBlock toStateBlob(const juce::MemoryBlock& content);
};
