#include "lookandfeel/TemplateLookAndFeel.h"
#include "lookandfeel/GlassShapeRecording.h"
#include "support/DesktopComponentHolder.h"
#include "support/DrawingExpectations.h"

#include <gtest/gtest.h>

using namespace juce;
using drawing::colourIs;
using drawing::rectNear;
using Kind = RecordingGraphicsContext::Kind;

namespace
{
    struct Drawn
    {
        RecordingGraphicsContext context;
        Graphics g { context };
    };
} // namespace

//==============================================================================
struct ProgressCase
{
    const char* name;
    double progress;
    const char* text;
    float fillWidth; // 0 when no fill is drawn
};

class ProgressBarDrawing : public ::testing::TestWithParam<ProgressCase>
{
protected:
    ProgressBarDrawing()
    {
        bar.setLookAndFeel (&lookAndFeel);
        bar.setSize (528, 30);
    }

    ~ProgressBarDrawing() override { bar.setLookAndFeel (nullptr); }

    TemplateLookAndFeel lookAndFeel;
    double value = 0.0;
    ProgressBar bar { value };
};

TEST_P (ProgressBarDrawing, FillGrowsFromTheLeftUnderCentredPercentage)
{
    const auto& c = GetParam();
    Drawn d;
    lookAndFeel.drawProgressBar (d.g, bar, 528, 30, c.progress, c.text);

    // Background and a 1-pixel border in the background contrasted by 0.2.
    const auto rects = d.context.eventsOfKind (Kind::fillRect);
    ASSERT_FALSE (rects.empty());
    EXPECT_TRUE (colourIs (drawing::colourOf (rects.front()), Colours::white));

    const auto border = d.context.eventsOfKind (Kind::fillRectList);
    ASSERT_EQ (border.size(), 1u);
    EXPECT_TRUE (rectNear (border[0].rects.getBounds(), { 0, 0, 528, 30 }));
    EXPECT_TRUE (rectNear (border[0].rects.getRectangle (0), { 0, 0, 528, 1 }));
    EXPECT_TRUE (colourIs (drawing::colourOf (border[0]), Colours::white.contrasting (0.2f)));

    const auto shape = GlassShapeRecording::from (drawing::pathFills (d.context));

    if (c.fillWidth > 0)
    {
        ASSERT_TRUE (shape.body.has_value());
        EXPECT_TRUE (rectNear (shape.body->deviceBounds(), { 1, 1, c.fillWidth, 28 }));
        EXPECT_FALSE (shape.leftShade || shape.rightShade); // flat on every side
        EXPECT_TRUE (colourIs (drawing::gradientOf (*shape.body).getColour (2), Colour (0xffd3d3d3)));
    }
    else
    {
        EXPECT_EQ (shape.numFills, 0u);
    }

    // The text, in a plain font 0.6 of the height.
    const auto glyphs = d.context.eventsOfKind (Kind::drawGlyph);
    ASSERT_FALSE (glyphs.empty());
    EXPECT_FLOAT_EQ (glyphs[0].font.getHeight(), 18.0f);
    EXPECT_FALSE (glyphs[0].font.isBold());
    EXPECT_TRUE (colourIs (drawing::colourOf (glyphs[0]), Colour::contrasting (Colour (0xffd3d3d3), Colours::white)));
    EXPECT_EQ (drawing::recordedGlyphs (d.context), drawing::glyphsOf (Font (18.0f), c.text));

    // Centred over the whole bar.
    const auto textW = Font (18.0f).getStringWidthFloat (c.text);
    EXPECT_NEAR (glyphs[0].pathTransform.getTranslationX(), (528.0f - textW) * 0.5f, 1.0f);
}

INSTANTIATE_TEST_SUITE_P (
    UpdatePanelBar, ProgressBarDrawing,
    ::testing::Values (
        ProgressCase { "half", 0.5, "50%", 263.0f },
        ProgressCase { "full", 1.0, "100%", 526.0f },
        ProgressCase { "empty", 0.0, "0%", 0.0f },
        ProgressCase { "beyondFull", 1.7, "170%", 526.0f },
        ProgressCase { "indeterminate", -1.0, "x", 0.0f },
        ProgressCase { "notANumber", std::numeric_limits<double>::quiet_NaN(), "x", 0.0f }),
    [] (const auto& testInfo) { return std::string (testInfo.param.name); });

TEST (ProgressBarText, ComponentHandsItsPercentageToTheDrawing)
{
    TemplateLookAndFeel lookAndFeel;
    double value = 0.42;
    ProgressBar bar (value);
    bar.setLookAndFeel (&lookAndFeel);
    bar.setSize (528, 30);

    // The bar takes its starting value when it is made, so no timer needs to run.
    Drawn d;
    bar.paintEntireComponent (d.g, false);
    bar.setLookAndFeel (nullptr);

    EXPECT_EQ (drawing::recordedGlyphs (d.context), drawing::glyphsOf (Font (18.0f), "42%"));
}

//==============================================================================
struct ComboCase
{
    const char* name;
    bool enabled, focused, pressed;
    float borderThickness;
    float outline;
    bool arrows;
};

class ComboBoxDrawing : public ::testing::TestWithParam<ComboCase>
{
protected:
    ComboBoxDrawing()
    {
        box.setLookAndFeel (&lookAndFeel);
        box.setBounds (0, 0, 622, 30);
    }

    ~ComboBoxDrawing() override { box.setLookAndFeel (nullptr); }

    TemplateLookAndFeel lookAndFeel;
    ComboBox box;
};

TEST_P (ComboBoxDrawing, BorderButtonAndArrowsFollowTheState)
{
    const auto& c = GetParam();
    box.setEnabled (c.enabled);
    DesktopComponentHolder desktop (box);

    if (c.focused)
    {
        box.grabKeyboardFocus();
        ASSERT_TRUE (box.hasKeyboardFocus (false)) << "the test needs a display that gives focus";
    }

    Drawn d;
    const int bx = 596, by = 0, bw = 26, bh = 30;
    lookAndFeel.drawComboBox (d.g, 622, 30, c.pressed, bx, by, bw, bh, box);

    const auto border = d.context.eventsOfKind (Kind::fillRectList);
    ASSERT_EQ (border.size(), 1u);
    EXPECT_TRUE (rectNear (border[0].rects.getBounds(), { 0, 0, 622, 30 }));
    EXPECT_FLOAT_EQ (border[0].rects.getRectangle (0).getHeight(), c.borderThickness);
    EXPECT_TRUE (colourIs (drawing::colourOf (border[0]), Colour (0xb2808080)));

    const auto fills = drawing::pathFills (d.context);
    ASSERT_EQ (fills.size(), c.arrows ? 4u : 3u);

    // A square-cornered glass block inset by its outline thickness.
    const auto t = c.outline;
    const auto shape = GlassShapeRecording::from ({ fills.begin(), fills.begin() + 3 });
    ASSERT_TRUE (shape.body && shape.outline);
    EXPECT_FALSE (shape.leftShade || shape.rightShade);
    EXPECT_TRUE (rectNear (shape.body->deviceBounds(), { bx + t, by + t, bw - 2 * t, bh - 2 * t }));
    EXPECT_TRUE (rectNear (shape.outline->deviceBounds(), { bx + t * 0.5f, by + t * 0.5f, bw - t, bh - t }, 0.02f));

    const auto base = drawing::gradientOf (*shape.body).getColour (2);
    const auto expectedBase = TemplateLookAndFeel::deriveBaseColour (Colours::white, c.focused, false, c.pressed)
                                  .withMultipliedAlpha (c.enabled ? 1.0f : 0.5f);
    EXPECT_TRUE (colourIs (base, expectedBase));

    if (c.arrows)
    {
        // Two triangles inset 0.3 of the button width, from a quarter to three quarters of its height.
        EXPECT_TRUE (rectNear (fills[3].deviceBounds(), { bx + bw * 0.3f, bh * 0.25f, bw * 0.4f, bh * 0.5f }));
        EXPECT_FALSE (fills[3].path.contains (bx + bw * 0.5f, bh * 0.5f)); // the gap between them
        EXPECT_TRUE (colourIs (drawing::colourOf (fills[3]), Colours::black.withAlpha (0.6f)));
    }
}

INSTANTIATE_TEST_SUITE_P (
    Selector, ComboBoxDrawing,
    ::testing::Values (
        ComboCase { "normal", true, false, false, 1.0f, 0.5f, true },
        ComboCase { "pressed", true, false, true, 1.0f, 1.2f, true },
        ComboCase { "focused", true, true, false, 2.0f, 0.5f, true },
        ComboCase { "disabled", false, false, false, 1.0f, 0.3f, false }),
    [] (const auto& testInfo) { return std::string (testInfo.param.name); });

TEST (ComboBoxFonts, TextFontShrinksWithTheBoxAndTheListUsesFifteen)
{
    TemplateLookAndFeel lookAndFeel;
    ComboBox box;

    for (auto [height, expected] : { std::pair { 30, 15.0f }, { 24, 15.0f }, { 14, 11.9f } })
    {
        box.setSize (100, height);
        const auto font = lookAndFeel.getComboBoxFont (box);
        EXPECT_NEAR (font.getHeight(), expected, 1.0e-4f) << height;
        EXPECT_FALSE (font.isBold());
    }

    EXPECT_FLOAT_EQ (lookAndFeel.getPopupMenuFont().getHeight(), 15.0f);
}

TEST (ComboBoxPopup, RowsAreTheListFontPlusThreeHighWhateverTheBoxHeight)
{
    TemplateLookAndFeel lookAndFeel;
    ComboBox box;
    box.setLookAndFeel (&lookAndFeel);
    box.addItemList ({ "Midi Through Port-0", "VirMIDI 0-0", "(Disconnected)" }, 1);
    box.setSelectedId (2);

    for (auto height : { 30, 50, 14 })
    {
        box.setSize (622, height);
        Label label;
        label.setSize (590, height - 2);
        const auto options = lookAndFeel.getOptionsForComboBoxPopupMenu (box, label);
        EXPECT_EQ (options.getStandardItemHeight(), 18) << height;
        // The rest stays the framework's: a list under the box, at least as wide, showing the choice.
        EXPECT_EQ (options.getTargetComponent(), &box);
        EXPECT_EQ (options.getMinimumWidth(), 622);
        EXPECT_EQ (options.getItemThatMustBeVisible(), 2);
    }

    box.setLookAndFeel (nullptr);
}

TEST (ComboBoxPopup, OpenListShowsEighteenPixelRows)
{
    TemplateLookAndFeel lookAndFeel;
    ComboBox box;
    box.setLookAndFeel (&lookAndFeel);
    box.addItemList ({ "Midi Through Port-0", "VirMIDI 0-0", "(Disconnected)" }, 1);
    box.setBounds (10, 10, 622, 30);   // the selector's size in the panel
    DesktopComponentHolder holder (box, { 100, 100, 700, 300 });

    // An open list closes itself when the program loses the focus, so it gets it first.
    box.getTopLevelComponent()->toFront (true);
    for (int i = 0; i < 500 && ! Process::isForegroundProcess(); ++i)
        MessageManager::getInstance()->runDispatchLoopUntil (5);

    box.showPopup();

    // The list is a window of its own; the desktop's order changes as windows come to front.
    Component* list = nullptr;
    for (int i = 0; i < 1000 && list == nullptr; ++i)
    {
        MessageManager::getInstance()->runDispatchLoopUntil (5);
        for (int c = 0; c < Desktop::getInstance().getNumComponents(); ++c)
            if (auto* window = Desktop::getInstance().getComponent (c);
                window != box.getTopLevelComponent() && window->isVisible() && window->getNumChildComponents() >= 3)
                list = window;
    }

    ASSERT_NE (list, nullptr) << "the list did not open";
    std::vector<int> rowHeights;
    for (auto* row : list->getChildren())
        if (row->isVisible())
            rowHeights.push_back (row->getHeight());

    EXPECT_EQ (rowHeights, (std::vector<int> { 18, 18, 18 }));

    box.hidePopup();
    MessageManager::getInstance()->runDispatchLoopUntil (20);
    box.setLookAndFeel (nullptr);
}

//==============================================================================
TEST (PopupBackground, TintsEveryThirdRowInsideAFrame)
{
    TemplateLookAndFeel lookAndFeel;

    for (auto [height, rows] : { std::pair { 10, std::vector<float> { 0, 3, 6, 9 } },
                                 { 9, std::vector<float> { 0, 3, 6 } } })
    {
        Drawn d;
        lookAndFeel.drawPopupMenuBackground (d.g, 50, height);

        auto fills = d.context.eventsOfKind (Kind::fillRect);
        ASSERT_EQ (fills.size(), rows.size() + 1) << height;
        EXPECT_TRUE (colourIs (drawing::colourOf (fills[0]), Colours::white));

        const auto tint = Colours::white.overlaidWith (Colour (0xffadd8e6).withAlpha (0.17f));

        for (size_t i = 0; i < rows.size(); ++i)
        {
            EXPECT_TRUE (rectNear (fills[i + 1].rect, { 0, rows[i], 50, 1 })) << height;
            EXPECT_TRUE (colourIs (drawing::colourOf (fills[i + 1]), tint));
        }

        const auto frame = d.context.eventsOfKind (Kind::fillRectList);
        ASSERT_EQ (frame.size(), 1u);
        EXPECT_TRUE (rectNear (frame[0].rects.getBounds(), { 0, 0, 50, (float) height }));
        EXPECT_TRUE (colourIs (drawing::colourOf (frame[0]), Colours::black.withAlpha (0.6f)));
    }
}

TEST (MenuBarBackground, EnabledBarIsAShinyStripOverhangingBothEnds)
{
    TemplateLookAndFeel lookAndFeel;
    MenuBarComponent bar;

    {
        Drawn d;
        lookAndFeel.drawMenuBarBackground (d.g, 100, 20, false, bar);
        const auto fills = drawing::pathFills (d.context);
        ASSERT_EQ (fills.size(), 2u);
        EXPECT_TRUE (rectNear (fills[0].deviceBounds(), { -4, 0, 108, 20 }));
    }

    {
        bar.setEnabled (false);
        Drawn d;
        lookAndFeel.drawMenuBarBackground (d.g, 100, 20, false, bar);
        EXPECT_TRUE (drawing::pathFills (d.context).empty());
        ASSERT_EQ (d.context.eventsOfKind (Kind::fillRect).size(), 1u);
    }
}

//==============================================================================
struct ScrollCase
{
    const char* name;
    bool vertical;
    int width, height, thumbStart, thumbSize;
    Rectangle<float> slot;
    std::optional<Rectangle<float>> thumb;
    Rectangle<int> shadingClip;
};

class ScrollBarDrawing : public ::testing::TestWithParam<ScrollCase>
{
};

TEST_P (ScrollBarDrawing, SlotAndThumbIndentsDependOnTheBarsThickness)
{
    const auto& c = GetParam();
    TemplateLookAndFeel lookAndFeel;
    ScrollBar bar (c.vertical);
    bar.setLookAndFeel (&lookAndFeel);
    Drawn d;

    lookAndFeel.drawScrollbar (d.g, bar, 0, 0, c.width, c.height, c.vertical, c.thumbStart, c.thumbSize, false, false);
    bar.setLookAndFeel (nullptr);

    const auto fills = drawing::pathFills (d.context);
    ASSERT_EQ (fills.size(), c.thumb ? 5u : 2u);

    // The slot twice: its shadow and its soft edge.
    EXPECT_TRUE (rectNear (fills[0].deviceBounds(), c.slot));
    EXPECT_TRUE (rectNear (fills[1].deviceBounds(), c.slot));

    // Gradient colours, first and last, one row each (the thumb colour is white).
    std::vector<std::tuple<const char*, const RecordingGraphicsContext::Event*, Colour, Colour>> gradients {
        { "slot shadow", &fills[0], Colours::white.overlaidWith (Colours::black.withAlpha (0.27f)),
                                    Colours::white.overlaidWith (Colours::black.withAlpha (0.1f)) },
        { "slot edge", &fills[1], Colours::transparentBlack, Colours::black.withAlpha (0.1f) },
    };

    if (c.thumb)
        gradients.push_back ({ "thumb shading", &fills[3], Colours::black.withAlpha (0.05f), Colours::transparentBlack });

    for (auto& [what, fill, first, last] : gradients)
    {
        const auto& gradient = drawing::gradientOf (*fill);
        EXPECT_TRUE (colourIs (gradient.getColour (0), first)) << what;
        EXPECT_TRUE (colourIs (gradient.getColour (gradient.getNumColours() - 1), last)) << what;
    }

    if (! c.thumb)
        return;

    EXPECT_TRUE (rectNear (fills[2].deviceBounds(), *c.thumb));
    EXPECT_TRUE (colourIs (drawing::colourOf (fills[2]), Colours::white));

    // The thumb's shading keeps to its right or lower half.
    EXPECT_EQ (fills[3].clip, c.shadingClip);
    EXPECT_EQ (fills[4].clip, Rectangle<int> (0, 0, 4096, 4096));
    EXPECT_TRUE (colourIs (drawing::colourOf (fills[4]), Colours::black.withAlpha (0.3f)));
}

INSTANTIATE_TEST_SUITE_P (
    Bars, ScrollBarDrawing,
    ::testing::Values (
        ScrollCase { "vertical15", true, 15, 100, 20, 30, { 0, 0, 15, 100 }, Rectangle<float> { 1, 21, 13, 28 }, { 7, 0, 15, 100 } },
        ScrollCase { "vertical16", true, 16, 100, 20, 30, { 1, 1, 14, 98 }, Rectangle<float> { 2, 22, 12, 26 }, { 8, 0, 16, 100 } },
        ScrollCase { "horizontal16", false, 100, 16, 20, 30, { 1, 1, 98, 14 }, Rectangle<float> { 22, 2, 26, 12 }, { 0, 8, 100, 16 } },
        ScrollCase { "noThumb", true, 16, 100, 0, 0, { 1, 1, 14, 98 }, std::nullopt, {} }),
    [] (const auto& testInfo) { return std::string (testInfo.param.name); });

struct ScrollButtonCase
{
    const char* name;
    int direction;
    Rectangle<float> triangle; // in a 20 x 20 button
};

class ScrollBarButton : public ::testing::TestWithParam<ScrollButtonCase>
{
};

TEST_P (ScrollBarButton, TrianglePointsTheButtonsWayAndDarkensWhenPressed)
{
    const auto& c = GetParam();
    TemplateLookAndFeel lookAndFeel;
    ScrollBar bar (true);
    bar.setLookAndFeel (&lookAndFeel);

    for (auto down : { false, true })
    {
        Drawn d;
        lookAndFeel.drawScrollbarButton (d.g, bar, 20, 20, c.direction, true, false, down);

        const auto fills = drawing::pathFills (d.context);
        ASSERT_EQ (fills.size(), 2u);
        EXPECT_TRUE (rectNear (fills[0].deviceBounds(), c.triangle));
        EXPECT_TRUE (colourIs (drawing::colourOf (fills[0]), down ? Colours::white.contrasting (0.2f) : Colours::white));
        EXPECT_TRUE (colourIs (drawing::colourOf (fills[1]), Colours::black.withAlpha (0.5f)));
    }

    bar.setLookAndFeel (nullptr);
}

INSTANTIATE_TEST_SUITE_P (
    Directions, ScrollBarButton,
    ::testing::Values (
        ScrollButtonCase { "up", 0, { 2, 4, 16, 10 } },
        ScrollButtonCase { "right", 1, { 6, 2, 10, 16 } },
        ScrollButtonCase { "down", 2, { 2, 6, 16, 10 } },
        ScrollButtonCase { "left", 3, { 4, 2, 10, 16 } }),
    [] (const auto& testInfo) { return std::string (testInfo.param.name); });

//==============================================================================
struct EditorCase
{
    const char* name;
    bool enabled, readOnly, focused;
    float outline;  // 0 when nothing is drawn
    int bevelDepth;
    uint32 outlineColour;
    float bevelAlpha; // of the outermost top row
};

class TextEditorOutline : public ::testing::TestWithParam<EditorCase>
{
};

TEST_P (TextEditorOutline, OutlineAndBevelFollowFocusAndReadOnly)
{
    const auto& c = GetParam();
    TemplateLookAndFeel lookAndFeel;
    TextEditor editor;
    editor.setLookAndFeel (&lookAndFeel);
    editor.setColour (TextEditor::outlineColourId, Colour (0xff102030));
    editor.setColour (TextEditor::shadowColourId, Colour (0x40000000));
    editor.setBounds (0, 0, 200, 100);
    editor.setEnabled (c.enabled);
    editor.setReadOnly (c.readOnly);
    DesktopComponentHolder desktop (editor);

    if (c.focused)
    {
        editor.grabKeyboardFocus();
        ASSERT_TRUE (editor.hasKeyboardFocus (true));
    }

    Drawn d;
    lookAndFeel.drawTextEditorOutline (d.g, 200, 100, editor);
    editor.setLookAndFeel (nullptr);

    if (c.outline == 0)
    {
        EXPECT_TRUE (d.context.drawings().empty());
        return;
    }

    const auto frame = d.context.eventsOfKind (Kind::fillRectList);
    ASSERT_EQ (frame.size(), 1u);
    EXPECT_FLOAT_EQ (frame[0].rects.getRectangle (0).getHeight(), c.outline);
    EXPECT_TRUE (colourIs (drawing::colourOf (frame[0]), Colour (c.outlineColour)));

    // Four rows a step, one step a pixel of depth; the box reaches 2 pixels below the editor.
    const auto bevel = d.context.eventsOfKind (Kind::fillRect);
    ASSERT_EQ ((int) bevel.size(), c.bevelDepth * 4);
    const auto& outermostBottom = bevel[bevel.size() - 2]; // the last step draws top, left, bottom, right
    EXPECT_TRUE (rectNear (outermostBottom.rect, { 0, 101, 200, 1 }));
    EXPECT_NEAR (drawing::colourOf (outermostBottom).getFloatAlpha(), c.bevelAlpha, 0.01f);

    const auto opacity = d.context.eventsOfKind (Kind::setOpacity);
    ASSERT_FALSE (opacity.empty());
    EXPECT_FLOAT_EQ (opacity[0].value, 1.0f);
}

INSTANTIATE_TEST_SUITE_P (
    Editors, TextEditorOutline,
    ::testing::Values (
        EditorCase { "readOnly", true, true, false, 1.0f, 3, 0xff102030, 0x40 / 255.0f },
        EditorCase { "readOnlyFocused", true, true, true, 1.0f, 3, 0xff102030, 0x40 / 255.0f },
        EditorCase { "editableFocused", true, false, true, 2.0f, 4, 0xb2808080, 0x40 / 255.0f * 0.75f },
        EditorCase { "disabled", false, false, false, 0.0f, 0, 0, 0 }),
    [] (const auto& testInfo) { return std::string (testInfo.param.name); });

//==============================================================================
TEST (SliderThumbRadius, IsSevenAtMostAndHalfTheShortSide)
{
    TemplateLookAndFeel lookAndFeel;
    Slider slider;

    for (auto [w, h, expected] : { std::tuple { 100, 10, 5 }, { 100, 40, 7 }, { 9, 100, 4 }, { 100, 15, 7 } })
    {
        slider.setSize (w, h);
        EXPECT_EQ (lookAndFeel.getSliderThumbRadius (slider), expected) << w << " x " << h;
    }
}

TEST (SliderDrawing, TrackAndThumbSitCentredAcrossTheSlider)
{
    TemplateLookAndFeel lookAndFeel;
    Slider slider;
    slider.setLookAndFeel (&lookAndFeel);

    {
        slider.setSize (100, 20);
        Drawn d;
        lookAndFeel.drawLinearSlider (d.g, 0, 0, 100, 20, 40.0f, 0, 0, Slider::LinearHorizontal, slider);

        const auto fills = drawing::pathFills (d.context);
        ASSERT_GE (fills.size(), 3u);
        EXPECT_TRUE (rectNear (fills[0].deviceBounds(), { 0, 6.5f, 100, 7 }));
        EXPECT_TRUE (rectNear (fills[2].deviceBounds(), { 33, 3, 14, 14 })); // the thumb sphere
    }

    {
        slider.setSize (20, 100);
        Drawn d;
        lookAndFeel.drawLinearSlider (d.g, 0, 0, 20, 100, 60.0f, 0, 0, Slider::LinearVertical, slider);

        const auto fills = drawing::pathFills (d.context);
        ASSERT_GE (fills.size(), 3u);
        EXPECT_TRUE (rectNear (fills[0].deviceBounds(), { 6.5f, 0, 7, 100 }));
        EXPECT_TRUE (rectNear (fills[2].deviceBounds(), { 3, 53, 14, 14 }));
    }

    {
        slider.setSize (100, 20);
        Drawn d;
        lookAndFeel.drawLinearSlider (d.g, 0, 0, 100, 20, 40.0f, 0, 0, Slider::LinearBar, slider);

        const auto fills = drawing::pathFills (d.context);
        ASSERT_EQ (fills.size(), 2u);
        EXPECT_TRUE (rectNear (fills[0].deviceBounds(), { 0, 0, 40, 20 }));
        EXPECT_TRUE (colourIs (drawing::colourOf (d.context.eventsOfKind (Kind::fillRect).front()),
                               Colours::white.withAlpha (0.5f)));
    }

    slider.setLookAndFeel (nullptr);
}

TEST (SliderButtons, AreOwnedPlusAndMinusTextButtonsAndNoEffectsAreUsed)
{
    TemplateLookAndFeel lookAndFeel;
    Slider slider;

    std::unique_ptr<Button> up (lookAndFeel.createSliderButton (slider, true));
    std::unique_ptr<Button> down (lookAndFeel.createSliderButton (slider, false));

    ASSERT_NE (dynamic_cast<TextButton*> (up.get()), nullptr);
    EXPECT_EQ (up->getName(), "+");
    EXPECT_EQ (down->getName(), "-");
    EXPECT_TRUE (up->getTooltip().isEmpty());

    EXPECT_EQ (lookAndFeel.getSliderEffect (slider), nullptr);
    EXPECT_EQ (lookAndFeel.getScrollbarEffect(), nullptr);
}
