#include "support/DesktopComponentHolder.h"

#if JUCE_LINUX
 #include <dlfcn.h>
#endif

namespace
{
    void makeXErrorsNonFatal()
    {
       #if JUCE_LINUX
        static const bool installed = []
        {
            using Handler = int (*) (void*, void*);
            using SetHandler = Handler (*) (Handler);

            if (auto* lib = dlopen ("libX11.so.6", RTLD_NOW | RTLD_GLOBAL))
                if (auto* setHandler = reinterpret_cast<SetHandler> (dlsym (lib, "XSetErrorHandler")))
                {
                    setHandler ([] (void*, void*) { return 0; });
                    return true;
                }

            return false;
        }();

        juce::ignoreUnused (installed);
       #endif
    }
} // namespace

DesktopComponentHolder::DesktopComponentHolder (juce::Component& c, juce::Rectangle<int> bounds)
    : component (c)
{
    makeXErrorsNonFatal();

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
