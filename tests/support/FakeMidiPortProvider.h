#pragma once

#include "midi/MidiPortProvider.h"

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

//==============================================================================
/**
    Fake MIDI ports, installed as the current MidiPortProvider for as long as it lives, so
    that every MidiInterfaceClass built meanwhile (inside the update panel, too) lists and
    opens these ports.

    It records every message sent, with its bytes, and every opening, closing and send of a
    port in one event log. Devices can be plugged in and unplugged while it lives. Thread-safe: the protocol thread sends while a test reads.
    Its ports' sends wait for nothing and take no pacing. A port can be made to refuse a
    send, and a device can be unplugged: it leaves the port list, and its open port then
    refuses sends or, like a port that reports nothing, quietly drops them.
*/
class FakeMidiPortProvider final : public MidiPortProvider
{
public:
    struct SentMessage
    {
        juce::String port;
        std::vector<juce::uint8> bytes;
        juce::String identifier; // tells apart ports of the same name
    };

    explicit FakeMidiPortProvider (juce::StringArray outputNames = { "A", "B" },
                                   juce::StringArray inputNames = {})
        : outputs (makeDevices (outputNames, "out")),
          inputs (makeDevices (inputNames, "in"))
    {
        MidiPortProvider::setCurrent (this);
    }

    ~FakeMidiPortProvider() override { MidiPortProvider::setCurrent (nullptr); }

    //==============================================================================
    /** Ports with these names fail to open. Set before the ports are opened. */
    juce::StringArray portsThatFailToOpen;

    /** Runs inside every send, on the sending thread, before the message is recorded (for
        example to hold a send in flight). Set before anything is sent. */
    std::function<void (const juce::String& port)> duringSend;

    /** Every send first blocks this long, deaf to an exit request, as a driver's send that
        waits for the device does. Set before anything is sent. */
    int sendBlockIgnoringExitMs = 0;

    /** Sends that have begun, and those that have returned (a thread killed inside a send
        never returns from it). */
    int getSendsBegun() const noexcept { return sendsBegun; }
    int getSendsReturned() const noexcept { return sendsReturned; }

    /** Runs inside the wait at the end of a transfer, on the sending thread. Set before
        anything is sent. */
    std::function<void (const juce::String& port)> duringWaitUntilSent;

    /** The port refuses this send (counted from 1 over all ports) with this reason. */
    void failSend (int sendNumber, const juce::String& reason)
    {
        const std::lock_guard<std::mutex> lock (mutex);
        failingSend = sendNumber;
        failureReason = reason;
    }

    /** The wait at the end of a transfer, for the device to be sent everything, fails with
        this reason. */
    void failWaitUntilSent (const juce::String& reason)
    {
        const std::lock_guard<std::mutex> lock (mutex);
        waitFailure = reason;
    }

    /** Takes a device out of the port list. An open port of it then drops what it is given
        when quiet (as ports that report no errors do), and refuses it otherwise. */
    void unplug (const juce::String& name, bool quiet)
    {
        const std::lock_guard<std::mutex> lock (mutex);

        for (auto& device : outputs)
            if (device.name == name)
                unplugged.addIfNotAlreadyThere (device.identifier);

        quietWhenUnplugged = quiet;
    }

    /** Takes the one device at this position of the current port list out of it, as unplug does. */
    void unplugAt (int position, bool quiet)
    {
        const auto identifier = getOutputDevices()[position].identifier;
        const std::lock_guard<std::mutex> lock (mutex);
        unplugged.addIfNotAlreadyThere (identifier);
        quietWhenUnplugged = quiet;
    }

    /** Puts a device into the port list, or back into it: as a new port, with an identifier
        of its own, as a device plugged in again is. Its earlier ports stay gone, unless it is
        another device of the same name (alongside). Returns the new port's identifier. */
    juce::String plug (const juce::String& name, bool alongside = false)
    {
        const std::lock_guard<std::mutex> lock (mutex);

        if (! alongside)
            for (auto& device : outputs)
                if (device.name == name)
                    unplugged.addIfNotAlreadyThere (device.identifier);

        const auto identifier = "out" + juce::String (outputs.size());
        outputs.add ({ name, identifier });
        return identifier;
    }

    std::vector<SentMessage> getSentMessages() const
    {
        const std::lock_guard<std::mutex> lock (mutex);
        return sent;
    }

    /** "open X", "close X" and "sent X" entries, in the order they happened. */
    juce::StringArray getEvents() const
    {
        const std::lock_guard<std::mutex> lock (mutex);
        return events;
    }

    /** The identifier of every output port opened, in order. */
    juce::StringArray getOpenedIdentifiers() const
    {
        const std::lock_guard<std::mutex> lock (mutex);
        return openedIdentifiers;
    }

    juce::StringArray getOpenOutputs() const
    {
        const std::lock_guard<std::mutex> lock (mutex);
        return openOutputs;
    }

    /** Delivers a message as the port's input thread would; false when that input is not
        open and started. */
    bool deliverToInput (const juce::String& port, const juce::MidiMessage& message)
    {
        juce::MidiInputCallback* callback = nullptr;

        {
            const std::lock_guard<std::mutex> lock (mutex);

            for (auto& input : startedInputs)
                if (input.first == port)
                    callback = input.second;
        }

        if (callback == nullptr)
            return false;

        callback->handleIncomingMidiMessage (nullptr, message);
        return true;
    }

    //==============================================================================
    juce::Array<juce::MidiDeviceInfo> getOutputDevices() override
    {
        const std::lock_guard<std::mutex> lock (mutex);
        auto present = outputs;
        present.removeIf ([this] (const juce::MidiDeviceInfo& device) { return unplugged.contains (device.identifier); });
        return present;
    }

    juce::Array<juce::MidiDeviceInfo> getInputDevices() override { return inputs; }

    std::unique_ptr<MidiOutputPort> openOutputPort (const juce::MidiDeviceInfo& device, juce::String& whyNot) override
    {
        if (portsThatFailToOpen.contains (device.name))
        {
            whyNot = "the MIDI output is in use by another program";
            return nullptr;
        }

        addEvent ("open " + device.name);
        {
            const std::lock_guard<std::mutex> lock (mutex);
            openOutputs.add (device.name);
            openedIdentifiers.add (device.identifier);
        }
        return std::make_unique<Output> (*this, device);
    }

    std::unique_ptr<MidiInputPort> openInputPort (const juce::MidiDeviceInfo& device,
                                                  juce::MidiInputCallback& callback) override
    {
        if (portsThatFailToOpen.contains (device.name))
            return nullptr;

        addEvent ("open " + device.name);
        return std::make_unique<Input> (*this, device.name, callback);
    }

private:
    //==============================================================================
    class Output final : public MidiOutputPort
    {
    public:
        Output (FakeMidiPortProvider& o, const juce::MidiDeviceInfo& d) : owner (o), name (d.name), identifier (d.identifier) {}

        ~Output() override
        {
            owner.addEvent ("close " + name);
            const std::lock_guard<std::mutex> lock (owner.mutex);
            owner.openOutputs.removeString (name);
        }

        juce::Result sendMessage (const juce::uint8* data, int numBytes) override
        {
            ++owner.sendsBegun;
            const auto result = send (data, numBytes);
            ++owner.sendsReturned;
            return result;
        }

        juce::Result waitUntilSent() override
        {
            if (owner.duringWaitUntilSent)
                owner.duringWaitUntilSent (name);

            const std::lock_guard<std::mutex> lock (owner.mutex);
            return owner.waitFailure.isEmpty() ? juce::Result::ok() : juce::Result::fail (owner.waitFailure);
        }

    private:
        juce::Result send (const juce::uint8* data, int numBytes)
        {
            if (owner.sendBlockIgnoringExitMs > 0)
                std::this_thread::sleep_for (std::chrono::milliseconds (owner.sendBlockIgnoringExitMs));

            if (owner.duringSend)
                owner.duringSend (name);

            const std::lock_guard<std::mutex> lock (owner.mutex);

            if (owner.unplugged.contains (identifier))
                return owner.quietWhenUnplugged ? juce::Result::ok() : juce::Result::fail ("the port is gone");

            if (++owner.sendCount == owner.failingSend)
                return juce::Result::fail (owner.failureReason);

            owner.sent.push_back ({ name, std::vector<juce::uint8> (data, data + numBytes), identifier });
            owner.events.add ("sent " + name);
            return juce::Result::ok();
        }

        FakeMidiPortProvider& owner;
        const juce::String name, identifier;
    };

    class Input final : public MidiInputPort
    {
    public:
        Input (FakeMidiPortProvider& o, const juce::String& n, juce::MidiInputCallback& c)
            : owner (o), name (n), callback (c) {}

        ~Input() override
        {
            stop();
            owner.addEvent ("close " + name);
        }

        void start() override
        {
            const std::lock_guard<std::mutex> lock (owner.mutex);
            owner.startedInputs.push_back ({ name, &callback });
        }

        void stop() override
        {
            const std::lock_guard<std::mutex> lock (owner.mutex);
            auto& started = owner.startedInputs;
            started.erase (std::remove_if (started.begin(), started.end(),
                                           [this] (auto& input) { return input.second == &callback && input.first == name; }),
                           started.end());
        }

    private:
        FakeMidiPortProvider& owner;
        const juce::String name;
        juce::MidiInputCallback& callback;
    };

    //==============================================================================
    static juce::Array<juce::MidiDeviceInfo> makeDevices (const juce::StringArray& names, const juce::String& prefix)
    {
        juce::Array<juce::MidiDeviceInfo> devices;
        for (int i = 0; i < names.size(); ++i)
            devices.add ({ names[i], prefix + juce::String (i) });
        return devices;
    }

    void addEvent (const juce::String& event)
    {
        const std::lock_guard<std::mutex> lock (mutex);
        events.add (event);
    }

    juce::Array<juce::MidiDeviceInfo> outputs; // under mutex
    const juce::Array<juce::MidiDeviceInfo> inputs;

    mutable std::mutex mutex;
    std::vector<SentMessage> sent;
    juce::StringArray events, openOutputs, openedIdentifiers;
    std::vector<std::pair<juce::String, juce::MidiInputCallback*>> startedInputs;
    juce::StringArray unplugged; // identifiers
    bool quietWhenUnplugged = false;
    int sendCount = 0, failingSend = 0;
    std::atomic<int> sendsBegun { 0 }, sendsReturned { 0 };
    juce::String failureReason;
    juce::String waitFailure;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (FakeMidiPortProvider)
};
