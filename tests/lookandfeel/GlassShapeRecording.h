#pragma once

#include "support/DrawingExpectations.h"

#include <optional>

/*  The parts of one recorded glass lozenge, told apart by how they are drawn: the body
    and highlight are linear gradients outside any saved state, each side shading is a
    radial gradient inside its own clipped state, and the outline is a solid stroke.
*/
struct GlassShapeRecording
{
    using Event = RecordingGraphicsContext::Event;

    std::optional<Event> body, leftShade, rightShade, highlight, outline;
    size_t numFills = 0;

    static GlassShapeRecording from (const std::vector<Event>& fills)
    {
        GlassShapeRecording r;
        r.numFills = fills.size();

        for (auto& e : fills)
        {
            if (e.fill.isColour())
                r.outline = e;
            else if (e.fill.isGradient() && e.fill.gradient->isRadial)
                (e.fill.gradient->point2.x < e.fill.gradient->point1.x ? r.leftShade : r.rightShade) = e;
            else if (! r.body.has_value())
                r.body = e;
            else
                r.highlight = e;
        }

        return r;
    }
};
