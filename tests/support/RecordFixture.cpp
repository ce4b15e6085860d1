#include "support/RecordFixture.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <stdexcept>

#include "platform/TextConversion.h"
#include "support/Environment.h"

namespace fixture {

std::string Values(const std::vector<int64_t>& values) {
    std::string text;
    for (size_t i = 0; i < values.size(); ++i) {
        if (i > 0) text += ' ';
        text += std::to_string(values[i]);
    }
    return text;
}

RecordBuilder::RecordBuilder() {
    pugi::xml_node declaration = m_document.append_child(pugi::node_declaration);
    declaration.append_attribute("version") = "1.0";
    declaration.append_attribute("encoding") = "UTF-8";
    m_document.append_child("DistFile");
    Device("CVR87", "V04.10.02");
    Timing("0.001", "1", "1000000");
    // 1700000000 s = 2023-11-14 22:13:20 UTC; the offset adds 250 ms.
    Trigger("1700000000000000", "250000", "1100");
    Path("DistHeader/AnalogHeader", true);
    Path("DistHeader/DigitalHeader", true);
    LostEvents("0");
    Path("DistData/Traces", true);
    Path("DistData/Events", true);
    Path("DistData/StateImage", true);
}

RecordBuilder::RecordBuilder(const RecordBuilder& other)
    : m_numberOfSamples(other.m_numberOfSamples), m_numberOfSamplesFixed(other.m_numberOfSamplesFixed) {
    m_document.reset(other.m_document);
}

pugi::xml_node RecordBuilder::Path(const std::string& path, bool create) {
    pugi::xml_node node = m_document.document_element();
    std::stringstream parts(path);
    std::string part;
    while (node && std::getline(parts, part, '/')) {
        pugi::xml_node child = node.child(part.c_str());
        if (!child && create) child = node.append_child(part.c_str());
        node = child;
    }
    return node;
}

RecordBuilder& RecordBuilder::Set(const std::string& path, const std::string& attribute, const std::string& value) {
    pugi::xml_node node = Path(path, true);
    pugi::xml_attribute attr = node.attribute(attribute.c_str());
    if (!attr) attr = node.append_attribute(attribute.c_str());
    attr.set_value(value.c_str());
    return *this;
}

RecordBuilder& RecordBuilder::Remove(const std::string& path, const std::string& attribute) {
    pugi::xml_node node = Path(path, false);
    if (!node) return *this;
    if (attribute.empty()) {
        node.parent().remove_child(node);
    } else {
        node.remove_attribute(attribute.c_str());
    }
    return *this;
}

RecordBuilder& RecordBuilder::Device(const std::string& name, const std::string& version) {
    return Set("DistHeader/Common/Device", "Name", name).Set("DistHeader/Common/Device", "Version", version);
}

RecordBuilder& RecordBuilder::Timing(const std::string& sampleDuration, const std::string& adjust1,
                                     const std::string& adjust2) {
    Set("DistHeader/Common/Timing", "sampleDuration", sampleDuration);
    Set("DistHeader/Common/Timing", "timeAdjust1", adjust1);
    return Set("DistHeader/Common/Timing", "timeAdjust2", adjust2);
}

RecordBuilder& RecordBuilder::Trigger(const std::string& timeCount, const std::string& timeOffset,
                                      const std::string& timeSample) {
    Set("DistData/Common/Trigger", "timeCount", timeCount);
    Set("DistData/Common/Trigger", "timeOffset", timeOffset);
    return Set("DistData/Common/Trigger", "timeSample", timeSample);
}

RecordBuilder& RecordBuilder::TimeZone(const std::string& timezoneOffset, const std::string& dstOffset) {
    Set("DistData/Common/Trigger", "timezoneOffset", timezoneOffset);
    return Set("DistData/Common/Trigger", "dstOffset", dstOffset);
}

RecordBuilder& RecordBuilder::LostEvents(const std::string& count) {
    return Set("DistData/Common/EventLost", "noOfLosts", count);
}

RecordBuilder& RecordBuilder::NumberOfSamples(const std::string& count) {
    m_numberOfSamples = count;
    m_numberOfSamplesFixed = true;
    UpdateNumberOfSamples();
    return *this;
}

void RecordBuilder::UpdateNumberOfSamples() {
    for (pugi::xml_node trace : Path("DistData/Traces", true).children("Trace")) {
        pugi::xml_node general = trace.child("TGeneral");
        pugi::xml_attribute count = general.attribute("numberOfSample");
        if (!count) count = general.append_attribute("numberOfSample");
        count.set_value(m_numberOfSamples.c_str());
    }
}

RecordBuilder& RecordBuilder::AnalogHeaderAttribute(const std::string& name, const std::string& value) {
    return Set("DistHeader/AnalogHeader", name, value);
}

RecordBuilder& RecordBuilder::AddAnalog(const Analog& analog) {
    pugi::xml_node definition = Path("DistHeader/AnalogHeader", true).append_child("Analog");
    const auto attribute = [](pugi::xml_node node, const char* name, const std::string& value) {
        if (!value.empty()) node.append_attribute(name) = value.c_str();
    };
    attribute(definition, "id", analog.id);
    attribute(definition, "_key", analog.key);
    attribute(definition, "unitId", analog.unitId);
    attribute(definition, "_unit", analog.unit);
    attribute(definition, "xOffsetEnabled", analog.xOffsetEnabled);
    for (const Scale& scale : analog.scales) {
        pugi::xml_node element = definition.append_child("Scale");
        attribute(element, "scaleFactor", scale.factor);
        attribute(element, "scaleOffset", scale.offset);
        attribute(element, "refEnable", scale.refEnable);
    }
    if (!analog.withTrace) return *this;
    pugi::xml_node trace = Path("DistData/Traces", true).append_child("Trace");
    trace.append_child("TGeneral").append_attribute("id") = analog.id.c_str();
    size_t samples = 0;
    for (const Block& block : analog.blocks) {
        pugi::xml_node data = trace.append_child("Data");
        data.append_attribute("sampleCount") = block.sampleCount.c_str();
        data.append_attribute("values") = block.values.c_str();
        samples += static_cast<size_t>(std::count(block.values.begin(), block.values.end(), ' ')) + 1;
    }
    if (!m_numberOfSamplesFixed) {
        const long long current = m_numberOfSamples.empty() ? 0 : std::stoll(m_numberOfSamples);
        m_numberOfSamples = std::to_string(std::max<long long>(current, static_cast<long long>(samples)));
    }
    UpdateNumberOfSamples();
    return *this;
}

RecordBuilder& RecordBuilder::AddAnalog(const std::string& id, const std::string& key,
                                        const std::vector<int64_t>& values, int64_t firstSample) {
    Analog analog;
    analog.id = id;
    analog.key = key;
    analog.blocks.push_back(Block{std::to_string(firstSample), Values(values)});
    return AddAnalog(analog);
}

RecordBuilder& RecordBuilder::AddDigital(const std::string& id, const std::string& key, const std::string& dataLength,
                                         const std::string& normalState) {
    pugi::xml_node digital = Path("DistHeader/DigitalHeader", true).append_child("Digital");
    digital.append_attribute("id") = id.c_str();
    if (!key.empty()) digital.append_attribute("_key") = key.c_str();
    if (!dataLength.empty()) digital.append_attribute("dataLength") = dataLength.c_str();
    if (!normalState.empty()) digital.append_attribute("normalState") = normalState.c_str();
    return *this;
}

RecordBuilder& RecordBuilder::AddStateImage(const std::string& id, const std::string& value) {
    pugi::xml_node data = Path("DistData/StateImage", true).append_child("Data");
    data.append_attribute("id") = id.c_str();
    data.append_attribute("value") = value.c_str();
    return *this;
}

RecordBuilder& RecordBuilder::AddEventSet(const std::string& timeSample, const std::vector<Event>& events) {
    pugi::xml_node set = Path("DistData/Events", true).append_child("EventSet");
    set.append_child("EGeneral").append_attribute("timeSample") = timeSample.c_str();
    for (const Event& event : events) {
        pugi::xml_node element = set.append_child("Event");
        element.append_attribute("id") = event.id.c_str();
        element.append_attribute("no") = event.no.c_str();
        element.append_attribute("value") = event.value.c_str();
        element.append_attribute("previousValue") = event.previousValue.c_str();
        if (!event.key.empty()) element.append_attribute("_key") = event.key.c_str();
    }
    return *this;
}

std::string RecordBuilder::Xml() const {
    std::ostringstream out;
    m_document.save(out, "  ", pugi::format_default, pugi::encoding_utf8);
    return out.str();
}

TempDir::TempDir(const std::string& parent) {
    const std::filesystem::path base =
        parent.empty() ? std::filesystem::temp_directory_path() : std::filesystem::u8path(parent);
    std::random_device random;
    for (int attempt = 0; attempt < 100 && m_path.empty(); ++attempt) {
        const std::filesystem::path candidate = base / ("dr_mvq4-test-" + std::to_string(random()));
        if (std::filesystem::create_directory(candidate)) m_path = candidate.u8string();
    }
    if (m_path.empty()) throw std::runtime_error("cannot make a temporary folder");
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(std::filesystem::u8path(m_path), ignored);
}

std::string TempDir::Write(const std::string& name, const std::string& bytes) const {
    const std::string path = m_path + "/" + name;
    WriteFile(path, bytes);
    return path;
}

void WriteFile(const std::string& path, const std::string& bytes) {
    const std::filesystem::path file = std::filesystem::u8path(path);
    std::filesystem::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path);
}

bool TellsNamesApartByCase(const std::string& folder) {
    const std::filesystem::path lower = std::filesystem::u8path(folder) / "case-probe";
    const std::filesystem::path upper = std::filesystem::u8path(folder) / "CASE-PROBE";
    WriteFile(lower.u8string(), "lower");
    WriteFile(upper.u8string(), "upper");
    std::ifstream in(lower, std::ios::binary);
    const std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    in.close();
    std::error_code ignored;
    std::filesystem::remove(lower, ignored);
    std::filesystem::remove(upper, ignored);
    return content == "lower";
}

ScopedEnv::ScopedEnv(const char* name, const char* value) : m_name(name) {
    if (const char* old = std::getenv(name)) m_old = old;
    SetEnvironment(name, value);
}

ScopedEnv::~ScopedEnv() { SetEnvironment(m_name.c_str(), m_old ? m_old->c_str() : nullptr); }

std::wstring Wide(const std::string& utf8) { return platform::Utf8ToWide(utf8); }

}  // namespace fixture
