#include "AudioFileOutput.h"

#include "RenderError.h"
#include "TpdfDither.h"

namespace
{
std::unique_ptr<juce::AudioFormat> formatFor(const juce::File& file)
{
    const auto extension = file.getFileExtension().toLowerCase();
    if (extension == ".wav")
        return std::make_unique<juce::WavAudioFormat>();
    if (extension == ".aif" || extension == ".aiff")
        return std::make_unique<juce::AiffAudioFormat>();
    if (extension == ".flac")
        return std::make_unique<juce::FlacAudioFormat>();
    return {};
}
} // namespace

AudioFileOutput::AudioFileOutput(const juce::File& targetFile) : target(targetFile)
{
    const auto path = target.getFullPathName().toStdString();
    format = formatFor(target);
    if (format == nullptr)
        throw RenderError(RenderError::Kind::usage,
                          "cannot write " + path + ": use a .wav, .aif, .aiff or .flac name");

    if (target.isDirectory())
        throw RenderError(RenderError::Kind::output, "cannot write output " + path + ": it is a folder");
    if (! target.getParentDirectory().isDirectory())
        throw RenderError(RenderError::Kind::output, "cannot write output " + path + ": no such folder");

    // Creating the temporary file now proves the folder is writable before the
    // render spends any time.
    temporary = std::make_unique<juce::TemporaryFile>(target, juce::TemporaryFile::useHiddenFile);
    if (! temporary->getFile().create().wasOk())
        throw RenderError(RenderError::Kind::output, "cannot write output " + path + ": permission denied");
}

AudioFileOutput::~AudioFileOutput() = default; // the temporary file deletes itself if not moved

int AudioFileOutput::defaultBits() const
{
    return format->getPossibleBitDepths().contains(32) ? 32 : 24;
}

void AudioFileOutput::checkBits(int bits) const
{
    if (! format->getPossibleBitDepths().contains(bits))
        throw RenderError(RenderError::Kind::usage,
                          format->getFormatName().toStdString() + " cannot hold " + std::to_string(bits)
                              + "-bit samples");
}

void AudioFileOutput::write(const juce::AudioBuffer<float>& audio, double sampleRate, int bits, juce::int64 ditherSeed)
{
    const auto path = target.getFullPathName().toStdString();
    checkBits(bits);

    juce::AudioBuffer<float> samples(audio);
    if (bits < 32)
    {
        // One generator per channel keeps the channels' dither independent.
        for (int c = 0; c < samples.getNumChannels(); ++c)
        {
            TpdfDither dither(bits, ditherSeed + c);
            auto* data = samples.getWritePointer(c);
            for (int i = 0; i < samples.getNumSamples(); ++i)
                data[i] = dither.process(data[i]);
        }
    }

    {
        auto stream = std::make_unique<juce::FileOutputStream>(temporary->getFile());
        if (! stream->openedOk())
            throw RenderError(RenderError::Kind::output, "cannot write output " + path);
        stream->setPosition(0);
        stream->truncate();

        std::unique_ptr<juce::AudioFormatWriter> writer(format->createWriterFor(
            stream.get(), sampleRate, (unsigned int) samples.getNumChannels(), bits, {}, 0));
        if (writer == nullptr)
            throw RenderError(RenderError::Kind::output,
                              "cannot write output " + path + " at " + std::to_string((int) sampleRate) + " Hz");
        stream.release(); // the writer owns it now

        if (! writer->writeFromAudioSampleBuffer(samples, 0, samples.getNumSamples()))
            throw RenderError(RenderError::Kind::output, "cannot write output " + path + " (disk full?)");
        writer.reset(); // finishes the header and closes the stream
    }

    if (temporary->getFile().getSize() == 0)
        throw RenderError(RenderError::Kind::output, "cannot write output " + path + " (disk full?)");

    if (! temporary->overwriteTargetFileWithTemporary())
        throw RenderError(RenderError::Kind::output, "cannot move the finished output into " + path);
}
