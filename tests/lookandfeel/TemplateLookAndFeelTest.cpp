#include "lookandfeel/TemplateLookAndFeel.h"
#include "lookandfeel/GlassShapeRecording.h"
#include "support/DesktopComponentHolder.h"
#include "support/DrawingExpectations.h"

#include <gtest/gtest.h>

using namespace juce;
using drawing::colourIs;
using drawing::pointNear;
using drawing::rectNear;
using Kind = RecordingGraphicsContext::Kind;

namespace
{
    const Colour updateGreen (0xff7ebf7e);
    const Colour updateRed (0xffff7e7e);

    //==============================================================================
    /** The update button of the panel: 94 x 30, joined on its left to the progress bar. */
    struct UpdateButtonFixture : public ::testing::Test
    {
        UpdateButtonFixture()
        {
            button.setLookAndFeel (&lookAndFeel);
            button.setSize (94, 30);
            button.setConnectedEdges (Button::ConnectedOnLeft);
        }

        ~UpdateButtonFixture() override { button.setLookAndFeel (nullptr); }

        GlassShapeRecording draw (Colour background, bool over, bool down)
        {
            RecordingGraphicsContext context;
            Graphics g (context);
            lookAndFeel.drawButtonBackground (g, button, background, over, down);
            return GlassShapeRecording::from (drawing::pathFills (context));
        }

        TemplateLookAndFeel lookAndFeel;
        TextButton button { "update" };
    };

    //==============================================================================
    // The outline stroke straddles the lozenge's edge, so its bounds are the lozenge's
    // grown by half the stroke on every side.
    Rectangle<float> lozengeFromOutline (const RecordingGraphicsContext::Event& outline, float thickness)
    {
        return outline.deviceBounds().reduced (thickness * 0.5f);
    }

    Colour gradientStopColour (const ColourGradient& gradient, double position)
    {
        for (int i = 0; i < gradient.getNumColours(); ++i)
            if (std::abs (gradient.getColourPosition (i) - position) < 1.0e-4)
                return gradient.getColour (i);

        ADD_FAILURE() << "no stop at " << position;
        return Colour (0x12345678);
    }

    float gradientStopAlpha (const ColourGradient& gradient, double position)
    {
        return gradientStopColour (gradient, position).getFloatAlpha();
    }
} // namespace

//==============================================================================
TEST_F (UpdateButtonFixture, EnabledButtonDrawsTheLozengeJoinedOnItsLeft)
{
    const auto shape = draw (updateGreen, false, false);

    ASSERT_TRUE (shape.body && shape.highlight && shape.outline);

    // Outline 0.7: inset by 0.1 on the joined side, by 0.35 elsewhere.
    EXPECT_TRUE (rectNear (shape.body->deviceBounds(), { 0.1f, 0.35f, 93.55f, 29.3f }));
    EXPECT_TRUE (rectNear (lozengeFromOutline (*shape.outline, 0.7f), { 0.1f, 0.35f, 93.55f, 29.3f }, 0.02f));

    // Square top-left corner; the top edge stops one corner radius (14.65) short of the right.
    const auto points = drawing::pathPoints (shape.body->path);
    ASSERT_GE (points.size(), 2u);
    EXPECT_TRUE (pointNear (points[0], { 0.1f, 0.35f }));
    EXPECT_TRUE (pointNear (points[1], { 0.1f + 93.55f - 14.65f, 0.35f }));

    // The body gradient runs over the lozenge's height.
    const auto& body = drawing::gradientOf (*shape.body);
    EXPECT_NEAR (body.point1.y, 0.35f, drawing::tolerance);
    EXPECT_NEAR (body.point2.y, 29.65f, drawing::tolerance);
    EXPECT_FALSE (body.isRadial);
}

TEST_F (UpdateButtonFixture, EnabledButtonShadesOnlyItsFreeRightSide)
{
    const auto shape = draw (updateGreen, false, false);

    EXPECT_FALSE (shape.leftShade.has_value());
    ASSERT_TRUE (shape.rightShade.has_value());

    EXPECT_EQ (shape.rightShade->clip, Rectangle<int> (72, 0, 23, 29));

    // Side-shading width 21.975, measured in from the right edge at half height.
    const auto& shade = drawing::gradientOf (*shape.rightShade);
    EXPECT_TRUE (pointNear (shade.point1, { 93.65f - 21.975f, 15.0f }));
    EXPECT_TRUE (pointNear (shade.point2, { 93.65f, 15.0f }));

    // With the height the short side, the inner stops fall at 2/3 and 5/6; the shade darkens
    // the body's colour towards the edge.
    const auto dark = TemplateLookAndFeel::deriveBaseColour (updateGreen, false, false, false).darker (0.2f);

    const std::tuple<const char*, double, Colour> stops[] = {
        { "inner end", 0.0, Colours::transparentBlack },
        { "still clear", 2.0 / 3.0, Colours::transparentBlack },
        { "first shade", 5.0 / 6.0, dark.withMultipliedAlpha (0.3f) },
        { "edge", 1.0, dark },
    };

    for (auto& [what, position, colour] : stops)
        EXPECT_TRUE (colourIs (gradientStopColour (shade, position), colour)) << what;
}

TEST_F (UpdateButtonFixture, EnabledButtonHighlightCoversTheUpperPart)
{
    const auto shape = draw (updateGreen, false, false);
    ASSERT_TRUE (shape.highlight.has_value());

    EXPECT_TRUE (rectNear (shape.highlight->deviceBounds(), { 0.1f, 1.815f, 87.69f, 11.72f }));

    // Rounded only on the right, with radius 5.86.
    const auto points = drawing::pathPoints (shape.highlight->path);
    ASSERT_GE (points.size(), 2u);
    EXPECT_TRUE (pointNear (points[1], { 0.1f + 87.69f - 5.86f, 1.815f }));

    const auto& gradient = drawing::gradientOf (*shape.highlight);
    EXPECT_NEAR (gradient.point1.y, 2.108f, drawing::tolerance);
    EXPECT_NEAR (gradient.point2.y, 12.07f, drawing::tolerance);
    EXPECT_TRUE (colourIs (gradient.getColour (gradient.getNumColours() - 1), Colours::transparentWhite));
}

//==============================================================================
struct ButtonStateCase
{
    const char* name;
    bool enabled, over, down;
    float outline;
    Rectangle<float> lozenge;
    float bodyAlpha;
};

class ButtonStates : public UpdateButtonFixture,
                     public ::testing::WithParamInterface<ButtonStateCase>
{
};

TEST_P (ButtonStates, OutlineInsetAndBodyAlphaFollowTheState)
{
    const auto& c = GetParam();
    button.setEnabled (c.enabled);

    const auto shape = draw (c.enabled ? updateGreen : updateRed, c.over, c.down);
    ASSERT_TRUE (shape.body && shape.outline);

    EXPECT_TRUE (rectNear (shape.body->deviceBounds(), c.lozenge));
    EXPECT_TRUE (rectNear (lozengeFromOutline (*shape.outline, c.outline), c.lozenge, 0.02f));

    // The body is densest at 40 % of its height, where it has the base colour.
    EXPECT_NEAR (gradientStopAlpha (drawing::gradientOf (*shape.body), 0.4), c.bodyAlpha, 0.01f);
}

INSTANTIATE_TEST_SUITE_P (
    UpdateButton, ButtonStates,
    ::testing::Values (
        ButtonStateCase { "normal", true, false, false, 0.7f, { 0.1f, 0.35f, 93.55f, 29.3f }, 1.0f },
        ButtonStateCase { "hovered", true, true, false, 1.2f, { 0.1f, 0.6f, 93.3f, 28.8f }, 1.0f },
        ButtonStateCase { "pressed", true, true, true, 1.2f, { 0.1f, 0.6f, 93.3f, 28.8f }, 1.0f },
        ButtonStateCase { "disabled", false, false, false, 0.4f, { 0.1f, 0.2f, 93.7f, 29.6f }, 0.5f }),
    [] (const auto& testInfo) { return std::string (testInfo.param.name); });

TEST_F (UpdateButtonFixture, PressedButtonIsDrawnInTheContrastedColour)
{
    const auto normal = draw (updateGreen, false, false);
    const auto pressed = draw (updateGreen, true, true);
    ASSERT_TRUE (normal.body && pressed.body);

    const auto base = [] (const GlassShapeRecording& s)
    {
        const auto& g = *s.body->fill.gradient;
        return g.getColour (2); // the 0.4 stop
    };

    EXPECT_TRUE (colourIs (base (pressed), base (normal).contrasting (0.2f)));
}

TEST_F (UpdateButtonFixture, FocusedButtonIsDrawnMoreSaturated)
{
    const auto bodyColour = [] (const GlassShapeRecording& s) { return s.body->fill.gradient->getColour (2); };

    const auto unfocused = draw (updateGreen, false, false);

    DesktopComponentHolder desktop (button);
    button.grabKeyboardFocus();
    ASSERT_TRUE (button.hasKeyboardFocus (true));
    const auto focused = draw (updateGreen, false, false);

    ASSERT_TRUE (unfocused.body && focused.body);
    EXPECT_NEAR (bodyColour (unfocused).getSaturation(), updateGreen.getSaturation() * 0.9f, 0.01f);
    EXPECT_NEAR (bodyColour (focused).getSaturation(), updateGreen.getSaturation() * 1.3f, 0.01f);
}

TEST_F (UpdateButtonFixture, ButtonWithNoRoomForItsOutlineDrawsNothing)
{
    button.setSize (94, 0);
    RecordingGraphicsContext context;
    Graphics g (context);
    lookAndFeel.drawButtonBackground (g, button, updateGreen, false, false);

    EXPECT_TRUE (context.drawings().empty());
}

//==============================================================================
TEST (DeriveBaseColour, FocusSaturatesAndPressingWinsOverHovering)
{
    const Colour source (0xff7ebf7e);

    const auto plain = TemplateLookAndFeel::deriveBaseColour (source, false, false, false);
    const auto focused = TemplateLookAndFeel::deriveBaseColour (source, true, false, false);

    EXPECT_NEAR (plain.getSaturation(), source.getSaturation() * 0.9f, 0.01f);
    EXPECT_NEAR (focused.getSaturation(), source.getSaturation() * 1.3f, 0.01f);

    EXPECT_EQ (TemplateLookAndFeel::deriveBaseColour (source, false, true, false), plain.contrasting (0.1f));
    EXPECT_EQ (TemplateLookAndFeel::deriveBaseColour (source, false, false, true), plain.contrasting (0.2f));
    EXPECT_EQ (TemplateLookAndFeel::deriveBaseColour (source, false, true, true), plain.contrasting (0.2f));
    EXPECT_EQ (TemplateLookAndFeel::deriveBaseColour (source, true, true, true), focused.contrasting (0.2f));
}

//==============================================================================
struct OutlineCornerCase
{
    const char* name;
    bool topLeft, topRight, bottomLeft, bottomRight;
    Point<float> firstPoint;
};

class RoundedOutline : public ::testing::TestWithParam<OutlineCornerCase>
{
};

TEST_P (RoundedOutline, RoundsExactlyTheFlaggedCorners)
{
    const auto& c = GetParam();
    Path p;
    TemplateLookAndFeel::addRoundedOutline (p, 10.0f, 20.0f, 100.0f, 50.0f, 10.0f,
                                            c.topLeft, c.topRight, c.bottomLeft, c.bottomRight);

    EXPECT_TRUE (rectNear (p.getBounds(), { 10.0f, 20.0f, 100.0f, 50.0f }));
    EXPECT_TRUE (pointNear (drawing::pathPoints (p).front(), c.firstPoint));
    EXPECT_TRUE (p.contains (60.0f, 45.0f));

    // A point just inside each corner is covered only where that corner stays square.
    EXPECT_EQ (p.contains (10.5f, 20.5f), ! c.topLeft);
    EXPECT_EQ (p.contains (109.5f, 20.5f), ! c.topRight);
    EXPECT_EQ (p.contains (10.5f, 69.5f), ! c.bottomLeft);
    EXPECT_EQ (p.contains (109.5f, 69.5f), ! c.bottomRight);

    // Where a corner is round, the arc keeps to its quarter circle.
    if (c.topRight)
    {
        EXPECT_TRUE (p.contains (109.5f - 10.0f + 7.0f, 30.0f - 7.0f + 0.5f));
    }
}

INSTANTIATE_TEST_SUITE_P (
    Corners, RoundedOutline,
    ::testing::Values (
        OutlineCornerCase { "allRound", true, true, true, true, { 10.0f, 30.0f } },
        OutlineCornerCase { "allSquare", false, false, false, false, { 10.0f, 20.0f } },
        OutlineCornerCase { "rightOnly", false, true, false, true, { 10.0f, 20.0f } },
        OutlineCornerCase { "topLeftOnly", true, false, false, false, { 10.0f, 30.0f } },
        OutlineCornerCase { "bottomOnly", false, false, true, true, { 10.0f, 20.0f } }),
    [] (const auto& testInfo) { return std::string (testInfo.param.name); });

TEST (RoundedOutline, AppendsAClosedSubPathWithoutDisturbingEarlierOnes)
{
    Path p;
    p.addRectangle (200.0f, 200.0f, 5.0f, 5.0f);
    TemplateLookAndFeel::addRoundedOutline (p, 0.0f, 0.0f, 40.0f, 20.0f, 10.0f, true, true, true, true);

    EXPECT_TRUE (p.contains (202.0f, 202.0f));
    EXPECT_TRUE (p.contains (20.0f, 10.0f));
    EXPECT_FALSE (p.contains (100.0f, 100.0f));
}

//==============================================================================
struct GlassShapeCase
{
    const char* name;
    Rectangle<float> box;
    float thickness;
    bool flatLeft, flatRight, flatTop, flatBottom;
    size_t fills;                                 // 0 when nothing at all is drawn
    std::optional<Rectangle<int>> leftClip, rightClip;
    Rectangle<float> highlight;
};

class GlassShape : public ::testing::TestWithParam<GlassShapeCase>
{
};

TEST_P (GlassShape, DrawsItsPartsInTheStatedBoxes)
{
    const auto& c = GetParam();
    const Rectangle<int> everywhere (-1000, -1000, 5000, 5000); // so no clip box is cut short
    RecordingGraphicsContext context (everywhere);
    Graphics g (context);

    TemplateLookAndFeel::drawGlassShape (g, c.box.getX(), c.box.getY(), c.box.getWidth(), c.box.getHeight(),
                                         Colour (0xffd3d3d3), c.thickness,
                                         c.flatLeft, c.flatRight, c.flatTop, c.flatBottom);

    const auto shape = GlassShapeRecording::from (drawing::pathFills (context));
    ASSERT_EQ (shape.numFills, c.fills);

    if (c.fills == 0)
    {
        EXPECT_TRUE (context.drawings().empty());
        return;
    }

    ASSERT_TRUE (shape.body && shape.highlight && shape.outline);
    EXPECT_TRUE (rectNear (shape.body->deviceBounds(), c.box));
    EXPECT_TRUE (rectNear (shape.highlight->deviceBounds(), c.highlight));

    EXPECT_EQ (shape.leftShade.has_value(), c.leftClip.has_value());
    EXPECT_EQ (shape.rightShade.has_value(), c.rightClip.has_value());

    if (shape.leftShade && c.leftClip)
    {
        EXPECT_EQ (shape.leftShade->clip, *c.leftClip);
    }

    if (shape.rightShade && c.rightClip)
    {
        EXPECT_EQ (shape.rightShade->clip, *c.rightClip);
    }

    // Every clip is undone: nothing after the shading is drawn clipped.
    EXPECT_EQ (shape.outline->depth, 0);
    EXPECT_EQ (shape.outline->clip, everywhere);

    // The stated colours, one row each.
    const Colour base (0xffd3d3d3);
    const auto& body = drawing::gradientOf (*shape.body);
    const auto& highlight = drawing::gradientOf (*shape.highlight);

    const std::tuple<const char*, Colour, Colour> colours[] = {
        { "body at 0", gradientStopColour (body, 0.0), base.darker (0.2f) },
        { "body at 0.03", gradientStopColour (body, 0.03), base.withMultipliedAlpha (0.3f) },
        { "body at 0.4", gradientStopColour (body, 0.4), base },
        { "body at 0.97", gradientStopColour (body, 0.97), base.withMultipliedAlpha (0.3f) },
        { "body at 1", gradientStopColour (body, 1.0), base.darker (0.2f) },
        { "highlight top", highlight.getColour (0), base.brighter (10.0f) },
        { "highlight bottom", highlight.getColour (highlight.getNumColours() - 1), Colours::transparentWhite },
        { "outline", drawing::colourOf (*shape.outline), base.darker (0.4f).withMultipliedAlpha (1.5f) },
    };

    for (auto& [what, actual, expected] : colours)
        EXPECT_TRUE (colourIs (actual, expected)) << what;
}

INSTANTIATE_TEST_SUITE_P (
    Lozenges, GlassShape,
    ::testing::Values (
        // 60 x 20, rounded all round: cs 10, shading width 15, highlight indented by 4.
        GlassShapeCase { "freeStanding", { 0, 0, 60, 20 }, 1.0f, false, false, false, false, 5,
                         Rectangle<int> (0, 0, 15, 20), Rectangle<int> (45, 0, 17, 20), { 4, 1, 52, 8 } },
        // The progress fill: flat everywhere, so no shading and no highlight indent.
        GlassShapeCase { "flatStrip", { 1, 1, 263, 28 }, 0.5f, true, true, true, true, 3,
                         std::nullopt, std::nullopt, { 1, 2.4f, 263, 11.2f } },
        // A flat top or bottom removes both shadings; only left and right decide the indents.
        GlassShapeCase { "flatTop", { 0, 0, 60, 20 }, 1.0f, false, false, true, false, 3,
                         std::nullopt, std::nullopt, { 4, 1, 52, 8 } },
        // Narrower than high: cs = width / 2 and the shading is wider than the height.
        GlassShapeCase { "upright", { 2, 3, 10, 30 }, 1.0f, false, false, false, false, 5,
                         Rectangle<int> (2, 3, 42, 30), Rectangle<int> (2 + 10 - 42, 3, 44, 30), { 4, 3.5f, 6, 12 } },
        GlassShapeCase { "tooFlat", { 0, 0, 94, 0.5f }, 0.7f, false, false, false, false, 0,
                         std::nullopt, std::nullopt, {} },
        GlassShapeCase { "widthEqualsOutline", { 0, 0, 0.5f, 30 }, 0.5f, true, true, true, true, 0,
                         std::nullopt, std::nullopt, {} },
        GlassShapeCase { "notANumber", { 0, 0, std::numeric_limits<float>::quiet_NaN(), 30 }, 0.5f,
                         true, true, true, true, 0, std::nullopt, std::nullopt, {} }),
    [] (const auto& testInfo) { return std::string (testInfo.param.name); });

//==============================================================================
TEST (ShinyShape, SplitsItsShadeAtHalfHeightAndDrawsNothingWhenTooSmall)
{
    {
        RecordingGraphicsContext context;
        Graphics g (context);
        const Colour grey (0xff808080);
        TemplateLookAndFeel::drawShinyShape (g, -4, 0, 108, 20, 0, grey, 0.4f, true, true, true, true);

        const auto fills = drawing::pathFills (context);
        ASSERT_EQ (fills.size(), 2u);
        EXPECT_TRUE (rectNear (fills[0].deviceBounds(), { -4, 0, 108, 20 }));

        const auto& gradient = drawing::gradientOf (fills[0]);
        ASSERT_EQ (gradient.getNumColours(), 4);
        EXPECT_DOUBLE_EQ (gradient.getColourPosition (1), 0.5);
        EXPECT_NEAR (gradient.getColourPosition (2), 0.51, 1.0e-3);
        EXPECT_TRUE (colourIs (gradient.getColour (0), grey));
        EXPECT_TRUE (colourIs (gradient.getColour (1), grey.overlaidWith (Colours::white.withAlpha (0.2f))));
        EXPECT_TRUE (colourIs (gradient.getColour (2), grey.overlaidWith (Colours::blue.withAlpha (0.07f))));
        EXPECT_TRUE (colourIs (gradient.getColour (3), grey.overlaidWith (Colours::blue.withAlpha (0.03f))));
        EXPECT_TRUE (colourIs (drawing::colourOf (fills[1]), Colours::black.withAlpha (0.5f)));
    }

    {
        RecordingGraphicsContext context;
        Graphics g (context);
        TemplateLookAndFeel::drawShinyShape (g, 0, 0, 100, 1.0f, 0, Colours::white, 1.0f, true, true, true, true);
        EXPECT_TRUE (context.drawings().empty()); // 1 is not more than 1.1 x the outline
    }
}

//==============================================================================
struct TickBoxCase
{
    const char* name;
    bool ticked, enabled, over, down;
    int expectedFills; // the sphere's four, plus the tick mark
    Colour tickColour;
};

class TickBox : public ::testing::TestWithParam<TickBoxCase>
{
};

TEST_P (TickBox, SphereAndTickMarkSitInTheStatedPlaces)
{
    const auto& c = GetParam();
    TemplateLookAndFeel lookAndFeel;
    Component owner;
    RecordingGraphicsContext context;
    Graphics g (context);

    const float x = 5, y = 7;
    lookAndFeel.drawTickBox (g, owner, x, y, 20, 20, c.ticked, c.enabled, c.over, c.down);

    const auto fills = drawing::pathFills (context);
    ASSERT_EQ ((int) fills.size(), c.expectedFills);

    // A 20 x 20 box holds a sphere 14 pixels wide, centred vertically, in the control colour
    // (half as opaque when disabled) as a focused control would have it.
    EXPECT_TRUE (rectNear (fills[0].deviceBounds(), { x, y + 3, 14, 14 }));
    const auto control = c.enabled ? lookAndFeel.controlColour : lookAndFeel.controlColour.withMultipliedAlpha (0.5f);
    const auto sphere = TemplateLookAndFeel::deriveBaseColour (control, true, c.over, c.down);
    EXPECT_TRUE (colourIs (gradientStopColour (drawing::gradientOf (fills[0]), 0.4), Colours::white.overlaidWith (sphere)));

    if (! c.ticked)
        return;

    const auto& tick = fills.back();
    EXPECT_TRUE (colourIs (drawing::colourOf (tick), c.tickColour));

    // The transform moves the points; the stroke stays 2.5 wide, so a point 1 pixel off
    // the line is covered and one 1.5 pixels off is not.
    const Line<float> firstLeg ({ x + 10.0f / 3.0f, y + 20.0f / 3.0f }, { x + 20.0f / 3.0f, y + 40.0f / 3.0f });
    const Line<float> secondLeg ({ x + 20.0f / 3.0f, y + 40.0f / 3.0f }, { x + 40.0f / 3.0f, y });

    for (auto& leg : { firstLeg, secondLeg })
    {
        const auto mid = leg.getPointAlongLineProportionally (0.5f);
        const auto normal = Point<float> (-(leg.getEndY() - leg.getStartY()), leg.getEndX() - leg.getStartX()) / leg.getLength();

        EXPECT_TRUE (tick.path.contains (mid));
        EXPECT_TRUE (tick.path.contains (mid + normal * 1.0f));
        EXPECT_FALSE (tick.path.contains (mid + normal * 1.5f));
        EXPECT_FALSE (tick.path.contains (mid - normal * 1.5f));
    }
}

INSTANTIATE_TEST_SUITE_P (
    States, TickBox,
    ::testing::Values (
        TickBoxCase { "unticked", false, true, false, false, 4, {} },
        TickBoxCase { "ticked", true, true, false, false, 5, Colours::black },
        TickBoxCase { "tickedPressed", true, true, true, true, 5, Colours::black },
        TickBoxCase { "tickedDisabled", true, false, false, false, 5, Colour (0xff808080) }),
    [] (const auto& testInfo) { return std::string (testInfo.param.name); });

//==============================================================================
TEST (ColourScheme, HoldsTheSchemeIncludingRowsWhereTheFrameworkDefaultDiffers)
{
    TemplateLookAndFeel lookAndFeel;

    const std::pair<int, uint32> expected[] = {
        { TextEditor::focusedOutlineColourId, 0xb2808080 },
        { ScrollBar::backgroundColourId, 0x00000000 },
        { ScrollBar::thumbColourId, 0xffffffff },
        { PopupMenu::backgroundColourId, 0xffffffff },
        { PopupMenu::textColourId, 0xff000000 },
        { PopupMenu::highlightedTextColourId, 0xffffffff },
        { PopupMenu::highlightedBackgroundColourId, 0xb2808080 },
        { ComboBox::backgroundColourId, 0xffffffff },
        { ComboBox::outlineColourId, 0xb2808080 },
        { ComboBox::buttonColourId, 0xffffffff },
        { ComboBox::textColourId, 0xff000000 },
        { Slider::backgroundColourId, 0xffffffff },
        { ProgressBar::backgroundColourId, 0xffffffff },
        { ProgressBar::foregroundColourId, 0xffd3d3d3 },
        { TooltipWindow::backgroundColourId, 0xffffffff },
        { TooltipWindow::textColourId, 0xff000000 },
        { TextButton::buttonColourId, 0xffffffff },
        { TextButton::buttonOnColourId, 0xff4444ff },
        { TextButton::textColourOffId, 0xff000000 },
        { TextButton::textColourOnId, 0xff000000 },
    };

    for (auto [id, argb] : expected)
        EXPECT_EQ (lookAndFeel.findColour (id).getARGB(), argb) << "colour id 0x" << String::toHexString (id);

    EXPECT_EQ (lookAndFeel.controlColour.getARGB(), 0xb2808080u);
    EXPECT_EQ (lookAndFeel.minimiseButtonColour.getARGB(), 0xffeff2f3u);
    EXPECT_EQ (lookAndFeel.maximiseButtonColour.getARGB(), 0xff9299a5u);
    EXPECT_EQ (lookAndFeel.closeButtonColour.getARGB(), 0xff3273a1u);

    // 0.7 alpha is the 0xb2 byte of the convention.
    EXPECT_EQ (Colours::grey.withAlpha (0.7f).getARGB(), lookAndFeel.controlColour.getARGB());
}
