#pragma once

#include <juce_core/juce_core.h>

#include <functional>
#include <memory>

//==============================================================================
/**
    Carries the command line of a start that the single-instance rule refused to the
    running instance, whose window then comes to the front.

    The framework does this itself on Windows and macOS (its broadcast message), so there
    this class has nothing to add and does nothing; on Linux the framework's broadcast is
    not implemented, and a local datagram socket, named after the key, carries it. One
    implementation per platform, chosen by the build.
*/
class InstanceHandover final
{
public:
    /** Receives later starts' command lines under key while it lives; onAnotherStart runs
        on the message thread, from the message loop. */
    InstanceHandover (const juce::String& key, std::function<void (const juce::String&)> onAnotherStart);
    ~InstanceHandover();

    /** From a refused start: hands commandLine to the instance listening under key, if
        any, without waiting. */
    static void handOver (const juce::String& key, const juce::String& commandLine);

private:
    struct Pimpl;
    std::unique_ptr<Pimpl> pimpl;

    JUCE_DECLARE_NON_COPYABLE (InstanceHandover)
};
