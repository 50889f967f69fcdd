// Start-up of Firmhold against a minimal JUCE window built in the same tree.
//
//   startup_benchmark [RUNS [FIRMHOLD REFERENCE]]
//
// Without paths it measures the two programs built beside it.
// Each run starts a program and measures, on the X display in DISPLAY, the time from just
// before exec until a top-level window of 650 x 400 pixels is mapped (viewable) and the
// program has drawn into it (the X DAMAGE extension reports the first drawing); then the
// program is given a moment to settle, is ended, and its peak resident set size is read
// from the kernel. The two programs take turns, so a change in the host's load hits both.
// Prints the medians and their ratios (Firmhold / reference). Meant for a private display
// with nothing else on it (tools/test.sh runs it under xvfb-run).

#include <X11/Xlib.h>
#include <X11/extensions/Xdamage.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace
{
    using Clock = std::chrono::steady_clock;

    constexpr int windowWidth = 650, windowHeight = 400;
    constexpr auto giveUpAfter = std::chrono::seconds (20);
    constexpr auto paintTime = std::chrono::milliseconds (300);

    struct Run
    {
        double secondsToMapped = 0;
        double secondsToWindow = 0;
        long peakKilobytes = 0;
    };

    /** The top-level windows of the display as the root window's structure events tell them,
        and whether anything has been drawn since one of the size was mapped. */
    class TopLevelWindows
    {
    public:
        explicit TopLevelWindows (Display* d) : display (d)
        {
            int errorBase = 0;

            if (! XDamageQueryExtension (display, &damageEventBase, &errorBase))
            {
                std::fprintf (stderr, "startup_benchmark: the X server has no DAMAGE extension\n");
                std::exit (2);
            }

            // Damage on the root window covers everything drawn into the windows below it.
            XDamageCreate (display, DefaultRootWindow (display), XDamageReportRawRectangles);
            XSelectInput (display, DefaultRootWindow (display), SubstructureNotifyMask);
            XSync (display, True);
        }

        /** Handles the events that have arrived; true once a mapped window of the size has
            been drawn into. */
        bool update()
        {
            while (XPending (display) > 0)
            {
                XEvent e;
                XNextEvent (display, &e);

                switch (e.type)
                {
                    case CreateNotify: windows[e.xcreatewindow.window] = { e.xcreatewindow.width, e.xcreatewindow.height, false }; break;
                    case ConfigureNotify: windows[e.xconfigure.window].width = e.xconfigure.width;
                                          windows[e.xconfigure.window].height = e.xconfigure.height; break;
                    case MapNotify: windows[e.xmap.window].mapped = true; break;
                    case UnmapNotify: windows[e.xunmap.window].mapped = false; break;
                    case DestroyNotify: windows.erase (e.xdestroywindow.window); break;
                    default:
                        if (e.type == damageEventBase + XDamageNotify && shown)
                            drawn = true;
                        break;
                }

                shown = shown || std::any_of (windows.begin(), windows.end(), [] (const auto& w)
                {
                    return w.second.mapped && w.second.width == windowWidth && w.second.height == windowHeight;
                });
            }

            return shown && drawn;
        }

        bool isShown() const noexcept { return shown; }

        void forget()
        {
            XSync (display, False);
            update();
            windows.clear();
            shown = drawn = false;
        }

    private:
        struct Window { int width = 0, height = 0; bool mapped = false; };

        Display* display;
        int damageEventBase = 0;
        std::map<::Window, Window> windows;
        bool shown = false, drawn = false;
    };

    std::optional<Run> measure (const char* program, Display* display, TopLevelWindows& windows)
    {
        windows.forget();
        const auto start = Clock::now();
        const auto child = fork();

        if (child == 0)
        {
            const auto devNull = open ("/dev/null", O_WRONLY);
            dup2 (devNull, STDOUT_FILENO);
            dup2 (devNull, STDERR_FILENO);
            execl (program, program, static_cast<char*> (nullptr));
            _exit (127);
        }

        std::optional<Run> result;
        std::optional<double> mapped;
        pollfd connection { ConnectionNumber (display), POLLIN, 0 };
        const auto elapsed = [start] { return std::chrono::duration<double> (Clock::now() - start).count(); };

        while (Clock::now() - start < giveUpAfter)
        {
            const auto done = windows.update();

            if (! mapped && windows.isShown())
                mapped = elapsed();

            if (done)
            {
                result = Run { *mapped, elapsed(), 0 };
                break;
            }

            if (waitpid (child, nullptr, WNOHANG) == child)
            {
                std::fprintf (stderr, "startup_benchmark: %s ended before showing its window\n", program);
                return std::nullopt;
            }

            poll (&connection, 1, 5);
        }

        // Whatever the program does right after its first frame belongs to its start-up memory.
        if (result)
            std::this_thread::sleep_for (paintTime);

        kill (child, SIGKILL);
        int status = 0;
        rusage usage {};
        wait4 (child, &status, 0, &usage);

        if (! result)
        {
            std::fprintf (stderr, "startup_benchmark: %s drew no %d x %d window within %lld s\n", program,
                          windowWidth, windowHeight, (long long) giveUpAfter.count());
            return std::nullopt;
        }

        result->peakKilobytes = usage.ru_maxrss;
        return result;
    }

    template <typename Value>
    double median (std::vector<Value> values)
    {
        std::sort (values.begin(), values.end());
        const auto n = values.size();
        return n % 2 == 1 ? (double) values[n / 2] : ((double) values[n / 2 - 1] + (double) values[n / 2]) / 2.0;
    }
} // namespace

int main (int argc, char** argv)
{
    if (argc != 1 && argc != 2 && argc != 4)
    {
        std::fprintf (stderr, "usage: startup_benchmark [RUNS [FIRMHOLD REFERENCE]]\n");
        return 2;
    }

    const int runs = argc >= 2 ? std::max (1, std::atoi (argv[1])) : 7;
    Display* display = XOpenDisplay (nullptr);

    if (display == nullptr)
    {
        std::fprintf (stderr, "startup_benchmark: no X display (set DISPLAY)\n");
        return 2;
    }

    TopLevelWindows windows (display);
    std::vector<double> seconds[2], mappedSeconds[2];
    std::vector<long> kilobytes[2];
    const char* programs[2] = { argc == 4 ? argv[2] : FIRMHOLD_BINARY, argc == 4 ? argv[3] : REFERENCE_BINARY };

    // One unmeasured start each, so that both begin with the same warm file cache.
    for (auto* program : programs)
        if (! measure (program, display, windows))
            return 1;

    for (int i = 0; i < runs; ++i)
    {
        for (int k = 0; k < 2; ++k)
        {
            const auto which = (i % 2 == 0) ? k : 1 - k;
            const auto run = measure (programs[which], display, windows);

            if (! run)
                return 1;

            seconds[which].push_back (run->secondsToWindow);
            mappedSeconds[which].push_back (run->secondsToMapped);
            kilobytes[which].push_back (run->peakKilobytes);
        }
    }

    XCloseDisplay (display);

    const double time[2] = { median (seconds[0]), median (seconds[1]) };
    const double mappedTime[2] = { median (mappedSeconds[0]), median (mappedSeconds[1]) };
    const double memory[2] = { median (kilobytes[0]) / 1024.0, median (kilobytes[1]) / 1024.0 };

    std::printf ("start-up, median of %d runs each     Firmhold   reference   ratio\n", runs);
    std::printf ("  exec to mapped 650 x 400 window    %6.3f s   %6.3f s   %5.2fx\n", mappedTime[0], mappedTime[1], mappedTime[0] / mappedTime[1]);
    std::printf ("  exec to drawn 650 x 400 window      %6.3f s   %6.3f s   %5.2fx\n", time[0], time[1], time[0] / time[1]);
    std::printf ("  peak resident set size              %6.1f MB  %6.1f MB  %5.2fx\n", memory[0], memory[1], memory[0] / memory[1]);
    return 0;
}
