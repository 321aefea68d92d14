// Opening and closing editors while audio runs, and what they leave behind.
#include "EditorFixture.h"

#include <atomic>
#include <chrono>
#include <thread>

namespace
{
// Draws with whatever the framework's default look is now; a dangling default
// shows up here (under ASan or valgrind) rather than in a host.
void drawWithDefaultLook()
{
    juce::Label label({}, "Brisa");
    label.setFont(juce::Font(14.0f, juce::Font::bold));
    label.setSize(80, 20);
    auto image = label.createComponentSnapshot(label.getLocalBounds());
    EXPECT_TRUE(image.isValid());
}
} // namespace

TEST(EditorLifecycle, OpenCloseHundredTimesWhileAudioRuns)
{
    SonarisAudioProcessor processor;
    processor.prepareToPlay(48000.0, 256);

    std::atomic<bool> running { true };
    std::atomic<long> blocks { 0 };
    std::thread audio([&] {
        juce::AudioBuffer<float> buffer(2, 256);
        juce::MidiBuffer midi;
        juce::Random random(1);
        while (running.load())
        {
            for (int ch = 0; ch < 2; ++ch)
                for (int i = 0; i < buffer.getNumSamples(); ++i)
                    buffer.setSample(ch, i, random.nextFloat() * 0.2f - 0.1f);
            processor.processBlock(buffer, midi);
            blocks.fetch_add(1);
            // A host calls back once per block period; spinning flat out would
            // starve the message thread under valgrind's serialised threads.
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    });

    auto& state = processor.getValueTreeState();
    for (int i = 0; i < 100; ++i)
    {
        std::unique_ptr<juce::AudioProcessorEditor> editor(processor.createEditorIfNeeded());
        ASSERT_NE(editor, nullptr);
        ASSERT_NE(dynamic_cast<SonarisAudioProcessorEditor*>(editor.get()), nullptr);
        // Touch a knob and paint, as a user opening the window would.
        auto& typed = static_cast<SonarisAudioProcessorEditor&>(*editor);
        typed.getMainComponent().getKnobFor("mix")->slider.setValue((i % 10) / 10.0, juce::sendNotificationSync);
        if (i % 10 == 0)
            editor->createComponentSnapshot(editor->getLocalBounds(), true, 0.5f);
        editor.reset();
        drawWithDefaultLook();
    }
    EXPECT_NEAR(state.getRawParameterValue("mix")->load(), 0.9f, 1e-6f);

    running = false;
    audio.join();
    EXPECT_GT(blocks.load(), 0);
    processor.releaseResources();
}

TEST(EditorLifecycle, OverlappingEditorsLeaveALiveDefaultLook)
{
    // Two instances in one host share the framework's default look.
    struct Order
    {
        bool closeFirstOpenedFirst;
    };
    for (const auto order : { Order { true }, Order { false } })
    {
        SCOPED_TRACE(order.closeFirstOpenedFirst);
        auto* before = &juce::LookAndFeel::getDefaultLookAndFeel();

        OpenEditor a, b;
        EXPECT_EQ(&juce::LookAndFeel::getDefaultLookAndFeel(), &b.editor->getCustomFontLookAndFeel());

        if (order.closeFirstOpenedFirst)
        {
            a.editor.reset();
            EXPECT_EQ(&juce::LookAndFeel::getDefaultLookAndFeel(), &b.editor->getCustomFontLookAndFeel());
            drawWithDefaultLook();
            b.editor.reset();
        }
        else
        {
            b.editor.reset();
            EXPECT_EQ(&juce::LookAndFeel::getDefaultLookAndFeel(), &a.editor->getCustomFontLookAndFeel());
            drawWithDefaultLook();
            a.editor.reset();
        }
        drawWithDefaultLook();
        EXPECT_EQ(&juce::LookAndFeel::getDefaultLookAndFeel(), before);
    }
}
