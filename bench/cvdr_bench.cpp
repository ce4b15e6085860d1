// Times cvdr's plot, exports and analysis on a synthetic record held in memory (see
// SyntheticRecord.h): a million samples per channel by default, read once
// through the host interfaces as cvdr reads a record. Each case
// runs a few times; the best time is reported, as the least disturbed by
// other work on the machine.
//
//   cvdr_bench [OUTPUT_FOLDER] [SAMPLES]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

#include "SyntheticRecord.h"
#include "analysis/Fundamental.h"
#include "analysis/RecordAnalysis.h"
#include "formats/OutputFile.h"
#include "formats/comtrade/ComtradeWriter.h"
#include "formats/csv/CsvWriter.h"
#include "host/RecordReader.h"
#include "plot/PlotRenderer.h"

namespace {

constexpr int kRuns = 3;

double BestSeconds(const std::function<void()>& work) {
    double best = 1e300;
    for (int run = 0; run < kRuns; ++run) {
        const auto start = std::chrono::steady_clock::now();
        work();
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        if (took.count() < best) best = took.count();
    }
    return best;
}

void Report(const char* name, double seconds, const std::string& file) {
    std::error_code error;
    const auto bytes = std::filesystem::file_size(file, error);
    std::printf("%-28s %8.1f ms  %10llu bytes\n", name, seconds * 1000.0,
                error ? 0ULL : static_cast<unsigned long long>(bytes));
}

void Plot(const host::Record& record, const std::string& folder, const char* name,
          cvdr::plot::ImageFormat format, bool rms = false) {
    cvdr::plot::PlotRequest request;
    request.output = folder + "/" + name;
    request.format = format;
    request.sourceName = "synthetic.xml";
    if (rms) request.fundamentalFrequency = 50.0;
    Report(name, BestSeconds([&] { cvdr::plot::RenderPlot(record, request); }), request.output);
}

// `cvdr analyze` with its defaults, and the sliding DFT of `plot --rms` over
// every analog channel: both linear in the record, to set against "read".
void Analysis(const host::Record& record) {
    std::printf("%-28s %8.1f ms\n", "analyze",
                BestSeconds([&] { analysis::AnalyzeRecord(record, {}); }) * 1000.0);
    std::printf("%-28s %8.1f ms\n", "fundamental magnitudes", BestSeconds([&] {
                    for (size_t i = 0; i < record.analog.size(); ++i)
                        analysis::FundamentalMagnitudes(record, i, 50.0);
                }) * 1000.0);
}

void Comtrade(const host::Record& record, const host::AnalogSampleReader& samples, const std::string& folder,
              cvdr::comtrade::DataType type, const char* name) {
    cvdr::comtrade::ExportFormat format;
    format.dataType = type;
    const cvdr::comtrade::ComtradeTarget target{folder, name, "synthetic.xml"};
    Report(name, BestSeconds([&] { cvdr::comtrade::WriteComtrade(record, samples, format, target); }),
           folder + "/" + name + ".dat");
}

}  // namespace

int main(int argc, char** argv) {
    const std::string folder = argc > 1 ? argv[1] : "cvdr-bench-out";
    std::filesystem::create_directories(folder);
    bench::RecordShape shape;
    if (argc > 2) shape.samples = static_cast<uint32_t>(std::strtoul(argv[2], nullptr, 10));
    const auto reader = bench::MakeSyntheticRecord(shape);
    std::printf("%u samples per channel; %d analog, %d digital, %d logical channels\n", shape.samples,
                shape.analog, shape.digital, shape.logical);
    host::Record record;
    std::printf("%-28s %8.1f ms\n", "read",
                BestSeconds([&] { record = host::ReadRecord(*reader); }) * 1000.0);
    Plot(record, folder, "plot.png", cvdr::plot::ImageFormat::kPng);
    Plot(record, folder, "plot.svg", cvdr::plot::ImageFormat::kSvg);
    Plot(record, folder, "plot.pdf", cvdr::plot::ImageFormat::kPdf);
    Plot(record, folder, "plot-rms.png", cvdr::plot::ImageFormat::kPng, true);
    Analysis(record);
    // The exports read the samples from the reader as they write.
    const host::AnalogSampleReader samples(*reader, record);
    Comtrade(record, samples, folder, cvdr::comtrade::DataType::kBinary, "binary");
    Comtrade(record, samples, folder, cvdr::comtrade::DataType::kFloat32, "float32");
    Comtrade(record, samples, folder, cvdr::comtrade::DataType::kAscii, "ascii");
    const std::string csv = folder + "/synthetic.csv";
    Report("synthetic.csv", BestSeconds([&] {
               cvdr::OutputFile file(csv);
               cvdr::WriteCsv(record, samples, file);
               file.Close();
           }),
           csv);
    cvdr::plot::ReleaseDrawingCaches();
    return 0;
}
