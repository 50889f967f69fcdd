#include "app/InstanceHandover.h"

// The framework's runner carries a refused start's command line to the running instance
// itself on this platform (its broadcast message reaches anotherInstanceStarted): there is
// nothing to add here.
struct InstanceHandover::Pimpl
{
};

InstanceHandover::InstanceHandover (const juce::String&, std::function<void (const juce::String&)>) {}
InstanceHandover::~InstanceHandover() = default;
void InstanceHandover::handOver (const juce::String&, const juce::String&) {}
