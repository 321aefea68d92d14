// The saved state: its exact bytes, and every way a bad blob is turned away.
#include "TestProcessor.h"
#include "core/PluginProcessor.h"

#include <gtest/gtest.h>

#include <map>

namespace
{
juce::MemoryBlock wrap(const juce::String& xmlText)
{
    juce::MemoryBlock block;
    const juce::uint32 magic = 0x21324356;
    const auto length = (juce::uint32) xmlText.getNumBytesAsUTF8();
    block.append(&magic, 4);
    block.append(&length, 4);
    block.append(xmlText.toRawUTF8(), length);
    block.append("", 1);
    return block;
}

struct PluginState : testing::Test
{
    SonarisAudioProcessor processor;

    juce::MemoryBlock save()
    {
        juce::MemoryBlock block;
        processor.getStateInformation(block);
        return block;
    }

    void restore(const juce::MemoryBlock& block) { processor.setStateInformation(block.getData(), (int) block.getSize()); }

    float plain(const char* id) { return processor.getValueTreeState().getRawParameterValue(id)->load(); }

    std::map<juce::String, float> allValues()
    {
        std::map<juce::String, float> values;
        for (auto* p : processor.getParameters())
            values[dynamic_cast<juce::RangedAudioParameter*>(p)->getParameterID()] = p->getValue();
        return values;
    }

    void moveEveryParameter()
    {
        for (auto* p : processor.getParameters())
            p->setValueNotifyingHost(p->getValue() < 0.5f ? 0.8f : 0.2f);
    }
};
} // namespace

TEST_F(PluginState, BlobLayoutOfAFreshInstance)
{
    const auto block = save();
    const auto* bytes = static_cast<const juce::uint8*>(block.getData());
    ASSERT_GT(block.getSize(), 9u);
    EXPECT_EQ(bytes[0], 0x56);
    EXPECT_EQ(bytes[1], 0x43);
    EXPECT_EQ(bytes[2], 0x32);
    EXPECT_EQ(bytes[3], 0x21);
    EXPECT_EQ(juce::ByteOrder::littleEndianInt(bytes + 4), (juce::uint32) block.getSize() - 9);
    EXPECT_EQ(bytes[block.getSize() - 1], 0);

    const auto text = juce::String::fromUTF8((const char*) bytes + 8, (int) block.getSize() - 9);
    EXPECT_FALSE(text.containsAnyOf("\r\n"));
    EXPECT_TRUE(text.startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\"?>"));

    const auto xml = juce::parseXML(text);
    ASSERT_NE(xml, nullptr);
    EXPECT_EQ(xml->getTagName(), "Parameters");
    EXPECT_EQ(xml->getStringAttribute("version"), "1.1.9");

    juce::StringArray ids;
    for (auto* child : xml->getChildIterator())
    {
        EXPECT_EQ(child->getTagName(), "PARAM");
        ids.add(child->getStringAttribute("id"));
    }
    const juce::StringArray expected { "dampingFreq_room_er", "dampingFreq_room_tl", "dampingIntensity", "decay",
                                       "diffusion", "highCut", "lowCut", "mix", "predelayMs", "size", "tilt" };
    EXPECT_EQ(ids, expected);
    EXPECT_FLOAT_EQ((float) xml->getChildByAttribute("id", "mix")->getDoubleAttribute("value"), 0.333f);
    EXPECT_EQ(xml->getChildByAttribute("id", "predelayMs")->getDoubleAttribute("value"), 20.0);
}

TEST_F(PluginState, RoundTripRestoresEveryParameter)
{
    const auto before = allValues();
    const auto block = save();
    moveEveryParameter();
    ASSERT_NE(allValues(), before);
    restore(block);
    EXPECT_EQ(allValues(), before);
}

TEST_F(PluginState, MalformedBlobsChangeNothing)
{
    const auto good = save();
    juce::MemoryBlock shortBlob(good.getData(), 8);
    auto wrongMagic = good;
    static_cast<char*>(wrongMagic.getData())[0] = 0x57;
    auto zeroLength = good;
    std::memset(static_cast<char*>(zeroLength.getData()) + 4, 0, 4);
    auto negativeLength = good;
    std::memset(static_cast<char*>(negativeLength.getData()) + 4, 0xff, 4);

    struct Case { const char* what; juce::MemoryBlock blob; };
    const Case cases[] = {
        { "empty", {} },
        { "8 bytes", shortBlob },
        { "wrong magic", wrongMagic },
        { "length 0", zeroLength },
        { "negative length", negativeLength },
        { "not XML", wrap("this is <not xml") },
        { "other root", wrap("<Preset version=\"1\"><PARAM id=\"mix\" value=\"0.9\"/></Preset>") },
        { "nan value", wrap("<Parameters><PARAM id=\"mix\" value=\"nan\"/><PARAM id=\"decay\" value=\"-inf\"/>"
                            "<PARAM id=\"size\" value=\"inf\"/></Parameters>") },
        { "plain garbage", juce::MemoryBlock("\x01\x02\x03\x04\x05\x06\x07\x08\x09\x0a\x0b", 11) },
    };

    moveEveryParameter();
    const auto before = allValues();
    for (const auto& c : cases)
    {
        restore(c.blob);
        EXPECT_EQ(allValues(), before) << c.what;
    }
    processor.setStateInformation(nullptr, 100);
    processor.setStateInformation(good.getData(), -5);
    EXPECT_EQ(allValues(), before);
}

TEST_F(PluginState, LenientRestoreRules)
{
    setPlainValue(processor.getValueTreeState(), "tilt", 0.8f);
    setPlainValue(processor.getValueTreeState(), "mix", 0.9f);

    // Lower-case root, no tilt child, a mix child without value, a non-finite
    // size child, and a length field larger than the blob.
    auto blob = wrap("<parameters><PARAM id=\"mix\"/><PARAM id=\"size\" value=\"nan\"/>"
                     "<PARAM id=\"decay\" value=\"0.25\"/><PARAM id=\"bogus\" value=\"3\"/></parameters>");
    const juce::uint32 tooLong = 100000;
    std::memcpy(static_cast<char*>(blob.getData()) + 4, &tooLong, 4);
    restore(blob);

    EXPECT_FLOAT_EQ(plain("decay"), 0.25f);
    EXPECT_FLOAT_EQ(plain("tilt"), 0.8f);   // no child: keeps its value
    EXPECT_FLOAT_EQ(plain("mix"), 0.333f);  // child without value: default
    EXPECT_FLOAT_EQ(plain("size"), 0.5f);   // non-finite child ignored

    // No version in the restored tree, none in the next save.
    const auto saved = save();
    const auto xml = juce::AudioProcessor::getXmlFromBinary(saved.getData(), (int) saved.getSize());
    ASSERT_NE(xml, nullptr);
    EXPECT_FALSE(xml->hasAttribute("version"));
}

TEST_F(PluginState, OutOfRangeValuesAreLimited)
{
    restore(wrap("<Parameters version=\"1.1.9\"><PARAM id=\"predelayMs\" value=\"1e50\"/>"
                 "<PARAM id=\"lowCut\" value=\"-3\"/></Parameters>"));
    EXPECT_FLOAT_EQ(plain("predelayMs"), 250.0f);
    EXPECT_FLOAT_EQ(plain("lowCut"), 20.0f);
}
