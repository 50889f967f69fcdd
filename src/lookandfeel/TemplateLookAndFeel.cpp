#include "lookandfeel/TemplateLookAndFeel.h"
#include "lookandfeel/GlassWindowButton.h"
#include "lookandfeel/WindowColourIds.h"

#include <cmath>

using namespace juce;

namespace
{
    constexpr auto pi = MathConstants<float>::pi;

    // Truncation, not rounding: the clip boxes of the side shading are meant to land on
    // the pixel that the lozenge starts in.
    int truncated (float v) { return (int) v; }

    bool allFinite (std::initializer_list<float> values)
    {
        for (auto v : values)
            if (! std::isfinite (v))
                return false;

        return true;
    }

    struct SansSerifTypefaces
    {
        Typeface::Ptr regular, bold;
    };

    SansSerifTypefaces& pinnedSansSerif()
    {
        static SansSerifTypefaces faces;
        return faces;
    }
} // namespace

//==============================================================================
TemplateLookAndFeel::TemplateLookAndFeel()
{
    setColourScheme();
}

TemplateLookAndFeel::~TemplateLookAndFeel() = default;

void TemplateLookAndFeel::setColourScheme()
{
    // Rows that merely repeat LookAndFeel_V2's value are set too, so the drawing does not
    // depend on which defaults a framework version happens to ship.
    static constexpr std::pair<int, uint32> scheme[] = {
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

        // Every application window sets its own; this only spares a window that forgets
        // from the framework's "colour not found" assertion.
        { WindowColourIds::titleBarColourId, WindowColourIds::titleBarColour },
    };

    for (auto [id, argb] : scheme)
        setColour (id, Colour (argb));
}

//==============================================================================
void TemplateLookAndFeel::setSansSerifTypefaces (Typeface::Ptr regular, Typeface::Ptr bold)
{
    pinnedSansSerif() = { std::move (regular), std::move (bold) };

    // The cache keeps whatever face a font name was resolved to before.
    Typeface::clearTypefaceCache();
}

Typeface::Ptr TemplateLookAndFeel::getTypefaceForFont (const Font& font)
{
    if (font.getTypefaceName() == Font::getDefaultSansSerifFontName())
    {
        const auto& pinned = pinnedSansSerif();

        if (auto face = font.isBold() ? pinned.bold : pinned.regular)
            return face;
    }

    return LookAndFeel_V2::getTypefaceForFont (font);
}

//==============================================================================
Colour TemplateLookAndFeel::deriveBaseColour (Colour colour, bool hasKeyboardFocus,
                                              bool isMouseOverButton, bool isButtonDown)
{
    const auto c = colour.withMultipliedSaturation (hasKeyboardFocus ? 1.3f : 0.9f);

    if (isButtonDown)
        return c.contrasting (0.2f);

    if (isMouseOverButton)
        return c.contrasting (0.1f);

    return c;
}

void TemplateLookAndFeel::addRoundedOutline (Path& path, float x, float y, float width, float height,
                                             float cornerRadius,
                                             bool curveTopLeft, bool curveTopRight,
                                             bool curveBottomLeft, bool curveBottomRight)
{
    const auto cs = cornerRadius;
    const auto cs2 = 2.0f * cs;

    if (curveTopLeft)
    {
        path.startNewSubPath (x, y + cs);
        path.addArc (x, y, cs2, cs2, pi * 1.5f, pi * 2.0f);
    }
    else
    {
        path.startNewSubPath (x, y);
    }

    if (curveTopRight)
    {
        path.lineTo (x + width - cs, y);
        path.addArc (x + width - cs2, y, cs2, cs2, 0.0f, pi * 0.5f);
    }
    else
    {
        path.lineTo (x + width, y);
    }

    if (curveBottomRight)
    {
        path.lineTo (x + width, y + height - cs);
        path.addArc (x + width - cs2, y + height - cs2, cs2, cs2, pi * 0.5f, pi);
    }
    else
    {
        path.lineTo (x + width, y + height);
    }

    if (curveBottomLeft)
    {
        path.lineTo (x + cs, y + height);
        path.addArc (x, y + height - cs2, cs2, cs2, pi, pi * 1.5f);
    }
    else
    {
        path.lineTo (x, y + height);
    }

    path.closeSubPath();
}

void TemplateLookAndFeel::drawGlassShape (Graphics& g, float x, float y, float width, float height,
                                          const Colour& colour, float outlineThickness,
                                          bool flatOnLeft, bool flatOnRight, bool flatOnTop, bool flatOnBottom)
{
    // Non-finite geometry would make the integer clip boxes below undefined behaviour.
    if (! allFinite ({ x, y, width, height, outlineThickness }))
        return;

    if (width <= outlineThickness || height <= outlineThickness)
        return;

    const auto intX = truncated (x);
    const auto intY = truncated (y);
    const auto intW = truncated (width);
    const auto intH = truncated (height);

    const auto cs = jmin (width * 0.5f, height * 0.5f);
    const auto edgeShadeWidth = height * 0.75f + (height - cs * 2.0f);
    const auto intE = truncated (edgeShadeWidth);

    const auto topLeft = ! (flatOnLeft || flatOnTop);
    const auto topRight = ! (flatOnRight || flatOnTop);
    const auto bottomLeft = ! (flatOnLeft || flatOnBottom);
    const auto bottomRight = ! (flatOnRight || flatOnBottom);

    Path outline;
    addRoundedOutline (outline, x, y, width, height, cs, topLeft, topRight, bottomLeft, bottomRight);

    {
        ColourGradient body (colour.darker (0.2f), 0, y, colour.darker (0.2f), 0, y + height, false);
        body.addColour (0.03, colour.withMultipliedAlpha (0.3f));
        body.addColour (0.4, colour);
        body.addColour (0.97, colour.withMultipliedAlpha (0.3f));

        g.setGradientFill (body);
        g.fillPath (outline);
    }

    ColourGradient shade (Colours::transparentBlack, x + edgeShadeWidth, y + height * 0.5f,
                          colour.darker (0.2f), x, y + height * 0.5f, true);
    shade.addColour (1.0 - (cs * 0.5f) / edgeShadeWidth, Colours::transparentBlack);
    shade.addColour (1.0 - (cs * 0.25f) / edgeShadeWidth, colour.darker (0.2f).withMultipliedAlpha (0.3f));

    if (! (flatOnLeft || flatOnTop || flatOnBottom))
    {
        Graphics::ScopedSaveState state (g);
        g.setGradientFill (shade);
        g.reduceClipRegion (intX, intY, intE, intH);
        g.fillPath (outline);
    }

    if (! (flatOnRight || flatOnTop || flatOnBottom))
    {
        shade.point1.setX (x + width - edgeShadeWidth);
        shade.point2.setX (x + width);

        Graphics::ScopedSaveState state (g);
        g.setGradientFill (shade);
        g.reduceClipRegion (intX + intW - intE, intY, intE + 2, intH);
        g.fillPath (outline);
    }

    {
        const auto leftIndent = flatOnLeft ? 0.0f : cs * 0.4f;
        const auto rightIndent = flatOnRight ? 0.0f : cs * 0.4f;

        Path highlight;
        addRoundedOutline (highlight,
                           x + leftIndent, y + cs * 0.1f,
                           width - leftIndent - rightIndent, height * 0.4f,
                           cs * 0.4f, topLeft, topRight, bottomLeft, bottomRight);

        g.setGradientFill (ColourGradient (colour.brighter (10.0f), 0, y + height * 0.06f,
                                           Colours::transparentWhite, 0, y + height * 0.4f, false));
        g.fillPath (highlight);
    }

    g.setColour (colour.darker (0.4f).withMultipliedAlpha (1.5f));
    g.strokePath (outline, PathStrokeType (outlineThickness));
}

void TemplateLookAndFeel::drawShinyShape (Graphics& g, float x, float y, float width, float height,
                                          float maxCornerRadius, const Colour& colour, float outlineThickness,
                                          bool flatOnLeft, bool flatOnRight, bool flatOnTop, bool flatOnBottom)
{
    if (! allFinite ({ x, y, width, height, maxCornerRadius, outlineThickness }))
        return;

    if (width <= outlineThickness * 1.1f || height <= outlineThickness * 1.1f)
        return;

    const auto cs = jmin (maxCornerRadius, width * 0.5f, height * 0.5f);

    Path outline;
    addRoundedOutline (outline, x, y, width, height, cs,
                       ! (flatOnLeft || flatOnTop), ! (flatOnRight || flatOnTop),
                       ! (flatOnLeft || flatOnBottom), ! (flatOnRight || flatOnBottom));

    ColourGradient body (colour.overlaidWith (Colours::white.withAlpha (0.0f)), 0, y,
                         colour.overlaidWith (Colours::blue.withAlpha (0.03f)), 0, y + height, false);
    body.addColour (0.5, colour.overlaidWith (Colours::white.withAlpha (0.2f)));
    body.addColour (0.51, colour.overlaidWith (Colours::blue.withAlpha (0.07f)));

    g.setGradientFill (body);
    g.fillPath (outline);

    g.setColour (Colours::black.withAlpha (0.5f));
    g.strokePath (outline, PathStrokeType (outlineThickness));
}

//==============================================================================
void TemplateLookAndFeel::drawButtonBackground (Graphics& g, Button& button, const Colour& backgroundColour,
                                                bool isMouseOverButton, bool isButtonDown)
{
    const auto width = (float) button.getWidth();
    const auto height = (float) button.getHeight();
    const auto enabled = button.isEnabled();

    const auto outlineThickness = ! enabled                           ? 0.4f
                                  : (isButtonDown || isMouseOverButton) ? 1.2f
                                                                      : 0.7f;
    const auto half = outlineThickness * 0.5f;

    const auto indentLeft = button.isConnectedOnLeft() ? 0.1f : half;
    const auto indentRight = button.isConnectedOnRight() ? 0.1f : half;
    const auto indentTop = button.isConnectedOnTop() ? 0.1f : half;
    const auto indentBottom = button.isConnectedOnBottom() ? 0.1f : half;

    const auto base = deriveBaseColour (backgroundColour, button.hasKeyboardFocus (true),
                                        isMouseOverButton, isButtonDown)
                          .withMultipliedAlpha (enabled ? 1.0f : 0.5f);

    drawGlassShape (g, indentLeft, indentTop,
                    width - indentLeft - indentRight, height - indentTop - indentBottom,
                    base, outlineThickness,
                    button.isConnectedOnLeft(), button.isConnectedOnRight(),
                    button.isConnectedOnTop(), button.isConnectedOnBottom());
}

void TemplateLookAndFeel::drawTickBox (Graphics& g, Component&, float x, float y, float w, float h,
                                       bool ticked, bool isEnabled, bool isMouseOverButton, bool isButtonDown)
{
    const auto boxSize = w * 0.7f;
    const auto colour = isEnabled ? controlColour : controlColour.withMultipliedAlpha (0.5f);
    const auto thickness = ! isEnabled                            ? 0.3f
                           : (isButtonDown || isMouseOverButton) ? 1.1f
                                                                 : 0.5f;

    drawGlassSphere (g, x, y + (h - boxSize) * 0.5f, boxSize,
                     deriveBaseColour (colour, true, isMouseOverButton, isButtonDown), thickness);

    if (ticked)
    {
        Path tick;
        tick.startNewSubPath (1.5f, 3.0f);
        tick.lineTo (3.0f, 6.0f);
        tick.lineTo (6.0f, 0.0f);

        g.setColour (isEnabled ? Colours::black : Colours::grey);
        g.strokePath (tick, PathStrokeType (2.5f),
                      AffineTransform::scale (w / 9.0f, h / 9.0f).translated (x, y));
    }
}

//==============================================================================
void TemplateLookAndFeel::drawProgressBar (Graphics& g, ProgressBar& progressBar, int width, int height,
                                           double progress, const String& textToShow)
{
    const auto background = progressBar.findColour (ProgressBar::backgroundColourId);
    const auto foreground = progressBar.findColour (ProgressBar::foregroundColourId);

    g.fillAll (background);

    g.setColour (background.contrasting (0.2f));
    g.drawRect (0, 0, width, height, 1);

    // The framework passes a negative value for a bar of unknown length; like any value
    // outside 0..1 (or NaN) it must not stretch the fill beyond the bar.
    const auto limitedProgress = std::isfinite (progress) ? progress : 0.0;
    const auto fillWidth = jlimit (0.0, width - 2.0, (width - 2.0) * limitedProgress);

    drawGlassShape (g, 1.0f, 1.0f, (float) fillWidth, (float) (height - 2),
                    foreground, 0.5f, true, true, true, true);

    drawProgressText (g, progressBar, width, height, textToShow);
}

void TemplateLookAndFeel::drawProgressText (Graphics& g, ProgressBar& progressBar, int width, int height,
                                            const String& text)
{
    if (text.isEmpty())
        return;

    g.setColour (Colour::contrasting (progressBar.findColour (ProgressBar::foregroundColourId),
                                      progressBar.findColour (ProgressBar::backgroundColourId)));
    g.setFont (Font ((float) height * 0.6f));
    g.drawText (text, 0, 0, width, height, Justification::centred, false);
}

//==============================================================================
void TemplateLookAndFeel::drawScrollbarButton (Graphics& g, ScrollBar& scrollbar, int width, int height,
                                               int buttonDirection, bool, bool, bool isButtonDown)
{
    const auto w = (float) width;
    const auto h = (float) height;

    Path p;

    switch (buttonDirection)
    {
        case 0: p.addTriangle (w * 0.5f, h * 0.2f, w * 0.1f, h * 0.7f, w * 0.9f, h * 0.7f); break;
        case 1: p.addTriangle (w * 0.8f, h * 0.5f, w * 0.3f, h * 0.1f, w * 0.3f, h * 0.9f); break;
        case 2: p.addTriangle (w * 0.5f, h * 0.8f, w * 0.1f, h * 0.3f, w * 0.9f, h * 0.3f); break;
        case 3: p.addTriangle (w * 0.2f, h * 0.5f, w * 0.7f, h * 0.1f, w * 0.7f, h * 0.9f); break;
        default: break;
    }

    const auto thumb = scrollbar.findColour (ScrollBar::thumbColourId);
    g.setColour (isButtonDown ? thumb.contrasting (0.2f) : thumb);
    g.fillPath (p);

    g.setColour (Colours::black.withAlpha (0.5f));
    g.strokePath (p, PathStrokeType (0.5f));
}

void TemplateLookAndFeel::drawScrollbar (Graphics& g, ScrollBar& scrollbar, int x, int y, int width, int height,
                                         bool isScrollbarVertical, int thumbStartPosition, int thumbSize,
                                         bool, bool)
{
    g.fillAll (scrollbar.findColour (ScrollBar::backgroundColourId));

    const auto slotIndent = jmin (width, height) > 15 ? 1 : 0;
    const auto thumbIndent = slotIndent + 1;
    const auto fx = (float) x;
    const auto fy = (float) y;
    const auto fw = (float) width;
    const auto fh = (float) height;

    Path slot, thumb;
    float gx1 = 0, gy1 = 0, gx2 = 0, gy2 = 0;

    slot.addRoundedRectangle (fx + (float) slotIndent, fy + (float) slotIndent,
                              fw - (float) (slotIndent * 2), fh - (float) (slotIndent * 2),
                              ((isScrollbarVertical ? fw : fh) - (float) (slotIndent * 2)) * 0.5f);

    if (isScrollbarVertical)
    {
        if (thumbSize > 0)
            thumb.addRoundedRectangle (fx + (float) thumbIndent, (float) (thumbStartPosition + thumbIndent),
                                       fw - (float) (thumbIndent * 2), (float) (thumbSize - thumbIndent * 2),
                                       (fw - (float) (thumbIndent * 2)) * 0.5f);
        gx1 = fx;
        gx2 = fx + fw * 0.7f;
    }
    else
    {
        if (thumbSize > 0)
            thumb.addRoundedRectangle ((float) (thumbStartPosition + thumbIndent), fy + (float) thumbIndent,
                                       (float) (thumbSize - thumbIndent * 2), fh - (float) (thumbIndent * 2),
                                       (fh - (float) (thumbIndent * 2)) * 0.5f);
        gy1 = fy;
        gy2 = fy + fh * 0.7f;
    }

    const auto thumbColour = scrollbar.findColour (ScrollBar::thumbColourId);

    g.setGradientFill (ColourGradient (thumbColour.overlaidWith (Colours::black.withAlpha (0.27f)), gx1, gy1,
                                       thumbColour.overlaidWith (Colours::black.withAlpha (0.1f)), gx2, gy2, false));
    g.fillPath (slot);

    if (isScrollbarVertical)
    {
        gx1 = fx + fw * 0.6f;
        gx2 = fx + fw;
    }
    else
    {
        gy1 = fy + fh * 0.6f;
        gy2 = fy + fh;
    }

    g.setGradientFill (ColourGradient (Colours::transparentBlack, gx1, gy1,
                                       Colours::black.withAlpha (0.1f), gx2, gy2, false));
    g.fillPath (slot);

    g.setColour (thumbColour);
    g.fillPath (thumb);

    {
        Graphics::ScopedSaveState state (g);

        if (isScrollbarVertical)
            g.reduceClipRegion (x + width / 2, y, width, height);
        else
            g.reduceClipRegion (x, y + height / 2, width, height);

        g.setGradientFill (ColourGradient (Colours::black.withAlpha (0.05f), gx1, gy1,
                                           Colours::transparentBlack, gx2, gy2, false));
        g.fillPath (thumb);
    }

    g.setColour (Colours::black.withAlpha (0.3f));
    g.strokePath (thumb, PathStrokeType (0.4f));
}

ImageEffectFilter* TemplateLookAndFeel::getScrollbarEffect()
{
    return nullptr;
}

//==============================================================================
void TemplateLookAndFeel::drawTextEditorOutline (Graphics& g, int width, int height, TextEditor& editor)
{
    if (! editor.isEnabled())
        return;

    const auto shadow = editor.findColour (TextEditor::shadowColourId);

    if (editor.hasKeyboardFocus (true) && ! editor.isReadOnly())
    {
        g.setColour (editor.findColour (TextEditor::focusedOutlineColourId));
        g.drawRect (0, 0, width, height, 2);

        g.setOpacity (1.0f);
        const auto bevel = shadow.withMultipliedAlpha (0.75f);
        drawBevel (g, 0, 0, width, height + 2, 4, bevel, bevel, true);
    }
    else
    {
        g.setColour (editor.findColour (TextEditor::outlineColourId));
        g.drawRect (0, 0, width, height, 1);

        g.setOpacity (1.0f);
        drawBevel (g, 0, 0, width, height + 2, 3, shadow, shadow, true);
    }
}

//==============================================================================
void TemplateLookAndFeel::drawPopupMenuBackground (Graphics& g, int width, int height)
{
    const auto background = findColour (PopupMenu::backgroundColourId);

    g.fillAll (background);

    g.setColour (background.overlaidWith (Colour (0xffadd8e6).withAlpha (0.17f)));

    for (int i = 0; i < height; i += 3)
        g.fillRect (0, i, width, 1);

    g.setColour (findColour (PopupMenu::textColourId).withAlpha (0.6f));
    g.drawRect (0, 0, width, height, 1);
}

void TemplateLookAndFeel::drawMenuBarBackground (Graphics& g, int width, int height, bool,
                                                 MenuBarComponent& menuBar)
{
    const auto base = deriveBaseColour (menuBar.findColour (PopupMenu::backgroundColourId), false, false, false);

    if (menuBar.isEnabled())
        drawShinyShape (g, -4.0f, 0.0f, (float) width + 8.0f, (float) height, 0.0f,
                        base, 0.4f, true, true, true, true);
    else
        g.fillAll (base);
}

//==============================================================================
void TemplateLookAndFeel::drawComboBox (Graphics& g, int width, int height, bool isButtonDown,
                                        int buttonX, int buttonY, int buttonW, int buttonH, ComboBox& box)
{
    const auto enabled = box.isEnabled();

    g.fillAll (box.findColour (ComboBox::backgroundColourId));

    g.setColour (box.findColour (ComboBox::outlineColourId));
    g.drawRect (0, 0, width, height, enabled && box.hasKeyboardFocus (false) ? 2 : 1);

    const auto t = ! enabled ? 0.3f : isButtonDown ? 1.2f
                                                   : 0.5f;

    const auto base = deriveBaseColour (box.findColour (ComboBox::buttonColourId),
                                        box.hasKeyboardFocus (true), false, isButtonDown)
                          .withMultipliedAlpha (enabled ? 1.0f : 0.5f);

    const auto bx = (float) buttonX;
    const auto by = (float) buttonY;
    const auto bw = (float) buttonW;
    const auto bh = (float) buttonH;

    drawGlassShape (g, bx + t, by + t, bw - 2.0f * t, bh - 2.0f * t, base, t, true, true, true, true);

    if (enabled)
    {
        constexpr auto arrowX = 0.3f;
        constexpr auto arrowH = 0.2f;

        Path arrows;
        arrows.addTriangle (bx + bw * 0.5f, by + bh * (0.45f - arrowH),
                            bx + bw * (1.0f - arrowX), by + bh * 0.45f,
                            bx + bw * arrowX, by + bh * 0.45f);
        arrows.addTriangle (bx + bw * 0.5f, by + bh * (0.55f + arrowH),
                            bx + bw * (1.0f - arrowX), by + bh * 0.55f,
                            bx + bw * arrowX, by + bh * 0.55f);

        g.setColour (Colours::black.withAlpha (0.6f));
        g.fillPath (arrows);
    }
}

Font TemplateLookAndFeel::getComboBoxFont (ComboBox& box)
{
    return Font (jmin (15.0f, (float) box.getHeight() * 0.85f));
}

Font TemplateLookAndFeel::getPopupMenuFont()
{
    return Font (15.0f);
}

PopupMenu::Options TemplateLookAndFeel::getOptionsForComboBoxPopupMenu (ComboBox& box, Label& label)
{
    // The framework would make each row as high as the box's label; the list's rows are
    // its own font's height plus 3.
    return LookAndFeel_V2::getOptionsForComboBoxPopupMenu (box, label)
        .withStandardItemHeight (roundToInt (getPopupMenuFont().getHeight()) + 3);
}

//==============================================================================
void TemplateLookAndFeel::drawLinearSlider (Graphics& g, int x, int y, int width, int height,
                                            float sliderPos, float, float,
                                            Slider::SliderStyle style, Slider& slider)
{
    const auto enabled = slider.isEnabled();
    const auto isMouseOver = slider.isMouseOverOrDragging() && enabled;
    const auto fx = (float) x;
    const auto fy = (float) y;
    const auto fw = (float) width;
    const auto fh = (float) height;

    if (style == Slider::LinearBar)
    {
        g.setColour (slider.findColour (Slider::backgroundColourId).withAlpha (enabled ? 0.5f : 0.15f));
        g.fillAll();

        const auto colour = enabled ? controlColour : controlColour.withMultipliedSaturation (0.5f);
        const auto base = deriveBaseColour (colour, false, isMouseOver, isMouseOver || slider.isMouseButtonDown());

        drawShinyShape (g, fx, fy, sliderPos - fx, fh, 0.0f, base, enabled ? 0.9f : 0.3f,
                        true, true, true, true);
        return;
    }

    const auto r = (float) getSliderThumbRadius (slider);
    const auto track = Colours::white.withAlpha (0.5f);
    const auto g1 = track.overlaidWith (Colours::black.withAlpha (enabled ? 0.25f : 0.13f));
    const auto g2 = track.overlaidWith (Colours::black.withAlpha (0.08f));

    Path indent;

    if (style == Slider::LinearHorizontal)
    {
        const auto iy = fy + fh * 0.5f - r * 0.5f;
        indent.addRoundedRectangle (fx, iy, fw, r, 5.0f);
        g.setGradientFill (ColourGradient (g1, 0, iy, g2, 0, iy + r, false));
    }
    else
    {
        const auto ix = fx + fw * 0.5f - r * 0.5f;
        indent.addRoundedRectangle (ix, fy, r, fh, 5.0f);
        g.setGradientFill (ColourGradient (g1, ix, 0, g2, ix + r, 0, false));
    }

    g.fillPath (indent);

    g.setColour (Colours::black.withAlpha (0.3f));
    g.strokePath (indent, PathStrokeType (0.5f));

    const auto knob = deriveBaseColour (controlColour, slider.hasKeyboardFocus (false) && enabled,
                                        isMouseOver, slider.isMouseButtonDown() && enabled);
    const auto thickness = enabled ? 0.8f : 0.3f;

    if (style == Slider::LinearHorizontal)
        drawGlassSphere (g, sliderPos - r, fy + fh * 0.5f - r, r * 2.0f, knob, thickness);
    else
        drawGlassSphere (g, fx + fw * 0.5f - r, sliderPos - r, r * 2.0f, knob, thickness);
}

int TemplateLookAndFeel::getSliderThumbRadius (Slider& slider)
{
    return jmin (7, slider.getHeight() / 2, slider.getWidth() / 2);
}

Button* TemplateLookAndFeel::createSliderButton (Slider&, bool isIncrement)
{
    // The slider takes ownership of what it is handed.
    return std::make_unique<TextButton> (isIncrement ? "+" : "-", String()).release();
}

ImageEffectFilter* TemplateLookAndFeel::getSliderEffect (Slider&)
{
    return nullptr;
}

//==============================================================================
void TemplateLookAndFeel::drawCornerResizer (Graphics& g, int w, int h, bool, bool)
{
    const auto fw = (float) w;
    const auto fh = (float) h;
    const auto lineThickness = jmin (fw, fh) * 0.075f;

    for (float i = 0.0f; i < 1.0f; i += 0.3f)
    {
        g.setColour (Colours::lightgrey);
        g.drawLine (fw * i, fh + 1.0f, fw + 1.0f, fh * i, lineThickness);

        g.setColour (Colours::darkgrey);
        g.drawLine (fw * i + lineThickness, fh + 1.0f, fw + 1.0f, fh * i + lineThickness, lineThickness);
    }
}

void TemplateLookAndFeel::drawDocumentWindowTitleBar (DocumentWindow& window, Graphics& g, int w, int h,
                                                      int titleSpaceX, int titleSpaceW,
                                                      const Image* icon, bool drawTitleTextOnLeft)
{
    const auto isActive = window.isActiveWindow();
    const auto background = window.findColour (ResizableWindow::backgroundColourId);

    g.setGradientFill (ColourGradient (window.findColour (WindowColourIds::titleBarColourId), 0, 0,
                                       background, 0, (float) h, false));
    g.fillAll();

    const Font font ((float) h * 0.65f, Font::bold);
    g.setFont (font);

    const auto& name = window.getName();
    auto textW = font.getStringWidth (name);
    auto iconW = 0;
    auto iconH = 0;

    if (icon != nullptr && icon->getHeight() > 0)
    {
        iconH = (int) font.getHeight();
        iconW = icon->getWidth() * iconH / icon->getHeight() + 4;
    }

    textW = jmin (titleSpaceW, textW + iconW);
    auto textX = drawTitleTextOnLeft ? titleSpaceX
                                     : jmax (titleSpaceX, (w - textW) / 2);

    if (textX + textW > titleSpaceX + titleSpaceW)
        textX = titleSpaceX + titleSpaceW - textW;

    if (iconW > 0)
    {
        g.setOpacity (isActive ? 1.0f : 0.6f);
        g.drawImageWithin (*icon, textX, (h - iconH) / 2, iconW, iconH, RectanglePlacement::centred, false);
        textX += iconW;
        textW -= iconW;
    }

    g.setColour (background.contrasting (isActive ? 0.7f : 0.4f));
    g.drawText (name, textX, 0, textW, h, Justification::centredLeft, true);
}

//==============================================================================
Path TemplateLookAndFeel::fullScreenShape()
{
    Path shape;
    shape.startNewSubPath (45.0f, 100.0f);
    shape.lineTo (0.0f, 100.0f);
    shape.lineTo (0.0f, 0.0f);
    shape.lineTo (100.0f, 0.0f);
    shape.lineTo (100.0f, 45.0f);
    shape.addRectangle (45.0f, 45.0f, 100.0f, 100.0f);
    PathStrokeType (30.0f).createStrokedPath (shape, shape);
    return shape;
}

std::unique_ptr<DropShadower> TemplateLookAndFeel::createDropShadowerForComponent (Component&)
{
    // Only Windows asks for one: it draws no shadow of its own around a window without a
    // native title bar, so the framework would surround each window and list with four
    // windows of its own. Every one of them must be taken down before a window can go, and
    // under Wine with no window manager each of those takes two seconds: closing Firmhold
    // took ten. The windows are drawn without it.
    return nullptr;
}

Button* TemplateLookAndFeel::createDocumentWindowButton (int buttonType)
{
    constexpr auto crossThickness = 0.25f;

    // The window takes ownership of the button it is handed.
    auto make = [] (const char* name, Colour tint, const Path& normal, const Path& toggled) -> Button*
    {
        return std::make_unique<::GlassWindowButton> (name, tint, normal, toggled).release();
    };

    Path shape;

    switch (buttonType)
    {
        case DocumentWindow::closeButton:
            shape.addLineSegment ({ 0.0f, 0.0f, 1.0f, 1.0f }, crossThickness * 1.4f);
            shape.addLineSegment ({ 1.0f, 0.0f, 0.0f, 1.0f }, crossThickness * 1.4f);
            return make ("close", closeButtonColour, shape, shape);

        case DocumentWindow::minimiseButton:
            shape.addLineSegment ({ 0.0f, 0.5f, 1.0f, 0.5f }, crossThickness);
            return make ("minimise", minimiseButtonColour, shape, shape);

        case DocumentWindow::maximiseButton:
            shape.addLineSegment ({ 0.5f, 0.0f, 0.5f, 1.0f }, crossThickness);
            shape.addLineSegment ({ 0.0f, 0.5f, 1.0f, 0.5f }, crossThickness);
            return make ("maximise", maximiseButtonColour, shape, fullScreenShape());

        default:
            return nullptr;
    }
}

void TemplateLookAndFeel::positionDocumentWindowButtons (DocumentWindow&,
                                                         int titleBarX, int titleBarY, int titleBarW, int titleBarH,
                                                         Button* minimiseButton,
                                                         Button* maximiseButton,
                                                         Button* closeButton,
                                                         bool positionTitleBarButtonsOnLeft)
{
    const auto buttonW = titleBarH - titleBarH / 8;
    auto x = positionTitleBarButtonsOnLeft ? titleBarX + 4
                                           : titleBarX + titleBarW - buttonW - buttonW / 4;

    if (closeButton != nullptr)
    {
        closeButton->setBounds (x, titleBarY, buttonW, titleBarH);
        x += positionTitleBarButtonsOnLeft ? buttonW : -(buttonW + buttonW / 4);
    }

    if (positionTitleBarButtonsOnLeft)
        std::swap (minimiseButton, maximiseButton);

    if (maximiseButton != nullptr)
    {
        maximiseButton->setBounds (x, titleBarY, buttonW, titleBarH);
        x += positionTitleBarButtonsOnLeft ? buttonW : -buttonW;
    }

    if (minimiseButton != nullptr)
        minimiseButton->setBounds (x, titleBarY, buttonW, titleBarH);
}
