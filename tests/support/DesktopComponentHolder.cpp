#include "support/DesktopComponentHolder.h"

DesktopComponentHolder::DesktopComponentHolder (juce::Component& c, juce::Rectangle<int> bounds)
    : component (c)
{
    holder.setBounds (bounds);
    holder.addAndMakeVisible (component);
    holder.addToDesktop (0);
    holder.setVisible (true);
}

DesktopComponentHolder::~DesktopComponentHolder()
{
    holder.removeChildComponent (&component);
    holder.removeFromDesktop();
}
