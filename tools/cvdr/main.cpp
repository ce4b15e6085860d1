// cvdr: command-line host of the disturbance-record decoder plug-in.
//
//   cvdr [--plugin PATH] info FILE [--lang CODE] [--options STRING]
//   cvdr [--plugin PATH] dump FILE --json [--no-samples] [--lang CODE] [--options STRING]
//
// Exit status: 0 success, 1 record or plug-in not loaded or output not
// written, 2 wrong usage.
#include <CLI/CLI.hpp>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "Diagnostics.h"
#include "DumpCommand.h"
#include "InfoCommand.h"
#include "RecordSession.h"

namespace {

struct CommandLine {
    cvdr::RecordRequest request;
    bool json = false;
    bool noSamples = false;
};

void AddRecordOptions(CLI::App& command, cvdr::RecordRequest& request) {
    command.add_option("file", request.file, "Record file")->required();
    command.add_option("--lang", request.language, "Language code handed to the plug-in")
        ->capture_default_str();
    command.add_option("--options", request.options, "Option string handed to the plug-in");
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
}

int Run(const CLI::App& app, const CommandLine& line) {
    if (app.got_subcommand("info")) return cvdr::RunOnRecord(line.request, cvdr::WriteInfo);
    cvdr::DumpOptions options;
    options.samples = !line.noSamples;
    return cvdr::RunOnRecord(line.request, [&options](DisturbanceDataReader& reader, std::ostream& out) {
        cvdr::WriteDump(reader, options, out);
    });
}

// The plug-in's option string itself starts with a dash ("-Key:value"): the
// word after --options or --lang is always that option's value, so join the
// two before the parser could take it for an option of its own.
std::vector<std::string> JoinOptionValues(int argc, char** argv) {
    std::vector<std::string> words(argv, argv + argc);
    std::vector<std::string> joined;
    for (size_t i = 0; i < words.size(); ++i) {
        if ((words[i] == "--options" || words[i] == "--lang") && i + 1 < words.size()) {
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
