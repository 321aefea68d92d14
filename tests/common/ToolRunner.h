#pragma once

// Runs a command-line tool as a child process and collects what it printed.
#include <juce_audio_formats/juce_audio_formats.h>

#include <cstdlib>
#include <string>
#include <sys/wait.h>
#include <vector>

struct ToolResult
{
    int exitCode = -1;
    juce::String out;
    juce::String err;
};

inline std::string shellQuoted(const juce::String& text)
{
    return "'" + text.replace("'", "'\\''").toStdString() + "'";
}

/** Runs `program args...` with stdout and stderr captured separately (stdin
    empty), and waits for it. */
inline ToolResult runTool(const juce::String& program, const juce::StringArray& args)
{
    const auto out = juce::File::createTempFile(".out"), err = juce::File::createTempFile(".err");
    std::string command = shellQuoted(program);
    for (const auto& a : args)
        command += " " + shellQuoted(a);
    command += " </dev/null >" + shellQuoted(out.getFullPathName()) + " 2>" + shellQuoted(err.getFullPathName());

    ToolResult result;
    const int status = std::system(command.c_str());
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.out = out.loadFileAsString();
    result.err = err.loadFileAsString();
    out.deleteFile();
    err.deleteFile();
    return result;
}

inline bool writeWav(const juce::File& file, const juce::AudioBuffer<float>& audio, double sampleRate, int bits = 32)
{
    file.deleteFile();
    auto stream = std::make_unique<juce::FileOutputStream>(file);
    if (! stream->openedOk())
        return false;
    juce::WavAudioFormat wav;
    std::unique_ptr<juce::AudioFormatWriter> writer(
        wav.createWriterFor(stream.get(), sampleRate, (unsigned int) audio.getNumChannels(), bits, {}, 0));
    if (writer == nullptr)
        return false;
    stream.release();
    return writer->writeFromAudioSampleBuffer(audio, 0, audio.getNumSamples());
}

inline juce::AudioBuffer<float> readAudio(const juce::File& file, double* sampleRate = nullptr)
{
    juce::AudioFormatManager formats;
    formats.registerBasicFormats();
    std::unique_ptr<juce::AudioFormatReader> reader(formats.createReaderFor(file));
    if (reader == nullptr)
        return {};
    juce::AudioBuffer<float> audio((int) reader->numChannels, (int) reader->lengthInSamples);
    reader->read(&audio, 0, (int) reader->lengthInSamples, 0, true, true);
    if (sampleRate != nullptr)
        *sampleRate = reader->sampleRate;
    return audio;
}

/** A short stereo test signal: noise bursts and a decaying tone, then silence. */
inline juce::AudioBuffer<float> makeBurst(int channels, double sampleRate, double seconds, juce::int64 seed)
{
    juce::AudioBuffer<float> audio(channels, (int) (sampleRate * seconds));
    audio.clear();
    juce::Random random(seed);
    const int burst = (int) (sampleRate * 0.05);
    for (int c = 0; c < channels; ++c)
        for (int i = 0; i < audio.getNumSamples(); ++i)
        {
            const double t = i / sampleRate;
            float x = 0.3f * (float) std::sin(2.0 * juce::MathConstants<double>::pi * (330.0 + 110.0 * c) * t)
                    * (float) std::exp(-t / 0.08);
            if (i < burst || (i >= 4 * burst && i < 5 * burst))
                x += (random.nextFloat() * 2.0f - 1.0f) * 0.4f;
            audio.setSample(c, i, x);
        }
    return audio;
}
