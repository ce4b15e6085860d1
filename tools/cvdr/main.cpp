// cvdr: command-line host of the disturbance-record decoder plug-in.
//
//   cvdr [--plugin PATH] info FILE [--lang CODE] [--options STRING]
//   cvdr [--plugin PATH] dump FILE --json [--no-samples] [--lang CODE] [--options STRING]
//   cvdr [--plugin PATH] export FILE... --to comtrade|csv -o OUTDIR [--rev 1999|2013]
//        [--data ascii|binary|binary32|float32] [--cff] [--frequency HZ] [--lang CODE] [--options STRING]
//   cvdr [--plugin PATH] plot FILE -o OUT.png|svg|pdf [--channels NAME...] [--from MS] [--to MS]
//        [--size WxH] [--group-by-unit] [--lang CODE] [--options STRING]
//   cvdr config [get NAME | set NAME VALUE | unset NAME | path]
//   cvdr check FILE [--lang CODE] [--options STRING]
//   cvdr models [--options STRING] [--device NAME --version VERSION]
//
// Exit status: 0 success, 1 record or plug-in not loaded or output not
// written (for export: any record), 2 wrong usage.
#include <CLI/CLI.hpp>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "ExitStatus.h"
#include "RecordSession.h"
#include "commands/CheckCommand.h"
#include "commands/ConfigCommand.h"
#include "commands/DumpCommand.h"
#include "commands/ExportCommand.h"
#include "commands/InfoCommand.h"
#include "commands/ModelsCommand.h"
#include "commands/PlotCommand.h"

namespace {

struct ExportWords {
    std::string to;
    std::string revision;
    std::string data;
    bool combined = false;
    double frequency = 0.0;  // 0: not given
};

struct CommandLine {
    cvdr::RecordRequest request;
    bool json = false;
    bool noSamples = false;
    cvdr::ExportRequest exportRequest;
    ExportWords exportWords;
    cvdr::PlotCommandRequest plot;
    double from = 0.0;
    double to = 0.0;
    cvdr::ConfigRequest config;
    cvdr::CheckRequest check;
    cvdr::ModelsRequest models;
};

void AddLanguageOptions(CLI::App& command, cvdr::RecordRequest& request) {
    command.add_option("--lang", request.source.language, "Language code handed to the plug-in")
        ->capture_default_str();
    command.add_option("--options", request.source.options, "Option string handed to the plug-in");
}

void AddRecordOptions(CLI::App& command, cvdr::RecordRequest& request) {
    command.add_option("file", request.source.file, "Record file")->required();
    AddLanguageOptions(command, request);
}

void ConfigureExport(CLI::App& app, CommandLine& line) {
    CLI::App* command = app.add_subcommand("export", "Records to COMTRADE files or CSV tables");
    command->add_option("files", line.exportRequest.inputs, "Record files and folders (searched recursively)")
        ->required();
    command->add_option("--to", line.exportWords.to, "Output format")
        ->required()
        ->check(CLI::IsMember({"comtrade", "csv"}));
    command->add_option("-o,--output", line.exportRequest.outputFolder, "Output folder")->required();
    command->add_option("--rev", line.exportWords.revision, "COMTRADE revision (default 2013)")
        ->check(CLI::IsMember({"1999", "2013"}));
    command->add_option("--data", line.exportWords.data, "COMTRADE data file type (default binary)")
        ->check(CLI::IsMember({"ascii", "binary", "binary32", "float32"}));
    command->add_flag("--cff", line.exportWords.combined, "One combined .cff file (2013 only)");
    command->add_option("--frequency", line.exportWords.frequency, "Line frequency in Hz (default 50)")
        ->check(CLI::PositiveNumber);
    AddLanguageOptions(*command, line.exportRequest.record);
}

void ConfigurePlot(CLI::App& app, CommandLine& line) {
    CLI::App* command = app.add_subcommand("plot", "A record drawn as a PNG, SVG or PDF figure");
    AddRecordOptions(*command, line.plot.record);
    command->add_option("-o,--output", line.plot.output, "Image file: .png, .svg or .pdf")->required();
    command->add_option("--channels", line.plot.channels, "Channels to draw, by name or key (default all)");
    command->add_option("--from", line.from, "Start of the window, ms relative to the trigger");
    command->add_option("--to", line.to, "End of the window, ms relative to the trigger");
    command->add_option("--size", line.plot.size, "Size in pixels (points for SVG and PDF)")
        ->capture_default_str();
    command->add_flag("--group-by-unit", line.plot.groupByUnit, "One lane per unit instead of per channel");
}

void ConfigureConfig(CLI::App& app, CommandLine& line) {
    CLI::App* command = app.add_subcommand("config", "Show or edit the viewer settings the plug-in reads");
    command->require_subcommand(0, 1);
    CLI::App* get = command->add_subcommand("get", "Print a setting's value");
    get->add_option("name", line.config.name, "Setting name")->required();
    CLI::App* set = command->add_subcommand("set", "Set a setting's value");
    set->add_option("name", line.config.name, "Setting name")->required();
    set->add_option("value", line.config.value, "Value, e.g. YES or NO")->required();
    CLI::App* unset = command->add_subcommand("unset", "Remove a setting");
    unset->add_option("name", line.config.name, "Setting name")->required();
    command->add_subcommand("path", "Print the settings file's path");
}

// The two diagnostics look into the decoder itself to say why a record comes
// up without names.
void ConfigureDiagnostics(CLI::App& app, CommandLine& line) {
    CLI::App* check = app.add_subcommand("check", "Why a record's channels have no names: each step of the model search");
    check->add_option("file", line.check.file, "Record file")->required();
    check->add_option("--lang", line.check.language, "Language code")->capture_default_str();
    check->add_option("--options", line.check.options, "Option string");
    CLI::App* models = app.add_subcommand("models", "What the device-model lookup sees in the models folder");
    models->add_option("--options", line.models.options, "Option string");
    models->add_option("--device", line.models.device, "Device name of a record");
    models->add_option("--version", line.models.version, "Device version of a record");
}

void Configure(CLI::App& app, CommandLine& line) {
    app.require_subcommand(1);
    app.fallthrough();  // lets --plugin follow the subcommand too
    app.set_version_flag("--version", "cvdr " CVDR_VERSION);
    app.add_option("--plugin", line.request.plugin,
                   "Plug-in library to load (default: $CVDR_PLUGIN, then libdr_mvq4.so beside cvdr, then the "
                   "installed one)");

    CLI::App* info = app.add_subcommand("info", "Summary of a record and a table of its channels");
    AddRecordOptions(*info, line.request);

    CLI::App* dump = app.add_subcommand("dump", "Everything the plug-in reports about a record, as JSON");
    AddRecordOptions(*dump, line.request);
    dump->add_flag("--json", line.json, "Write JSON (the only format)")->required();
    dump->add_flag("--no-samples", line.noSamples, "Leave out the analog sample values and validity");

    ConfigureExport(app, line);
    ConfigurePlot(app, line);
    ConfigureConfig(app, line);
    ConfigureDiagnostics(app, line);
}

int RunExportCommand(const CLI::App& command, CommandLine& line) {
    cvdr::ExportRequest& request = line.exportRequest;
    const ExportWords& words = line.exportWords;
    request.record.plugin = line.request.plugin;
    request.target = words.to == "csv" ? cvdr::ExportTarget::kCsv : cvdr::ExportTarget::kComtrade;
    const bool comtradeOnly =
        !words.revision.empty() || !words.data.empty() || words.combined || command.count("--frequency") > 0;
    if (request.target == cvdr::ExportTarget::kCsv && comtradeOnly) {
        cvdr::ReportError("--rev, --data, --cff and --frequency go with --to comtrade only");
        return cvdr::kExitUsage;
    }
    if (!words.revision.empty()) request.format.revision = *cvdr::comtrade::ParseRevision(words.revision);
    if (!words.data.empty()) request.format.dataType = *cvdr::comtrade::ParseDataType(words.data);
    request.format.combined = words.combined;
    if (words.frequency > 0.0) request.format.lineFrequency = words.frequency;
    const std::string problem = cvdr::comtrade::FormatProblem(request.format);
    if (!problem.empty()) {
        cvdr::ReportError(problem);
        return cvdr::kExitUsage;
    }
    return cvdr::RunExport(request);
}

int RunPlotCommand(const CLI::App& command, CommandLine& line) {
    line.plot.record.plugin = line.request.plugin;
    if (command.count("--from") > 0) line.plot.from = line.from;
    if (command.count("--to") > 0) line.plot.to = line.to;
    return cvdr::RunPlot(line.plot);
}

int RunConfigCommand(const CLI::App& command, CommandLine& line) {
    line.config.action = command.got_subcommand("get")     ? cvdr::ConfigAction::kGet
                         : command.got_subcommand("set")   ? cvdr::ConfigAction::kSet
                         : command.got_subcommand("unset") ? cvdr::ConfigAction::kUnset
                         : command.got_subcommand("path")  ? cvdr::ConfigAction::kPath
                                                           : cvdr::ConfigAction::kList;
    return cvdr::RunConfig(line.config);
}

int Run(const CLI::App& app, CommandLine& line) {
    if (app.got_subcommand("export")) return RunExportCommand(*app.get_subcommand("export"), line);
    if (app.got_subcommand("plot")) return RunPlotCommand(*app.get_subcommand("plot"), line);
    if (app.got_subcommand("config")) return RunConfigCommand(*app.get_subcommand("config"), line);
    if (app.got_subcommand("check")) return cvdr::RunCheck(line.check, std::cout);
    if (app.got_subcommand("models")) return cvdr::RunModels(line.models, std::cout);
    if (app.got_subcommand("info")) return cvdr::RunInfo(line.request);
    return cvdr::RunDump(line.request, !line.noSamples);
}

// The plug-in's option string itself starts with a dash ("-Key:value"), and
// so may a time ("--from -50"): the word after --options, --lang, --from or
// --to is always that option's value, so join the two before the parser
// could take it for an option of its own. An empty option string is what
// the plug-in gets without --options, so that pair is dropped (the parser
// would count an empty value as missing).
std::vector<std::string> JoinOptionValues(int argc, char** argv) {
    std::vector<std::string> words(argv, argv + argc);
    std::vector<std::string> joined;
    for (size_t i = 0; i < words.size(); ++i) {
        const bool takesValue =
            words[i] == "--options" || words[i] == "--lang" || words[i] == "--from" || words[i] == "--to";
        if (words[i] == "--options=" || (words[i] == "--options" && i + 1 < words.size() && words[i + 1].empty())) {
            i += words[i] == "--options" ? 1 : 0;
        } else if (takesValue && i + 1 < words.size()) {
            joined.push_back(words[i] + "=" + words[i + 1]);
            ++i;
        } else {
            joined.push_back(words[i]);
        }
    }
    return joined;
}

}  // namespace

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    CLI::App app("Reads disturbance records through the dr_mvq4 decoder plug-in", "cvdr");
    CommandLine line;
    Configure(app, line);
    try {
        std::vector<std::string> words = JoinOptionValues(argc, argv);
        std::vector<char*> pointers;
        for (std::string& word : words) pointers.push_back(&word[0]);
        app.parse(static_cast<int>(pointers.size()), pointers.data());
    } catch (const CLI::ParseError& error) {
        return app.exit(error) == 0 ? cvdr::kExitSuccess : cvdr::kExitUsage;
    }
    try {
        return Run(app, line);
    } catch (const std::exception& error) {
        cvdr::ReportError(error.what());
        return cvdr::kExitFailure;
    }
}
