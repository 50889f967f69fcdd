#include "MidiInterfaceClass.h"

namespace
{
    constexpr int heightPerDirection = 50;
    constexpr int selectorTop = 20;
    constexpr int selectorHeight = 30;

    /** For a sender that must not be paced (to measure, or to show what pacing prevents). */
    class NoPacing final : public SendPacing
    {
    public:
        bool waitForBytes (int) override { return true; }
    };

    NoPacing noPacing;

    bool isPortId (int itemId, const juce::Array<juce::MidiDeviceInfo>& devices) noexcept
    {
        return itemId >= 1 && itemId <= devices.size();
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
        outputDevices = portProvider.getOutputDevices();
        buildSelector (outputSelector, outputSelectorLabel, "Output Selector", "Select an output device:", outputDevices);
    }

    if (inputEnabled)
    {
        inputDevices = portProvider.getInputDevices();
        buildSelector (inputSelector, inputSelectorLabel, "Input Selector", "Select an input device:", inputDevices);
    }
}

MidiInterfaceClass::~MidiInterfaceClass()
{
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

    const auto disconnectedId = devices.size() + 1;
    selector->addItem ("(Disconnected)", disconnectedId);

    if (! devices.isEmpty())
        selector->addSeparator();

    for (int i = 0; i < devices.size(); ++i)
        selector->addItem (devices.getReference (i).name, i + 1);

    // Every selector starts on "(Disconnected)"; its notification tells the listeners so.
    selector->setSelectedId (disconnectedId, juce::sendNotificationAsync);
    selector->addListener (this);
}

//==============================================================================
int MidiInterfaceClass::sendBytes (const juce::uint8* data, int numBytes)
{
    const std::lock_guard<std::mutex> lock (portLock);

    if (midiOutput == nullptr)
    {
        sendError = "the MIDI output is not open";
        return sendFailed;
    }

    // Still under the lock while the port takes the message (or its pace is waited for):
    // the port must not change before the message has left it.
    return sendResult (midiOutput->sendMessage (data, numBytes, pacingEnabled ? static_cast<SendPacing&> (pacer) : noPacing));
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

int MidiInterfaceClass::waitUntilSent()
{
    const std::lock_guard<std::mutex> lock (portLock);

    if (midiOutput == nullptr)
        return 0;

    return sendResult (midiOutput->waitUntilSent (pacingEnabled ? static_cast<SendPacing&> (pacer) : noPacing));
}

bool MidiInterfaceClass::isOutputStillPresent()
{
    const std::lock_guard<std::mutex> lock (portLock);
    return midiOutput != nullptr && portProvider.isOutputPresent (openOutput);
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
    // The port in use stays open when it is chosen again: closing it could only lose what
    // it still holds, and a transfer may be sending through it. One whose send failed is
    // opened afresh, so that choosing it again is how the user retries.
    if (itemId == openOutputId && outputOpen && ! outputFailed)
        return;

    const std::lock_guard<std::mutex> lock (portLock);

    // The old port goes first: a device may refuse to be opened twice.
    midiOutput = nullptr;
    openOutputId = 0;

    if (isPortId (itemId, outputDevices))
    {
        openOutput = outputDevices.getReference (itemId - 1);
        midiOutput = portProvider.openOutputPort (openOutput);
    }

    if (midiOutput != nullptr)
        openOutputId = itemId;

    pacer.reset();
    outputFailed = false;
    outputOpen = midiOutput != nullptr;
    ++outputSerial;
}

void MidiInterfaceClass::closeOutputDevice()
{
    const std::lock_guard<std::mutex> lock (portLock);
    midiOutput = nullptr;
    openOutputId = 0;
    outputOpen = false;
    ++outputSerial;
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
