#include "WineRepaintPump.h"

#ifndef NOMINMAX
 #define NOMINMAX
#endif
#include <windows.h>

bool WineRepaintPump::isRunningUnderWine()
{
    const auto ntdll = GetModuleHandleW (L"ntdll.dll");
    return ntdll != nullptr && GetProcAddress (ntdll, "wine_get_version") != nullptr;
}

void WineRepaintPump::startIfUnderWine()
{
    // Deleted with the framework's other leftovers at shutdown.
    if (isRunningUnderWine())
        new WineRepaintPump();
}

WineRepaintPump::WineRepaintPump()
{
    startTimer (intervalMs);
}

WineRepaintPump::~WineRepaintPump()
{
    stopTimer();
}

void WineRepaintPump::timerCallback()
{
    // A peer's repaint may close a window, and with it a peer, so the count is read anew.
    for (int i = 0; i < juce::ComponentPeer::getNumPeers(); ++i)
        if (auto* peer = juce::ComponentPeer::getPeer (i))
            peer->performAnyPendingRepaintsNow();
}
