// Works Firmhold's main window the way a user would, through the X test extension: picks
// an entry of the output selector, presses update, clicks the close button. There is no
// window manager in the test's X server, so the window draws its own title bar and the
// positions below are the panel's own layout.
//
//     drive_panel [--wait SECONDS] TITLE_PREFIX ACTION...
//
//     choose N   open the output selector and click its N-th port (1 = the first, as
//                --list-outputs numbers them); fails when the list has fewer ports
//     update     click the update button
//     close      click the close button in the title bar
//
// The window is the first 650 x 400 one whose title starts with TITLE_PREFIX; it is waited
// for up to --wait seconds (default 10; 0: it must be there now). Exit status: 0 done,
// 1 no such window, or the selector's list did not open or take the port, 2 usage or no
// display. A choice prints how many clicks the list took.

#include <X11/Xlib.h>
#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <iostream>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace
{
    using Clock = std::chrono::steady_clock;

    // The panel sits 4 px in from the window's left edge, under a 26 px title bar (and its
    // 4 px frame). In the panel: the selector is 10 px in, 125 px down and 30 px high; the
    // update button is 94 x 30 at 104 px from the right edge, 215 px down.
    constexpr int windowWidth = 650, windowHeight = 400;
    constexpr int panelLeft = 4, panelTop = 30, frame = 4;
    constexpr int selectorX = 10 + 100, selectorY = 125 + 15;
    constexpr int updateFromRight = 104 - 47, updateY = 215 + 15;
    constexpr int closeFromRight = 20, closeY = 17;
    // The selector's list: "(Disconnected)", a separator, then the ports in --list-outputs
    // order; rows as high as the list's 15 px font plus 3, the separator half a row, inside
    // a 2 px border.
    constexpr int rowHeight = 18, separatorHeight = 9, listBorder = 2;

    // A window may go between listing it and asking about it (the selector's list closes,
    // the application quits): that is an answer, not a reason to end as Xlib would.
    int ignoreErrors (Display*, XErrorEvent*) { return 0; }

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

    bool isViewable (Display* display, Window window)
    {
        XWindowAttributes attributes {};
        return XGetWindowAttributes (display, window, &attributes) && attributes.map_state == IsViewable;
    }

    std::vector<Window> childrenOf (Display* display, Window window)
    {
        Window root = 0, parent = 0, *children = nullptr;
        unsigned int count = 0;
        std::vector<Window> result;

        if (XQueryTree (display, window, &root, &parent, &children, &count))
        {
            result.assign (children, children + count);

            if (children != nullptr)
                XFree (children);
        }

        return result;
    }

    /** The window once it has its size: it is shown once before it is centred and sized. */
    Window findByTitlePrefix (Display* display, Window window, const std::string& prefix)
    {
        XWindowAttributes attributes {};

        for (auto property : { XA_WM_NAME, XInternAtom (display, "_NET_WM_NAME", False) })
            if (titleOf (display, window, property).rfind (prefix, 0) == 0
                && XGetWindowAttributes (display, window, &attributes) && attributes.map_state == IsViewable
                && attributes.width == windowWidth && attributes.height == windowHeight)
                return window;

        for (auto child : childrenOf (display, window))
            if (auto found = findByTitlePrefix (display, child, prefix))
                return found;

        return 0;
    }

    /** The viewable top-level windows: a popup list is one of its own. */
    std::set<Window> viewableTopLevels (Display* display)
    {
        std::set<Window> result;

        for (auto child : childrenOf (display, DefaultRootWindow (display)))
            if (isViewable (display, child))
                result.insert (child);

        return result;
    }

    bool waitFor (double seconds, const std::function<bool()>& condition)
    {
        const auto until = Clock::now() + std::chrono::duration<double> (seconds);

        for (;;)
        {
            if (condition())
                return true;

            if (Clock::now() >= until)
                return false;

            std::this_thread::sleep_for (std::chrono::milliseconds (20));
        }
    }

    struct Panel
    {
        Display* display;
        Window window;
        int x = 0, y = 0;

        void click (int wx, int wy)
        {
            locate();
            XTestFakeMotionEvent (display, -1, x + wx, y + wy, CurrentTime);
            XTestFakeButtonEvent (display, 1, True, CurrentTime);
            XTestFakeButtonEvent (display, 1, False, 50);
            XSync (display, False);
        }

        void locate()
        {
            Window child = 0;
            XTranslateCoordinates (display, window, DefaultRootWindow (display), 0, 0, &x, &y, &child);
        }

        /** What a window manager does when a window is clicked. The framework shuts a list
            that opens while none of the application's windows has the keyboard focus. */
        bool focus()
        {
            XSetInputFocus (display, window, RevertToParent, CurrentTime);
            XSync (display, False);

            return waitFor (5, [&]
            {
                Window focused = 0;
                int revert = 0;
                XGetInputFocus (display, &focused, &revert);
                return focused == window;
            });
        }

        bool choose (int entry)
        {
            if (! focus())
            {
                std::cerr << "drive_panel: the window did not get the keyboard focus\n";
                return false;
            }

            // Now and then a click of ours does not reach the list in this server without a
            // window manager (the application is idle, the list drawn, the click just not
            // taken): each step is tried up to three times, and the tries are reported.
            const auto before = viewableTopLevels (display);
            Window popup = 0;
            int opening = 0;

            while (popup == 0 && ++opening <= 3)
            {
                click (panelLeft + selectorX, panelTop + selectorY);

                waitFor (2, [&]
                {
                    for (auto w : viewableTopLevels (display))
                        if (before.count (w) == 0)
                            popup = w;

                    return popup != 0;
                });
            }

            if (popup == 0)
            {
                std::cerr << "drive_panel: the selector's list did not open in three clicks\n";
                return false;
            }

            XWindowAttributes list {};
            XGetWindowAttributes (display, popup, &list);
            const auto ports = (list.height - 2 * listBorder - separatorHeight) / rowHeight - 1;
            std::cout << "selector list: " << list.width << "x" << list.height << " at +" << list.x - x << "+"
                      << list.y - y << " in the window, " << ports << " ports" << std::endl;

            if ((list.height - 2 * listBorder - separatorHeight) % rowHeight != 0)
            {
                std::cerr << "drive_panel: the list is " << list.height << " px high, not rows of " << rowHeight
                          << " px and one separator: its layout has changed\n";
                return false;
            }

            if (entry > ports)
            {
                std::cerr << "drive_panel: the list has " << ports << " ports, no port " << entry << "\n";
                return false;
            }

            // The list takes no click in its first 250 ms (the one that opened it might
            // otherwise land on an entry), and it highlights what the pointer moves onto.
            std::this_thread::sleep_for (std::chrono::milliseconds (400));
            const auto rowX = list.x + list.width / 2;
            const auto rowY = list.y + listBorder + rowHeight + separatorHeight + (entry - 1) * rowHeight + rowHeight / 2;

            for (int taking = 1; taking <= 3; ++taking)
            {
                XTestFakeMotionEvent (display, -1, rowX, rowY - 3, CurrentTime);
                XTestFakeMotionEvent (display, -1, rowX, rowY, 50);
                XTestFakeButtonEvent (display, 1, True, 50);
                XTestFakeButtonEvent (display, 1, False, 100);
                XSync (display, False);

                if (waitFor (2, [&] { return ! isViewable (display, popup); }))
                {
                    std::cout << "selector: list opened on click " << opening << ", port " << entry
                              << " taken on click " << taking << std::endl;
                    return true;
                }
            }

            std::cerr << "drive_panel: the selector's list did not take port " << entry << " in three clicks\n";
            return false;
        }
    };
} // namespace

int main (int argc, char** argv)
{
    double waitSeconds = 10;
    int first = 1;

    if (argc > 2 && std::string (argv[1]) == "--wait")
    {
        waitSeconds = std::atof (argv[2]);
        first = 3;
    }

    if (argc < first + 2)
    {
        std::cerr << "usage: drive_panel [--wait SECONDS] TITLE_PREFIX choose N | update | close ...\n";
        return 2;
    }

    auto* display = XOpenDisplay (nullptr);

    if (display == nullptr)
    {
        std::cerr << "no X display\n";
        return 2;
    }

    XSetErrorHandler (ignoreErrors);
    const std::string prefix = argv[first];
    Panel panel { display, 0 };
    waitFor (waitSeconds, [&] { return (panel.window = findByTitlePrefix (display, DefaultRootWindow (display), prefix)) != 0; });

    if (panel.window == 0)
    {
        std::cerr << "drive_panel: no window titled \"" << prefix << "...\"\n";
        XCloseDisplay (display);
        return 1;
    }

    int status = 0;

    for (int i = first + 1; i < argc && status == 0; ++i)
    {
        const std::string action = argv[i];

        if (action == "choose" && i + 1 < argc && std::atoi (argv[i + 1]) > 0)
            status = panel.choose (std::atoi (argv[++i])) ? 0 : 1;
        else if (action == "update")
            panel.click (windowWidth - frame - updateFromRight, panelTop + updateY);
        else if (action == "close")
            panel.click (windowWidth - closeFromRight, closeY);
        else
        {
            std::cerr << "drive_panel: unknown action " << action << "\n";
            status = 2;
        }
    }

    XCloseDisplay (display);
    return status;
}
