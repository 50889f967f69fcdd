#pragma once

#include "support/RecordingGraphicsContext.h"

#include <gtest/gtest.h>

/*  Small comparisons shared by the look-and-feel tests. Geometry is compared with a
    tolerance because the expected figures are decimal while the drawing is in floats.
*/
namespace drawing
{
    constexpr float tolerance = 0.005f;

    inline ::testing::AssertionResult rectNear (juce::Rectangle<float> actual, juce::Rectangle<float> expected,
                                                float tol = tolerance)
    {
        if (std::abs (actual.getX() - expected.getX()) <= tol
            && std::abs (actual.getY() - expected.getY()) <= tol
            && std::abs (actual.getWidth() - expected.getWidth()) <= tol
            && std::abs (actual.getHeight() - expected.getHeight()) <= tol)
            return ::testing::AssertionSuccess();

        return ::testing::AssertionFailure() << "got " << actual.toString() << ", expected " << expected.toString();
    }

    inline ::testing::AssertionResult pointNear (juce::Point<float> actual, juce::Point<float> expected,
                                                 float tol = tolerance)
    {
        if (actual.getDistanceFrom (expected) <= tol)
            return ::testing::AssertionSuccess();

        return ::testing::AssertionFailure() << "got " << actual.toString() << ", expected " << expected.toString();
    }

    /** Colours compared by their ARGB bytes. */
    inline ::testing::AssertionResult colourIs (juce::Colour actual, juce::Colour expected, int tol = 1)
    {
        const auto near = [tol] (int a, int b) { return std::abs (a - b) <= tol; };

        if (near (actual.getAlpha(), expected.getAlpha()) && near (actual.getRed(), expected.getRed())
            && near (actual.getGreen(), expected.getGreen()) && near (actual.getBlue(), expected.getBlue()))
            return ::testing::AssertionSuccess();

        return ::testing::AssertionFailure() << "got 0x" << actual.toString() << ", expected 0x" << expected.toString();
    }

    inline const juce::ColourGradient& gradientOf (const RecordingGraphicsContext::Event& e)
    {
        static const juce::ColourGradient none;
        EXPECT_TRUE (e.fill.isGradient()) << "expected a gradient fill";
        return e.fill.isGradient() ? *e.fill.gradient : none;
    }

    inline juce::Colour colourOf (const RecordingGraphicsContext::Event& e)
    {
        EXPECT_TRUE (e.fill.isColour()) << "expected a solid colour fill";
        return e.fill.colour;
    }

    /** The fills of paths only, in drawing order. */
    inline std::vector<RecordingGraphicsContext::Event> pathFills (const RecordingGraphicsContext& context)
    {
        return context.eventsOfKind (RecordingGraphicsContext::Kind::fillPath);
    }

    /** The points of a path in order: each sub-path start and each line end. */
    inline std::vector<juce::Point<float>> pathPoints (const juce::Path& p)
    {
        std::vector<juce::Point<float>> points;

        for (juce::Path::Iterator it (p); it.next();)
            if (it.elementType == juce::Path::Iterator::startNewSubPath
                || it.elementType == juce::Path::Iterator::lineTo)
                points.emplace_back (it.x1, it.y1);

        return points;
    }

    /** The glyph numbers that a font gives a (plain ASCII) text, to compare with recorded
        glyphs. Spaces are left out because the framework draws no glyph for them.
    */
    inline juce::Array<int> glyphsOf (const juce::Font& font, const juce::String& text)
    {
        juce::Array<int> glyphs, drawn;
        juce::Array<float> offsets;
        font.getGlyphPositions (text, glyphs, offsets);

        for (int i = 0; i < glyphs.size() && i < text.length(); ++i)
            if (! juce::CharacterFunctions::isWhitespace (text[i]))
                drawn.add (glyphs[i]);

        return drawn;
    }

    inline juce::Array<int> recordedGlyphs (const RecordingGraphicsContext& context)
    {
        juce::Array<int> glyphs;

        for (auto& e : context.eventsOfKind (RecordingGraphicsContext::Kind::drawGlyph))
            glyphs.add (e.glyph);

        return glyphs;
    }
} // namespace drawing
