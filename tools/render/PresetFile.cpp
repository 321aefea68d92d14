#include "PresetFile.h"

#include "RenderError.h"

namespace
{
constexpr juce::uint32 blobMagic = 0x21324356;

bool isStateBlob(const juce::MemoryBlock& content)
{
    return content.getSize() >= 9
        && juce::ByteOrder::littleEndianInt(content.getData()) == blobMagic;
}

// A state the processor would ignore silently must be an error here: the user
// asked for that preset and would otherwise render with the defaults.
bool isParametersXml(const juce::XmlElement* xml)
{
    return xml != nullptr && xml->getTagName().equalsIgnoreCase("Parameters");
}
} // namespace

juce::MemoryBlock PresetFile::toStateBlob(const juce::MemoryBlock& content)
{
    if (isStateBlob(content))
    {
        const auto xml = juce::AudioProcessor::getXmlFromBinary(content.getData(), (int) content.getSize());
        return isParametersXml(xml.get()) ? content : juce::MemoryBlock();
    }

    const auto xml = juce::parseXML(content.toString());
    if (! isParametersXml(xml.get()))
        return {};

    juce::MemoryBlock blob;
    juce::AudioProcessor::copyXmlToBinary(*xml, blob);
    return blob;
}

void PresetFile::load(const juce::File& file, juce::AudioProcessor& processor)
{
    const auto path = file.getFullPathName().toStdString();
    if (! file.existsAsFile())
        throw RenderError(RenderError::Kind::input, "preset " + path + " does not exist");

    juce::MemoryBlock content;
    if (! file.loadFileAsData(content))
        throw RenderError(RenderError::Kind::input, "cannot read preset " + path);

    const auto blob = toStateBlob(content);
    if (blob.isEmpty())
        throw RenderError(RenderError::Kind::input,
                          "preset " + path + " is not a Brisa state (neither a saved state nor its XML)");

    processor.setStateInformation(blob.getData(), (int) blob.getSize());
}

void PresetFile::save(const juce::File& file, juce::AudioProcessor& processor)
{
    juce::MemoryBlock blob;
    processor.getStateInformation(blob);

    const auto path = file.getFullPathName().toStdString();
    if (! file.getParentDirectory().isDirectory())
        throw RenderError(RenderError::Kind::output, "cannot write preset " + path + ": no such folder");

    juce::TemporaryFile temporary(file, juce::TemporaryFile::useHiddenFile);
    {
        juce::FileOutputStream stream(temporary.getFile());
        if (! stream.openedOk() || ! stream.write(blob.getData(), blob.getSize()))
            throw RenderError(RenderError::Kind::output, "cannot write preset " + path);
        stream.flush();
        if (stream.getStatus().failed())
            throw RenderError(RenderError::Kind::output, "cannot write preset " + path);
    }
    if (! temporary.overwriteTargetFileWithTemporary())
        throw RenderError(RenderError::Kind::output, "cannot write preset " + path);
}
