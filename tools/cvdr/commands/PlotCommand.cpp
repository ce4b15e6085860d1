#include "commands/PlotCommand.h"

#include <fmt/format.h>

#include <charconv>
#include <filesystem>
#include <utility>

#include "ExitStatus.h"
#include "formats/NumberText.h"
#include "plot/PlotRenderer.h"

namespace cvdr {
namespace {

constexpr int kMinSide = 100;
constexpr int kMaxSide = 20000;

bool ParseSide(std::string_view text, int& side) {
    const char* end = text.data() + text.size();
    const std::from_chars_result result = std::from_chars(text.data(), end, side);
    return result.ec == std::errc() && result.ptr == end && side >= kMinSide && side <= kMaxSide;
}

// The usage problem of the request; empty when there is none.
std::string UsageProblem(const PlotCommandRequest& request, plot::PlotRequest& plot) {
    const std::optional<plot::ImageFormat> format = plot::ImageFormatOf(request.output);
    if (!format) return request.output + ": the output must end in .png, .svg or .pdf";
    plot.format = *format;
    if (!ParseSize(request.size, plot.width, plot.height)) {
        return "--size " + request.size + ": expected WIDTHxHEIGHT, each from 100 to 20000";
    }
    if (request.from && request.to && !(*request.from < *request.to)) return "--from must be less than --to";
    return "";
}

std::string Summary(const std::string& output, const plot::PlotContent& content) {
    return fmt::format("{}: {} analog lane{}, {} step lane{}, {} ms to {} ms\n", output,
                       content.analog.size(), content.analog.size() == 1 ? "" : "s", content.steps.size(),
                       content.steps.size() == 1 ? "" : "s", NumberText(content.from),
                       NumberText(content.to));
}

}  // namespace

bool ParseSize(const std::string& text, int& width, int& height) {
    const size_t separator = text.find('x');
    if (separator == std::string::npos) return false;
    const std::string_view all(text);
    return ParseSide(all.substr(0, separator), width) && ParseSide(all.substr(separator + 1), height);
}

int RunPlot(const PlotCommandRequest& request) {
    plot::PlotRequest plot;
    const std::string problem = UsageProblem(request, plot);
    if (!problem.empty()) {
        ReportError(problem);
        return kExitUsage;
    }
    plot.output = request.output;
    plot.content = {request.channels, request.from, request.to, request.groupByUnit};
    plot.sourceName = std::filesystem::path(request.record.source.file).filename().string();
    plot.fundamentalFrequency = request.rmsFrequency;
    const int status =
        RunOnRecord(request.record, {}, [&plot](host::Record& record, std::ostream& out) {
            out << Summary(plot.output, plot::RenderPlot(std::move(record), plot));
        });
    plot::ReleaseDrawingCaches();
    return status;
}

}  // namespace cvdr
