// The cost of the transfer machinery itself: the built-in image sent through the protocol
// thread and the interface to a port that takes every message at once (pacing off), set
// against the least any transfer has to do: start a thread, scan the image for its
// messages and hand each to a port that does nothing. Prints the ratio of the two.

#include "firmware/BuiltInFirmware.h"
#include "firmware/FirmwareImage.h"
#include "midi/MidiInterfaceClass.h"
#include "protocol/BasicSysexProtocolClass.h"

#include <benchmark/benchmark.h>
#include <juce_gui_basics/juce_gui_basics.h>

#include <algorithm>
#include <iostream>
#include <map>
#include <thread>

namespace
{
    //==============================================================================
    /** One output port that takes each message at once and only counts its bytes. */
    class SinkPortProvider final : public MidiPortProvider
    {
    public:
        juce::Array<juce::MidiDeviceInfo> getOutputDevices() override { return { juce::MidiDeviceInfo ("Sink", "sink") }; }
        juce::Array<juce::MidiDeviceInfo> getInputDevices() override { return {}; }

        std::unique_ptr<MidiOutputPort> openOutputPort (const juce::MidiDeviceInfo&, juce::String&) override
        {
            return std::make_unique<Sink> (bytesTaken);
        }

        std::unique_ptr<MidiInputPort> openInputPort (const juce::MidiDeviceInfo&, juce::MidiInputCallback&) override
        {
            return nullptr;
        }

        std::atomic<juce::int64> bytesTaken { 0 };

    private:
        class Sink final : public MidiOutputPort
        {
        public:
            explicit Sink (std::atomic<juce::int64>& counter) : bytes (counter) {}

            juce::Result sendMessage (const juce::uint8*, int numBytes) override
            {
                bytes += numBytes;
                return juce::Result::ok();
            }

        private:
            std::atomic<juce::int64>& bytes;
        };
    };

    /** After a run has signalled its end, the framework's thread needs a few instructions
        more before a new start is possible. */
    void waitForThreadEnd (const juce::Thread& thread)
    {
        while (thread.isThreadRunning())
            std::this_thread::yield();
    }

    //==============================================================================
    // Runs on the benchmark thread while the main thread runs the message loop, as the
    // protocol thread needs it for its progress messages and for disabling the interface.
    void transferThroughProtocol (benchmark::State& state)
    {
        SinkPortProvider sink;
        std::unique_ptr<MidiInterfaceClass> midiInterface;
        std::unique_ptr<BasicSysexProtocolClass> protocol;
        FirmwareImage image;

        {
            const juce::MessageManagerLock lock;
            MidiPortProvider::setCurrent (&sink);
            midiInterface = std::make_unique<MidiInterfaceClass> (true, false);
            midiInterface->setPacingEnabled (false);
            midiInterface->selectOutputDevice (1);
            protocol = std::make_unique<BasicSysexProtocolClass> (midiInterface.get(), &image);
        }

        for (auto _ : state)
        {
            protocol->startProtocol();
            protocol->waitForTransferToEnd (-1);
            waitForThreadEnd (*protocol);
        }

        if (sink.bytesTaken != (juce::int64) state.iterations() * builtInFirmwareSize)
            state.SkipWithError ("the sink did not take the whole image each time");

        state.SetBytesProcessed ((int64_t) state.iterations() * builtInFirmwareSize);

        const juce::MessageManagerLock lock;
        protocol = nullptr;
        midiInterface = nullptr;
        MidiPortProvider::setCurrent (nullptr);
    }

    //==============================================================================
    /** The floor: a thread that scans the image and hands each message to a port that
        does nothing, ending the same way the protocol's run does. */
    class FloorThread final : public juce::Thread
    {
    public:
        FloorThread (const juce::uint8* data, size_t size, MidiOutputPort& p)
            : juce::Thread ("Floor"), image (data), imageSize (size), port (p)
        {
        }

        void run() override
        {
            const auto* const end = image + imageSize;

            for (const auto* message = image; message < end;)
            {
                const auto* const last = std::find (message, end, (juce::uint8) 0xf7);
                const auto length = (int) (last - message + 1);
                port.sendMessage (message, length);
                message += length;
            }

            ended.signal();
        }

        juce::WaitableEvent ended;

    private:
        const juce::uint8* const image;
        const size_t imageSize;
        MidiOutputPort& port;
    };

    void transferFloor (benchmark::State& state)
    {
        SinkPortProvider sink;
        juce::String whyNot;
        auto port = sink.openOutputPort ({}, whyNot);
        FloorThread thread (builtInFirmwareData, (size_t) builtInFirmwareSize, *port);

        for (auto _ : state)
        {
            thread.startThread();
            thread.ended.wait (-1);
            waitForThreadEnd (thread);
        }

        if (sink.bytesTaken != (juce::int64) state.iterations() * builtInFirmwareSize)
            state.SkipWithError ("the null port did not take the whole image each time");

        state.SetBytesProcessed ((int64_t) state.iterations() * builtInFirmwareSize);
    }

    //==============================================================================
    class RatioReporter final : public benchmark::ConsoleReporter
    {
    public:
        void ReportRuns (const std::vector<Run>& runs) override
        {
            ConsoleReporter::ReportRuns (runs);

            for (auto& run : runs)
                if (run.run_type == Run::RT_Iteration && run.iterations > 0 && ! run.error_occurred)
                    secondsPerIteration[run.run_name.function_name] = run.real_accumulated_time / (double) run.iterations;
        }

        void Finalize() override
        {
            ConsoleReporter::Finalize();
            const auto transfer = secondsPerIteration.find ("TransferThroughProtocol");
            const auto floor = secondsPerIteration.find ("TransferFloor");

            if (transfer != secondsPerIteration.end() && floor != secondsPerIteration.end())
                std::cout << "transfer / floor (thread start, scan, null port) for the built-in image: "
                          << juce::String (transfer->second / floor->second, 1) << " x ("
                          << juce::String (transfer->second * 1e3, 3) << " ms against "
                          << juce::String (floor->second * 1e3, 3) << " ms)\n";
        }

    private:
        std::map<std::string, double> secondsPerIteration;
    };
} // namespace

BENCHMARK (transferThroughProtocol)->Name ("TransferThroughProtocol")->Unit (benchmark::kMillisecond)->UseRealTime();
BENCHMARK (transferFloor)->Name ("TransferFloor")->Unit (benchmark::kMillisecond)->UseRealTime();

int main (int argc, char** argv)
{
    const juce::ScopedJuceInitialiser_GUI juceInitialiser;
    benchmark::Initialize (&argc, argv);

    std::thread runner ([]
    {
        RatioReporter reporter;
        benchmark::RunSpecifiedBenchmarks (&reporter);
        benchmark::Shutdown();
        juce::MessageManager::getInstance()->stopDispatchLoop();
    });

    juce::MessageManager::getInstance()->runDispatchLoop();
    runner.join();
    return 0;
}
