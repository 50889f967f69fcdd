#include "lookandfeel/TemplateLookAndFeel.h"
#include "lookandfeel/WindowColourIds.h"
#include "support/DrawingExpectations.h"
#include "support/MessageLoop.h"

#include <gtest/gtest.h>

using namespace juce;
using drawing::colourIs;
using drawing::pointNear;
using drawing::rectNear;
using Kind = RecordingGraphicsContext::Kind;

namespace
{
    const Colour windowBackground (0xffeff2f3);
    const Colour titleBlue (0xff3273a1);

    /** A document window as the application makes them, kept off the desktop. */
    struct WindowFixture : public ::testing::Test
    {
        WindowFixture()
        {
            window.setColour (WindowColourIds::titleBarColourId, titleBlue);
            window.setLookAndFeel (&lookAndFeel);
        }

        ~WindowFixture() override { window.setLookAndFeel (nullptr); }

        TemplateLookAndFeel lookAndFeel;
        DocumentWindow window { "Corvane Chorus version 1.1.01 - R272", windowBackground,
                                DocumentWindow::allButtons, false };
    };

    const Font titleFont (26.0f * 0.65f, Font::bold);
} // namespace

//==============================================================================
TEST_F (WindowFixture, TitleBarRunsFromTheTitleColourDownToTheBackground)
{
    RecordingGraphicsContext context;
    Graphics g (context);
    lookAndFeel.drawDocumentWindowTitleBar (window, g, 642, 26, 4, 560, nullptr, false);

    const auto fills = context.eventsOfKind (Kind::fillRect);
    ASSERT_FALSE (fills.empty());

    const auto& gradient = drawing::gradientOf (fills[0]);
    EXPECT_TRUE (pointNear (gradient.point1, { 0, 0 }));
    EXPECT_TRUE (pointNear (gradient.point2, { 0, 26 }));
    EXPECT_TRUE (colourIs (gradient.getColour (0), titleBlue));
    EXPECT_TRUE (colourIs (gradient.getColour (1), windowBackground));

    // The title: bold, 16.9 pixels high, in the inactive window's paler text colour.
    const auto glyphs = context.eventsOfKind (Kind::drawGlyph);
    ASSERT_FALSE (glyphs.empty());
    EXPECT_NEAR (glyphs[0].font.getHeight(), 16.9f, 1.0e-4f);
    EXPECT_TRUE (glyphs[0].font.isBold());
    EXPECT_FALSE (window.isActiveWindow());
    EXPECT_TRUE (colourIs (drawing::colourOf (glyphs[0]), windowBackground.contrasting (0.4f)));
    EXPECT_EQ (drawing::recordedGlyphs (context), drawing::glyphsOf (titleFont, window.getName()));

    // Active, the same gradient under a darker title.
    window.setBounds (0, 0, 650, 400);
    window.addToDesktop();
    window.setVisible (true);
    window.toFront (true);
    ASSERT_TRUE (runMessageLoopUntil ([this] { return window.isActiveWindow(); }, 5000))
        << "the test needs a display that gives focus";

    RecordingGraphicsContext activeContext;
    Graphics activeGraphics (activeContext);
    lookAndFeel.drawDocumentWindowTitleBar (window, activeGraphics, 642, 26, 4, 560, nullptr, false);

    const auto activeGlyphs = activeContext.eventsOfKind (Kind::drawGlyph);
    ASSERT_FALSE (activeGlyphs.empty());
    EXPECT_TRUE (colourIs (drawing::colourOf (activeGlyphs[0]), windowBackground.contrasting (0.7f)));
    EXPECT_TRUE (colourIs (drawing::gradientOf (activeContext.eventsOfKind (Kind::fillRect)[0]).getColour (0), titleBlue));
}

TEST_F (WindowFixture, EmptyTitleDrawsOnlyTheGradient)
{
    window.setName ({});
    RecordingGraphicsContext context;
    Graphics g (context);
    lookAndFeel.drawDocumentWindowTitleBar (window, g, 642, 26, 4, 560, nullptr, false);

    EXPECT_EQ (context.drawings().size(), 1u);
}

TEST_F (WindowFixture, IconSitsBeforeTheTitleAndBothAreCentredTogether)
{
    window.setName ("Firmhold");
    const Image icon (Image::ARGB, 32, 16, true);

    RecordingGraphicsContext context;
    Graphics g (context);
    lookAndFeel.drawDocumentWindowTitleBar (window, g, 642, 26, 4, 560, &icon, false);

    // The icon box is as high as the font, truncated (16), and as wide as the icon at that
    // height plus 4 (36); the pair is centred over the bar.
    const auto textW = titleFont.getStringWidth ("Firmhold");
    const auto boxX = (642 - (textW + 36)) / 2;

    const auto images = context.eventsOfKind (Kind::drawImage);
    ASSERT_EQ (images.size(), 1u);
    const auto drawn = images[0].rect.transformedBy (images[0].pathTransform.followedBy (images[0].transform));
    EXPECT_TRUE (rectNear (drawn, { (float) boxX + 2, 5, 32, 16 }, 0.01f));
    EXPECT_FLOAT_EQ (images[0].opacity, 0.6f); // the window is not active

    const auto glyphs = context.eventsOfKind (Kind::drawGlyph);
    ASSERT_FALSE (glyphs.empty());
    EXPECT_NEAR (glyphs[0].pathTransform.getTranslationX(), boxX + 36, 0.5f);
}

//==============================================================================
struct TitlePlacementCase
{
    const char* name;
    const char* title;
    int titleSpaceX, titleSpaceW;
    bool onLeft;
    enum Where { centred, atLeftOfSpace, endsAtRightOfSpace, cutToSpace } where;
};

class TitlePlacement : public WindowFixture,
                       public ::testing::WithParamInterface<TitlePlacementCase>
{
};

TEST_P (TitlePlacement, TitleIsCentredUnlessTheButtonsOrTheSpaceForbidIt)
{
    const auto& c = GetParam();
    window.setName (c.title);

    RecordingGraphicsContext context;
    Graphics g (context);
    lookAndFeel.drawDocumentWindowTitleBar (window, g, 642, 26, c.titleSpaceX, c.titleSpaceW, nullptr, c.onLeft);

    const auto glyphs = context.eventsOfKind (Kind::drawGlyph);
    ASSERT_FALSE (glyphs.empty());
    const auto firstX = glyphs[0].pathTransform.getTranslationX();
    const auto textW = titleFont.getStringWidth (c.title);

    switch (c.where)
    {
        case TitlePlacementCase::centred:
            EXPECT_NEAR (firstX, (642 - textW) / 2, 0.5f);
            break;
        case TitlePlacementCase::atLeftOfSpace:
            EXPECT_NEAR (firstX, c.titleSpaceX, 0.5f);
            break;
        case TitlePlacementCase::endsAtRightOfSpace:
            ASSERT_GT ((642 - textW) / 2 + textW, c.titleSpaceX + c.titleSpaceW) << "the title must overlap the buttons";
            EXPECT_NEAR (firstX, c.titleSpaceX + c.titleSpaceW - textW, 0.5f);
            break;
        case TitlePlacementCase::cutToSpace:
            ASSERT_GT (textW, c.titleSpaceW);
            EXPECT_NEAR (firstX, c.titleSpaceX, 0.5f);
            EXPECT_LT (glyphs.size(), (size_t) String (c.title).length()); // ends in an ellipsis
            EXPECT_LE (context.eventsOfKind (Kind::drawGlyph).back().pathTransform.getTranslationX(),
                       (float) (c.titleSpaceX + c.titleSpaceW));
            break;
    }
}

INSTANTIATE_TEST_SUITE_P (
    Titles, TitlePlacement,
    ::testing::Values (
        TitlePlacementCase { "shortCentred", "Firmhold", 4, 560, false, TitlePlacementCase::centred },
        TitlePlacementCase { "onLeft", "Firmhold", 30, 500, true, TitlePlacementCase::atLeftOfSpace },
        TitlePlacementCase { "pushedLeftOfButtons", "Corvane Chorus firmware version 1.1.01 - R272 (built in)",
                             4, 500, false, TitlePlacementCase::endsAtRightOfSpace },
        TitlePlacementCase { "cutWithEllipsis", "Corvane Chorus firmware version 1.1.01 - R272 (built in, long name)",
                             4, 200, false, TitlePlacementCase::cutToSpace }),
    [] (const auto& testInfo) { return std::string (testInfo.param.name); });

//==============================================================================
struct ButtonPlacementCase
{
    const char* name;
    int titleBarW;
    bool onLeft;
    bool hasMinimise, hasMaximise, hasClose;
    int minimiseX, maximiseX, closeX; // where present
};

class ButtonPlacement : public WindowFixture,
                        public ::testing::WithParamInterface<ButtonPlacementCase>
{
};

TEST_P (ButtonPlacement, ButtonsLandInTheirBoxes)
{
    const auto& c = GetParam();
    Component minimise, maximise, close;
    TextButton minimiseButton, maximiseButton, closeButton;

    lookAndFeel.positionDocumentWindowButtons (window, 4, 4, c.titleBarW, 26,
                                               c.hasMinimise ? &minimiseButton : nullptr,
                                               c.hasMaximise ? &maximiseButton : nullptr,
                                               c.hasClose ? &closeButton : nullptr,
                                               c.onLeft);

    // 26 - 26 / 8 = 23 wide, the title bar's height high.
    if (c.hasMinimise)
    {
        EXPECT_EQ (minimiseButton.getBounds(), Rectangle<int> (c.minimiseX, 4, 23, 26));
    }
    if (c.hasMaximise)
    {
        EXPECT_EQ (maximiseButton.getBounds(), Rectangle<int> (c.maximiseX, 4, 23, 26));
    }
    if (c.hasClose)
    {
        EXPECT_EQ (closeButton.getBounds(), Rectangle<int> (c.closeX, 4, 23, 26));
    }
}

INSTANTIATE_TEST_SUITE_P (
    Windows, ButtonPlacement,
    ::testing::Values (
        ButtonPlacementCase { "mainWindow", 642, false, true, true, true, 567, 590, 618 },
        ButtonPlacementCase { "helpWindow", 542, false, true, true, true, 467, 490, 518 },
        ButtonPlacementCase { "onLeft", 642, true, true, true, true, 31, 54, 8 },
        ButtonPlacementCase { "rightWithoutMaximise", 642, false, true, false, true, 590, 0, 618 },
        ButtonPlacementCase { "rightCloseOnly", 642, false, false, false, true, 0, 0, 618 },
        ButtonPlacementCase { "leftWithoutClose", 642, true, true, true, false, 8, 31, 0 }),
    [] (const auto& testInfo) { return std::string (testInfo.param.name); });

TEST_F (WindowFixture, RealWindowPlacesItsGlassButtonsThroughTheLookAndFeel)
{
    window.setResizable (true, false);
    window.setBounds (0, 0, 650, 400);

    std::map<String, Rectangle<int>> bounds;

    for (auto* child : window.getChildren())
        if (auto* button = dynamic_cast<Button*> (child))
            bounds[button->getName()] = button->getBounds();

    ASSERT_EQ (bounds.size(), 3u);
    EXPECT_EQ (bounds["close"], Rectangle<int> (618, 4, 23, 26));
    EXPECT_EQ (bounds["maximise"], Rectangle<int> (590, 4, 23, 26));
    EXPECT_EQ (bounds["minimise"], Rectangle<int> (567, 4, 23, 26));
}

//==============================================================================
TEST (CornerResizer, DrawsFourPairsOfStripesFromTheBottomToTheRightEdge)
{
    TemplateLookAndFeel lookAndFeel;
    RecordingGraphicsContext context;
    Graphics g (context);
    lookAndFeel.drawCornerResizer (g, 16, 16, false, false);

    const auto fills = drawing::pathFills (context);
    ASSERT_EQ (fills.size(), 8u);

    const float starts[] = { 0.0f, 4.8f, 9.6f, 14.4f };
    const auto thickness = 1.2f;

    for (size_t i = 0; i < 8; ++i)
    {
        const auto light = i % 2 == 0;
        const auto start = starts[i / 2] + (light ? 0.0f : thickness);

        // A band of the line's thickness centred on its start point (16 i, 17).
        const auto points = drawing::pathPoints (fills[i].path);
        ASSERT_GE (points.size(), 2u);
        EXPECT_TRUE (pointNear ((points[0] + points[1]) * 0.5f, { start, 17.0f })) << i;
        EXPECT_NEAR (points[0].getDistanceFrom (points[1]), thickness, 1.0e-4f) << i;
        EXPECT_TRUE (colourIs (drawing::colourOf (fills[i]), Colour (light ? 0xffd3d3d3 : 0xff555555)));
    }
}
