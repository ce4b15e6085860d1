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
namespace {

// Appends element `name` with the attributes (names and values alternately)
// whose values are not empty.
pugi::xml_node Append(pugi::xml_node parent, const char* name,
                      std::initializer_list<std::string> attributes) {
    pugi::xml_node node = parent.append_child(name);
    for (auto it = attributes.begin(); it != attributes.end(); it += 2) {
        if (!it[1].empty()) node.append_attribute(it->c_str()) = it[1].c_str();
    }
    return node;
}

}  // namespace

void SetAttribute(pugi::xml_node node, const std::string& name, const std::string& value) {
    pugi::xml_attribute attribute = node.attribute(name.c_str());
    if (!attribute) attribute = node.append_attribute(name.c_str());
    attribute.set_value(value.c_str());
}

void RemoveNode(pugi::xml_node node, const std::string& attribute) {
    if (!attribute.empty()) node.remove_attribute(attribute.c_str());
    if (attribute.empty()) node.parent().remove_child(node);
}

std::string Values(const std::vector<int64_t>& values) {
    std::string text;
    for (const int64_t value : values) text += (text.empty() ? "" : " ") + std::to_string(value);
    return text;
}

RecordBuilder::RecordBuilder() {
    m_document.load_string(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?><DistFile>"
        "<DistHeader><Common/><AnalogHeader/><DigitalHeader/></DistHeader>"
        "<DistData><Common/><Traces/><Events/><StateImage/></DistData></DistFile>",
        pugi::parse_default | pugi::parse_declaration);
    Device("CVR87", "V04.10.02").Timing("0.001", "1", "1000000");
    // 1700000000 s = 2023-11-14 22:13:20 UTC; the offset adds 250 ms.
    Trigger("1700000000000000", "250000", "1100").LostEvents("0");
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

RecordBuilder& RecordBuilder::Set(const std::string& path, const std::string& attribute,
                                  const std::string& value) {
    SetAttribute(Path(path, true), attribute, value);
    return *this;
}

RecordBuilder& RecordBuilder::Remove(const std::string& path, const std::string& attribute) {
    RemoveNode(Path(path, false), attribute);
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
        SetAttribute(trace.child("TGeneral"), "numberOfSample", m_numberOfSamples);
    }
}

RecordBuilder& RecordBuilder::AnalogHeaderAttribute(const std::string& name, const std::string& value) {
    return Set("DistHeader/AnalogHeader", name, value);
}

RecordBuilder& RecordBuilder::AddAnalog(const Analog& analog) {
    pugi::xml_node definition = Append(Path("DistHeader/AnalogHeader", true), "Analog",
                                       {"id", analog.id, "_key", analog.key, "unitId", analog.unitId, "_unit",
                                        analog.unit, "xOffsetEnabled", analog.xOffsetEnabled});
    for (const Scale& scale : analog.scales) {
        Append(definition, "Scale",
               {"scaleFactor", scale.factor, "scaleOffset", scale.offset, "refEnable", scale.refEnable});
    }
    if (!analog.withTrace) return *this;
    pugi::xml_node trace = Path("DistData/Traces", true).append_child("Trace");
    Append(trace, "TGeneral", {"id", analog.id});
    size_t samples = 0;
    for (const Block& block : analog.blocks) {
        Append(trace, "Data", {"sampleCount", block.sampleCount, "values", block.values});
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

RecordBuilder GapBomb(int channels, int64_t gap) {
    RecordBuilder record;
    for (int i = 1; i <= channels; ++i) {
        Analog analog;
        analog.id = std::to_string(i);
        analog.key = "I" + analog.id;
        analog.blocks = {Block{"1000", "1"}, Block{std::to_string(1001 + gap), "1"}};
        record.AddAnalog(analog);
    }
    return record.NumberOfSamples(std::to_string(gap + 2));
}

RecordBuilder DeclaredSamples(int signals, int64_t samples, bool logical) {
    RecordBuilder record;
    record.AddAnalog("1", "I", {1}).NumberOfSamples(std::to_string(samples));
    for (int i = 1; i <= signals; ++i) {
        const std::string id = std::to_string(100 + i);
        record.AddDigital(id, "S" + id, logical ? "8" : "").AddStateImage(id, "0");
        record.AddEventSet(std::to_string(1000 + samples - 1), {Event(id, "1", "0")});
    }
    return record;
}

RecordBuilder& RecordBuilder::AddDigital(const std::string& id, const std::string& key,
                                         const std::string& dataLength, const std::string& normalState) {
    Append(Path("DistHeader/DigitalHeader", true), "Digital",
           {"id", id, "_key", key, "dataLength", dataLength, "normalState", normalState});
    return *this;
}

RecordBuilder& RecordBuilder::AddStateImage(const std::string& id, const std::string& value) {
    Append(Path("DistData/StateImage", true), "Data", {"id", id, "value", value});
    return *this;
}

RecordBuilder& RecordBuilder::AddEventSet(const std::string& timeSample, const std::vector<Event>& events) {
    pugi::xml_node set = Path("DistData/Events", true).append_child("EventSet");
    Append(set, "EGeneral", {"timeSample", timeSample});
    for (const Event& event : events) {
        Append(set, "Event",
               {"id", event.id, "no", event.no, "value", event.value, "previousValue", event.previousValue,
                "_key", event.key});
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
