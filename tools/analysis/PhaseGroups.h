// Three-phase groups of analog channels and their symmetrical components.
#ifndef DR_MVQ4_ANALYSIS_PHASE_GROUPS_H
#define DR_MVQ4_ANALYSIS_PHASE_GROUPS_H

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "analysis/Fundamental.h"
#include "host/Record.h"

namespace analysis {

// Analog channel indexes of phases a, b, c in this order.
struct PhaseGroup {
    std::array<size_t, 3> channels{};
};

// Groups of three analog channels of one unit whose names (without the
// brackets or braces of names made from keys), or else keys, are the same
// up to an ending L1/L2/L3, A/B/C or R/S/T, in the order of each group's
// first channel. A channel belongs to one group at most.
std::vector<PhaseGroup> FindPhaseGroups(const host::Record& record);

// The group of three analog channels named by `names` (as host::NamesChannel
// takes them); throws std::runtime_error for a name that names no analog
// channel or when there are not three names.
PhaseGroup NamedPhaseGroup(const host::Record& record, const std::vector<std::string>& names);

struct SequenceComponents {
    Complex zero;      // (a + b + c) / 3
    Complex positive;  // (a + h b + h^2 c) / 3, h = 1 at 120 degrees
    Complex negative;  // (a + h^2 b + h c) / 3
};

SequenceComponents SymmetricalComponents(Complex a, Complex b, Complex c);

}  // namespace analysis

#endif
