#include "app/InstanceHandover.h"

#include <juce_events/juce_events.h>

#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace
{
    /** An address in the abstract namespace: no file to leave behind, gone with its socket. */
    socklen_t addressFor (const juce::String& key, sockaddr_un& address)
    {
        std::memset (&address, 0, sizeof (address));
        address.sun_family = AF_UNIX;

        const auto name = ("firmhold-instance/" + key).toStdString().substr (0, sizeof (address.sun_path) - 2);
        std::memcpy (address.sun_path + 1, name.data(), name.size());
        return (socklen_t) (offsetof (sockaddr_un, sun_path) + 1 + name.size());
    }

    int makeSocket()
    {
        return ::socket (AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    }
} // namespace

//==============================================================================
struct InstanceHandover::Pimpl
{
    Pimpl (const juce::String& key, std::function<void (const juce::String&)> callback)
        : onAnotherStart (std::move (callback)),
          socket (makeSocket())
    {
        sockaddr_un address;
        const auto length = addressFor (key, address);

        // Taken already: an instance that started before the lock was ours still listens.
        if (socket < 0 || ::bind (socket, reinterpret_cast<const sockaddr*> (&address), length) != 0)
        {
            closeSocket();
            return;
        }

        juce::LinuxEventLoop::registerFdCallback (socket, [this] (int) { receive(); });
    }

    ~Pimpl()
    {
        if (socket >= 0)
            juce::LinuxEventLoop::unregisterFdCallback (socket);

        closeSocket();
    }

    void receive()
    {
        std::vector<char> buffer (maximumLength);

        for (;;)
        {
            const auto received = ::recv (socket, buffer.data(), buffer.size(), 0);

            if (received < 0)
                return;

            onAnotherStart (juce::String::fromUTF8 (buffer.data(), (int) received));
        }
    }

    void closeSocket()
    {
        if (socket >= 0)
            ::close (socket);

        socket = -1;
    }

    static constexpr size_t maximumLength = 65536;

    std::function<void (const juce::String&)> onAnotherStart;
    int socket;
};

InstanceHandover::InstanceHandover (const juce::String& key, std::function<void (const juce::String&)> onAnotherStart)
    : pimpl (std::make_unique<Pimpl> (key, std::move (onAnotherStart)))
{
}

InstanceHandover::~InstanceHandover() = default;

void InstanceHandover::handOver (const juce::String& key, const juce::String& commandLine)
{
    const auto socket = makeSocket();

    if (socket < 0)
        return;

    sockaddr_un address;
    const auto length = addressFor (key, address);
    const auto text = commandLine.toStdString().substr (0, Pimpl::maximumLength);

    // Nobody listening (the running instance is still starting) is no error: the start
    // is over either way.
    [[maybe_unused]] const auto sent = ::sendto (socket, text.data(), text.size(), MSG_DONTWAIT,
                                                 reinterpret_cast<const sockaddr*> (&address), length);
    ::close (socket);
}
