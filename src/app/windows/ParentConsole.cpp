#include "ParentConsole.h"

#include <iostream>
#include <optional>
#include <streambuf>
#include <string>
#include <windows.h>

namespace
{
    bool leadsSomewhere (DWORD stream)
    {
        const auto handle = GetStdHandle (stream);
        return handle != nullptr && handle != INVALID_HANDLE_VALUE && GetFileType (handle) != FILE_TYPE_UNKNOWN;
    }

    /** Writes what a C++ stream is given to a console, as UTF-16, a line at a time. The C
        runtime's own streams cannot be pointed at a console that comes after the start:
        reopening them fails on some runtimes (Wine's among them). */
    class ConsoleWriter final : public std::streambuf
    {
    public:
        explicit ConsoleWriter (HANDLE consoleToUse) : console (consoleToUse) {}
        ~ConsoleWriter() override { sync(); }

    protected:
        std::streamsize xsputn (const char* text, std::streamsize size) override
        {
            pending.append (text, (size_t) size);

            // Whole lines only: a character's UTF-8 bytes may arrive in two pieces.
            if (const auto end = pending.rfind ('\n'); end != std::string::npos)
            {
                write (pending.substr (0, end + 1));
                pending.erase (0, end + 1);
            }

            return size;
        }

        int_type overflow (int_type c) override
        {
            if (traits_type::eq_int_type (c, traits_type::eof()))
                return traits_type::not_eof (c);

            const auto ch = traits_type::to_char_type (c);
            xsputn (&ch, 1);
            return c;
        }

        int sync() override
        {
            write (pending);
            pending.clear();
            return 0;
        }

    private:
        void write (const std::string& utf8) const
        {
            if (utf8.empty())
                return;

            const auto length = MultiByteToWideChar (CP_UTF8, 0, utf8.data(), (int) utf8.size(), nullptr, 0);
            std::wstring wide ((size_t) length, L'\0');
            MultiByteToWideChar (CP_UTF8, 0, utf8.data(), (int) utf8.size(), wide.data(), length);

            DWORD written = 0;
            WriteConsoleW (console, wide.data(), (DWORD) wide.size(), &written, nullptr);
        }

        HANDLE console;
        std::string pending;
    };

    /** Keeps the streams pointed at the console until the program's end, then flushes them
        and gives them back their own buffers before the writers go. */
    struct ConsoleStreams
    {
        ConsoleStreams (HANDLE console, bool output, bool error)
        {
            if (output)
                redirect (std::cout, outputWriter.emplace (console), originalOutput);

            if (error)
                redirect (std::cerr, errorWriter.emplace (console), originalError);
        }

        ~ConsoleStreams()
        {
            if (outputWriter.has_value())
                std::cout.flush().rdbuf (originalOutput);

            if (errorWriter.has_value())
                std::cerr.flush().rdbuf (originalError);
        }

        static void redirect (std::ostream& stream, ConsoleWriter& writer, std::streambuf*& original)
        {
            original = stream.rdbuf (&writer);
            stream.clear();
        }

        std::optional<ConsoleWriter> outputWriter, errorWriter;
        std::streambuf* originalOutput = nullptr;
        std::streambuf* originalError = nullptr;
    };
} // namespace

void ParentConsole::connectStandardStreams()
{
    const bool outputLost = ! leadsSomewhere (STD_OUTPUT_HANDLE);
    const bool errorLost = ! leadsSomewhere (STD_ERROR_HANDLE);

    if (! (outputLost || errorLost) || ! AttachConsole (ATTACH_PARENT_PROCESS))
        return;

    const auto console = CreateFileW (L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                      nullptr, OPEN_EXISTING, 0, nullptr);

    if (console == INVALID_HANDLE_VALUE)
        return;

    static ConsoleStreams streams (console, outputLost, errorLost);
}
