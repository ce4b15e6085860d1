// A record's analysis as `cvdr analyze` reports it: per analog channel its
// extremes, RMS and fundamental phasors at chosen times, per three-phase
// group its symmetrical components at those times, and the event table.
#ifndef DR_MVQ4_ANALYSIS_RECORD_ANALYSIS_H
#define DR_MVQ4_ANALYSIS_RECORD_ANALYSIS_H

#include <optional>
#include <string>
#include <vector>

#include "analysis/ChannelStatistics.h"
#include "analysis/EventTable.h"
#include "analysis/Fundamental.h"
#include "analysis/PhaseGroups.h"
#include "host/Record.h"

namespace analysis {

struct AnalysisRequest {
    double frequency = 50.0;  // line frequency, Hz
    // Ends of the phasor windows, ms relative to the trigger; empty: the
    // cycle ending at the trigger (pre-fault) and the one ending a cycle
    // after it (fault).
    std::vector<double> times;
    // Three channel names each (NamedPhaseGroup); empty: FindPhaseGroups.
    std::vector<std::vector<std::string>> groups;
};

struct ChannelAnalysis {
    size_t channel = 0;  // analog index
    ChannelStatistics statistics;
    std::vector<std::optional<Phasor>> phasors;  // one per time
};

struct SequencePhasors {
    Phasor zero;
    Phasor positive;
    Phasor negative;
};

struct GroupAnalysis {
    PhaseGroup group;
    // One per time; none where a member's phasor is none.
    std::vector<std::optional<SequencePhasors>> components;
};

struct RecordAnalysis {
    double frequency = 50.0;
    uint32_t cycleSamples = 0;              // the phasor window's length; 0: no phasors
    std::vector<double> times;              // as used, defaults filled in
    std::vector<ChannelAnalysis> channels;  // every analog channel, in order
    std::vector<GroupAnalysis> groups;
    std::vector<Event> events;
};

// The request's times, or the default ones.
std::vector<double> PhasorTimes(const AnalysisRequest& request);

// Throws std::runtime_error for a group that names no channel.
RecordAnalysis AnalyzeRecord(const host::Record& record, const AnalysisRequest& request);

}  // namespace analysis

#endif
