#include "ProtocolBaseClass.h"

ProtocolBaseClass::ProtocolBaseClass (InterfaceBaseClass* midiInterfaceToUse, FirmwareImage* firmwareImageToSend)
    : juce::Thread ("Protocol Thread"),
      midiInterface (midiInterfaceToUse),
      firmwareImage (firmwareImageToSend)
{
}

void ProtocolBaseClass::startProtocol()
{
    if (! isThreadRunning())
    {
        setOutcome (Outcome::none);
        setProgress (0.0);
        startThread (juce::Thread::Priority::low);
    }
    else if (getProgress() == 1.0)
    {
        setProgress (0.0);
    }
}
