// Writes the bundled example records into the folder given as argument.
//
// earth_fault_L1.xml: a single-phase earth fault on L1 of a 50 Hz feeder,
// recorded at 1 kHz, 100 ms before the trigger and 300 ms after it. The
// fault current on L1 rises at the trigger, the relay picks up, trips after
// 40 ms, the breaker opens after a further 50 ms and the currents stop.
// Voltages sag on L1 during the fault. Pickup, trip and breaker position are
// one-bit signals; the fault loop is a multi-bit signal.
#include <cmath>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "support/RecordFixture.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kSamples = 400;        // 1 ms each
constexpr int kTrigger = 100;        // sample index of the fault inception
constexpr int kTrip = kTrigger + 40;
constexpr int kBreakerOpen = kTrip + 50;
constexpr int64_t kFirstSampleNumber = 52000;

// Instantaneous value at sample s of a 50 Hz sine with `amplitude` and a
// phase angle in degrees.
double Sine(int s, double amplitude, double degrees) {
    return amplitude * std::sin(2.0 * kPi * 50.0 * s / 1000.0 + degrees * kPi / 180.0);
}

double PhaseCurrent(int phase, int s) {
    if (s >= kBreakerOpen) return 0.0;
    const double angle = -30.0 - 120.0 * phase;
    if (phase == 0 && s >= kTrigger) {
        // Fault current with a decaying offset.
        const double decay = std::exp(-(s - kTrigger) / 30.0);
        return Sine(s, 4800.0, angle - 50.0) + 2400.0 * decay;
    }
    return Sine(s, 280.0, angle);
}

double PhaseVoltage(int phase, int s) {
    const double amplitude = (phase == 0 && s >= kTrigger && s < kBreakerOpen) ? 18.0 : 89.8;
    return Sine(s, amplitude, -120.0 * phase);
}

fixture::Analog Channel(const std::string& id, const std::string& key, const std::string& unitId,
                        const std::string& unit, const std::string& factor, const std::vector<int64_t>& raw) {
    fixture::Analog analog;
    analog.id = id;
    analog.key = key;
    analog.unitId = unitId;
    analog.unit = unit;
    analog.scales = {fixture::Scale{factor, "0", ""}};
    // Two blocks, as the relay writes them.
    const std::vector<int64_t> first(raw.begin(), raw.begin() + kSamples / 2);
    const std::vector<int64_t> second(raw.begin() + kSamples / 2, raw.end());
    analog.blocks = {fixture::Block{std::to_string(kFirstSampleNumber), fixture::Values(first)},
                     fixture::Block{std::to_string(kFirstSampleNumber + kSamples / 2), fixture::Values(second)}};
    return analog;
}

std::string Sample(int s) { return std::to_string(kFirstSampleNumber + s); }

fixture::RecordBuilder EarthFault() {
    fixture::RecordBuilder builder;
    builder.Device("7SR87", "V04.10.02");
    builder.Timing("0.001", "1", "1000000");
    // 2026-03-14 09:26:53.589 UTC in microsecond ticks, recorded in UTC+1.
    builder.Trigger("1773480413000000", "589000", Sample(kTrigger)).TimeZone("3600", "0");
    std::vector<std::vector<int64_t>> currents(4, std::vector<int64_t>(kSamples));
    std::vector<std::vector<int64_t>> voltages(3, std::vector<int64_t>(kSamples));
    for (int s = 0; s < kSamples; ++s) {
        double sum = 0.0;
        for (int phase = 0; phase < 3; ++phase) {
            const double current = PhaseCurrent(phase, s);
            sum += current;
            currents[phase][s] = std::llround(current * 10.0);   // 0.1 A per step
            voltages[phase][s] = std::llround(PhaseVoltage(phase, s) * 1000.0);  // 1 V per step
        }
        currents[3][s] = std::llround(sum * 10.0);
    }
    const char* phases[] = {"IL1", "IL2", "IL3", "IN"};
    for (int i = 0; i < 4; ++i) {
        builder.AddAnalog(Channel(std::to_string(1001 + i), std::string("Measurements/Currents/") + phases[i], "9001",
                                  "A", "0.1", currents[i]));
    }
    const char* voltageNames[] = {"UL1", "UL2", "UL3"};
    for (int i = 0; i < 3; ++i) {
        builder.AddAnalog(Channel(std::to_string(1101 + i), std::string("Measurements/Voltages/") + voltageNames[i],
                                  "9002", "kV", "0.001", voltages[i]));
    }
    builder.AddDigital("2001", "Protection/EarthFault/Pickup").AddStateImage("2001", "0");
    builder.AddDigital("2002", "Protection/EarthFault/Trip").AddStateImage("2002", "0");
    builder.AddDigital("2003", "Switchgear/Breaker/Open").AddStateImage("2003", "0");
    builder.AddDigital("2101", "Protection/FaultLoop", "8").AddStateImage("2101", "0");
    builder.AddEventSet(Sample(kTrigger), {fixture::Event("2001", "1", "0"), fixture::Event("2101", "1", "0")});
    builder.AddEventSet(Sample(kTrip), {fixture::Event("2002", "1", "0")});
    builder.AddEventSet(Sample(kBreakerOpen), {fixture::Event("2003", "1", "0"), fixture::Event("2001", "0", "1"),
                                               fixture::Event("2101", "0", "1")});
    builder.AddEventSet(Sample(kBreakerOpen + 30), {fixture::Event("2002", "0", "1")});
    return builder;
}

bool Write(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
    if (!out) std::fprintf(stderr, "make_examples: cannot write %s\n", path.c_str());
    return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_examples FOLDER\n");
        return 2;
    }
    const std::string folder = argv[1];
    return Write(folder + "/earth_fault_L1.xml", EarthFault().Xml()) ? 0 : 1;
}
