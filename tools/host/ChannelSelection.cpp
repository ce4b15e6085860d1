#include "host/ChannelSelection.h"

#include <algorithm>
#include <stdexcept>

namespace host {
namespace {

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return Lower(x) == Lower(y); });
}

// '*' any run, '?' one character; iterative with one backtrack point.
bool GlobMatches(std::string_view pattern, std::string_view text) {
    size_t p = 0, t = 0, star = std::string_view::npos, resume = 0;
    while (t < text.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || Lower(pattern[p]) == Lower(text[t]))) {
            ++p;
            ++t;
        } else if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            resume = t;
        } else if (star != std::string_view::npos) {
            p = star + 1;
            t = ++resume;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

std::vector<std::string> SplitAtCommas(const std::vector<std::string>& patterns) {
    std::vector<std::string> parts;
    for (const std::string& pattern : patterns) {
        size_t start = 0;
        for (size_t comma; (comma = pattern.find(',', start)) != std::string::npos; start = comma + 1) {
            if (comma > start) parts.push_back(pattern.substr(start, comma - start));
        }
        if (start < pattern.size()) parts.push_back(pattern.substr(start));
    }
    return parts;
}

bool SameRef(const ChannelRef& a, const ChannelRef& b) { return a.kind == b.kind && a.index == b.index; }

template <typename Transition>
std::vector<Transition> CutTransitions(const std::vector<Transition>& transitions, const TimeWindow& window) {
    std::vector<Transition> cut;
    for (const Transition& transition : transitions) {
        if (transition.firstSample > window.lastSample) break;
        Transition moved = transition;
        moved.firstSample = transition.firstSample > window.firstSample ? transition.firstSample - window.firstSample : 0;
        if (!cut.empty() && moved.firstSample == 0) cut.clear();  // superseded before the window
        cut.push_back(moved);
    }
    return cut;
}

std::vector<RangeRecord> CutRanges(const std::vector<RangeRecord>& ranges, const TimeWindow& window) {
    return CutTransitions(ranges, window);
}

template <typename Channel>
Channel CutChannel(const Channel& channel, const TimeWindow& window) {
    Channel cut = channel;
    const uint32_t count = window.lastSample - window.firstSample + 1;
    cut.sampleCount = channel.sampleCount > window.firstSample
                          ? std::min(channel.sampleCount - window.firstSample, count)
                          : 0;
    cut.ranges = CutRanges(channel.ranges, window);
    return cut;
}

template <typename Values>
Values CutValues(const Values& values, const TimeWindow& window) {
    if (values.size() <= window.firstSample) return {};
    const size_t end = std::min<size_t>(values.size(), size_t{window.lastSample} + 1);
    return Values(values.begin() + window.firstSample, values.begin() + static_cast<ptrdiff_t>(end));
}

}  // namespace

const Channel& ChannelAt(const Record& record, const ChannelRef& ref) {
    if (ref.kind == ChannelKind::kAnalog) return record.analog.at(ref.index);
    if (ref.kind == ChannelKind::kDigital) return record.digital.at(ref.index);
    return record.logical.at(ref.index);
}

std::vector<ChannelRef> AllChannels(const Record& record) {
    std::vector<ChannelRef> all;
    for (size_t i = 0; i < record.analog.size(); ++i) all.push_back({ChannelKind::kAnalog, i});
    for (size_t i = 0; i < record.digital.size(); ++i) all.push_back({ChannelKind::kDigital, i});
    for (size_t i = 0; i < record.logical.size(); ++i) all.push_back({ChannelKind::kLogical, i});
    return all;
}

bool NamesChannel(const Channel& channel, std::string_view pattern) {
    const std::string_view name = channel.name;
    const bool wrapped = name.size() >= 2 && ((name.front() == '[' && name.back() == ']') ||
                                              (name.front() == '{' && name.back() == '}'));
    const std::string_view key = channel.key;
    const size_t slash = key.rfind('/');
    const std::string_view texts[] = {name, wrapped ? name.substr(1, name.size() - 2) : name, key,
                                      slash == std::string_view::npos ? key : key.substr(slash + 1)};
    const bool glob = pattern.find_first_of("*?") != std::string_view::npos;
    return std::any_of(std::begin(texts), std::end(texts), [&](std::string_view text) {
        return glob ? GlobMatches(pattern, text) : EqualIgnoringCase(pattern, text);
    });
}

std::vector<ChannelRef> MatchChannels(const Record& record, const std::vector<std::string>& patterns) {
    const std::vector<ChannelRef> all = AllChannels(record);
    const std::vector<std::string> parts = SplitAtCommas(patterns);
    if (parts.empty()) return all;
    std::vector<ChannelRef> chosen;
    for (const std::string& pattern : parts) {
        bool matched = false;
        for (const ChannelRef& ref : all) {
            if (!NamesChannel(ChannelAt(record, ref), pattern)) continue;
            matched = true;
            const auto same = [&ref](const ChannelRef& other) { return SameRef(ref, other); };
            if (std::none_of(chosen.begin(), chosen.end(), same)) chosen.push_back(ref);
        }
        if (matched) continue;
        std::string names;
        for (const ChannelRef& ref : all) names += (names.empty() ? "" : ", ") + ChannelAt(record, ref).name;
        throw std::runtime_error("no channel matches \"" + pattern + "\"; the channels are: " + names);
    }
    return chosen;
}

Record CutRecord(const Record& record, const std::vector<ChannelRef>& channels, const TimeWindow& window) {
    Record cut = record;
    cut.analog.clear();
    cut.digital.clear();
    cut.logical.clear();
    cut.sampleTimes = CutValues(record.sampleTimes, window);
    cut.sampleCount = static_cast<uint32_t>(cut.sampleTimes.size());
    cut.triggerSample = record.triggerSample > window.firstSample ? record.triggerSample - window.firstSample : 0;
    for (const ChannelRef& ref : channels) {
        if (ref.kind == ChannelKind::kAnalog) {
            AnalogChannel channel = CutChannel(record.analog.at(ref.index), window);
            channel.values = CutValues(channel.values, window);
            channel.valid = CutValues(channel.valid, window);
            cut.analog.push_back(std::move(channel));
        } else if (ref.kind == ChannelKind::kDigital) {
            DigitalChannel channel = CutChannel(record.digital.at(ref.index), window);
            channel.transitions = CutTransitions(channel.transitions, window);
            cut.digital.push_back(std::move(channel));
        } else {
            LogicalChannel channel = CutChannel(record.logical.at(ref.index), window);
            channel.transitions = CutTransitions(channel.transitions, window);
            cut.logical.push_back(std::move(channel));
        }
    }
    return cut;
}

}  // namespace host
