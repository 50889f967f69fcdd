#include "WinMmOutputPort.h"
#include "midi/MidiSendPacer.h"

#ifndef NOMINMAX
 #define NOMINMAX
#endif
#include <windows.h>
#include <mmsystem.h>

#include <chrono>

namespace
{
    // Asked of the driver for the device's interface path, which tells two ports of one
    // name apart; not every driver answers.
    constexpr UINT queryInterfaceSize = DRV_RESERVED + 13;
    constexpr UINT queryInterface = DRV_RESERVED + 12;

    juce::String interfaceOf (UINT deviceNumber)
    {
        ULONG size = 0;

        if (midiOutMessage ((HMIDIOUT) (UINT_PTR) deviceNumber, queryInterfaceSize, (DWORD_PTR) &size, 0) != MMSYSERR_NOERROR)
            return {};

        WCHAR name[512] = {};

        if (! juce::isPositiveAndBelow (size, sizeof (name))
            || midiOutMessage ((HMIDIOUT) (UINT_PTR) deviceNumber, queryInterface, (DWORD_PTR) name, sizeof (name)) != MMSYSERR_NOERROR)
            return {};

        return name;
    }

    /** The flags of a header that the driver's thread may be writing. */
    DWORD flagsOf (MIDIHDR& header) noexcept
    {
        return (DWORD) InterlockedOr (reinterpret_cast<volatile LONG*> (&header.dwFlags), 0);
    }
} // namespace

//==============================================================================
struct WinMmOutputPort::Native
{
    HMIDIOUT handle = nullptr;
    HANDLE doneEvent = nullptr; // set by the driver on open, on every done header and on close
    MIDIHDR header {};
    bool headerPrepared = false;
};

std::optional<unsigned int> WinMmOutputPort::findDeviceNumber (const juce::MidiDeviceInfo& device)
{
    juce::StringArray names, identifiers;
    juce::Array<UINT> numbers;

    for (UINT i = 0, count = midiOutGetNumDevs(); i < count; ++i)
    {
        MIDIOUTCAPSW caps {};

        if (midiOutGetDevCapsW (i, &caps, sizeof (caps)) != MMSYSERR_NOERROR)
            continue;

        const juce::String name (caps.szPname);
        const auto path = interfaceOf (i);
        names.add (name);
        identifiers.add (path.isNotEmpty() ? path : name);
        numbers.add (i);
    }

    // The same numbering of repeated names as the port list's.
    names.appendNumbersToDuplicates (false, false, juce::CharPointer_UTF8 ("-"), juce::CharPointer_UTF8 (""));
    identifiers.appendNumbersToDuplicates (false, false, juce::CharPointer_UTF8 ("-"), juce::CharPointer_UTF8 (""));

    for (int i = 0; i < numbers.size(); ++i)
        if (identifiers[i] == device.identifier && names[i] == device.name)
            return numbers[i];

    return std::nullopt;
}

std::unique_ptr<WinMmOutputPort> WinMmOutputPort::open (const juce::MidiDeviceInfo& device, juce::String& whyNot)
{
    const auto number = findDeviceNumber (device);

    if (! number.has_value())
    {
        whyNot = "the device was disconnected";
        return nullptr;
    }

    auto native = std::make_unique<Native>();
    native->doneEvent = CreateEventW (nullptr, FALSE, FALSE, nullptr);

    if (native->doneEvent == nullptr)
    {
        whyNot = "the MIDI output could not be opened";
        return nullptr;
    }

    const auto result = midiOutOpen (&native->handle, *number, (DWORD_PTR) native->doneEvent, 0, CALLBACK_EVENT);

    if (result != MMSYSERR_NOERROR)
    {
        CloseHandle (native->doneEvent);
        whyNot = describe (result);
        return nullptr;
    }

    return std::unique_ptr<WinMmOutputPort> (new WinMmOutputPort (std::move (native)));
}

WinMmOutputPort::WinMmOutputPort (std::unique_ptr<Native> nativeToUse) : native (std::move (nativeToUse))
{
}

WinMmOutputPort::~WinMmOutputPort()
{
    takeHeaderBack();

    // A driver that still holds something refuses the close until it is reset.
    if (midiOutClose (native->handle) == MIDIERR_STILLPLAYING)
    {
        midiOutReset (native->handle);
        midiOutClose (native->handle);
    }

    CloseHandle (native->doneEvent);
}

//==============================================================================
juce::Result WinMmOutputPort::sendMessage (const juce::uint8* data, int numBytes)
{
    auto& header = native->header;
    header = {};
    // WinMM only reads a header's bytes; the message stays where it is until the header is back.
    header.lpData = reinterpret_cast<LPSTR> (const_cast<juce::uint8*> (data));
    header.dwBufferLength = header.dwBytesRecorded = (DWORD) numBytes;

    if (const auto prepared = midiOutPrepareHeader (native->handle, &header, sizeof (header)); prepared != MMSYSERR_NOERROR)
        return juce::Result::fail (describe (prepared));

    native->headerPrepared = true;
    ResetEvent (native->doneEvent);

    if (const auto queued = midiOutLongMsg (native->handle, &header, sizeof (header)); queued != MMSYSERR_NOERROR)
    {
        takeHeaderBack();
        return juce::Result::fail (describe (queued));
    }

    const auto outcome = waitForHeader (numBytes);
    takeHeaderBack();

    switch (outcome)
    {
        case Wait::stopped: return juce::Result::fail ("the transfer was stopped");
        case Wait::stalled: return juce::Result::fail ("the device stopped taking data");
        case Wait::done:    break;
    }

    // A port that goes away hands its headers back as done, untaken bytes and all: only the
    // port itself can tell.
    return checkStillThere();
}

WinMmOutputPort::Wait WinMmOutputPort::waitForHeader (int numBytes)
{
    using Clock = std::chrono::steady_clock;
    const auto giveUpAt = Clock::now() + MidiSendPacer::pacedDuration (numBytes) + std::chrono::milliseconds (stallTimeoutMs);

    for (;;)
    {
        if ((flagsOf (native->header) & MHDR_DONE) != 0)
            return Wait::done;

        if (juce::Thread::currentThreadShouldExit())
            return Wait::stopped;

        const auto left = std::chrono::duration_cast<std::chrono::milliseconds> (giveUpAt - Clock::now()).count();

        if (left <= 0)
            return Wait::stalled;

        WaitForSingleObject (native->doneEvent, (DWORD) juce::jmin ((long long) pollSliceMs, (long long) left));
    }
}

void WinMmOutputPort::takeHeaderBack()
{
    if (! native->headerPrepared)
        return;

    // The driver hands a queued header back, marked done, only when it is reset.
    if ((flagsOf (native->header) & MHDR_INQUEUE) != 0)
        midiOutReset (native->handle);

    // A driver may mark the header done a moment after the reset returns; the header must
    // not be used again before it is unprepared.
    for (int attempt = 0; attempt < 50; ++attempt)
    {
        if (midiOutUnprepareHeader (native->handle, &native->header, sizeof (native->header)) != MIDIERR_STILLPLAYING)
            break;

        WaitForSingleObject (native->doneEvent, 10);
    }

    native->headerPrepared = false;
}

juce::Result WinMmOutputPort::checkStillThere()
{
    UINT number = 0;
    const auto result = midiOutGetID (native->handle, &number);
    return result == MMSYSERR_NOERROR ? juce::Result::ok() : juce::Result::fail (describe (result));
}

juce::String WinMmOutputPort::describe (unsigned int errorCode)
{
    switch (errorCode)
    {
        case MMSYSERR_NODRIVER:
        case MMSYSERR_BADDEVICEID:
        case MMSYSERR_INVALHANDLE:
        case MIDIERR_NODEVICE:
            return "the device was disconnected";

        case MMSYSERR_ALLOCATED:
            return "the MIDI output is in use by another program (quit any MIDI application and try again)";

        default:
            break;
    }

    WCHAR text[MAXERRORLENGTH] = {};

    if (midiOutGetErrorTextW (errorCode, text, MAXERRORLENGTH) == MMSYSERR_NOERROR && text[0] != 0)
        return "the MIDI output reported an error (" + juce::String (text) + ")";

    return "the MIDI output reported error " + juce::String (errorCode);
}
