#include "lookandfeel/TemplateLookAndFeel.h"
#include "panel/ContentComp.h"

#include <gtest/gtest.h>

using namespace juce;

/*  Pixel checks of the three controls that carry the application's look, against PNGs
    kept in the repository. Set FIRMHOLD_WRITE_REFERENCE_IMAGES=1 (see
    tools/regenerate_reference_images.sh) to write the references instead of comparing;
    look at every written image before committing it.
*/
namespace
{
    const Colour windowBackground (0xffeff2f3);

    File referenceDir()
    {
        return File (FIRMHOLD_SOURCE_DIR).getChildFile ("tests/lookandfeel/reference");
    }

    bool writingReferences()
    {
        return SystemStats::getEnvironmentVariable ("FIRMHOLD_WRITE_REFERENCE_IMAGES", {}) == "1";
    }

    /** The component as it looks on the window: its snapshot over the window background. */
    Image render (Component& component)
    {
        const auto snapshot = component.createComponentSnapshot (component.getLocalBounds(), true, 1.0f);

        Image composed (Image::ARGB, component.getWidth(), component.getHeight(), true);
        Graphics g (composed);
        g.fillAll (windowBackground);
        g.drawImageAt (snapshot, 0, 0);
        return composed;
    }

    struct Difference
    {
        int differingPixels = 0;
        int largestChannelDifference = 0;
    };

    Difference compare (const Image& a, const Image& b, int channelTolerance)
    {
        Difference d;
        const Image::BitmapData pa (a, Image::BitmapData::readOnly);
        const Image::BitmapData pb (b, Image::BitmapData::readOnly);

        for (int y = 0; y < a.getHeight(); ++y)
        {
            for (int x = 0; x < a.getWidth(); ++x)
            {
                const auto ca = pa.getPixelColour (x, y);
                const auto cb = pb.getPixelColour (x, y);
                const auto diff = jmax (std::abs (ca.getRed() - cb.getRed()), std::abs (ca.getGreen() - cb.getGreen()),
                                        std::abs (ca.getBlue() - cb.getBlue()), std::abs (ca.getAlpha() - cb.getAlpha()));

                d.largestChannelDifference = jmax (d.largestChannelDifference, diff);

                if (diff > channelTolerance)
                    ++d.differingPixels;
            }
        }

        return d;
    }

    /** Checks the rendering against its reference, or writes the reference. */
    void checkAgainstReference (Component& component, const String& name)
    {
        const auto image = render (component);
        const auto file = referenceDir().getChildFile (name + ".png");

        if (writingReferences())
        {
            file.getParentDirectory().createDirectory();
            file.deleteFile();
            FileOutputStream out (file);
            ASSERT_TRUE (out.openedOk()) << file.getFullPathName();
            ASSERT_TRUE (PNGImageFormat().writeImageToStream (image, out));
            return;
        }

        ASSERT_TRUE (file.existsAsFile()) << file.getFullPathName() << " is missing";

        const auto reference = ImageFileFormat::loadFrom (file);
        ASSERT_TRUE (reference.isValid());
        ASSERT_EQ (reference.getBounds(), image.getBounds());

        // The tests draw text in one pinned face and the renderer is the framework's own
        // software renderer, so the same drawing code gives the same pixels on any machine.
        // A difference of a few levels is a real change: the glass body's stop alpha moved
        // from 0.3 to 0.33 changes 170 to 1900 pixels of these controls by 2 to 5 levels.
        constexpr int channelTolerance = 1;
        constexpr int allowedPixels = 0;

        const auto d = compare (image, reference, channelTolerance);

        if (d.differingPixels > allowedPixels)
        {
            const auto actual = File::getCurrentWorkingDirectory().getChildFile ("reference-image-failures")
                                                                  .getChildFile (name + ".png");
            actual.getParentDirectory().createDirectory();
            actual.deleteFile();
            FileOutputStream out (actual);
            PNGImageFormat().writeImageToStream (image, out);

            ADD_FAILURE() << name << ": " << d.differingPixels << " pixels differ from the reviewed reference by more than "
                          << channelTolerance << " (largest channel difference " << d.largestChannelDifference << ").\n"
                          << "The drawing of this control has changed. Compare " << actual.getFullPathName()
                          << " with " << file.getFullPathName() << " and find the change that caused it. Replace the "
                          << "reference only for an intended change of the look, after looking at the new image.";
        }
    }

    //==============================================================================
    struct ReferenceImages : public ::testing::Test
    {
        TemplateLookAndFeel lookAndFeel;
    };

    struct UpdateButton final
    {
        explicit UpdateButton (LookAndFeel& lf, bool outputOpen)
        {
            const Colour colour (outputOpen ? ContentComp::connectedButtonColour : ContentComp::disconnectedButtonColour);
            button.setColour (TextButton::buttonColourId, colour);
            button.setColour (TextButton::buttonOnColourId, colour);
            button.setConnectedEdges (Button::ConnectedOnLeft);
            button.setEnabled (outputOpen);
            button.setSize (94, 30);
            button.setLookAndFeel (&lf);
        }

        ~UpdateButton() { button.setLookAndFeel (nullptr); }

        TextButton button { "update" };
    };
} // namespace

//==============================================================================
TEST_F (ReferenceImages, UpdateButtonNormal)
{
    UpdateButton update (lookAndFeel, true);
    checkAgainstReference (update.button, "update_button_normal");
}

TEST_F (ReferenceImages, UpdateButtonMouseOver)
{
    UpdateButton update (lookAndFeel, true);
    update.button.setState (Button::buttonOver);
    checkAgainstReference (update.button, "update_button_over");
}

TEST_F (ReferenceImages, UpdateButtonPressed)
{
    UpdateButton update (lookAndFeel, true);
    update.button.setState (Button::buttonDown);
    checkAgainstReference (update.button, "update_button_down");
}

TEST_F (ReferenceImages, UpdateButtonDisabled)
{
    UpdateButton update (lookAndFeel, false);
    checkAgainstReference (update.button, "update_button_disabled");
}

TEST_F (ReferenceImages, ProgressBarAtSixtyPercent)
{
    double progress = 0.6;
    ProgressBar bar (progress);
    bar.setLookAndFeel (&lookAndFeel);
    bar.setSize (528, 30);

    checkAgainstReference (bar, "progress_bar_60");
    bar.setLookAndFeel (nullptr);
}

TEST_F (ReferenceImages, DisconnectedSelector)
{
    ComboBox selector;
    selector.setLookAndFeel (&lookAndFeel);
    selector.addItem ("(Disconnected)", 1);
    selector.setSelectedId (1, dontSendNotification);
    selector.setSize (622, 30);

    checkAgainstReference (selector, "selector_disconnected");
    selector.setLookAndFeel (nullptr);
}
