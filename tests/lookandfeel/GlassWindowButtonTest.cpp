#include "lookandfeel/GlassWindowButton.h"
#include "lookandfeel/TemplateLookAndFeel.h"
#include "support/DrawingExpectations.h"

#include <gtest/gtest.h>

using namespace juce;
using drawing::colourIs;
using drawing::pointNear;
using drawing::rectNear;

namespace
{
    std::unique_ptr<Button> makeButton (TemplateLookAndFeel& lookAndFeel, int type, int w = 23, int h = 26)
    {
        std::unique_ptr<Button> button (lookAndFeel.createDocumentWindowButton (type));

        if (button != nullptr)
            button->setSize (w, h);

        return button;
    }

    std::vector<RecordingGraphicsContext::Event> paint (Button& button, bool over = false, bool down = false)
    {
        RecordingGraphicsContext context;
        Graphics g (context);
        dynamic_cast<GlassWindowButton&> (button).paintButton (g, over, down);
        return drawing::pathFills (context);
    }
} // namespace

//==============================================================================
TEST (WindowButtonFactory, MakesOneButtonPerKindAndNothingForOtherValues)
{
    TemplateLookAndFeel lookAndFeel;

    for (auto type : { 0, 3, 5, 7, 8, -1 })
        EXPECT_EQ (makeButton (lookAndFeel, type), nullptr) << type;

    const std::tuple<int, const char*, Colour> kinds[] = {
        { DocumentWindow::minimiseButton, "minimise", Colour (0xffeff2f3) },
        { DocumentWindow::maximiseButton, "maximise", Colour (0xff9299a5) },
        { DocumentWindow::closeButton, "close", Colour (0xff3273a1) },
    };

    for (auto [type, name, tint] : kinds)
    {
        auto button = makeButton (lookAndFeel, type);
        ASSERT_NE (dynamic_cast<GlassWindowButton*> (button.get()), nullptr) << name;
        EXPECT_EQ (button->getName(), name);
        EXPECT_TRUE (button->getTooltip().isEmpty());

        // The sphere's body is white overlaid with the tint at the button's alpha.
        const auto fills = paint (*button);
        ASSERT_EQ (fills.size(), 6u) << name;
        EXPECT_TRUE (colourIs (drawing::gradientOf (fills[1]).getColour (1),
                               Colours::white.overlaidWith (tint.withAlpha (0.55f))))
            << name;
    }
}

//==============================================================================
struct GlassButtonStateCase
{
    const char* name;
    bool enabled, over, down;
    float alpha;
};

class GlassButtonStates : public ::testing::TestWithParam<GlassButtonStateCase>
{
};

TEST_P (GlassButtonStates, RingSphereAndSymbolSitInTheStatedBoxesAtTheStatesAlpha)
{
    const auto& c = GetParam();
    TemplateLookAndFeel lookAndFeel;
    auto button = makeButton (lookAndFeel, DocumentWindow::closeButton);
    button->setEnabled (c.enabled);

    const auto fills = paint (*button, c.over, c.down);
    ASSERT_EQ (fills.size(), 6u); // ring, four sphere layers, symbol

    // 23 x 26: the ring at (1.15, 2.65), 20.7 across, lighter at the bottom.
    EXPECT_TRUE (rectNear (fills[0].deviceBounds(), { 1.15f, 2.65f, 20.7f, 20.7f }, 0.02f));
    const auto& ring = drawing::gradientOf (fills[0]);
    EXPECT_FALSE (ring.isRadial);
    EXPECT_TRUE (pointNear (ring.point1, { 0, 23.35f }));
    EXPECT_TRUE (pointNear (ring.point2, { 0, 2.65f }));
    EXPECT_TRUE (colourIs (ring.getColour (0), Colour (229, 229, 229).withAlpha (c.alpha)));
    EXPECT_TRUE (colourIs (ring.getColour (1), Colour (153, 153, 153).withAlpha (c.alpha)));

    // The sphere 2 pixels inside it.
    EXPECT_TRUE (rectNear (fills[1].deviceBounds(), { 3.15f, 4.65f, 16.7f, 16.7f }, 0.02f));

    // The symbol fills the middle 40 % of the sphere, centred, in translucent black.
    const auto& symbol = fills[5];
    const auto symbolBox = symbol.deviceBounds();
    EXPECT_NEAR (jmax (symbolBox.getWidth(), symbolBox.getHeight()), 6.68f, 0.01f);
    EXPECT_TRUE (pointNear (symbolBox.getCentre(), { 8.16f + 3.34f, 9.66f + 3.34f }, 0.01f));
    EXPECT_TRUE (colourIs (drawing::colourOf (symbol), Colours::black.withAlpha (c.alpha * 0.6f)));
}

INSTANTIATE_TEST_SUITE_P (
    States, GlassButtonStates,
    ::testing::Values (
        GlassButtonStateCase { "normal", true, false, false, 0.55f },
        GlassButtonStateCase { "mouseOver", true, true, false, 0.8f },
        GlassButtonStateCase { "pressed", true, true, true, 1.0f },
        GlassButtonStateCase { "disabledNormal", false, false, false, 0.275f },
        GlassButtonStateCase { "disabledMouseOver", false, true, false, 0.4f },
        GlassButtonStateCase { "disabledPressed", false, true, true, 0.5f }),
    [] (const auto& testInfo) { return std::string (testInfo.param.name); });

//==============================================================================
struct GlassButtonSizeCase
{
    const char* name;
    int w, h;
    Rectangle<float> ring;
    bool sphere;
};

class GlassButtonSizes : public ::testing::TestWithParam<GlassButtonSizeCase>
{
};

TEST_P (GlassButtonSizes, CircleIsCentredAlongTheLongerSide)
{
    const auto& c = GetParam();
    TemplateLookAndFeel lookAndFeel;
    auto button = makeButton (lookAndFeel, DocumentWindow::minimiseButton, c.w, c.h);

    const auto fills = paint (*button);
    ASSERT_EQ (fills.size(), c.sphere ? 6u : 2u);
    EXPECT_TRUE (rectNear (fills[0].deviceBounds(), c.ring, 0.02f));

    // Proportions kept: the bar is as wide as the symbol box and centred on the ring.
    EXPECT_TRUE (pointNear (fills.back().deviceBounds().getCentre(), c.ring.getCentre(), 0.01f));
}

INSTANTIATE_TEST_SUITE_P (
    Sizes, GlassButtonSizes,
    ::testing::Values (
        GlassButtonSizeCase { "square", 40, 40, { 2, 2, 36, 36 }, true },
        GlassButtonSizeCase { "wide", 40, 20, { 11, 1, 18, 18 }, true },
        GlassButtonSizeCase { "tall", 23, 26, { 1.15f, 2.65f, 20.7f, 20.7f }, true },
        // 0.9 x 5 - 4 = 0.5: no room for the sphere, but the ring and symbol remain.
        GlassButtonSizeCase { "tiny", 5, 5, { 0.25f, 0.25f, 4.5f, 4.5f }, false }),
    [] (const auto& testInfo) { return std::string (testInfo.param.name); });

//==============================================================================
TEST (GlassButtonSymbols, OnlyTheMaximiseButtonChangesItsSymbolWhenToggled)
{
    TemplateLookAndFeel lookAndFeel;

    for (auto type : { DocumentWindow::minimiseButton, DocumentWindow::maximiseButton, DocumentWindow::closeButton })
    {
        auto button = makeButton (lookAndFeel, type);
        const auto normal = paint (*button).back().path;

        button->setToggleState (true, dontSendNotification);
        const auto toggled = paint (*button).back().path;

        if (type == DocumentWindow::maximiseButton)
        {
            EXPECT_NE (normal, toggled);
            EXPECT_EQ (toggled, TemplateLookAndFeel::fullScreenShape());
        }
        else
        {
            EXPECT_EQ (normal, toggled) << type;
        }
    }
}

TEST (GlassButtonSymbols, SymbolsHaveTheStatedShapes)
{
    TemplateLookAndFeel lookAndFeel;

    auto symbolOf = [&] (int type)
    {
        auto button = makeButton (lookAndFeel, type);
        return paint (*button).back().path; // in its own unit square, before fitting
    };

    // Cross: both diagonals, 0.35 thick, and nothing on the axes away from the centre.
    const auto cross = symbolOf (DocumentWindow::closeButton);
    EXPECT_TRUE (cross.contains (0.1f, 0.1f));
    EXPECT_TRUE (cross.contains (0.9f, 0.1f));
    EXPECT_TRUE (cross.contains (0.5f + 0.17f / 1.4142f, 0.5f - 0.17f / 1.4142f + 0.2f));
    EXPECT_FALSE (cross.contains (0.5f, 0.1f));

    // Bar: 0.25 thick across the middle.
    const auto bar = symbolOf (DocumentWindow::minimiseButton);
    EXPECT_TRUE (rectNear (bar.getBounds(), { 0, 0.375f, 1, 0.25f }));

    // Plus: the bar and an upright one.
    const auto plus = symbolOf (DocumentWindow::maximiseButton);
    EXPECT_TRUE (plus.contains (0.5f, 0.1f));
    EXPECT_TRUE (plus.contains (0.1f, 0.5f));
    EXPECT_FALSE (plus.contains (0.2f, 0.2f));
}

TEST (GlassButtonSymbols, FullScreenShapeIsTwoFramesWithTheBackOneOpenBehindTheFront)
{
    const auto shape = TemplateLookAndFeel::fullScreenShape();

    EXPECT_TRUE (rectNear (shape.getBounds(), { -15, -15, 175, 175 }, 0.01f));

    EXPECT_TRUE (shape.contains (0, 50));      // back frame, left side
    EXPECT_TRUE (shape.contains (100, 20));    // back frame, right side above the front one
    EXPECT_FALSE (shape.contains (20, 20));    // inside the back frame
    EXPECT_TRUE (shape.contains (145, 100));   // front frame, right side
    EXPECT_TRUE (shape.contains (50, 50));     // front frame's top-left corner
    EXPECT_FALSE (shape.contains (100, 100));  // inside the front frame
    EXPECT_FALSE (shape.contains (100, 80));   // the back frame is left open here
    EXPECT_FALSE (shape.contains (80, 100));
}
