// Sends the built-in firmware image (or a file's) to one MIDI output port, the way the
// application does (interface, selector, protocol thread), with no window. Meant to run
// inside the MIDI guest, where what reaches the port is captured and compared with the image.
//
//     firmhold_vm_sender --port "Serial MIDI 1" [--no-pacing] [--file IMAGE]
//
// Prints the send time (start of the transfer to the return of the last send) and exits
// right after the last send: 0 on "Update completed", 1 otherwise, 2 when the port is missing.

#include "firmware/FirmwareImage.h"
#include "midi/MidiInterfaceClass.h"
#include "midi/MidiPortProvider.h"
#include "protocol/BasicSysexProtocolClass.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <chrono>
#include <iostream>

namespace
{
    using Clock = std::chrono::steady_clock;

    int itemIdOfOutput (const juce::String& name)
    {
        const auto devices = MidiPortProvider::getCurrent().getOutputDevices();

        for (int i = 0; i < devices.size(); ++i)
            if (devices.getReference (i).name == name)
                return i + 1;

        std::cerr << "no MIDI output named \"" << name << "\"; there are:\n";
        for (auto& device : devices)
            std::cerr << "  \"" << device.name << "\"\n";
        return 0;
    }

    //==============================================================================
    /** Notes when the last send has returned, and ends the message loop once the protocol
        thread has ended. */
    class TransferWatcher final : public juce::ChangeListener,
                                  private juce::Timer
    {
    public:
        explicit TransferWatcher (BasicSysexProtocolClass& p) : protocol (p)
        {
            protocol.addChangeListener (this);
        }

        ~TransferWatcher() override { protocol.removeChangeListener (this); }

        void start()
        {
            startedAt = Clock::now();
            protocol.startProtocol();
            startTimer (10);
        }

        double secondsToLastSend() const
        {
            return std::chrono::duration<double> (lastSendReturnedAt.load() - startedAt).count();
        }

    private:
        void changeListenerCallback (juce::ChangeBroadcaster*) override
        {
            // Progress reaches 1.0 on the protocol thread right after the last send returned.
            if (protocol.getProgress() == 1.0 && lastSendReturnedAt.load() == Clock::time_point())
                lastSendReturnedAt = Clock::now();
        }

        void timerCallback() override
        {
            if (! protocol.isThreadRunning())
                juce::MessageManager::getInstance()->stopDispatchLoop();
        }

        BasicSysexProtocolClass& protocol;
        Clock::time_point startedAt;
        std::atomic<Clock::time_point> lastSendReturnedAt { Clock::time_point() };
    };
} // namespace

//==============================================================================
int main (int argc, char** argv)
{
    juce::StringArray args;
    for (int i = 1; i < argc; ++i)
        args.add (argv[i]);

    const auto portIndex = args.indexOf ("--port");
    if (portIndex < 0 || portIndex + 1 >= args.size())
    {
        std::cerr << "usage: firmhold_vm_sender --port NAME [--no-pacing]\n";
        return 2;
    }

    const juce::ScopedJuceInitialiser_GUI juceInitialiser;

    const auto itemId = itemIdOfOutput (args[portIndex + 1]);
    if (itemId == 0)
        return 2;

    MidiInterfaceClass midiInterface (true, false);
    midiInterface.setPacingEnabled (! args.contains ("--no-pacing"));

    const auto fileIndex = args.indexOf ("--file");
    std::unique_ptr<FirmwareImage> image (fileIndex >= 0 && fileIndex + 1 < args.size() ? new FirmwareImage (args[fileIndex + 1])
                                                                                         : new FirmwareImage());
    if (image->getData() == nullptr)
        return 2;

    BasicSysexProtocolClass protocol (&midiInterface, image.get());
    TransferWatcher watcher (protocol);

    // As in an automatic update: the selector's own notification reopens the port while
    // the transfer is already under way.
    midiInterface.selectOutputDevice (itemId);
    watcher.start();
    juce::MessageManager::getInstance()->runDispatchLoop();

    const auto completed = protocol.getStatusText() == "Update completed";
    std::cout << "status: " << protocol.getStatusText() << "\n"
              << "bytes: " << image->getSize() << "\n"
              << "send time: " << juce::String (watcher.secondsToLastSend(), 3) << " s\n";
    return completed ? 0 : 1;
}
