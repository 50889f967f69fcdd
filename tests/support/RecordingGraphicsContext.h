#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <vector>

//==============================================================================
/**
    A graphics context that draws nothing and records every call, so that tests can
    check the geometry and colours of a drawing routine rather than its pixels.

    The transform and clip are tracked like a real renderer's, because Graphics skips
    drawing whenever the clip is empty.
*/
class RecordingGraphicsContext final : public juce::LowLevelGraphicsContext
{
public:
    enum class Kind
    {
        saveState,
        restoreState,
        setOrigin,
        addTransform,
        clipRectangle,
        clipRectangleList,
        excludeClip,
        clipPath,
        clipImage,
        beginLayer,
        endLayer,
        setOpacity,
        fillRect,
        fillRectList,
        fillPath,
        drawImage,
        drawLine,
        drawGlyph
    };

    struct Event
    {
        Kind kind;

        juce::Path path;                      // fillPath, clipPath
        juce::AffineTransform pathTransform;  // transform handed with a path, image or glyph
        juce::Rectangle<float> rect;          // fillRect, clip and exclude rectangles, origin (as a point)
        juce::RectangleList<float> rects;     // fillRectList, clipRectangleList
        juce::Line<float> line;               // drawLine
        int glyph = 0;                        // drawGlyph
        float value = 0.0f;                   // setOpacity, beginLayer

        // The state in force when the call arrived.
        juce::AffineTransform transform;      // user space to device space
        juce::FillType fill;
        float opacity = 1.0f;
        juce::Font font;
        juce::Rectangle<int> clip;            // in device space
        int depth = 0;                        // saved states not yet restored

        bool isDrawing() const;

        /** The bounds of what was filled, in device space. */
        juce::Rectangle<float> deviceBounds() const;
    };

    explicit RecordingGraphicsContext (juce::Rectangle<int> initialClip = { 0, 0, 4096, 4096 });

    const std::vector<Event>& getEvents() const noexcept { return events; }

    /** The filling calls only (rectangles, paths, lines, glyphs and images), in order. */
    std::vector<Event> drawings() const;
    std::vector<Event> eventsOfKind (Kind) const;

    void clear() { events.clear(); }

    //==============================================================================
    bool isVectorDevice() const override { return false; }
    void setOrigin (juce::Point<int>) override;
    void addTransform (const juce::AffineTransform&) override;
    float getPhysicalPixelScaleFactor() override;

    bool clipToRectangle (const juce::Rectangle<int>&) override;
    bool clipToRectangleList (const juce::RectangleList<int>&) override;
    void excludeClipRectangle (const juce::Rectangle<int>&) override;
    void clipToPath (const juce::Path&, const juce::AffineTransform&) override;
    void clipToImageAlpha (const juce::Image&, const juce::AffineTransform&) override;
    bool clipRegionIntersects (const juce::Rectangle<int>&) override;
    juce::Rectangle<int> getClipBounds() const override;
    bool isClipEmpty() const override;

    void saveState() override;
    void restoreState() override;
    void beginTransparencyLayer (float opacity) override;
    void endTransparencyLayer() override;

    void setFill (const juce::FillType&) override;
    void setOpacity (float) override;
    void setInterpolationQuality (juce::Graphics::ResamplingQuality) override {}

    void fillRect (const juce::Rectangle<int>&, bool replaceExistingContents) override;
    void fillRect (const juce::Rectangle<float>&) override;
    void fillRectList (const juce::RectangleList<float>&) override;
    void fillPath (const juce::Path&, const juce::AffineTransform&) override;
    void drawImage (const juce::Image&, const juce::AffineTransform&) override;
    void drawLine (const juce::Line<float>&) override;

    void setFont (const juce::Font&) override;
    const juce::Font& getFont() override;
    void drawGlyph (int glyphNumber, const juce::AffineTransform&) override;

private:
    struct State
    {
        juce::AffineTransform transform;
        juce::Rectangle<int> clip;
        juce::FillType fill;
        float opacity = 1.0f;
        juce::Font font;
    };

    Event& record (Kind);
    void intersectClip (juce::Rectangle<float> userArea);

    State state;
    std::vector<State> saved;
    std::vector<Event> events;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (RecordingGraphicsContext)
};
