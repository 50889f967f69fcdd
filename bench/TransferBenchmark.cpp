// The cost of the transfer machinery itself: the built-in image sent through the protocol
// thread and the interface to a port that takes every message at once (pacing off), set
// against a plain copy of the same bytes. Prints the ratio of the two after the run.

#include "firmware/BuiltInFirmware.h"
#include "firmware/FirmwareImage.h"
#include "midi/MidiInterfaceClass.h"
#include "protocol/BasicSysexProtocolClass.h"

#include <benchmark/benchmark.h>
#include <juce_gui_basics/juce_gui_basics.h>

#include <cstring>
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

        std::unique_ptr<MidiOutputPort> openOutputPort (const juce::MidiDeviceInfo&) override
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
            void sendMessage (const juce::uint8*, int numBytes) override { bytes += numBytes; }
            bool sendWaitsForPort() const override { return false; }

        private:
            std::atomic<juce::int64>& bytes;
        };
    };

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
            protocol->waitForThreadToExit (-1);
        }

        if (sink.bytesTaken != (juce::int64) state.iterations() * builtInFirmwareSize)
            state.SkipWithError ("the sink did not take the whole image each time");

        state.SetBytesProcessed ((int64_t) state.iterations() * builtInFirmwareSize);

        const juce::MessageManagerLock lock;
        protocol = nullptr;
        midiInterface = nullptr;
        MidiPortProvider::setCurrent (nullptr);
    }

    void copyImage (benchmark::State& state)
    {
        std::vector<juce::uint8> destination ((size_t) builtInFirmwareSize);

        for (auto _ : state)
        {
            std::memcpy (destination.data(), builtInFirmwareData, (size_t) builtInFirmwareSize);
            benchmark::DoNotOptimize (destination.data());
            benchmark::ClobberMemory();
        }

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
            const auto copy = secondsPerIteration.find ("CopyImage");

            if (transfer != secondsPerIteration.end() && copy != secondsPerIteration.end())
                std::cout << "transfer / copy of the built-in image: "
                          << juce::String (transfer->second / copy->second, 1) << " x ("
                          << juce::String (transfer->second * 1e3, 3) << " ms against "
                          << juce::String (copy->second * 1e6, 3) << " us)\n";
        }

    private:
        std::map<std::string, double> secondsPerIteration;
    };
} // namespace

BENCHMARK (transferThroughProtocol)->Name ("TransferThroughProtocol")->Unit (benchmark::kMillisecond)->UseRealTime();
BENCHMARK (copyImage)->Name ("CopyImage")->Unit (benchmark::kMicrosecond);

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
