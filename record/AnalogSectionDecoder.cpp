#include "record/AnalogSectionDecoder.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "platform/NumberParsing.h"
#include "record/XmlAccess.h"
#include "settings/RegistrySettings.h"

namespace record {
namespace {

// Whether `traces` holds a Trace whose TGeneral id text equals `id`. The walk
// stops at the first Trace without an id.
bool HasTrace(pugi::xml_node traces, std::string_view id) {
    for (pugi::xml_node trace : traces.children("Trace")) {
        std::string_view traceId;
        if (!GetPathAttribute(trace, {"TGeneral"}, "id", traceId)) return false;
        if (traceId == id) return true;
    }
    return false;
}

// The general rule: backspace, line feed and tab removed, the rest split at
// blanks, each piece read as _atoi64 reads it.
void AppendJoinedValues(const char* values, SampleStore& samples) {
    std::string joined;
    for (const char* c = values; *c != '\0'; ++c) {
        if (*c != '\b' && *c != '\n' && *c != '\t') joined.push_back(*c);
    }
    const std::string_view text(joined);
    size_t position = 0;
    while (position < text.size()) {
        size_t end = text.find(' ', position);
        if (end == std::string_view::npos) end = text.size();
        if (end > position) samples.AppendValue(platform::ParseInt64(text.substr(position, end - position)));
        position = end + 1;
    }
}

// The fewest samples `trace` adds to its store: each block up to the first
// that DecodeTrace refuses fills the trace to at least its start and brings
// one value or more.
uint64_t LeastSamples(pugi::xml_node trace) {
    bool baseSet = false;
    int64_t base = 0, least = 0;
    for (pugi::xml_node child : trace.children()) {
        std::string_view text;
        if (std::strcmp(child.name(), "TGeneral") == 0) {
            if (!GetPathAttribute(child, {}, "numberOfSample", text)) break;
        } else if (std::strcmp(child.name(), "Data") == 0) {
            if (!GetPathAttribute(child, {}, "sampleCount", text)) break;
            const int64_t sampleNumber = platform::ParseInt32(text);
            if (!baseSet) base = sampleNumber, baseSet = true;
            if (sampleNumber - base > kMaxSampleCount || *child.attribute("values").value() == '\0') break;
            least = std::max(least, sampleNumber - base + 1);
        }
    }
    return static_cast<uint64_t>(least);
}

}  // namespace

bool DisturbanceRecord::LoadAnalogSection() { return AnalogSectionDecoder(*this).Load(); }

bool AnalogSectionDecoder::Load() {
    m_header = FindPath(m_record.Root(), {"DistHeader", "AnalogHeader"});
    if (!m_header) return false;
    // Nothing reads a trace past the record's sample count; and a record
    // text holds at most one sample per two bytes, whatever it declares.
    int32_t declared = 0;
    m_kept = m_record.GetSampleCount(declared) && declared >= 0 ? static_cast<size_t>(declared)
                                                                 : std::numeric_limits<size_t>::max();
    m_reserveLeft = m_record.TextSize() / 2 + 1;
    const pugi::xml_node traces = FindPath(m_record.Root(), {"DistData", "Traces"});
    for (pugi::xml_node analog : m_header.children("Analog")) ReadDefinition(analog, traces);
    RemoveDuplicateIds();
    if (!traces || !SamplesFitBudget(traces)) return false;
    for (pugi::xml_node trace : traces.children("Trace")) {
        AnalogTrace* definition = DefinitionOf(trace);
        if (definition != nullptr) DecodeTrace(trace, *definition);
        if (m_overBudget) return false;
    }
    RemoveReserveChannels();
    const std::vector<AnalogTrace>& definitions = m_record.AnalogTraces();
    if (!definitions.empty()) m_record.SetAnalogSampleCount(definitions.front().samples.Size());
    return true;
}

AnalogTrace* AnalogSectionDecoder::DefinitionOf(pugi::xml_node trace) {
    std::string_view idText;
    if (!GetPathAttribute(trace, {"TGeneral"}, "id", idText)) return nullptr;
    const int32_t id = platform::ParseInt32(idText);
    std::vector<AnalogTrace>& definitions = m_record.AnalogTraces();
    const auto found = std::find_if(definitions.begin(), definitions.end(),
                                    [id](const AnalogTrace& candidate) { return candidate.id == id; });
    return found == definitions.end() ? nullptr : &*found;
}

// The cheapest refusal comes first: before any sample is stored, the fewest
// samples the traces can end with, at 4 bytes each, must fit the budget. A
// gap bomb fails here, at no cost.
bool AnalogSectionDecoder::SamplesFitBudget(pugi::xml_node traces) {
    std::unordered_map<const AnalogTrace*, uint64_t> least;
    for (pugi::xml_node trace : traces.children("Trace")) {
        const AnalogTrace* definition = DefinitionOf(trace);
        if (definition != nullptr) least[definition] += LeastSamples(trace);
    }
    uint64_t total = 0;
    for (const auto& [definition, count] : least) total += std::min<uint64_t>(count, m_kept);
    platform::LoadBudget& budget = m_record.Budget();
    if (!budget.Reserve(total, sizeof(int32_t))) return false;
    budget.Release(total * sizeof(int32_t));
    return true;
}

bool AnalogSectionDecoder::ReadDefinition(pugi::xml_node analog, pugi::xml_node traces) {
    if (!HasTrace(traces, AttributeText(analog, "id"))) return true;
    AnalogTrace trace;
    trace.key = std::string(AttributeText(analog, "_key"));
    trace.shortKey = settings::ShortenChannelName(trace.key);
    std::string_view id;
    if (!GetPathAttribute(analog, {}, "id", id)) return false;
    trace.id = platform::ParseInt32(id);
    const bool withModule = AttributeText(m_header, "viewExtension") == "withModuleNode";
    trace.name = devicemodel::ChannelName(m_record.TextTable(), std::string(id), trace.shortKey, withModule);
    std::string_view unitId;
    if (!GetPathAttribute(analog, {}, "unitId", unitId)) return false;
    const devicemodel::ChannelTextTable::Entry* unitText = nullptr;
    const bool unitFound = m_record.TextTable().Find(std::string(unitId), &unitText) == devicemodel::ChannelTextTable::Lookup::kFound;
    trace.unit = unitFound ? unitText->channelText : std::string(AttributeText(analog, "_unit"));
    trace.xOffsetEnabled = AttributeText(analog, "xOffsetEnabled") == "true";
    if (trace.xOffsetEnabled) m_record.GetXOffsetDefaultSamples(trace.xOffset);
    pugi::xml_node scale = analog.child("Scale");
    if (!scale) return false;
    for (; scale; scale = scale.next_sibling()) {
        if (std::strcmp(scale.name(), "Scale") == 0) ReadScaling(scale, trace);
    }
    m_record.AnalogTraces().push_back(std::move(trace));
    return true;
}

void AnalogSectionDecoder::ReadScaling(pugi::xml_node scale, AnalogTrace& trace) {
    std::string_view factor, offset;
    if (!GetPathAttribute(scale, {}, "scaleFactor", factor) || !GetPathAttribute(scale, {}, "scaleOffset", offset)) {
        return;
    }
    Scaling scaling;
    scaling.factor = platform::ParseReal(factor);
    const double offsetValue = platform::ParseReal(offset);
    // Truncated toward zero; values beyond the 32-bit range saturate.
    scaling.offset = offsetValue != offsetValue   ? 0
                     : offsetValue >= 2147483647.0 ? 2147483647
                     : offsetValue <= -2147483648.0 ? -2147483647 - 1
                                                    : static_cast<int32_t>(offsetValue);
    scaling.refEnable = platform::ParseInt32(AttributeText(scale, "refEnable"));
    trace.scalings.push_back(scaling);
}

void AnalogSectionDecoder::AppendValues(const char* values, SampleStore& samples) {
    // Pieces of an optional sign and at most 18 digits are read here; any
    // other piece takes the general rule. A removed character joins a piece
    // with its neighbours, so it sends the whole text the general way.
    const size_t before = samples.Size();
    const char* p = values;
    for (;;) {
        while (*p == ' ') ++p;
        if (*p == '\0') return;
        const char* const piece = p;
        const bool negative = *p == '-';
        if (*p == '-' || *p == '+') ++p;
        const char* const digits = p;
        uint64_t magnitude = 0;
        while (static_cast<unsigned char>(*p - '0') < 10) magnitude = magnitude * 10 + static_cast<unsigned>(*p++ - '0');
        if ((*p == ' ' || *p == '\0') && p - digits <= 18) {
            const int64_t value = static_cast<int64_t>(magnitude);
            samples.AppendValue(negative ? -value : value);
            continue;
        }
        for (; *p != ' ' && *p != '\0'; ++p) {
            if (*p == '\b' || *p == '\n' || *p == '\t') {
                samples.Truncate(before);
                AppendJoinedValues(values, samples);
                return;
            }
        }
        samples.AppendValue(platform::ParseInt64(std::string_view(piece, static_cast<size_t>(p - piece))));
    }
}

bool AnalogSectionDecoder::DecodeTrace(pugi::xml_node trace, AnalogTrace& definition) {
    // Each completed block is kept; a block that fails leaves the trace as it
    // was before it (its gap samples are dropped again).
    const bool scale = settings::IsScaleEnabled();
    SampleStore& samples = definition.samples;
    if (samples.Size() == 0) {
        samples = SampleStore(m_kept, &m_record.Budget());
        const size_t room = std::min(m_kept, m_reserveLeft);
        samples.Reserve(room);
        m_reserveLeft -= room;
    }
    bool baseSet = false;
    int64_t base = 0;
    for (pugi::xml_node child : trace.children()) {
        std::string_view text;
        if (std::strcmp(child.name(), "TGeneral") == 0) {
            if (!GetPathAttribute(child, {}, "numberOfSample", text)) return false;
        } else if (std::strcmp(child.name(), "Data") == 0) {
            if (!GetPathAttribute(child, {}, "sampleCount", text)) return false;
            const int64_t sampleNumber = platform::ParseInt32(text);
            if (!baseSet) base = sampleNumber, baseSet = true;
            const size_t before = samples.Size();
            const int64_t gap = sampleNumber - static_cast<int64_t>(before) - base;
            // A gap that would take the trace beyond any real record is damage.
            if (gap > 0 && static_cast<int64_t>(before) + gap > kMaxSampleCount) return false;
            // Missing or empty as the access rule has it, without measuring
            // the text first: the block fails before its gap is filled.
            const char* const values = child.attribute("values").value();
            if (*values == '\0') return false;
            if (gap > 0) samples.AppendInvalid(static_cast<size_t>(gap));
            AppendValues(values, samples);
            definition.scale = scale;
            if (samples.OverBudget()) {
                m_overBudget = true;
                return false;
            }
        }
    }
    return true;
}

void AnalogSectionDecoder::RemoveDuplicateIds() {
    std::unordered_set<int32_t> seen;
    std::vector<AnalogTrace>& traces = m_record.AnalogTraces();
    traces.erase(std::remove_if(traces.begin(), traces.end(),
                                [&seen](const AnalogTrace& trace) { return !seen.insert(trace.id).second; }),
                 traces.end());
}

void AnalogSectionDecoder::RemoveReserveChannels() {
    if (settings::IsReserveShown()) return;
    std::vector<AnalogTrace>& traces = m_record.AnalogTraces();
    traces.erase(std::remove_if(traces.begin(), traces.end(),
                                [](const AnalogTrace& trace) { return trace.name.find("eserv") != std::string::npos; }),
                 traces.end());
}

}  // namespace record
