// Asks the top-level window with the given title to close, as a window manager's close
// button does (WM_DELETE_WINDOW), and exits 0; 1 when no such window turns up in 10 s.
//
//     close_window "pedal_v2 version "

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <cstring>
#include <iostream>
#include <string>
#include <thread>

namespace
{
    Window findByTitle (Display* display, Window window, const std::string& title)
    {
        char* name = nullptr;

        if (XFetchName (display, window, &name) && name != nullptr)
        {
            const bool matches = title == name;
            XFree (name);

            if (matches)
                return window;
        }

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

    XEvent event {};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom (display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = (long) XInternAtom (display, "WM_DELETE_WINDOW", False);
    event.xclient.data.l[1] = CurrentTime;

    XSendEvent (display, window, False, NoEventMask, &event);
    XFlush (display);
    XCloseDisplay (display);
    return 0;
}
