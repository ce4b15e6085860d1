// Lanes of sampled values (see LanePainter.h).
#include <algorithm>
#include <cmath>
#include <vector>

#include "formats/Utf8Text.h"
#include "plot/AxisTicks.h"
#include "plot/LanePainter.h"
#include "plot/Paint.h"
#include "plot/TraceDecimator.h"

namespace cvdr::plot {
namespace {

constexpr double kTickSpacing = 22.0;  // pixels between value ticks, about

struct Trace {
    Colour colour;
    DecimatedTrace shape;
};

// The value range a lane shows, with a little room above and below.
struct ValueSpan {
    double low = -1.0;
    double high = 1.0;
    double Y(const Rect& rect, double value) const {
        return rect.Bottom() - (value - low) / (high - low) * rect.height;
    }
};

ValueSpan SpanOf(const std::vector<Trace>& traces) {
    double low = INFINITY;
    double high = -INFINITY;
    for (const Trace& trace : traces) {
        for (const TracePoint& point : trace.shape.points) {
            low = std::min(low, point.value);
            high = std::max(high, point.value);
        }
        for (const TraceBar& bar : trace.shape.bars) {
            low = std::min(low, bar.low);
            high = std::max(high, bar.high);
        }
    }
    if (low > high) return {};
    if (low == high) {
        const double room = std::max(std::fabs(low) * 0.1, 1.0);
        return {low - room, high + room};
    }
    const double pad = (high - low) * 0.06;
    if (!std::isfinite(high - low + pad)) return {low, high};  // spans near the largest doubles
    return {low - pad, high + pad};
}

// Shades the samples [begin, end) that lie in the window: from the first
// one's place to the place of the sample after the last.
void Shade(const LaneContext& context, const Rect& rect, uint64_t begin, uint64_t end) {
    begin = std::max<uint64_t>(begin, context.content.firstSample);
    end = std::min<uint64_t>(end, uint64_t{context.content.lastSample} + 1);
    if (begin >= end) return;
    const double left = context.scale.X(static_cast<uint32_t>(begin));
    const double right = context.scale.X(static_cast<uint32_t>(end));
    FillRect(context.cr, {left, rect.y, std::max(right - left, 1.0), rect.height}, kInvalidShade,
             kInvalidShadeAlpha);
}

// The channel's invalid runs, and the samples beyond its own count.
void ShadeInvalid(const LaneContext& context, const host::AnalogChannel& channel, const Rect& rect) {
    const uint64_t count = channel.sampleCount;
    const std::vector<RangeRecord>& ranges = channel.ranges;
    for (size_t i = 0; i < ranges.size(); ++i) {
        if (!ranges[i].valid)
            Shade(context, rect, ranges[i].firstSample,
                  i + 1 < ranges.size() ? ranges[i + 1].firstSample : count);
    }
    Shade(context, rect, count, context.record.sampleCount);
}

void DrawValueGrid(const LaneContext& context, const ValueSpan& span, const Rect& rect) {
    const Ticks ticks =
        NiceTicks(span.low, span.high, std::max(2, static_cast<int>(rect.height / kTickSpacing)));
    TextStyle style{9.0, false, kMutedInk, Align::kRight};
    for (double value : ticks.values) {
        const double y = span.Y(rect, value);
        HairLine(context.cr, rect.x, y, rect.Right(), y, value == 0.0 ? kFrame : kGrid);
        // Labels at the lane's edges stay inside it, clear of the next lane's.
        const double baseline = std::clamp(y + 3.0, rect.y + 8.0, rect.Bottom());
        DrawText(context.cr, TickText(value, ticks.step), rect.x - 5.0, baseline, style);
    }
}

// Bars are filled, which costs cairo far less than stroking a path that
// runs up and down every pixel column.
void DrawTrace(cairo_t* cr, const Trace& trace, const ValueSpan& span, const Rect& rect) {
    SetColour(cr, trace.colour);
    for (const TraceBar& bar : trace.shape.bars) {
        const double top = span.Y(rect, bar.high);
        cairo_rectangle(cr, bar.x, top, 1.0, std::max(span.Y(rect, bar.low) - top, 1.0));
    }
    cairo_fill(cr);
    cairo_set_line_width(cr, 1.0);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    const std::vector<TracePoint>& points = trace.shape.points;
    for (size_t i = 0; i < points.size(); ++i) {
        const double y = span.Y(rect, points[i].value);
        if (!points[i].startsStroke) {
            cairo_line_to(cr, points[i].x, y);
            continue;
        }
        cairo_move_to(cr, points[i].x, y);
        const bool alone = i + 1 == points.size() || points[i + 1].startsStroke;
        if (alone) cairo_line_to(cr, points[i].x, y);  // a lone valid sample still shows as a dot
    }
    cairo_stroke(cr);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
}

// The lane's name, then its unit or, for a unit group, its channels.
void DrawLabels(const LaneContext& context, const AnalogLane& lane, const Rect& rect) {
    const PlotLayout& layout = context.layout;
    const bool single = lane.channels.size() == 1;
    const host::AnalogChannel& first = context.record.analog[lane.channels.front()];
    TextStyle title{11.0, true, single ? FromColorRef(first.color) : kInk, Align::kLeft};
    DrawText(context.cr, FitText(context.cr, lane.label, layout.labelWidth, title), layout.labelLeft,
             rect.y + 12.0, title);
    double y = rect.y + 26.0;
    if (single) {
        if (!lane.unit.empty() && y <= rect.Bottom()) {
            DrawText(context.cr, lane.unit, layout.labelLeft, y, {10.0, false, kMutedInk, Align::kLeft});
        }
        return;
    }
    for (size_t i = 0; i < lane.channels.size() && y <= rect.Bottom(); ++i, y += 13.0) {
        const host::AnalogChannel& channel = context.record.analog[lane.channels[i]];
        TextStyle style{10.0, false, FromColorRef(channel.color), Align::kLeft};
        DrawText(context.cr, FitText(context.cr, ValidUtf8(channel.name), layout.labelWidth, style),
                 layout.labelLeft, y, style);
    }
}

std::vector<Trace> MakeTraces(const LaneContext& context, const AnalogLane& lane) {
    std::vector<Trace> traces;
    for (size_t index : lane.channels) {
        const host::AnalogChannel& channel = context.record.analog[index];
        traces.push_back(
            {FromColorRef(channel.color),
             DecimateTrace(channel, context.content.firstSample, context.content.lastSample, context.scale)});
    }
    return traces;
}

}  // namespace

void DrawAnalogLane(const LaneContext& context, const AnalogLane& lane, const Rect& rect) {
    const std::vector<Trace> traces = MakeTraces(context, lane);
    const ValueSpan span = SpanOf(traces);
    cairo_t* cr = context.cr;
    DrawValueGrid(context, span, rect);
    cairo_save(cr);
    cairo_rectangle(cr, rect.x, rect.y, rect.width, rect.height);
    cairo_clip(cr);
    for (size_t index : lane.channels) ShadeInvalid(context, context.record.analog[index], rect);
    for (const Trace& trace : traces) DrawTrace(cr, trace, span, rect);
    cairo_restore(cr);
    SetColour(cr, kFrame);
    cairo_set_line_width(cr, 1.0);
    cairo_rectangle(cr, std::floor(rect.x) + 0.5, std::floor(rect.y) + 0.5, std::floor(rect.width),
                    std::floor(rect.height));
    cairo_stroke(cr);
    DrawLabels(context, lane, rect);
}

}  // namespace cvdr::plot
