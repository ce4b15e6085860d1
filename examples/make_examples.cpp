// Writes the bundled example records into the folder given as argument.
//
// earth_fault_L1.xml: a single-phase earth fault on L1 of a 50 Hz feeder,
// recorded at 1 kHz, 100 ms before the trigger and 300 ms after it. The
// fault current on L1 rises at the trigger, the relay picks up, trips after
// 40 ms, the breaker opens after a further 50 ms and the currents stop.
// Voltages sag on L1 during the fault. Pickup, trip and breaker position are
// one-bit signals; the fault loop is a multi-bit signal.
//
// earth_fault_L1.zip: the same record as a record container with the
// relay's device model and its texts in English and German.
//
// models/: the device model as model files for the plain record, with the
// language files beside it, as the device-models folder holds them.
#include <cmath>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include <filesystem>

#include "support/ContainerFixture.h"
#include "support/DeviceModelFixture.h"
#include "support/RecordFixture.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kSamples = 400;        // 1 ms each
constexpr int kTrigger = 100;        // sample index of the fault inception
constexpr int kTrip = kTrigger + 40;
constexpr int kBreakerOpen = kTrip + 50;
constexpr int64_t kFirstSampleNumber = 52000;
const char* const kPickupKey = "Protection/EarthFault/Pickup";
const char* const kTripKey = "Protection/EarthFault/Trip";
const char* const kBreakerOpenKey = "Switchgear/Breaker/Open";
const char* const kFaultLoopKey = "Protection/FaultLoop";

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

// The record refers to model elements by the key of their path.
std::string Id(const std::string& key) { return fixture::DeviceModelBuilder::Key(key); }

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
    builder.Device("CVR87", "04.10.02");
    builder.AnalogHeaderAttribute("viewExtension", "withModuleNode");
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
        const std::string key = std::string("Measurements/Currents/") + phases[i];
        builder.AddAnalog(Channel(Id(key), key, Id("Units/Ampere"), "A", "0.1", currents[i]));
    }
    const char* voltageNames[] = {"UL1", "UL2", "UL3"};
    for (int i = 0; i < 3; ++i) {
        const std::string key = std::string("Measurements/Voltages/") + voltageNames[i];
        builder.AddAnalog(Channel(Id(key), key, Id("Units/Kilovolt"), "kV", "0.001", voltages[i]));
    }
    const std::string pickup = Id(kPickupKey), trip = Id(kTripKey), breaker = Id(kBreakerOpenKey), loop = Id(kFaultLoopKey);
    builder.AddDigital(pickup, kPickupKey).AddStateImage(pickup, "0");
    builder.AddDigital(trip, kTripKey).AddStateImage(trip, "0");
    builder.AddDigital(breaker, kBreakerOpenKey).AddStateImage(breaker, "0");
    builder.AddDigital(loop, kFaultLoopKey, "8").AddStateImage(loop, "0");
    builder.AddEventSet(Sample(kTrigger), {fixture::Event(pickup, "1", "0"), fixture::Event(loop, "1", "0")});
    builder.AddEventSet(Sample(kTrip), {fixture::Event(trip, "1", "0")});
    builder.AddEventSet(Sample(kBreakerOpen), {fixture::Event(breaker, "1", "0"), fixture::Event(pickup, "0", "1"),
                                               fixture::Event(loop, "0", "1")});
    builder.AddEventSet(Sample(kBreakerOpen + 30), {fixture::Event(trip, "0", "1")});
    return builder;
}

// The relay's device model: three modules with their channels and units, in
// English and German.
void DescribeModel(fixture::DeviceModelBuilder& model) {
    struct Text {
        const char* path;
        const char* english;
        const char* german;
    };
    const Text modules[] = {{"Measurements", "Measurements", "Messwerte"},
                            {"Protection", "Earth-fault protection", "Erdschlussschutz"},
                            {"Switchgear", "Switchgear", "Schaltanlage"}};
    const Text channels[] = {
        {"Measurements/Currents/IL1", "Current IL1", "Strom IL1"},
        {"Measurements/Currents/IL2", "Current IL2", "Strom IL2"},
        {"Measurements/Currents/IL3", "Current IL3", "Strom IL3"},
        {"Measurements/Currents/IN", "Residual current IN", "Summenstrom IN"},
        {"Measurements/Voltages/UL1", "Voltage UL1-E", "Spannung UL1-E"},
        {"Measurements/Voltages/UL2", "Voltage UL2-E", "Spannung UL2-E"},
        {"Measurements/Voltages/UL3", "Voltage UL3-E", "Spannung UL3-E"},
        {kPickupKey, "Pickup", "Anregung"},
        {kTripKey, "Trip", "Aus"},
        {kFaultLoopKey, "Fault loop", "Fehlerschleife"},
        {kBreakerOpenKey, "Breaker open", "Leistungsschalter offen"},
        {"Units/Ampere", "A", "A"},
        {"Units/Kilovolt", "kV", "kV"}};
    for (const Text& module : modules) {
        model.Module(module.path, module.english).Text(module.path, module.german, "", "DEU");
    }
    for (const Text& channel : channels) {
        model.Channel(channel.path, channel.english).Text(channel.path, channel.german, "", "DEU");
    }
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
    std::filesystem::create_directories(folder + "/models");
    const fixture::RecordBuilder record = EarthFault();
    fixture::DeviceModelBuilder model;
    DescribeModel(model);
    fixture::RecordContainerBuilder container;
    container.RecorderData(record).Entry("DeviceModel", model.ModelXml());
    container.Entry("DeviceModel_l_ENG", model.LanguageXml("ENG")).Entry("DeviceModel_l_DEU", model.LanguageXml("DEU"));
    const std::string models = folder + "/models/CVR87_V04.10.02";
    const bool written = Write(folder + "/earth_fault_L1.xml", record.Xml()) &&
                         Write(folder + "/earth_fault_L1.zip", container.Bytes()) &&
                         Write(models + ".dm", model.ModelXml()) &&
                         Write(models + ".dm_L_ENG", model.LanguageXml("ENG")) &&
                         Write(models + ".dm_L_DEU", model.LanguageXml("DEU"));
    return written ? 0 : 1;
}
