#include "support/RecordingGraphicsContext.h"

using namespace juce;

//==============================================================================
bool RecordingGraphicsContext::Event::isDrawing() const
{
    return kind == Kind::fillRect || kind == Kind::fillRectList || kind == Kind::fillPath
        || kind == Kind::drawImage || kind == Kind::drawLine || kind == Kind::drawGlyph;
}

Rectangle<float> RecordingGraphicsContext::Event::deviceBounds() const
{
    if (kind == Kind::fillPath)
        return path.getBoundsTransformed (pathTransform.followedBy (transform));
    if (kind == Kind::fillRect)
        return rect.transformedBy (transform);
    if (kind == Kind::fillRectList)
        return rects.getBounds().transformedBy (transform);
    if (kind == Kind::drawLine)
        return Rectangle<float> (line.getStart(), line.getEnd()).transformedBy (transform);

    return {};
}

//==============================================================================
RecordingGraphicsContext::RecordingGraphicsContext (Rectangle<int> initialClip)
{
    state.clip = initialClip;
}

std::vector<RecordingGraphicsContext::Event> RecordingGraphicsContext::drawings() const
{
    std::vector<Event> result;

    for (auto& e : events)
        if (e.isDrawing())
            result.push_back (e);

    return result;
}

std::vector<RecordingGraphicsContext::Event> RecordingGraphicsContext::eventsOfKind (Kind kind) const
{
    std::vector<Event> result;

    for (auto& e : events)
        if (e.kind == kind)
            result.push_back (e);

    return result;
}

RecordingGraphicsContext::Event& RecordingGraphicsContext::record (Kind kind)
{
    Event e;
    e.kind = kind;
    e.transform = state.transform;
    e.fill = state.fill;
    e.opacity = state.opacity;
    e.font = state.font;
    e.clip = state.clip;
    e.depth = (int) saved.size();
    events.push_back (std::move (e));
    return events.back();
}

void RecordingGraphicsContext::intersectClip (Rectangle<float> userArea)
{
    state.clip = state.clip.getIntersection (userArea.transformedBy (state.transform).getSmallestIntegerContainer());
}

//==============================================================================
void RecordingGraphicsContext::setOrigin (Point<int> o)
{
    record (Kind::setOrigin).rect = Rectangle<float> ((float) o.x, (float) o.y, 0.0f, 0.0f);
    state.transform = AffineTransform::translation (o).followedBy (state.transform);
}

void RecordingGraphicsContext::addTransform (const AffineTransform& t)
{
    record (Kind::addTransform).pathTransform = t;
    state.transform = t.followedBy (state.transform);
}

float RecordingGraphicsContext::getPhysicalPixelScaleFactor()
{
    return std::sqrt (std::abs (state.transform.getDeterminant()));
}

bool RecordingGraphicsContext::clipToRectangle (const Rectangle<int>& r)
{
    record (Kind::clipRectangle).rect = r.toFloat();
    intersectClip (r.toFloat());
    return ! isClipEmpty();
}

bool RecordingGraphicsContext::clipToRectangleList (const RectangleList<int>& list)
{
    auto& e = record (Kind::clipRectangleList);

    for (auto& r : list)
        e.rects.add (r.toFloat());

    intersectClip (list.getBounds().toFloat());
    return ! isClipEmpty();
}

void RecordingGraphicsContext::excludeClipRectangle (const Rectangle<int>& r)
{
    // Recorded only: the clip kept here is a bounding box, which excluding cannot shrink.
    record (Kind::excludeClip).rect = r.toFloat();
}

void RecordingGraphicsContext::clipToPath (const Path& p, const AffineTransform& t)
{
    auto& e = record (Kind::clipPath);
    e.path = p;
    e.pathTransform = t;
    intersectClip (p.getBoundsTransformed (t));
}

void RecordingGraphicsContext::clipToImageAlpha (const Image& image, const AffineTransform& t)
{
    record (Kind::clipImage).pathTransform = t;
    intersectClip (image.getBounds().toFloat().transformedBy (t));
}

bool RecordingGraphicsContext::clipRegionIntersects (const Rectangle<int>& r)
{
    return getClipBounds().intersects (r);
}

Rectangle<int> RecordingGraphicsContext::getClipBounds() const
{
    return state.clip.toFloat().transformedBy (state.transform.inverted()).getSmallestIntegerContainer();
}

bool RecordingGraphicsContext::isClipEmpty() const
{
    return state.clip.isEmpty();
}

//==============================================================================
void RecordingGraphicsContext::saveState()
{
    record (Kind::saveState);
    saved.push_back (state);
}

void RecordingGraphicsContext::restoreState()
{
    // An unbalanced restore is a fault in the code under test; keep it visible in the log.
    record (Kind::restoreState);

    if (! saved.empty())
    {
        state = saved.back();
        saved.pop_back();
    }
}

void RecordingGraphicsContext::beginTransparencyLayer (float opacity)
{
    record (Kind::beginLayer).value = opacity;
    saved.push_back (state);
}

void RecordingGraphicsContext::endTransparencyLayer()
{
    record (Kind::endLayer);

    if (! saved.empty())
    {
        state = saved.back();
        saved.pop_back();
    }
}

void RecordingGraphicsContext::setFill (const FillType& f)
{
    state.fill = f;
}

void RecordingGraphicsContext::setOpacity (float o)
{
    record (Kind::setOpacity).value = o;
    state.opacity = o;
}

//==============================================================================
void RecordingGraphicsContext::fillRect (const Rectangle<int>& r, bool)
{
    record (Kind::fillRect).rect = r.toFloat();
}

void RecordingGraphicsContext::fillRect (const Rectangle<float>& r)
{
    record (Kind::fillRect).rect = r;
}

void RecordingGraphicsContext::fillRectList (const RectangleList<float>& list)
{
    record (Kind::fillRectList).rects = list;
}

void RecordingGraphicsContext::fillPath (const Path& p, const AffineTransform& t)
{
    auto& e = record (Kind::fillPath);
    e.path = p;
    e.pathTransform = t;
}

void RecordingGraphicsContext::drawImage (const Image& image, const AffineTransform& t)
{
    auto& e = record (Kind::drawImage);
    e.rect = image.getBounds().toFloat();
    e.pathTransform = t;
}

void RecordingGraphicsContext::drawLine (const Line<float>& l)
{
    record (Kind::drawLine).line = l;
}

void RecordingGraphicsContext::setFont (const Font& f)
{
    state.font = f;
}

const Font& RecordingGraphicsContext::getFont()
{
    return state.font;
}

void RecordingGraphicsContext::drawGlyph (int glyphNumber, const AffineTransform& t)
{
    auto& e = record (Kind::drawGlyph);
    e.glyph = glyphNumber;
    e.pathTransform = t;
}
