#include "lookandfeel/GlassWindowButton.h"

using namespace juce;

GlassWindowButton::GlassWindowButton (const String& name, const Colour& c,
                                      const Path& normal, const Path& toggled)
    : Button (name), colour (c), normalShape (normal), toggledShape (toggled)
{
}

GlassWindowButton::~GlassWindowButton() = default;

void GlassWindowButton::paintButton (Graphics& g, bool isMouseOverButton, bool isButtonDown)
{
    auto alpha = isMouseOverButton ? (isButtonDown ? 1.0f : 0.8f) : 0.55f;

    if (! isEnabled())
        alpha *= 0.5f;

    const auto width = (float) getWidth();
    const auto height = (float) getHeight();

    // The circle sits centred along the longer side.
    auto x = 0.0f, y = 0.0f, diam = 0.0f;

    if (width < height)
    {
        diam = width;
        y = (height - width) * 0.5f;
    }
    else
    {
        diam = height;
        x = (width - height) * 0.5f;
    }

    x += diam * 0.05f;
    y += diam * 0.05f;
    diam *= 0.9f;

    // Lighter at the bottom, so the ring reads as a recess around the sphere.
    g.setGradientFill (ColourGradient (Colour::greyLevel (0.9f).withAlpha (alpha), 0, y + diam,
                                       Colour::greyLevel (0.6f).withAlpha (alpha), 0, y, false));
    g.fillEllipse (x, y, diam, diam);

    x += 2.0f;
    y += 2.0f;
    diam -= 4.0f;

    LookAndFeel_V2::drawGlassSphere (g, x, y, diam, colour.withAlpha (alpha), 1.0f);

    const auto& shape = getToggleState() ? toggledShape : normalShape;

    g.setColour (Colours::black.withAlpha (alpha * 0.6f));
    g.fillPath (shape, shape.getTransformToScaleToFit (x + diam * 0.3f, y + diam * 0.3f,
                                                       diam * 0.4f, diam * 0.4f,
                                                       true, Justification::centred));
}
