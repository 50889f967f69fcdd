#pragma once

//==============================================================================
/**
    The wait a sender makes after handing bytes to a port whose send returns before the
    port has transmitted them (the ALSA sequencer, CoreMIDI): what is pushed faster than
    the wire drains overflows the port's buffer and is dropped without an error.
*/
class SendPacing
{
public:
    virtual ~SendPacing() = default;

    /** Call right after numBytes were handed to the port; returns once the port has had
        time to send them. Returns false, early, when the sending thread has been asked to
        exit: the bytes are already with the port, so nothing is lost by not waiting. */
    virtual bool waitForBytes (int numBytes) = 0;

    /** Returns once the port has had time to send everything handed to it: the end of a
        transfer. False, early, on an exit request of the waiting thread. */
    virtual bool waitUntilIdle() { return true; }

    /** A newly opened port is free now, whatever the previous one was doing. */
    virtual void reset() noexcept {}
};
