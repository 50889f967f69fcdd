// Clicks the close button in the title bar of the window with the given title, as a user
// would (the X server has no window manager, so the window draws its own title bar), and
// exits 0; 1 when no such window turns up in 10 s.
//
//     close_window "pedal_v2 version "

#include <X11/Xlib.h>
#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <chrono>
#include <cstring>
#include <iostream>
#include <string>
#include <thread>

namespace
{
    /** The window's title, read raw: WM_NAME may be a UTF8_STRING that XFetchName refuses. */
    std::string titleOf (Display* display, Window window, Atom property)
    {
        XTextProperty text {};
        std::string title;

        if (XGetTextProperty (display, window, &text, property) && text.value != nullptr)
        {
            title.assign (reinterpret_cast<const char*> (text.value), text.nitems);
            XFree (text.value);
        }

        return title;
    }

    Window findByTitle (Display* display, Window window, const std::string& title)
    {
        if (titleOf (display, window, XA_WM_NAME) == title
            || titleOf (display, window, XInternAtom (display, "_NET_WM_NAME", False)) == title)
            return window;

        Window root = 0, parent = 0, *children = nullptr;
        unsigned int count = 0;
        Window found = 0;

        if (XQueryTree (display, window, &root, &parent, &children, &count))
        {
            for (unsigned int i = 0; i < count && found == 0; ++i)
                found = findByTitle (display, children[i], title);

            if (children != nullptr)
                XFree (children);
        }

        return found;
    }
} // namespace

int main (int argc, char** argv)
{
    if (argc != 2)
    {
        std::cerr << "usage: close_window TITLE\n";
        return 2;
    }

    auto* display = XOpenDisplay (nullptr);

    if (display == nullptr)
    {
        std::cerr << "no X display\n";
        return 2;
    }

    Window window = 0;

    for (int attempt = 0; attempt < 200 && window == 0; ++attempt)
    {
        window = findByTitle (display, DefaultRootWindow (display), argv[1]);

        if (window == 0)
            std::this_thread::sleep_for (std::chrono::milliseconds (50));
    }

    if (window == 0)
    {
        std::cerr << "no window titled \"" << argv[1] << "\"\n";
        return 1;
    }

    // The close button is the title bar's rightmost: its centre lies 20 px in from the
    // window's right edge and 17 px down from its top (4 px frame, 26 px title bar).
    XWindowAttributes attributes {};
    XGetWindowAttributes (display, window, &attributes);
    int x = 0, y = 0;
    Window child = 0;
    XTranslateCoordinates (display, window, DefaultRootWindow (display), 0, 0, &x, &y, &child);

    XTestFakeMotionEvent (display, -1, x + attributes.width - 20, y + 17, CurrentTime);
    XTestFakeButtonEvent (display, 1, True, 50);
    XTestFakeButtonEvent (display, 1, False, 50);
    XFlush (display);
    XSync (display, False);
    XCloseDisplay (display);
    return 0;
}
