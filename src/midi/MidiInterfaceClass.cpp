#include "MidiInterfaceClass.h"

namespace
{
    constexpr int heightPerDirection = 50;
    constexpr int selectorTop = 20;
    constexpr int selectorHeight = 30;

    bool isPortId (int itemId, const juce::Array<juce::MidiDeviceInfo>& devices) noexcept
    {
        return itemId >= 1 && itemId <= devices.size();
    }

    /** The first port in devices named name that is not among earlier, if there is one. */
    const juce::MidiDeviceInfo* findNewcomerNamed (const juce::Array<juce::MidiDeviceInfo>& devices, const juce::String& name,
                                                   const juce::Array<juce::MidiDeviceInfo>& earlier)
    {
        for (auto& device : devices)
            if (device.name == name && ! earlier.contains (device))
                return &device;

        return nullptr;
    }
} // namespace

//==============================================================================
MidiInterfaceClass::MidiInterfaceClass (bool useOutput, bool useInput)
    : portProvider (MidiPortProvider::getCurrent()),
      inputEnabled (useInput),
      outputEnabled (useOutput)
{
    if (outputEnabled)
    {
        systemOutputs = outputDevices = portProvider.getOutputDevices();
        buildSelector (outputSelector, outputSelectorLabel, "Output Selector", "Select an output device:", outputDevices);
        startTimer (refreshIntervalMs);
    }

    if (inputEnabled)
    {
        inputDevices = portProvider.getInputDevices();
        buildSelector (inputSelector, inputSelectorLabel, "Input Selector", "Select an input device:", inputDevices);
    }
}

MidiInterfaceClass::~MidiInterfaceClass()
{
    stopTimer();
    closeInputDevice();
    closeOutputDevice();
}

void MidiInterfaceClass::buildSelector (std::unique_ptr<juce::ComboBox>& selector, std::unique_ptr<juce::Label>& label,
                                        const juce::String& name, const juce::String& caption,
                                        const juce::Array<juce::MidiDeviceInfo>& devices)
{
    selector = std::make_unique<juce::ComboBox> (name);
    addAndMakeVisible (*selector);

    label = std::make_unique<juce::Label> (juce::String(), caption);
    label->attachToComponent (selector.get(), false);

    fillSelector (*selector, devices, 0);

    // Every selector starts on "(Disconnected)"; its notification tells the listeners so.
    selector->setSelectedId (devices.size() + 1, juce::sendNotificationAsync);
    selector->addListener (this);
}

void MidiInterfaceClass::fillSelector (juce::ComboBox& selector, const juce::Array<juce::MidiDeviceInfo>& devices, int selectedId)
{
    selector.clear (juce::dontSendNotification);
    selector.addItem ("(Disconnected)", devices.size() + 1);

    if (! devices.isEmpty())
        selector.addSeparator();

    for (int i = 0; i < devices.size(); ++i)
        selector.addItem (devices.getReference (i).name, i + 1);

    if (selectedId > 0)
        selector.setSelectedId (selectedId, juce::dontSendNotification);
}

//==============================================================================
int MidiInterfaceClass::sendBytes (const juce::uint8* data, int numBytes)
{
    return sendBytesTo (outputSerial, data, numBytes);
}

int MidiInterfaceClass::sendBytesTo (int serial, const juce::uint8* data, int numBytes)
{
    const std::lock_guard<std::mutex> lock (portLock);

    if (serial != outputSerial)
    {
        sendError = "the MIDI output was changed during the update";
        return sendFailed;
    }

    if (midiOutput == nullptr)
    {
        sendError = "the MIDI output is not open";
        return sendFailed;
    }

    // Still under the lock while the port takes the message: the port must not change
    // before the message has left it.
    return sendResult (midiOutput->sendMessage (data, numBytes));
}

int MidiInterfaceClass::sendResult (const juce::Result& result)
{
    if (result.wasOk())
        return 0;

    outputFailed = true;
    sendError = portProvider.isOutputPresent (openOutput) ? result.getErrorMessage()
                                                          : juce::String ("the device was disconnected");
    return sendFailed;
}

juce::String MidiInterfaceClass::getSendError()
{
    const std::lock_guard<std::mutex> lock (portLock);
    return sendError;
}

int MidiInterfaceClass::waitUntilSent (int serial)
{
    const std::lock_guard<std::mutex> lock (portLock);

    if (serial != outputSerial)
    {
        sendError = "the MIDI output was changed during the update";
        return sendFailed;
    }

    if (midiOutput == nullptr)
        return 0;

    return sendResult (midiOutput->waitUntilSent());
}

bool MidiInterfaceClass::isOutputStillPresent()
{
    const std::lock_guard<std::mutex> lock (portLock);
    return midiOutput != nullptr && portProvider.isOutputPresent (openOutput);
}

void MidiInterfaceClass::setPacingEnabled (bool shouldPace)
{
    const std::lock_guard<std::mutex> lock (portLock);
    pacingEnabled = shouldPace;

    if (midiOutput != nullptr)
        midiOutput->setPacingEnabled (shouldPace);
}

int MidiInterfaceClass::readBytes (juce::uint8* destination, unsigned int maxBytes)
{
    if (! inputOpen)
        return 0;

    auto readPos = receiveReadPos.load (std::memory_order_relaxed);
    const auto writePos = receiveWritePos.load (std::memory_order_acquire);
    unsigned int numRead = 0;

    while (numRead < maxBytes)
    {
        if (readPos == receiveBufferSize)
            readPos = 0;

        if (readPos == writePos)
            break;

        destination[numRead++] = receiveBuffer[readPos++];
    }

    receiveReadPos.store (readPos, std::memory_order_release);
    return (int) numRead;
}

void MidiInterfaceClass::handleIncomingMidiMessage (juce::MidiInput*, const juce::MidiMessage& message)
{
    // Nothing detects a full ring: a writer that runs past the reader loses the older bytes.
    auto writePos = receiveWritePos.load (std::memory_order_relaxed);

    for (int i = 0; i < message.getRawDataSize(); ++i)
    {
        receiveBuffer[writePos] = message.getRawData()[i];

        if (++writePos == receiveBufferSize)
            writePos = 0;
    }

    receiveWritePos.store (writePos, std::memory_order_release);
}

//==============================================================================
bool MidiInterfaceClass::isConnected()
{
    if (outputEnabled && inputEnabled)
        return outputOpen && inputOpen;

    if (outputEnabled)
        return outputOpen;

    if (inputEnabled)
        return inputOpen;

    return false;
}

int MidiInterfaceClass::getPreferredHeight()
{
    return outputEnabled && inputEnabled ? 2 * heightPerDirection : heightPerDirection;
}

void MidiInterfaceClass::resized()
{
    auto top = selectorTop;

    for (auto* selector : { outputSelector.get(), inputSelector.get() })
    {
        if (selector != nullptr)
        {
            selector->setBounds (0, top, getWidth(), selectorHeight);
            top += heightPerDirection;
        }
    }
}

//==============================================================================
void MidiInterfaceClass::selectOutputDevice (int itemId)
{
    if (outputSelector != nullptr)
    {
        outputSelector->setSelectedId (itemId, juce::sendNotificationAsync);
        openDeviceOf (*outputSelector, itemId);
    }
}

void MidiInterfaceClass::selectInputDevice (int itemId)
{
    if (inputSelector != nullptr)
    {
        inputSelector->setSelectedId (itemId, juce::sendNotificationAsync);
        openDeviceOf (*inputSelector, itemId);
    }
}

void MidiInterfaceClass::comboBoxChanged (juce::ComboBox* box)
{
    openDeviceOf (*box, box->getSelectedId());
}

void MidiInterfaceClass::openDeviceOf (juce::ComboBox& selector, int itemId)
{
    // An id outside the port list ("(Disconnected)", or a larger id given to
    // selectOutputDevice) closes the port and opens none.
    if (&selector == outputSelector.get())
        openOutputDevice (itemId);
    else
        openInputDevice (itemId);

    sendChangeMessage();
}

//==============================================================================
void MidiInterfaceClass::openOutputDevice (int itemId)
{
    if (! isPortId (itemId, outputDevices))
    {
        hasChosenOutput = false;
        outputError = {};
        closeOutputDevice();
        return;
    }

    const auto device = outputDevices[itemId - 1];

    // The port in use stays open when it is chosen again: closing it could only lose what
    // it still holds, and a transfer may be sending through it. One whose send failed is
    // opened afresh, so that choosing it again is how the user retries.
    if (hasChosenOutput && device == chosenOutput && device == openOutput && outputOpen && ! outputFailed)
        return;

    // Choosing the entry of a device that has gone again keeps what was there when it left.
    if (! (hasChosenOutput && device == chosenOutput))
        outputsWhileChosenPresent = systemOutputs;

    hasChosenOutput = true;
    chosenOutput = device;
    openChosenOutput();
}

void MidiInterfaceClass::followChosenOutput()
{
    if (! hasChosenOutput)
        return;

    // A device plugged in again is a new port of the old name. Only a port that appeared
    // after the chosen device left can be it: a second device of that name that was there
    // all along is another one (two identical pedals), and must never receive its firmware.
    if (! systemOutputs.contains (chosenOutput))
        if (const auto* newcomer = findNewcomerNamed (systemOutputs, chosenOutput.name, outputsWhileChosenPresent))
            chosenOutput = *newcomer;

    if (systemOutputs.contains (chosenOutput))
        outputsWhileChosenPresent = systemOutputs;
}

bool MidiInterfaceClass::readSystemOutputs()
{
    auto current = portProvider.getOutputDevices();

    if (current == systemOutputs)
        return false;

    systemOutputs = std::move (current);
    followChosenOutput();
    updateOutputList();
    return true;
}

bool MidiInterfaceClass::openChosenOutput()
{
    const std::lock_guard<std::mutex> lock (portLock);

    // The old port goes first: a device may refuse to be opened twice.
    midiOutput = nullptr;
    juce::String whyNot;

    if (systemOutputs.contains (chosenOutput))
        midiOutput = portProvider.openOutputPort (chosenOutput, whyNot);
    else
        whyNot = "the device was disconnected";

    if (midiOutput != nullptr)
        midiOutput->setPacingEnabled (pacingEnabled);

    openOutput = chosenOutput;
    outputError = midiOutput != nullptr ? juce::String() : (whyNot.isNotEmpty() ? whyNot : juce::String ("the MIDI output could not be opened"));
    outputFailed = false;
    outputOpen = midiOutput != nullptr;
    ++outputSerial;
    return outputOpen;
}

void MidiInterfaceClass::closeOutputDevice()
{
    const std::lock_guard<std::mutex> lock (portLock);
    midiOutput = nullptr;
    outputOpen = false;
    ++outputSerial;
}

juce::Result MidiInterfaceClass::prepareOutput()
{
    if (! hasChosenOutput)
        return juce::Result::fail ("no MIDI output is selected");

    // The list and the port snapshot move together, so that a port plugged in just before
    // the press is offered as well.
    const auto listChanged = readSystemOutputs();

    if (outputOpen && ! outputFailed && openOutput == chosenOutput && systemOutputs.contains (openOutput))
    {
        if (listChanged)
            sendChangeMessage();

        return juce::Result::ok();
    }

    const auto opened = openChosenOutput();
    sendChangeMessage();

    return opened ? juce::Result::ok() : juce::Result::fail (outputError);
}

void MidiInterfaceClass::refreshOutputs()
{
    if (outputSelector == nullptr || ! isEnabled() || outputSelector->isPopupActive())
        return;

    auto changed = readSystemOutputs();

    // A chosen port that another program held, or whose device was away, is tried again
    // (without waiting): it opens once it is free.
    if (hasChosenOutput && ! outputOpen && systemOutputs.contains (chosenOutput))
    {
        const auto oldError = outputError;
        changed = openChosenOutput() || outputError != oldError || changed;
    }

    if (changed)
        sendChangeMessage();
}

void MidiInterfaceClass::updateOutputList()
{
    auto listed = systemOutputs;
    const auto chosenGone = hasChosenOutput && ! systemOutputs.contains (chosenOutput);

    if (chosenGone)
        listed.add (chosenOutput);

    if (listed != outputDevices)
    {
        outputDevices = listed;
        fillSelector (*outputSelector, outputDevices, hasChosenOutput ? outputDevices.indexOf (chosenOutput) + 1 : outputDevices.size() + 1);
    }

    // The entry of a device that has gone stays, chosen and greyed, until a port that
    // appears later stands for it.
    if (chosenGone)
        outputSelector->setItemEnabled (outputDevices.size(), false);
}

void MidiInterfaceClass::openInputDevice (int itemId)
{
    closeInputDevice();

    if (! isPortId (itemId, inputDevices))
        return;

    // Input ports are not shared with the protocol thread, so they need no lock.
    midiInput = portProvider.openInputPort (inputDevices.getReference (itemId - 1), *this);

    if (midiInput != nullptr)
    {
        midiInput->start();
        inputOpen = true;
    }
}

void MidiInterfaceClass::closeInputDevice()
{
    if (midiInput != nullptr)
    {
        midiInput->stop();
        midiInput = nullptr;
    }

    inputOpen = false;
}
