#include "record/DigitalSectionDecoder.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

#include "platform/NumberParsing.h"
#include "record/XmlAccess.h"
#include "settings/RegistrySettings.h"

namespace record {

uint64_t RunLength(const std::vector<StateRun>& runs) {
    uint64_t length = 0;
    for (const StateRun& run : runs) length += run.length;
    return length;
}

namespace {

bool ByName(const std::string& a, const std::string& b) { return a < b; }

// The runs of one history: each transition's previous value up to its
// sample, then the last value to the end; `fill` when nothing is left.
template <typename Convert>
std::vector<StateRun> BuildRuns(const SignalHistory& history, int64_t sampleCount, int32_t fill, Convert convert) {
    std::vector<StateRun> runs;
    runs.reserve(history.transitions.size() + 1);
    int64_t previous = 0;
    const auto append = [&runs](int64_t count, int32_t value) {
        if (count > 0) runs.push_back(StateRun{value, static_cast<uint64_t>(count)});
    };
    for (const Transition& transition : history.transitions) {
        append(transition.sample - previous, convert(transition.previousValue));
        previous = transition.sample;
    }
    const int32_t last = history.transitions.empty() ? fill : history.transitions.back().value;
    append(sampleCount - previous, convert(last));
    return runs;
}

}  // namespace

bool DisturbanceRecord::LoadDigitalSection() { return DigitalSectionDecoder(*this).Load(); }

bool DigitalSectionDecoder::Load() {
    if (!ReadEvents() || !ReadDefinitions() || !ReadStateImage()) return false;
    NameDefinitions();
    GroupEvents();
    if (!FilterTransitions()) return false;
    BuildOneBitTraces();
    BuildMultiBitTraces();
    if (!AddConstantTraces()) return false;
    ReadDigitalNames();
    return true;
}

bool DigitalSectionDecoder::ReadEvents() {
    const pugi::xml_node events = FindPath(m_record.Root(), {"DistData", "Events"});
    if (!events) return false;
    for (pugi::xml_node set : events.children("EventSet")) {
        std::string_view timeSample;
        if (!GetPathAttribute(set, {"EGeneral"}, "timeSample", timeSample)) continue;
        EventSet eventSet;
        eventSet.timeSample = platform::ParseInt64(timeSample);
        for (pugi::xml_node element : set.children("Event")) {
            std::string_view id, no, value, previous;
            if (!GetPathAttribute(element, {}, "id", id) || !GetPathAttribute(element, {}, "no", no) ||
                !GetPathAttribute(element, {}, "value", value) ||
                !GetPathAttribute(element, {}, "previousValue", previous)) {
                continue;
            }
            eventSet.events.push_back(Event{platform::ParseLow32(id), platform::ParseLow32(no), platform::ParseLow32(value), platform::ParseLow32(previous),
                                            std::string(AttributeText(element, "_key"))});
        }
        m_record.EventSets().push_back(std::move(eventSet));
    }
    return true;
}

bool DigitalSectionDecoder::ReadDefinitions() {
    const pugi::xml_node header = FindPath(m_record.Root(), {"DistHeader", "DigitalHeader"});
    if (!header) return false;
    for (pugi::xml_node digital : header.children("Digital")) {
        std::string_view id, normalState;
        if (!GetPathAttribute(digital, {}, "id", id) || !GetPathAttribute(digital, {}, "normalState", normalState)) {
            return false;
        }
        DigitalDefinition definition;
        definition.id = platform::ParseLow32(id);
        definition.key = std::string(AttributeText(digital, "_key"));
        definition.dataLength = platform::ParseLow32(AttributeText(digital, "dataLength"));
        definition.normalState = platform::ParseLow32(normalState);
        m_record.DigitalDefinitions().push_back(std::move(definition));
    }
    return true;
}

bool DigitalSectionDecoder::ReadStateImage() {
    const pugi::xml_node image = FindPath(m_record.Root(), {"DistData", "StateImage"});
    if (!image) return false;
    for (pugi::xml_node data : image.children("Data")) {
        std::string_view id, value;
        if (!GetPathAttribute(data, {}, "id", id) || !GetPathAttribute(data, {}, "value", value)) return false;
        m_record.StateImage().push_back(StateImageEntry{std::string(id), platform::ParseLow32(id), platform::ParseLow32(value)});
    }
    return true;
}

std::string DigitalSectionDecoder::LookupName(const std::string& lookupKey, const std::string& key) const {
    // Digital names always carry the module text, whatever the analog view says.
    return devicemodel::ChannelName(m_record.TextTable(), lookupKey, settings::ShortenChannelName(key), true);
}

void DigitalSectionDecoder::NameDefinitions() {
    std::unordered_map<int32_t, const StateImageEntry*> firstEntry;
    for (const StateImageEntry& entry : m_record.StateImage()) firstEntry.emplace(entry.id, &entry);
    for (DigitalDefinition& definition : m_record.DigitalDefinitions()) {
        const auto found = firstEntry.find(definition.id);
        std::string lookupKey = std::to_string(definition.id);
        if (found != firstEntry.end()) {
            definition.startState = found->second->value;
            lookupKey = found->second->idText;
        }
        definition.name = LookupName(lookupKey, definition.key);
    }
    std::vector<DigitalDefinition>& definitions = m_record.DigitalDefinitions();
    std::stable_sort(definitions.begin(), definitions.end(),
                     [](const DigitalDefinition& a, const DigitalDefinition& b) { return ByName(a.name, b.name); });
}

void DigitalSectionDecoder::GroupEvents() {
    // Every event with the time of its set, grouped by signal id.
    std::vector<std::pair<const Event*, int64_t>> records;
    for (const EventSet& set : m_record.EventSets()) {
        for (const Event& event : set.events) records.emplace_back(&event, set.timeSample);
    }
    std::stable_sort(records.begin(), records.end(),
                     [](const auto& a, const auto& b) { return a.first->id < b.first->id; });
    std::unordered_map<int32_t, const DigitalDefinition*> firstDefinition;
    for (const DigitalDefinition& definition : m_record.DigitalDefinitions()) {
        firstDefinition.emplace(definition.id, &definition);
    }
    bool haveCurrent = false;
    int32_t current = 0;
    SignalHistory* history = nullptr;
    for (const auto& [event, timeSample] : records) {
        const Transition transition{timeSample, event->no, event->value, event->previousValue};
        if (haveCurrent && event->id == current) {
            history->transitions.push_back(transition);
            continue;
        }
        const auto definition = firstDefinition.find(event->id);
        if (definition == firstDefinition.end()) continue;
        std::vector<SignalHistory>& list =
            definition->second->dataLength == 0 ? m_record.OneBitHistories() : m_record.MultiBitHistories();
        list.push_back(SignalHistory{*definition->second, {transition}});
        history = &list.back();
        haveCurrent = true;
        current = event->id;
    }
    for (auto* list : {&m_record.OneBitHistories(), &m_record.MultiBitHistories()}) {
        for (SignalHistory& signal : *list) {
            std::stable_sort(signal.transitions.begin(), signal.transitions.end(),
                             [](const Transition& a, const Transition& b) { return a.sample < b.sample; });
        }
    }
}

bool DigitalSectionDecoder::FilterTransitions() {
    int64_t base = 0;
    int32_t count = 0;
    if (!m_record.GetFirstSampleNumber(base) || !m_record.GetSampleCount(count)) return false;
    m_sampleCount = count;
    for (auto* list : {&m_record.OneBitHistories(), &m_record.MultiBitHistories()}) {
        for (SignalHistory& signal : *list) {
            std::vector<Transition>& transitions = signal.transitions;
            for (Transition& transition : transitions) {
                transition.sample =
                    static_cast<int64_t>(static_cast<uint64_t>(transition.sample) - static_cast<uint64_t>(base));
            }
            transitions.erase(std::remove_if(transitions.begin(), transitions.end(),
                                             [this](const Transition& t) {
                                                 return t.sample < 0 || t.sample > m_sampleCount;
                                             }),
                              transitions.end());
        }
    }
    return true;
}

void DigitalSectionDecoder::BuildOneBitTraces() {
    std::vector<DigitalTrace>& traces = m_record.DigitalTraces();
    for (const SignalHistory& history : m_record.OneBitHistories()) {
        const DigitalDefinition& definition = history.definition;
        DigitalTrace trace;
        trace.name = LookupName(std::to_string(definition.id), definition.key);
        trace.runs = BuildRuns(history, m_sampleCount, definition.startState,
                               [](int32_t value) { return value != 0 ? 1 : 0; });
        trace.id = definition.id;
        trace.key = definition.key;
        traces.push_back(std::move(trace));
    }
    std::stable_sort(traces.begin(), traces.end(),
                     [](const DigitalTrace& a, const DigitalTrace& b) { return ByName(a.name, b.name); });
}

void DigitalSectionDecoder::BuildMultiBitTraces() {
    for (const SignalHistory& history : m_record.MultiBitHistories()) {
        const DigitalDefinition& definition = history.definition;
        LogicalTrace trace;
        trace.id = definition.id;
        trace.name = LookupName(std::to_string(definition.id), definition.key);
        trace.key = definition.key;
        trace.runs = BuildRuns(history, m_sampleCount, definition.startState, [](int32_t value) { return value; });
        m_record.LogicalTraces().push_back(std::move(trace));
    }
}

bool DigitalSectionDecoder::AddConstantTraces() {
    std::vector<DigitalTrace>& digital = m_record.DigitalTraces();
    std::vector<LogicalTrace>& logical = m_record.LogicalTraces();
    const uint64_t length = !digital.empty()   ? RunLength(digital.front().runs)
                            : !logical.empty() ? RunLength(logical.front().runs)
                                               : m_record.AnalogSampleCount();
    if (length == 0) return false;
    std::unordered_set<std::string> digitalNames, logicalNames;
    for (const DigitalTrace& trace : digital) digitalNames.insert(trace.name);
    for (const LogicalTrace& trace : logical) logicalNames.insert(trace.name);
    for (const DigitalDefinition& definition : m_record.DigitalDefinitions()) {
        if (definition.name.empty()) continue;
        if (definition.dataLength == 0 && digitalNames.count(definition.name) == 0) {
            const int32_t state = definition.startState != 0 ? 1 : 0;
            digital.push_back(DigitalTrace{definition.name, {StateRun{state, length}}, definition.id, definition.key});
            digitalNames.insert(definition.name);
        } else if (definition.dataLength != 0 && logicalNames.count(definition.name) == 0) {
            logical.push_back(LogicalTrace{definition.id, definition.name, definition.key,
                                           {StateRun{definition.startState, length}}});
            logicalNames.insert(definition.name);
        }
    }
    return true;
}

void DigitalSectionDecoder::ReadDigitalNames() {
    const pugi::xml_node header = FindPath(m_record.Root(), {"DistHeader", "DigitalHeader"});
    for (pugi::xml_node digital : header.children("Digital")) {
        std::string_view id;
        if (!GetPathAttribute(digital, {}, "id", id)) continue;
        m_record.DigitalNames().push_back(LookupName(std::string(id), std::string(AttributeText(digital, "_key"))));
    }
}

}  // namespace record
