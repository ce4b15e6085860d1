// Writes the records the load benchmark times (bench/load_ratios.sh) into the
// folder given as argument:
//
// load_plain.xml: 48 analog channels of 400 000 samples each in blocks of
// 10 000 (noisy 50 Hz sines at 4 kHz, about 100 MB of text), 64 one-bit and
// 4 multi-bit signals changed by 3 000 event sets.
// load_container.zip: the same record as a record container with the
// relay's device model and its English texts.
//
//   make_load_records FOLDER [SAMPLES]
//
// SAMPLES (default 400000) scales the record; everything else stays.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/ContainerFixture.h"
#include "support/DeviceModelFixture.h"
#include "support/RecordFixture.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kAnalog = 48;
constexpr int kBlock = 10000;
constexpr int kOneBit = 64;
constexpr int kMultiBit = 4;
constexpr int kEventSets = 3000;
constexpr int64_t kFirstSampleNumber = 20000;

std::string Id(const std::string& key) { return fixture::DeviceModelBuilder::Key(key); }

std::string AnalogKey(int channel) {
    const char* const quantities[] = {"IL1", "IL2", "IL3", "IN", "UL1", "UL2", "UL3", "UN"};
    return "Bay" + std::to_string(channel / 8 + 1) + "/Measurements/" + quantities[channel % 8];
}

std::string SignalKey(int signal) {
    return signal < kOneBit ? "Bay" + std::to_string(signal / 16 + 1) + "/Protection/Signal" + std::to_string(signal)
                            : "Bay1/Protection/Loop" + std::to_string(signal - kOneBit);
}

// A 50 Hz sine sampled at 4 kHz with a little noise; amplitudes keep most raw
// values at four digits, as the relay's converters deliver them.
fixture::Analog Channel(int channel, int samples, unsigned& noise) {
    fixture::Analog analog;
    const std::string key = AnalogKey(channel);
    const bool current = channel % 8 < 4;
    analog.id = Id(key);
    analog.key = key;
    analog.unitId = Id(current ? "Units/Ampere" : "Units/Kilovolt");
    analog.unit = current ? "A" : "kV";
    analog.scales = {fixture::Scale{current ? "0.1" : "0.001", "0", ""}};
    const double amplitude = 2000.0 + 150.0 * (channel % 8);
    const double phase = 2.0 * kPi * (channel % 3) / 3.0;
    for (int first = 0; first < samples; first += kBlock) {
        const int count = samples - first < kBlock ? samples - first : kBlock;
        std::vector<int64_t> values(static_cast<size_t>(count));
        for (int i = 0; i < count; ++i) {
            noise = noise * 1103515245u + 12345u;
            const double angle = 2.0 * kPi * 50.0 * (first + i) / 4000.0 + phase;
            values[static_cast<size_t>(i)] =
                std::llround(amplitude * std::sin(angle)) + static_cast<int64_t>((noise >> 16) % 41) - 20;
        }
        analog.blocks.push_back(
            fixture::Block{std::to_string(kFirstSampleNumber + first), fixture::Values(values)});
    }
    return analog;
}

fixture::RecordBuilder LoadRecord(int samples) {
    fixture::RecordBuilder builder;
    builder.Device("CVR87", "04.10.02");
    builder.AnalogHeaderAttribute("viewExtension", "withModuleNode");
    builder.Timing("0.00025", "1", "1000000");
    builder.Trigger("1773480413000000", "589000", std::to_string(kFirstSampleNumber + samples / 4));
    builder.TimeZone("3600", "0");
    unsigned noise = 1;
    for (int c = 0; c < kAnalog; ++c) builder.AddAnalog(Channel(c, samples, noise));
    for (int s = 0; s < kOneBit + kMultiBit; ++s) {
        const std::string id = Id(SignalKey(s));
        builder.AddDigital(id, SignalKey(s), s < kOneBit ? "" : "8").AddStateImage(id, "0");
    }
    // Each event set changes four signals: three one-bit signals in turn and
    // one multi-bit signal stepping through six states.
    std::vector<int> state(kOneBit + kMultiBit, 0);
    for (int set = 0; set < kEventSets; ++set) {
        std::vector<fixture::Event> events;
        for (int k = 0; k < 3; ++k) {
            const int signal = (set * 3 + k) % kOneBit;
            const int next = 1 - state[static_cast<size_t>(signal)];
            events.emplace_back(Id(SignalKey(signal)), std::to_string(next),
                                std::to_string(state[static_cast<size_t>(signal)]));
            state[static_cast<size_t>(signal)] = next;
        }
        const int loop = kOneBit + set % kMultiBit;
        const int next = (state[static_cast<size_t>(loop)] + 1) % 6;
        events.emplace_back(Id(SignalKey(loop)), std::to_string(next), std::to_string(state[static_cast<size_t>(loop)]));
        state[static_cast<size_t>(loop)] = next;
        const int64_t at = kFirstSampleNumber + (static_cast<int64_t>(set) + 1) * samples / (kEventSets + 1);
        builder.AddEventSet(std::to_string(at), events);
    }
    return builder;
}

void DescribeModel(fixture::DeviceModelBuilder& model) {
    for (int bay = 1; bay <= kAnalog / 8; ++bay) {
        model.Module("Bay" + std::to_string(bay), "Feeder bay " + std::to_string(bay));
    }
    for (int c = 0; c < kAnalog; ++c) {
        const std::string key = AnalogKey(c);
        model.Channel(key, key.substr(key.rfind('/') + 1) + " measured");
    }
    for (int s = 0; s < kOneBit + kMultiBit; ++s) {
        const std::string key = SignalKey(s);
        model.Channel(key, key.substr(key.rfind('/') + 1) + " state");
    }
    model.Channel("Units/Ampere", "A").Channel("Units/Kilovolt", "kV");
}

bool Write(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
    if (!out) std::fprintf(stderr, "make_load_records: cannot write %s\n", path.c_str());
    return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: make_load_records FOLDER [SAMPLES]\n");
        return 2;
    }
    const std::string folder = argv[1];
    const int samples = argc == 3 ? std::atoi(argv[2]) : 400000;
    if (samples < kBlock) {
        std::fprintf(stderr, "make_load_records: SAMPLES must be at least %d\n", kBlock);
        return 2;
    }
    std::filesystem::create_directories(folder);
    const fixture::RecordBuilder record = LoadRecord(samples);
    fixture::DeviceModelBuilder model;
    DescribeModel(model);
    fixture::RecordContainerBuilder container;
    container.RecorderData(record).Entry("DeviceModel", model.ModelXml());
    container.Entry("DeviceModel_l_ENG", model.LanguageXml("ENG"));
    const bool written =
        Write(folder + "/load_plain.xml", record.Xml()) && Write(folder + "/load_container.zip", container.Bytes());
    return written ? 0 : 1;
}
