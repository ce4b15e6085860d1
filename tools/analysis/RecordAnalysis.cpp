#include "analysis/RecordAnalysis.h"

namespace analysis {
namespace {

std::vector<PhaseGroup> GroupsOf(const host::Record& record, const AnalysisRequest& request) {
    if (request.groups.empty()) return FindPhaseGroups(record);
    std::vector<PhaseGroup> groups;
    for (const std::vector<std::string>& names : request.groups)
        groups.push_back(NamedPhaseGroup(record, names));
    return groups;
}

std::optional<SequencePhasors> SequenceAt(const RecordAnalysis& analysis, const PhaseGroup& group,
                                          size_t time) {
    std::array<Complex, 3> phases;
    for (size_t phase = 0; phase < 3; ++phase) {
        const std::optional<Phasor>& phasor = analysis.channels[group.channels[phase]].phasors[time];
        if (!phasor) return std::nullopt;
        phases[phase] = std::polar(phasor->magnitude, phasor->angleDeg * 3.14159265358979323846 / 180.0);
    }
    const SequenceComponents components = SymmetricalComponents(phases[0], phases[1], phases[2]);
    return SequencePhasors{PolarOf(components.zero), PolarOf(components.positive),
                           PolarOf(components.negative)};
}

}  // namespace

std::vector<double> PhasorTimes(const AnalysisRequest& request) {
    if (!request.times.empty()) return request.times;
    return {0.0, 1000.0 / request.frequency};
}

RecordAnalysis AnalyzeRecord(const host::Record& record, const AnalysisRequest& request) {
    RecordAnalysis analysis;
    analysis.frequency = request.frequency;
    analysis.cycleSamples = CycleSamples(record, request.frequency);
    analysis.times = PhasorTimes(request);
    const std::vector<PhaseGroup> groups = GroupsOf(record, request);
    for (size_t i = 0; i < record.analog.size(); ++i) {
        ChannelAnalysis channel{i, StatisticsOf(record, i), {}};
        for (double time : analysis.times) {
            const std::optional<Complex> phasor = FundamentalAt(record, i, time, request.frequency);
            channel.phasors.push_back(phasor ? std::optional<Phasor>(PolarOf(*phasor)) : std::nullopt);
        }
        analysis.channels.push_back(std::move(channel));
    }
    for (const PhaseGroup& group : groups) {
        GroupAnalysis sequences{group, {}};
        for (size_t time = 0; time < analysis.times.size(); ++time)
            sequences.components.push_back(SequenceAt(analysis, group, time));
        analysis.groups.push_back(std::move(sequences));
    }
    analysis.events = EventTable(record);
    return analysis;
}

}  // namespace analysis
