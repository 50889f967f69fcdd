// The reference for the start-up benchmark: the least a JUCE application needs to show a
// window like Firmhold's, a 650 x 400 DocumentWindow holding one ComboBox, built from the
// same framework modules with the same settings.
#include <juce_gui_basics/juce_gui_basics.h>

namespace
{
    struct ReferenceContent final : public juce::Component
    {
        ReferenceContent()
        {
            box.addItem ("(Disconnected)", 1);
            box.setSelectedId (1, juce::dontSendNotification);
            addAndMakeVisible (box);
        }

        void resized() override { box.setBounds (10, 105, getWidth() - 20, 30); }

        juce::ComboBox box;
    };

    class ReferenceWindow final : public juce::DocumentWindow
    {
    public:
        ReferenceWindow()
            : DocumentWindow ("Reference", juce::Colour (0xffeff2f3), DocumentWindow::allButtons, true)
        {
            setContentOwned (std::make_unique<ReferenceContent>().release(), false);
            centreWithSize (650, 400);
            setVisible (true);
        }

        void closeButtonPressed() override { juce::JUCEApplication::quit(); }
    };

    class ReferenceApplication final : public juce::JUCEApplication
    {
    public:
        const juce::String getApplicationName() override { return "Start-up reference"; }
        const juce::String getApplicationVersion() override { return "1"; }

        void initialise (const juce::String&) override { window = std::make_unique<ReferenceWindow>(); }
        void shutdown() override { window = nullptr; }

    private:
        std::unique_ptr<ReferenceWindow> window;
    };
} // namespace

START_JUCE_APPLICATION (ReferenceApplication)
