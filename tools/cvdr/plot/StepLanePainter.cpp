// Lanes of digital and logical channels (see LanePainter.h).
#include <algorithm>
#include <cmath>

#include "plot/LanePainter.h"
#include "plot/Paint.h"
#include "plot/StepColumns.h"

namespace cvdr::plot {
namespace {

constexpr double kLabelPadding = 6.0;

// Vertical places in a step lane: the high bar's top and the low line.
struct StepLevels {
    double top;
    double bottom;
    explicit StepLevels(const Rect& rect)
        : top(rect.y + std::max(1.0, rect.height * 0.15)),
          bottom(rect.Bottom() - std::max(1.0, rect.height * 0.15)) {}
};

// Calls draw(first, end, mark) for each run of columns with equal marks.
template <typename Draw>
void ForEachColumnRun(const StepColumns& columns, Draw draw) {
    const size_t count = columns.marks.size();
    for (size_t begin = 0; begin < count;) {
        size_t end = begin + 1;
        while (end < count && columns.marks[end] == columns.marks[begin]) ++end;
        draw(static_cast<double>(columns.firstColumn + static_cast<int64_t>(begin)),
             static_cast<double>(columns.firstColumn + static_cast<int64_t>(end)), columns.marks[begin]);
        begin = end;
    }
}

void DrawDigital(cairo_t* cr, const StepColumns& columns, const Rect& rect, const Colour& colour) {
    const StepLevels levels(rect);
    ForEachColumnRun(columns, [&](double left, double right, uint8_t mark) {
        if ((mark & kStepInvalid) != 0)
            FillRect(cr, {left, rect.y, right - left, rect.height}, kInvalidShade, kInvalidShadeAlpha);
        if ((mark & kStepHigh) != 0)
            FillRect(cr, {left, levels.top, right - left, levels.bottom - levels.top}, colour, 0.85);
        if ((mark & kStepLow) != 0)
            FillRect(cr, {left, std::floor(levels.bottom), right - left, 1.0}, colour);
    });
}

void DrawLogical(cairo_t* cr, const StepColumns& columns, const Rect& rect, const Colour& colour) {
    const StepLevels levels(rect);
    ForEachColumnRun(columns, [&](double left, double right, uint8_t mark) {
        if ((mark & kStepInvalid) != 0)
            FillRect(cr, {left, rect.y, right - left, rect.height}, kInvalidShade, kInvalidShadeAlpha);
        if ((mark & kStepHigh) != 0) {
            FillRect(cr, {left, std::floor(levels.top), right - left, 1.0}, colour);
            FillRect(cr, {left, std::floor(levels.bottom), right - left, 1.0}, colour);
        }
        if ((mark & kStepChange) != 0)
            FillRect(cr, {left, levels.top, 1.0, levels.bottom - levels.top}, colour);
    });
    const double size = std::min(10.0, (levels.bottom - levels.top) * 0.8);
    if (size < 6.0) return;
    const TextStyle style{size, false, kInk, Align::kCenter};
    for (const StepLabel& label : columns.labels) {
        const double left = std::max(label.left, rect.x);
        const double right = std::min(label.right, rect.Right());
        const std::string text = FitText(cr, label.text, right - left - kLabelPadding, style);
        if (!text.empty())
            DrawText(cr, text, (left + right) / 2, (levels.top + levels.bottom) / 2 + size * 0.36, style);
    }
}

const host::Channel& Channel(const host::Record& record, const StepLane& lane) {
    if (lane.logical) return record.logical[lane.channel];
    return record.digital[lane.channel];
}

}  // namespace

void DrawStepLane(const LaneContext& context, const StepLane& lane, const Rect& rect) {
    cairo_t* cr = context.cr;
    const Colour colour = FromColorRef(Channel(context.record, lane).color);
    const PlotContent& content = context.content;
    cairo_save(cr);
    cairo_rectangle(cr, rect.x, rect.y, rect.width, rect.height);
    cairo_clip(cr);
    if (lane.logical) {
        const StepColumns columns = LogicalColumns(context.record.logical[lane.channel], content.firstSample,
                                                   content.lastSample, context.scale, 2 * kLabelPadding);
        DrawLogical(cr, columns, rect, colour);
    } else {
        const StepColumns columns = DigitalColumns(context.record.digital[lane.channel], content.firstSample,
                                                   content.lastSample, context.scale);
        DrawDigital(cr, columns, rect, colour);
    }
    cairo_restore(cr);
    HairLine(cr, rect.x, rect.Bottom() + 1.0, rect.Right(), rect.Bottom() + 1.0, kGrid);
    const TextStyle style{std::min(10.0, std::max(rect.height * 0.7, 1.0)), false, colour, Align::kLeft};
    if (style.size >= 5.0) {
        DrawText(cr, FitText(cr, lane.label, context.layout.stepLabelWidth, style), context.layout.labelLeft,
                 rect.y + rect.height / 2 + style.size * 0.36, style);
    }
}

}  // namespace cvdr::plot
