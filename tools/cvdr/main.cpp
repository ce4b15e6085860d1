// cvdr: command-line host of the disturbance-record decoder plug-in.
//
//   cvdr [--plugin PATH] info FILE [--json | --channels] [--lang CODE] [--options STRING | --models DIR]
//   cvdr [--plugin PATH] dump FILE [--json] [--no-samples] [--lang CODE] [--options STRING | --models DIR]
//   cvdr [--plugin PATH] export FILE... --to comtrade|csv -o OUTDIR [--rev 1999|2013]
//        [--data ascii|binary|binary32|float32] [--cff] [--frequency HZ] [--channels PATTERN...]
//        [--from MS] [--to MS] [--force] [--verbose] [--lang CODE] [--options STRING | --models DIR]
//   cvdr [--plugin PATH] plot FILE -o OUT.png|svg|pdf [--channels PATTERN...] [--from MS] [--to MS]
//        [--size WxH] [--group-by-unit] [--rms [--frequency HZ]] [--lang CODE] [--options STRING | --models DIR]
//   cvdr [--plugin PATH] analyze FILE... [--frequency HZ] [--at MS]... [--group A,B,C]... [--json | --csv]
//        [--lang CODE] [--options STRING | --models DIR]
//   cvdr [--plugin PATH] view FILE... -o OUT [--force] [--lang CODE] [--options STRING | --models DIR]
//   cvdr config [get NAME | set NAME VALUE | unset NAME | path]
//   cvdr check FILE [--lang CODE] [--options STRING | --models DIR]
//   cvdr models [--options STRING | --models DIR] [--device NAME [--version VERSION]]
//
// Exit status: 0 success, 1 record or plug-in not loaded or output not
// written (for export: any record), 2 wrong usage.
#include <CLI/CLI.hpp>
#include <exception>
#include <filesystem>
#include <optional>
#include <iostream>
#include <string>
#include <vector>

#include "ExitStatus.h"
#include "RecordSession.h"
#include "commands/AnalyzeCommand.h"
#include "commands/CheckCommand.h"
#include "commands/ConfigCommand.h"
#include "commands/DumpCommand.h"
#include "commands/ExportCommand.h"
#include "commands/InfoCommand.h"
#include "commands/ModelsCommand.h"
#include "commands/PlotCommand.h"
#include "commands/ViewCommand.h"
#include "host/PluginPath.h"

namespace {

struct ExportWords {
    std::string to;
    std::string revision;
    std::string data;
    bool combined = false;
    double frequency = 0.0;  // 0: not given
    std::vector<std::string> toWords;  // --to: the format, or the end of the window in ms
};

struct CommandLine {
    cvdr::RecordRequest request;
    bool json = false;
    bool channelTable = false;
    bool noSamples = false;
    cvdr::ExportRequest exportRequest;
    ExportWords exportWords;
    cvdr::PlotCommandRequest plot;
    double from = 0.0;
    double to = 0.0;
    bool rms = false;
    double rmsFrequency = 50.0;
    cvdr::AnalyzeRequest analyze;
    std::vector<std::string> groups;  // "A,B,C" each
    bool csv = false;
    cvdr::ViewRequest view;
    cvdr::ConfigRequest config;
    cvdr::CheckRequest check;
    cvdr::ModelsRequest models;
    std::string modelsFolder;  // --models
    bool version = false;
};

constexpr const char* kOptionsHelp =
    "Option string handed to the plug-in: -Key:value pairs, a value with blanks in double quotes; e.g. "
    "-DeviceModelFolder:\"/srv/models/\" or -companyName:Norvik -productFamily:Feeder";
constexpr const char* kModelsHelp = "Device-models folder: short for --options \"-DeviceModelFolder:DIR/\"";

void AddLanguageOptions(CLI::App& command, cvdr::RecordRequest& request, std::string& modelsFolder) {
    command.add_option("--lang", request.source.language, "Language code handed to the plug-in")
        ->capture_default_str();
    command.add_option("--options", request.source.options, kOptionsHelp);
    command.add_option("--models", modelsFolder, kModelsHelp);  // turned into --options before parsing
}

void AddRecordOptions(CLI::App& command, cvdr::RecordRequest& request, std::string& modelsFolder) {
    command.add_option("file", request.source.file, "Record file")->required();
    AddLanguageOptions(command, request, modelsFolder);
}

void ConfigureExport(CLI::App& app, CommandLine& line) {
    CLI::App* command = app.add_subcommand("export", "Records to COMTRADE files or CSV tables");
    command->add_option("files", line.exportRequest.inputs, "Record files and folders (searched recursively)")
        ->required();
    command->add_option("--to", line.exportWords.toWords,
                        "Output format (comtrade or csv); given again with a number: end of the window, ms "
                        "relative to the trigger")
        ->required();
    command->add_option("-o,--output", line.exportRequest.outputFolder, "Output folder")->required();
    command->add_option("--rev", line.exportWords.revision, "COMTRADE revision (default 2013)")
        ->check(CLI::IsMember({"1999", "2013"}));
    command->add_option("--data", line.exportWords.data, "COMTRADE data file type (default binary)")
        ->check(CLI::IsMember({"ascii", "binary", "binary32", "float32"}));
    command->add_flag("--cff", line.exportWords.combined, "One combined .cff file (2013 only)");
    command->add_option("--frequency", line.exportWords.frequency, "Line frequency in Hz (default 50)")
        ->check(CLI::Validator(
            [](const std::string& text) -> std::string {
                double hz = 0.0;
                return CLI::detail::lexical_cast(text, hz) && hz > 0.0 && hz <= 1000.0
                           ? ""
                           : "expected a frequency in Hz above 0 and at most 1000, got " + text;
            },
            "HZ"));
    command->add_option("--channels", line.exportRequest.channels,
                        "Channels to write: names, keys, last key parts or globs (IL*), case ignored");
    command->add_option("--from", line.from, "Start of the window, ms relative to the trigger");
    command->add_flag("--force", line.exportRequest.force, "Replace existing output files");
    command->add_flag("--verbose", line.exportRequest.verbose, "List the files skipped as not records");
    AddLanguageOptions(*command, line.exportRequest.record, line.modelsFolder);
}

void ConfigurePlot(CLI::App& app, CommandLine& line) {
    CLI::App* command = app.add_subcommand("plot", "A record drawn as a PNG, SVG or PDF figure");
    AddRecordOptions(*command, line.plot.record, line.modelsFolder);
    command->add_option("-o,--output", line.plot.output, "Image file: .png, .svg or .pdf")->required();
    command->add_option("--channels", line.plot.channels, "Channels to draw: names, keys, last key parts or globs (IL*), case ignored (default all)");
    command->add_option("--from", line.from, "Start of the window, ms relative to the trigger");
    command->add_option("--to", line.to, "End of the window, ms relative to the trigger");
    command->add_option("--size", line.plot.size, "Size in pixels (points for SVG and PDF)")
        ->capture_default_str();
    command->add_flag("--group-by-unit", line.plot.groupByUnit, "One lane per unit instead of per channel");
    CLI::Option* rms = command->add_flag("--rms", line.rms,
                                         "Under each lane, the RMS magnitude of the fundamental over time");
    command->add_option("--frequency", line.rmsFrequency, "Line frequency in Hz for --rms")
        ->capture_default_str()
        ->check(CLI::PositiveNumber)
        ->needs(rms);
}

void ConfigureAnalyze(CLI::App& app, CommandLine& line) {
    CLI::App* command =
        app.add_subcommand("analyze", "Extremes, RMS, phasors, sequence components and events");
    command->add_option("files", line.analyze.inputs, "Record files and folders (searched recursively)")
        ->required();
    command->add_option("--frequency", line.analyze.analysis.frequency, "Line frequency in Hz")
        ->capture_default_str()
        ->check(CLI::PositiveNumber);
    command->add_option("--at", line.analyze.analysis.times,
                        "End of a phasor cycle, ms relative to the trigger (default 0 and one cycle)");
    command->add_option("--group", line.groups, "Three channels of a three-phase group: A,B,C");
    CLI::Option* json = command->add_flag("--json", line.json, "Write cvdr-analysis/1 JSON");
    command->add_flag("--csv", line.csv, "Write one CSV row per record and channel")->excludes(json);
    AddLanguageOptions(*command, line.analyze.record, line.modelsFolder);
}

void ConfigureView(CLI::App& app, CommandLine& line) {
    CLI::App* command = app.add_subcommand("view", "Records as interactive pages: one offline HTML file each");
    command->add_option("files", line.view.inputs, "Record files and folders (searched recursively)")->required();
    command->add_option("-o,--output", line.view.output,
                        "The page for one record file; else a folder of pages mirroring the input folders")
        ->required();
    command->add_flag("--force", line.view.force, "Replace pages that exist");
    AddLanguageOptions(*command, line.view.record, line.modelsFolder);
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
    check->add_option("--options", line.check.options, kOptionsHelp);
    check->add_option("--models", line.modelsFolder, kModelsHelp);
    CLI::App* models = app.add_subcommand("models", "What the device-model lookup sees in the models folder");
    models->add_option("--options", line.models.options, kOptionsHelp);
    models->add_option("--models", line.modelsFolder, kModelsHelp);
    models->add_option("--device", line.models.device, "Device name of a record");
    models->add_option("--version", line.models.version, "Device version of a record (default: list them)");
}

void Configure(CLI::App& app, CommandLine& line) {
    app.require_subcommand(1);
    app.fallthrough();  // lets --plugin follow the subcommand too
    app.add_flag("--version", line.version, "Show cvdr's version and the plug-in it loads");
    app.add_option("--plugin", line.request.plugin,
                   "Plug-in library to load (default: $CVDR_PLUGIN, then libdr_mvq4.so beside cvdr, then the "
                   "installed one)");

    CLI::App* info = app.add_subcommand("info", "Summary of a record and a table of its channels");
    AddRecordOptions(*info, line.request, line.modelsFolder);
    info->add_flag("--json", line.json, "The summary and the channel table as JSON");
    info->add_flag("--channels", line.channelTable, "The channel table only");

    CLI::App* dump = app.add_subcommand("dump", "Everything the plug-in reports about a record, as JSON");
    AddRecordOptions(*dump, line.request, line.modelsFolder);
    dump->add_flag("--json", line.json, "Write JSON (the only format, also without the flag)");
    dump->add_flag("--no-samples", line.noSamples, "Leave out the analog sample values and validity");

    ConfigureExport(app, line);
    ConfigurePlot(app, line);
    ConfigureAnalyze(app, line);
    ConfigureView(app, line);
    ConfigureConfig(app, line);
    ConfigureDiagnostics(app, line);
}

// Export's --to is given once with the format and may be given once more
// with a time, the end of the window. Empty when that holds.
std::string SortToWords(CommandLine& line, std::optional<double>& to) {
    ExportWords& words = line.exportWords;
    for (const std::string& word : words.toWords) {
        double time = 0.0;
        if (word == "comtrade" || word == "csv") {
            if (!words.to.empty()) return "--to: give one output format, comtrade or csv";
            words.to = word;
        } else if (CLI::detail::lexical_cast(word, time) && !to) {
            to = time;
        } else {
            return "--to " + word + ": expected comtrade, csv, or once the end of the window in ms";
        }
    }
    return words.to.empty() ? "--to: the output format is missing (comtrade or csv)" : "";
}

int RunExportCommand(const CLI::App& command, CommandLine& line) {
    cvdr::ExportRequest& request = line.exportRequest;
    const ExportWords& words = line.exportWords;
    request.record.plugin = line.request.plugin;
    const std::string toProblem = SortToWords(line, request.to);
    if (command.count("--from") > 0) request.from = line.from;
    if (!toProblem.empty() || (request.from && request.to && !(*request.from < *request.to))) {
        cvdr::ReportError(toProblem.empty() ? "--from must be less than --to" : toProblem);
        return cvdr::kExitUsage;
    }
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
    if (line.rms) line.plot.rmsFrequency = line.rmsFrequency;
    return cvdr::RunPlot(line.plot);
}

int RunAnalyzeCommand(CommandLine& line) {
    cvdr::AnalyzeRequest& request = line.analyze;
    request.record.plugin = line.request.plugin;
    request.output = line.json  ? cvdr::AnalysisOutput::kJson
                     : line.csv ? cvdr::AnalysisOutput::kCsv
                                : cvdr::AnalysisOutput::kText;
    try {
        for (const std::string& group : line.groups)
            request.analysis.groups.push_back(cvdr::ParsePhaseGroup(group));
    } catch (const std::exception& error) {
        cvdr::ReportError(error.what());
        return cvdr::kExitUsage;
    }
    return cvdr::RunAnalyze(request);
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
    if (app.got_subcommand("analyze")) return RunAnalyzeCommand(line);
    if (app.got_subcommand("view")) {
        line.view.record.plugin = line.request.plugin;
        return cvdr::RunView(line.view);
    }
    if (app.got_subcommand("config")) return RunConfigCommand(*app.get_subcommand("config"), line);
    if (app.got_subcommand("check")) return cvdr::RunCheck(line.check, std::cout);
    if (app.got_subcommand("models")) return cvdr::RunModels(line.models, std::cout);
    if (app.got_subcommand("info")) {
        if (line.json && line.channelTable) {
            cvdr::ReportError("info: give --json or --channels, not both");
            return cvdr::kExitUsage;
        }
        return cvdr::RunInfo(line.request, line.json           ? cvdr::InfoForm::kJson
                                           : line.channelTable ? cvdr::InfoForm::kChannels
                                                               : cvdr::InfoForm::kText);
    }
    return cvdr::RunDump(line.request, !line.noSamples);
}

// The plug-in's option string itself starts with a dash ("-Key:value"), and
// so may a time ("--from -50"): the word after --options, --lang, --from,
// --to or --at is always that option's value, so join the two before the parser
// could take it for an option of its own. An empty option string is what
// the plug-in gets without --options, so that pair is dropped (the parser
// would count an empty value as missing).
std::vector<std::string> JoinOptionValues(int argc, char** argv) {
    std::vector<std::string> words(argv, argv + argc);
    std::vector<std::string> joined;
    for (size_t i = 0; i < words.size(); ++i) {
        const bool takesValue = words[i] == "--options" || words[i] == "--lang" || words[i] == "--from" ||
                                words[i] == "--to" || words[i] == "--at";
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


// --models DIR: the folder joins the option string of whichever command runs.
void ApplyModelsFolder(CommandLine& line) {
    if (line.modelsFolder.empty()) return;
    std::string folder = line.modelsFolder;
    if (folder.back() != '/') folder += '/';
    for (std::string* options : {&line.request.source.options, &line.exportRequest.record.source.options,
                                 &line.plot.record.source.options, &line.analyze.record.source.options,
                                 &line.view.record.source.options, &line.check.options, &line.models.options}) {
        *options += (options->empty() ? "" : " ") + std::string("-DeviceModelFolder:\"") + folder + "\"";
    }
}

// The version the plug-in's file name carries once its links are followed
// (libdr_mvq4.so.0.1.0); "unknown" when it carries none.
std::string PluginVersion(const std::string& path) {
    std::error_code error;
    const std::string name = std::filesystem::canonical(path, error).filename().string();
    const size_t suffix = name.find(".so.");
    return error || suffix == std::string::npos ? "unknown" : name.substr(suffix + 4);
}

int ShowVersion(const CommandLine& line) {
    std::cout << "cvdr " CVDR_VERSION "\n";
    const std::string path = host::FindPlugin(line.request.plugin);
    if (!cvdr::LoadPlugin(line.request.plugin)) return cvdr::kExitFailure;
    std::cout << "plug-in: " << path << " (loads; version " << PluginVersion(path) << ")\n";
    return cvdr::kExitSuccess;
}

// The first word that is neither an option nor --plugin's value: the
// command the user typed; empty when there is none.
std::string TypedCommand(const std::vector<std::string>& words) {
    for (size_t i = 1; i < words.size(); ++i) {
        if (words[i] == "--plugin") {
            ++i;
        } else if (words[i].empty() || words[i][0] != '-') {
            return words[i];
        }
    }
    return "";
}

// A usage error on one line, "cvdr: ...", and for an unknown command the
// list of commands.
int ReportUsage(const CLI::App& app, const CLI::ParseError& error, const std::vector<std::string>& words) {
    std::string message = error.what();
    if (app.get_subcommands().empty()) {
        std::string commands;
        for (const CLI::App* command : app.get_subcommands({})) {
            commands += (commands.empty() ? "" : ", ") + command->get_name();
        }
        const std::string typed = TypedCommand(words);
        message = typed.empty() ? "a command is missing (commands: " + commands + ")"
                                : "unknown command \"" + typed + "\" (commands: " + commands + ")";
    } else if (dynamic_cast<const CLI::ExtrasError*>(&error) != nullptr) {
        message = "unknown option or extra argument " + message.substr(message.find(':') + 2) + " for " +
                  app.get_subcommands().front()->get_name() + " (see its --help)";
    }
    for (char& c : message) c = c == '\n' ? ' ' : c;
    cvdr::ReportError(message);
    return cvdr::kExitUsage;
}

}  // namespace

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    CLI::App app("Reads disturbance records through the dr_mvq4 decoder plug-in", "cvdr");
    CommandLine line;
    Configure(app, line);
    std::vector<std::string> words = JoinOptionValues(argc, argv);
    try {
        std::vector<std::string> parsed = words;
        std::vector<char*> pointers;
        for (std::string& word : parsed) pointers.push_back(&word[0]);
        app.parse(static_cast<int>(pointers.size()), pointers.data());
    } catch (const CLI::CallForHelp& help) {
        return app.exit(help);
    } catch (const CLI::CallForAllHelp& help) {
        return app.exit(help);
    } catch (const CLI::ParseError& error) {
        if (line.version) return ShowVersion(line);
        return ReportUsage(app, error, words);
    }
    ApplyModelsFolder(line);
    try {
        return Run(app, line);
    } catch (const std::exception& error) {
        cvdr::ReportError(error.what());
        return cvdr::kExitFailure;
    }
}
