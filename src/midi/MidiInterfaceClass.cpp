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
        return 0;

    midiOutput->sendMessage (data, numBytes);

    // Still under the lock: the port must not change before the message has left it.
    if (pacingEnabled && ! midiOutput->sendWaitsForPort())
        pacer.waitForMessage (numBytes);

    return 0;
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
    const std::lock_guard<std::mutex> lock (portLock);

    // The old port goes first: a device may refuse to be opened twice.
    midiOutput = nullptr;

    if (isPortId (itemId, outputDevices))
        midiOutput = portProvider.openOutputPort (outputDevices.getReference (itemId - 1));

    pacer.reset();
    outputOpen = midiOutput != nullptr;
}

void MidiInterfaceClass::closeOutputDevice()
{
    const std::lock_guard<std::mutex> lock (portLock);
    midiOutput = nullptr;
    outputOpen = false;
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
