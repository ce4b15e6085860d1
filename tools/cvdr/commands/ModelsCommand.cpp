#include "commands/ModelsCommand.h"

#include "container/DeviceModelCandidate.h"
#include "container/DeviceModelLookup.h"
#include "formats/Utf8Text.h"
#include "platform/DirectoryListing.h"
#include "platform/TextConversion.h"
#include "settings/LoadOptions.h"

namespace cvdr {
namespace {

void ListCandidates(std::ostream& out, const container::DeviceModelCandidates& candidates) {
    out << "candidates: " << candidates.All().size() << "\n";
    for (const container::DeviceModelCandidate& candidate : candidates.All()) {
        const bool deviceContainer = platform::HasExtensionIgnoringCase(candidate.fileName, ".DeCon");
        out << "  " << PrintableText(candidate.type) << "  " << PrintableText(candidate.version) << "  "
            << PrintableText(candidate.fileName) << "  "
            << (deviceContainer ? "device container" : "model file") << (candidate.compressed ? ", compressed" : "")
            << "\n";
    }
}

}  // namespace

int RunModels(const ModelsRequest& request, std::ostream& out) {
    const std::wstring optionText = platform::Utf8ToWide(request.options);
    const settings::LoadOptions options = settings::ParseLoadOptions(optionText.c_str());
    container::DeviceModelLookup lookup;
    if (request.version.empty()) {
        const std::string folder = lookup.FolderFor(options);
        container::DeviceModelCandidates candidates(folder, 0);
        candidates.List();
        candidates.Finish();
        out << "folder: " << PrintableText(folder) << "\nproduct line: 0 (all device containers and model files)\n";
        ListCandidates(out, candidates);
        if (request.device.empty()) return 0;
        std::string versions;
        for (const container::DeviceModelCandidate& candidate : candidates.All()) {
            if (candidate.type == request.device) versions += " " + PrintableText(candidate.version);
        }
        out << "versions of " << PrintableText(request.device) << ":" << (versions.empty() ? " none" : versions)
            << "\n";
        return versions.empty() ? 1 : 0;
    }
    std::string path;
    devicemodel::DeviceModelError error;
    const bool found = lookup.FindAndLoadFor(options, platform::Utf8ToWide(request.device),
                                             platform::Utf8ToWide(request.version), path, error);
    out << "folder: " << PrintableText(lookup.SearchedFolder()) << "\nproduct line: " << lookup.SearchedProductLine()
        << "\n";
    if (lookup.Candidates() != nullptr) ListCandidates(out, *lookup.Candidates());
    out << "device: " << PrintableText(request.device) << " " << PrintableText(request.version) << "\n";
    if (path.empty()) {
        out << "selected: none (no candidate has exactly this type and version)\n";
        return 1;
    }
    out << "selected: " << PrintableText(path) << "\n";
    std::string text = error.text;
    for (char& c : text) c = c == '\n' ? ' ' : c;
    text = PrintableText(text);
    const std::string failure = error.code == 0 ? "failed: the file holds no model text"
                                                : "failed, error " + std::to_string(error.code) + ": " + text;
    out << "check load: " << (found ? "passed" : failure) << "\n";
    return found ? 0 : 1;
}

}  // namespace cvdr
