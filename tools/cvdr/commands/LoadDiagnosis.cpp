#include "commands/LoadDiagnosis.h"

#include <pugixml.hpp>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <utility>

#include "container/DeviceModelLookup.h"
#include "container/RecordContainer.h"
#include "container/ZipArchive.h"
#include "platform/FileAccess.h"
#include "platform/TextConversion.h"
#include "module/LoadSequence.h"
#include "record/DisturbanceRecord.h"
#include "settings/LoadOptions.h"

namespace cvdr {
namespace {

namespace fs = std::filesystem;

// The reason for a step refused by the load's budget.
std::string OverBudget(const std::string& what) {
    return what + " over the load budget of " + std::to_string(platform::LoadBudget::kDefaultBytes >> 20) + " MiB";
}

// The file's bytes as the load reads them, within `budget`: the file, or a
// container's record entry. Empty reason when read.
std::string ReadRecordText(const std::string& file, std::vector<LoadStep>& steps, platform::LoadBudget& budget,
                           std::string& text) {
    std::error_code error;
    const fs::file_status status = fs::status(file, error);
    if (error || !fs::exists(status)) return "No such file or directory";
    if (fs::is_directory(status)) return "is a folder";
    const uintmax_t size = fs::file_size(file, error);
    if (!error && size == 0) return "empty file";
    const std::wstring path = platform::Utf8ToWide(file);
    container::RecordContainer container(budget);
    if (!container.IsContainer(path)) {
        int readError = 0;
        if (platform::ReadWholeFile(file, text, readError, budget)) return "";
        return budget.Refused() ? OverBudget("file") : std::string("cannot read: ") + std::strerror(readError);
    }
    steps.push_back({"file", ""});
    container::ZipArchive archive;
    if (!archive.Open(path)) return "not a valid ZIP archive";
    if (!container.OpenContainer(path)) {
        return budget.Refused() ? OverBudget("the entries inflate")
                                : "container check failed: " + OneLine(container.ErrorText());
    }
    if (!container.ReadRecorderData(text)) {
        return budget.Refused() ? OverBudget("the RecorderData entry inflates")
                                : "the container holds no readable RecorderData entry";
    }
    return "";
}

std::string XmlProblem(const std::string& text, const platform::LoadBudget& budget) {
    if (platform::ParsedXmlBytes(text) > budget.Remaining()) return OverBudget("the XML document is");
    pugi::xml_document document;
    const pugi::xml_parse_result result =
        document.load_buffer(text.data(), text.size(), pugi::parse_default, pugi::encoding_utf8);
    if (!result) {
        const auto end = text.begin() + std::min<ptrdiff_t>(std::max<ptrdiff_t>(result.offset, 0),
                                                            static_cast<ptrdiff_t>(text.size()));
        const auto line = 1 + std::count(text.begin(), end, '\n');
        const auto lineStart = std::find(std::make_reverse_iterator(end), text.rend(), '\n').base();
        return "XML error at line " + std::to_string(line) + ", column " +
               std::to_string(end - lineStart + 1) + ": " + result.description();
    }
    const pugi::xml_node root = document.document_element();
    if (!root) return "not a record (no root element)";
    if (std::strcmp(root.name(), "DistFile") != 0) {
        return std::string("not a record (root element is ") + root.name() + ", expected DistFile)";
    }
    return "";
}

std::string HeaderProblem(record::DisturbanceRecord& record) {
    int32_t samples = 0;
    if (!record.GetSampleCount(samples)) return "no sample count";
    if (samples < 0) return "negative sample count " + std::to_string(samples);
    if (samples > record::kMaxSampleCount) {
        return "sample count " + std::to_string(samples) + " is over the most a record may declare, " +
               std::to_string(record::kMaxSampleCount);
    }
    if (!record.LoadAnalogSection()) {
        return record.Budget().Refused() ? OverBudget("the analog samples are") : "no analog section, or a damaged one";
    }
    double interval = 0.0;
    if (!record.GetSampleDuration(interval)) return "no sample interval";
    std::wstring trigger;
    if (!record.GetTriggerTimeText(trigger)) return "no trigger time, or one out of range";
    int64_t offset = 0;
    if (!record.GetTriggerSampleOffset(offset)) return "no trigger sample or first sample number";
    if (offset < 0 && (offset < -record::kMaxSampleCount || samples - offset > record::kMaxSampleCount)) {
        return "the trigger lies " + std::to_string(-offset) +
               " samples before the first sample, beyond the most a record may declare";
    }
    return "";
}

}  // namespace

std::string OneLine(const std::string& text) {
    std::string flat;
    for (char c : text) {
        if (c == '\r') continue;
        flat += c == '\n' ? std::string(" / ") : std::string(1, c);
    }
    while (flat.size() >= 3 && flat.compare(flat.size() - 3, 3, " / ") == 0) flat.resize(flat.size() - 3);
    return flat;
}

std::vector<LoadStep> DiagnoseLoadSteps(const std::string& file) {
    std::vector<LoadStep> steps;
    std::string text;
    platform::LoadBudget budget;  // one, as the load has
    const auto step = [&steps](const char* name, const std::string& reason) {
        steps.push_back({name, reason});
        return reason.empty();
    };
    const std::string readProblem = ReadRecordText(file, steps, budget, text);
    const char* readStep = steps.empty() ? "file" : "container";
    if (!step(readStep, readProblem) || !step("xml", XmlProblem(text, budget))) return steps;
    record::DisturbanceRecord record(budget);
    record.OpenText(std::move(text));
    std::wstring name, version;
    if (!step("device", !record.GetDeviceName(name)         ? "no device name"
                        : !record.GetDeviceVersion(version) ? "no device version"
                                                            : "")) {
        return steps;
    }
    step("header", HeaderProblem(record));
    return steps;
}

std::string LoadFailureReason(const std::string& file) {
    const std::vector<LoadStep> steps = DiagnoseLoadSteps(file);
    if (!steps.back().reason.empty()) return steps.back().reason;
    return "the channel data does not fit together (digital section or analog traces)";
}

std::string NamesLanguage(const std::string& file, const std::string& description, const std::string& language,
                          const std::string& options) {
    const std::wstring path = platform::Utf8ToWide(file);
    const std::wstring wanted = platform::AnsiToWide(language);
    std::string text;
    std::wstring used;
    container::RecordContainer container;
    if (container.IsContainer(path)) {
        if (container.OpenForListing(path) && ReadContainerLanguage(container, wanted, text, used)) {
            return platform::WideToUtf8(used);
        }
        return "none (named from keys)";
    }
    // The description is the device name, three spaces and the version; a
    // name that holds three spaces itself leaves more than one way to split.
    // Of a name or version only what the lookup looks at is converted.
    const std::string_view identity(description);
    const size_t kept = container::kLookedAtNameBytes;
    const std::wstring optionText = platform::Utf8ToWide(options);
    const settings::LoadOptions loadOptions = settings::ParseLoadOptions(optionText.c_str());
    for (size_t gap = identity.find("   "); gap != std::string_view::npos; gap = identity.find("   ", gap + 1)) {
        container::DeviceModelLookup lookup;
        FolderModel model;
        const std::wstring name = platform::Utf8ToWide(identity.substr(0, std::min(gap, kept)));
        const std::wstring version = platform::Utf8ToWide(identity.substr(gap + 3, kept));
        if (FindFolderModel(lookup, loadOptions, name, version, wanted, model)) return language;
    }
    return "none (named from keys)";
}

std::string LoadFailureMessage(const std::string& file) {
    return file + ": cannot load the record: " + LoadFailureReason(file);
}

}  // namespace cvdr
