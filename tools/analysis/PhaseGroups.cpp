#include "analysis/PhaseGroups.h"

#include <algorithm>
#include <optional>
#include <stdexcept>
#include <string_view>

#include "host/ChannelSelection.h"

namespace analysis {
namespace {

constexpr std::array<std::array<std::string_view, 3>, 3> kPhaseEndings = {{
    {"L1", "L2", "L3"},
    {"A", "B", "C"},
    {"R", "S", "T"},
}};

// The name without the brackets or braces of a name made from a key.
std::string_view Bare(std::string_view name) {
    if (name.size() >= 2 &&
        ((name.front() == '[' && name.back() == ']') || (name.front() == '{' && name.back() == '}')))
        return name.substr(1, name.size() - 2);
    return name;
}

bool EndsWith(std::string_view text, std::string_view ending) {
    return text.size() >= ending.size() && text.substr(text.size() - ending.size()) == ending;
}

using Label = std::string_view (*)(const host::AnalogChannel&);

std::string_view NameLabel(const host::AnalogChannel& channel) { return Bare(channel.name); }
std::string_view KeyLabel(const host::AnalogChannel& channel) { return channel.key; }

// The group `first` opens as phase a, with channels not yet taken.
std::optional<PhaseGroup> GroupFrom(const host::Record& record, size_t first, const std::vector<bool>& taken,
                                    Label label) {
    const std::string_view text = label(record.analog[first]);
    for (const auto& endings : kPhaseEndings) {
        if (!EndsWith(text, endings[0])) continue;
        const std::string_view stem = text.substr(0, text.size() - endings[0].size());
        PhaseGroup group;
        group.channels[0] = first;
        size_t found = 1;
        for (; found < 3; ++found) {
            const auto match = [&](size_t i) {
                const host::AnalogChannel& channel = record.analog[i];
                const std::string_view other = label(channel);
                return !taken[i] && channel.unit == record.analog[first].unit &&
                       other.size() == text.size() && other.substr(0, stem.size()) == stem &&
                       other.substr(stem.size()) == endings[found];
            };
            size_t i = 0;
            while (i < record.analog.size() && !match(i)) ++i;
            if (i == record.analog.size()) break;
            group.channels[found] = i;
        }
        if (found == 3) return group;
    }
    return std::nullopt;
}

}  // namespace

std::vector<PhaseGroup> FindPhaseGroups(const host::Record& record) {
    std::vector<bool> taken(record.analog.size(), false);
    std::vector<PhaseGroup> groups;
    for (size_t i = 0; i < record.analog.size(); ++i) {
        if (taken[i]) continue;
        std::optional<PhaseGroup> group = GroupFrom(record, i, taken, NameLabel);
        if (!group) group = GroupFrom(record, i, taken, KeyLabel);
        if (!group) continue;
        for (size_t channel : group->channels) taken[channel] = true;
        groups.push_back(*group);
    }
    return groups;
}

PhaseGroup NamedPhaseGroup(const host::Record& record, const std::vector<std::string>& names) {
    if (names.size() != 3)
        throw std::runtime_error("a phase group takes three channels, not " + std::to_string(names.size()));
    PhaseGroup group;
    for (size_t phase = 0; phase < 3; ++phase) {
        const auto& analog = record.analog;
        const auto found = std::find_if(
            analog.begin(), analog.end(),
            [&](const host::AnalogChannel& channel) { return host::NamesChannel(channel, names[phase]); });
        if (found == analog.end())
            throw std::runtime_error("no analog channel named \"" + names[phase] + "\"");
        group.channels[phase] = static_cast<size_t>(found - analog.begin());
    }
    return group;
}

SequenceComponents SymmetricalComponents(Complex a, Complex b, Complex c) {
    const Complex h = std::polar(1.0, 2.0 * 3.14159265358979323846 / 3.0);
    const Complex h2 = h * h;
    return {(a + b + c) / 3.0, (a + h * b + h2 * c) / 3.0, (a + h2 * b + h * c) / 3.0};
}

}  // namespace analysis
