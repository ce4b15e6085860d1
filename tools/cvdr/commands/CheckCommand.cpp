#include "commands/CheckCommand.h"

#include "commands/LoadDiagnosis.h"

#include <memory>

#include "container/ContainerMetaData.h"
#include "container/DeviceModelLookup.h"
#include "container/RecordContainer.h"
#include "container/ZipArchive.h"
#include "devicemodel/CDataModelToHMI.h"
#include "dr_mvq4/DisturbanceDataReader.h"
#include "formats/Utf8Text.h"
#include "module/LoadSequence.h"
#include "platform/TextConversion.h"
#include "record/DisturbanceRecord.h"
#include "settings/LoadOptions.h"

namespace cvdr {
namespace {

// One line "label: value", with the decoder's multi-line texts on one line
// and control characters, as a record or a model may hold, escaped.
void Step(std::ostream& out, const std::string& label, const std::string& value) {
    out << label << ": " << PrintableText(OneLine(value)) << "\n";
}

struct ModelTexts {
    std::string model;
    std::string language;
    bool found = false;  // a model and language texts were found for the record
};

bool CheckModelTexts(std::ostream& out, const ModelTexts& texts) {
    devicemodel::CDataModelToHMI model;
    devicemodel::DeviceModelError error;
    const bool loaded = model.Load(texts.model, error);
    Step(out, "device model", loaded ? "loaded" : "error " + std::to_string(error.code) + ": " + error.text);
    const bool language = model.LoadLanguage(texts.language);
    Step(out, "language document", language ? "checksum passed" : "checksum failed or not well-formed");
    return loaded && language;
}

bool CheckContainer(std::ostream& out, const std::wstring& path, const std::wstring& language, ModelTexts& texts,
                    size_t& replacements) {
    platform::LoadBudget budget;  // the load's, for both looks at the archive
    container::ZipArchive archive;
    std::string metaText, nameSLVP, checksum, version;
    container::ContainerMetaData meta;
    const std::string metaProblem = !archive.Open(path)                             ? "not a valid ZIP archive"
                                    : !archive.ReadEntry("MetaData", metaText, budget) ? "no MetaData entry"
                                    : !meta.Load(metaText, nameSLVP, checksum)         ? meta.ErrorText()
                                                                                       : "";
    Step(out, "meta data", metaProblem.empty() ? "checksum passed" : "failed: " + metaProblem);
    if (meta.Attribute("versionSyntax", version)) Step(out, "syntax version", version);
    container::RecordContainer record(budget);
    const bool opened = record.OpenContainer(path);
    Step(out, "container data", opened ? "checksum passed" : "failed: " + record.ErrorText());
    if (!opened) return false;
    record.ReadDeviceModel(texts.model);
    std::wstring used;
    const bool found = ReadContainerLanguage(record, language, texts.language, used);
    Step(out, "language entry", found ? "DeviceModel_l_" + platform::WideToUtf8(used) : "none");
    devicemodel::ExtendedSettingsSet settings;
    record.ReadExtendedSettings(settings);
    replacements = settings.textReplacements.size() + settings.overloads.size();
    const std::string settingsError = record.ExtendedSettings().ErrorText();
    Step(out, "text replacements", std::to_string(settings.textReplacements.size()) + " replacements, " +
                                       std::to_string(settings.overloads.size()) + " overloads" +
                                       (settingsError.empty() ? "" : " (" + settingsError + ")"));
    texts.found = found;
    return found;
}

bool CheckFolder(std::ostream& out, const std::wstring& path, const std::wstring& language,
                 const settings::LoadOptions& options, ModelTexts& texts) {
    record::DisturbanceRecord record;
    std::wstring name, version;
    if (!record.Open(path) || !record.GetDeviceName(name) || !record.GetDeviceVersion(version)) {
        Step(out, "record", "failed: " + LoadFailureReason(platform::WideToUtf8(path)));
        return false;
    }
    container::DeviceModelLookup lookup;
    FolderModel model;
    texts.found = FindFolderModel(lookup, options, name, version, language, model);
    Step(out, "device", platform::WideToUtf8(name) + " " + platform::WideToUtf8(version));
    Step(out, "model folder", lookup.SearchedFolder());
    Step(out, "model file", model.modelPath.empty() ? "none matches (see cvdr models)" : model.modelPath);
    if (!model.modelLoaded) return false;
    Step(out, "language texts",
         model.languageInContainer ? "container entry"
                                   : (model.languagePath.empty() ? "none" : model.languagePath));
    texts.model = model.modelText;
    texts.language = model.languageText;
    return texts.found;
}

void CountNamedChannels(std::ostream& out, const CheckRequest& request, const std::wstring& path) {
    DisturbanceDataReader* reader = nullptr;
    const std::wstring options = platform::Utf8ToWide(request.options);
    if (!LoadDisturbanceFile(&reader, path.c_str(), request.language.c_str(), options.c_str())) {
        Step(out, "channels", "failed: the record does not load: " + LoadFailureReason(request.file));
        return;
    }
    std::unique_ptr<DisturbanceDataReader> owned(reader);
    int named = 0, total = 0;
    const auto count = [&](GenericChannelReader* channel) {
        const std::string channelName = channel->GetMetadata()->GetName();
        ++total;
        if (channelName.empty() || (channelName[0] != '[' && channelName[0] != '{')) ++named;
    };
    for (int i = 0; i < reader->GetAnalogChannelCount(); ++i) count(reader->GetAnalogChannel(i));
    for (int i = 0; i < reader->GetDigitalChannelCount(); ++i) count(reader->GetDigitalChannel(i));
    for (int i = 0; i < reader->GetLogicalChannelCount(); ++i) count(reader->GetLogicalChannel(i));
    Step(out, "channels named", std::to_string(named) + " of " + std::to_string(total));
}

}  // namespace

int RunCheck(const CheckRequest& request, std::ostream& out) {
    const std::wstring path = platform::Utf8ToWide(request.file);
    const std::wstring language = platform::AnsiToWide(request.language);  // as the load reads it
    const std::wstring optionText = platform::Utf8ToWide(request.options);
    const settings::LoadOptions options = settings::ParseLoadOptions(optionText.c_str());
    Step(out, "file", request.file);
    container::RecordContainer probe;
    const bool isContainer = probe.IsContainer(path);
    Step(out, "container", isContainer ? "yes" : "no, a plain record file");
    ModelTexts texts;
    size_t replacements = 0;
    bool verified = isContainer ? CheckContainer(out, path, language, texts, replacements)
                                : CheckFolder(out, path, language, options, texts);
    if (texts.found) verified = CheckModelTexts(out, texts) && verified;
    CountNamedChannels(out, request, path);
    Step(out, "result", verified ? "verified" : "not verified");
    return verified ? 0 : 1;
}

}  // namespace cvdr
