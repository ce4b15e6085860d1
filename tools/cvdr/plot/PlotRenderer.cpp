#include "plot/PlotRenderer.h"

#include <fmt/format.h>

#include <algorithm>
#include <cstdlib>
#include <optional>

#include "formats/NumberText.h"
#include "formats/Utf8Text.h"
#include "host/TimeAxis.h"
#include "plot/AxisTicks.h"
#include "plot/FundamentalLanes.h"
#include "plot/LanePainter.h"
#include "plot/Paint.h"
#include "plot/PlotLayout.h"

namespace cvdr::plot {
namespace {

constexpr double kTimeTickSpacing = 110.0;  // pixels between time ticks, about

// "2026-03-14  10:26:53.589" reads better with one blank; the record's
// clock offset follows as "UTC+01:00" when the record gives its time zone.
std::string TriggerText(const host::Record& record) {
    std::string text = ValidUtf8(record.triggerTimeText);
    const size_t blanks = text.find("  ");
    if (blanks != std::string::npos) text.erase(blanks, 1);
    const std::optional<int> offset = host::ClockOffsetSeconds(record);
    if (text.empty() || !offset) return text;
    const int minutes = std::abs(*offset) / 60;
    return text + fmt::format(" UTC{}{:02}:{:02}", *offset < 0 ? '-' : '+', minutes / 60, minutes % 60);
}

void DrawTitle(cairo_t* cr, const host::Record& record, const PlotRequest& request, const Rect& rect) {
    std::string title = ValidUtf8(record.description);
    const std::string trigger = TriggerText(record);
    if (!trigger.empty()) title += (title.empty() ? "trigger " : "  \u00b7  trigger ") + trigger;
    const TextStyle titleStyle{15.0, true, kInk, Align::kLeft};
    DrawText(cr, FitText(cr, title, rect.width, titleStyle), rect.x, rect.y + 22.0, titleStyle);
    const std::string subtitle =
        fmt::format("{}  \u00b7  {} samples, {} ms apart", ValidUtf8(request.sourceName), record.sampleCount,
                    NumberText(record.sampleInterval));
    const TextStyle subtitleStyle{10.0, false, kMutedInk, Align::kLeft};
    DrawText(cr, FitText(cr, subtitle, rect.width, subtitleStyle), rect.x, rect.y + 38.0, subtitleStyle);
}

double LanesBottom(const PlotLayout& layout) {
    if (!layout.steps.empty()) return layout.steps.back().Bottom();
    if (!layout.analog.empty()) return layout.analog.back().Bottom();
    return layout.lanes.y;
}

void DrawTimeGrid(cairo_t* cr, const PlotLayout& layout, const TimeScale& scale, const Ticks& ticks) {
    const double bottom = LanesBottom(layout);
    for (double value : ticks.values)
        HairLine(cr, scale.X(value), layout.lanes.y, scale.X(value), bottom, kGrid);
}

void DrawTimeAxis(cairo_t* cr, const PlotLayout& layout, const TimeScale& scale, const Ticks& ticks) {
    const double y = LanesBottom(layout) + 4.0;
    HairLine(cr, layout.lanes.x, y, layout.lanes.Right(), y, kFrame);
    const TextStyle style{10.0, false, kInk, Align::kCenter};
    for (double value : ticks.values) {
        HairLine(cr, scale.X(value), y, scale.X(value), y + 4.0, kFrame);
        DrawText(cr, TickText(value, ticks.step), scale.X(value), y + 17.0, style);
    }
    DrawText(cr, "time in ms relative to the trigger", layout.lanes.x + layout.lanes.width / 2, y + 34.0,
             {10.0, false, kMutedInk, Align::kCenter});
}

// A dashed line through all lanes at time 0 with a small flag on top.
void DrawTriggerMark(cairo_t* cr, const PlotLayout& layout, const TimeScale& scale) {
    if (scale.from > 0.0 || scale.to < 0.0) return;
    const double x = std::floor(scale.X(0.0)) + 0.5;
    const double dashes[] = {5.0, 3.0};
    SetColour(cr, kTriggerMark);
    cairo_set_line_width(cr, 1.5);
    cairo_set_dash(cr, dashes, 2, 0.0);
    cairo_move_to(cr, x, layout.lanes.y - 2.0);
    cairo_line_to(cr, x, LanesBottom(layout) + 4.0);
    cairo_stroke(cr);
    cairo_set_dash(cr, nullptr, 0, 0.0);
    cairo_move_to(cr, x - 5.0, layout.lanes.y - 9.0);
    cairo_line_to(cr, x + 5.0, layout.lanes.y - 9.0);
    cairo_line_to(cr, x, layout.lanes.y - 2.0);
    cairo_close_path(cr);
    cairo_fill(cr);
}

// Width of the widest lane label, in the styles the lanes draw them with.
double WidestLabel(cairo_t* cr, const host::Record& record, const PlotContent& content) {
    double widest = 0.0;
    const TextStyle title{11.0, true, kInk, Align::kLeft};
    const TextStyle plain{10.0, false, kInk, Align::kLeft};
    for (const AnalogLane& lane : content.analog) {
        widest = std::max(widest, TextWidth(cr, lane.label, title));
        if (lane.channels.size() < 2) continue;
        for (size_t index : lane.channels) {
            widest = std::max(widest, TextWidth(cr, ValidUtf8(record.analog[index].name), plain));
        }
    }
    for (const StepLane& lane : content.steps) widest = std::max(widest, TextWidth(cr, lane.label, plain));
    return widest;
}

SampleScale MakeScale(const host::Record& record, const PlotContent& content, const PlotLayout& layout) {
    SampleScale scale;
    scale.time = {content.from, content.to, layout.lanes.x, layout.lanes.width};
    scale.first = content.firstSample;
    scale.firstTime = record.sampleTimes[content.firstSample];
    scale.interval = record.sampleInterval;
    return scale;
}

void DrawFigure(cairo_t* cr, const host::Record& record, const PlotRequest& request,
                const PlotContent& content) {
    const PlotLayout layout = LayOut(request.width, request.height, content.analog.size(),
                                     content.steps.size(), WidestLabel(cr, record, content));
    const SampleScale scale = MakeScale(record, content, layout);
    const Ticks ticks = NiceTicks(content.from, content.to,
                                  std::max(2, static_cast<int>(layout.lanes.width / kTimeTickSpacing)));
    FillRect(cr, {0.0, 0.0, static_cast<double>(request.width), static_cast<double>(request.height)},
             {1.0, 1.0, 1.0});
    DrawTimeGrid(cr, layout, scale.time, ticks);
    const LaneContext context{cr, record, content, scale, layout};
    for (size_t i = 0; i < content.analog.size(); ++i)
        DrawAnalogLane(context, content.analog[i], layout.analog[i]);
    for (size_t i = 0; i < content.steps.size(); ++i)
        DrawStepLane(context, content.steps[i], layout.steps[i]);
    DrawTriggerMark(cr, layout, scale.time);
    DrawTimeAxis(cr, layout, scale.time, ticks);
    DrawTitle(cr, record, request, layout.title);
}

}  // namespace

PlotContent RenderPlot(const host::Record& record, const PlotRequest& request) {
    if (request.fundamentalFrequency) return RenderPlot(host::Record(record), request);
    PlotContent content = SelectContent(record, request.content);
    Canvas canvas(request.format, request.output, request.width, request.height);
    DrawFigure(canvas.Context(), record, request, content);
    canvas.Finish();
    return content;
}

PlotContent RenderPlot(host::Record&& record, const PlotRequest& request) {
    PlotContent content = SelectContent(record, request.content);
    Canvas canvas(request.format, request.output, request.width, request.height);
    if (request.fundamentalFrequency) AddFundamentalLanes(record, content, *request.fundamentalFrequency);
    DrawFigure(canvas.Context(), record, request, content);
    canvas.Finish();
    return content;
}

}  // namespace cvdr::plot
