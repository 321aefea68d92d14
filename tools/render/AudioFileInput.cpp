#include "AudioFileInput.h"

#include "RenderError.h"

AudioFileInput AudioFileInput::read(const juce::File& file)
{
    const auto path = file.getFullPathName().toStdString();
    if (! file.existsAsFile())
        throw RenderError(RenderError::Kind::input, "input " + path + " does not exist");

    juce::AudioFormatManager formats;
    formats.registerBasicFormats();

    std::unique_ptr<juce::AudioFormatReader> reader(formats.createReaderFor(file));
    if (reader == nullptr)
        throw RenderError(RenderError::Kind::input,
                          "cannot read input " + path + " (not a WAV, AIFF or FLAC file this tool can decode)");

    if (reader->numChannels < 1 || reader->numChannels > 2)
        throw RenderError(RenderError::Kind::input,
                          "input " + path + " has " + std::to_string(reader->numChannels)
                              + " channels; only mono and stereo are supported");

    if (reader->sampleRate <= 0.0 || reader->lengthInSamples > std::numeric_limits<int>::max() / 2)
        throw RenderError(RenderError::Kind::input, "cannot read input " + path + " (bad sample rate or length)");

    AudioFileInput result;
    result.sampleRate = reader->sampleRate;
    result.formatName = reader->getFormatName();
    result.audio.setSize((int) reader->numChannels, (int) reader->lengthInSamples);
    if (! reader->read(&result.audio, 0, (int) reader->lengthInSamples, 0, true, true))
        throw RenderError(RenderError::Kind::input, "cannot read input " + path + " (decoding failed)");

    return result;
}
