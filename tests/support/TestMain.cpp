#include "lookandfeel/TemplateLookAndFeel.h"

#include <gtest/gtest.h>
#include <juce_gui_basics/juce_gui_basics.h>

#include <iostream>

#if JUCE_LINUX
 #include <dlfcn.h>
#endif

namespace
{
    juce::JUCEApplicationBase* noApplication() { return nullptr; }

    juce::Typeface::Ptr loadFace (const char* fileName)
    {
        const auto file = juce::File (FIRMHOLD_TEST_FONT_DIR).getChildFile (fileName);
        juce::MemoryBlock data;

        if (! file.loadFileAsData (data) || data.isEmpty())
            return nullptr;

        return juce::Typeface::createSystemTypefaceFor (data.getData(), data.getSize());
    }

    /** Text in the pixel and glyph checks is drawn in one known face, whatever fonts the
        machine has: the system's choice of sans-serif changes with the fonts installed. */
    bool pinTestFonts()
    {
        auto regular = loadFace ("DejaVuSans.ttf");
        auto bold = loadFace ("DejaVuSans-Bold.ttf");

        if (regular == nullptr || bold == nullptr)
        {
            std::cerr << "The test font is missing from " FIRMHOLD_TEST_FONT_DIR
                         " (tools/install-deps.sh --tests installs it)\n";
            return false;
        }

        TemplateLookAndFeel::setSansSerifTypefaces (regular, bold);

        // Components drawn while no TemplateLookAndFeel is the default resolve fonts through
        // the framework's own default look, which takes a single face.
        juce::LookAndFeel::getDefaultLookAndFeel().setDefaultSansSerifTypeface (regular);
        return true;
    }
} // namespace

// The framework's message manager lives on this (the main) thread for the whole run, so
// component tests can build windows and pump the message loop.
int main (int argc, char** argv)
{
    ::testing::InitGoogleTest (&argc, argv);

    // Marks the process as a standalone app, as START_JUCE_APPLICATION does for Firmhold, so
    // that the X11 layer is set up the same way (thread support, its own X error handlers).
    juce::JUCEApplicationBase::createInstance = &noApplication;

   #if JUCE_LINUX
    // Xlib keeps a few input-method buffers for the life of the process. The framework loads
    // and unloads it at run time; keeping it mapped lets LeakSanitizer name it, and
    // tests/lsan.supp then leaves those buffers out of the leak report.
    dlopen ("libX11.so.6", RTLD_NOW | RTLD_GLOBAL | RTLD_NODELETE);
   #endif

    juce::ScopedJuceInitialiser_GUI juce;

    if (! pinTestFonts())
        return 1;

    const auto result = RUN_ALL_TESTS();
    TemplateLookAndFeel::setSansSerifTypefaces (nullptr, nullptr);
    return result;
}
