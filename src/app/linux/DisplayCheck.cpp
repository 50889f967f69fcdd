#include "DisplayCheck.h"

#include <cstdlib>
#include <dlfcn.h>

juce::String DisplayCheck::findProblem()
{
    const char* const name = std::getenv ("DISPLAY");
    const juce::String needed ("Firmhold needs a graphical display");

    if (name == nullptr || *name == 0)
        return needed + ", but DISPLAY is not set, so there is no X display to open.";

    const auto tried = juce::String (juce::CharPointer_UTF8 (name)).quoted();

    // The framework reaches Xlib the same way, at run time; the library stays loaded for it.
    auto* const x11 = dlopen ("libX11.so.6", RTLD_NOW | RTLD_LOCAL);

    if (x11 == nullptr)
        return needed + ", but the X library (libX11.so.6) cannot be loaded to open X display " + tried + ".";

    using OpenDisplay = void* (*) (const char*);
    using CloseDisplay = int (*) (void*);
    const auto openDisplay = reinterpret_cast<OpenDisplay> (dlsym (x11, "XOpenDisplay"));
    const auto closeDisplay = reinterpret_cast<CloseDisplay> (dlsym (x11, "XCloseDisplay"));

    if (openDisplay == nullptr || closeDisplay == nullptr)
        return needed + ", but the X library (libX11.so.6) cannot be used to open X display " + tried + ".";

    if (auto* display = openDisplay (name))
    {
        closeDisplay (display);
        return {};
    }

    return needed + ", but X display " + tried + " cannot be opened.";
}
