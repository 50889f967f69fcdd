#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

//==============================================================================
/**
    A connection to the pedal, shown as a component with its port selectors.

    It broadcasts a change (asynchronously, naming itself) whenever its ports change.
    sendBytes is the one operation called off the message thread: the protocol thread
    sends through it.
*/
class InterfaceBaseClass : public juce::Component,
                           public juce::ChangeBroadcaster
{
public:
    InterfaceBaseClass() = default;
    ~InterfaceBaseClass() override = default;

    /** Every interface lays out its own selectors. */
    void resized() override = 0;

    /** Copies up to maxBytes received bytes, oldest first; returns how many were copied. */
    // Kept although the app never opens an input: a protocol that reads the pedal's replies needs it.
    virtual int readBytes (juce::uint8* destination, unsigned int maxBytes) = 0;

    /** Sends one whole message and returns once the port has taken it; nothing happens when
        no port is open. Always returns 0: a send reports nothing. */
    virtual int sendBytes (const juce::uint8* data, int numBytes) = 0;

    virtual bool isConnected() = 0;
    virtual int getPreferredHeight() = 0;

    /** Chooses a port by item id: 1 to n for the ports listed at construction, n + 1 for none. */
    virtual void selectOutputDevice (int itemId) = 0;
    // Kept for the same input path; the app builds its interface with the output direction only.
    virtual void selectInputDevice (int itemId) = 0;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (InterfaceBaseClass)
};
