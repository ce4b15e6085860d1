// Load stages of the decoder, each measured on its own so that a regression
// points at its stage: parse the record text, decode the analog section,
// decode the digital section, assemble the channels, and the whole load
// through the export.
//
// The record: 16 analog channels of 200 000 samples in blocks of 10 000,
// 64 one-bit signals and 8 multi-bit signals changing every 500 samples.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "module/MVQ4_LoadedDisturbanceFile.h"
#include "record/DisturbanceRecord.h"
#include "support/LoadedRecord.h"
#include "support/RecordFixture.h"

namespace {

constexpr int kChannels = 16;
constexpr int kSamples = 200000;
constexpr int kBlock = 10000;

fixture::Analog Channel(int index) {
    fixture::Analog analog;
    analog.id = std::to_string(index + 1);
    analog.key = "Meas/I" + std::to_string(index);
    for (int first = 0; first < kSamples; first += kBlock) {
        std::vector<int64_t> values(kBlock);
        for (int i = 0; i < kBlock; ++i) values[i] = ((first + i) * 37 + index) % 20000 - 10000;
        analog.blocks.push_back(fixture::Block{std::to_string(1000 + first), fixture::Values(values)});
    }
    return analog;
}

const std::string& RecordText() {
    static const std::string text = [] {
        setenv("DR_MVQ4_REGISTRY", "/nonexistent", 1);
        fixture::RecordBuilder builder;
        for (int c = 0; c < kChannels; ++c) builder.AddAnalog(Channel(c));
        for (int d = 0; d < 72; ++d) {
            const std::string id = std::to_string(5000 + d);
            builder.AddDigital(id, "Sig/" + id, d < 64 ? "" : "8").AddStateImage(id, "0");
        }
        for (int s = 500; s < kSamples; s += 500) {
            std::vector<fixture::Event> events;
            for (int d = 0; d < 72; ++d) {
                const bool up = (s / 500) % 2 == 1;
                events.emplace_back(std::to_string(5000 + d), up ? "1" : "0", up ? "0" : "1");
            }
            builder.AddEventSet(std::to_string(1000 + s), events);
        }
        return builder.Xml();
    }();
    return text;
}

void BM_Parse(benchmark::State& state) {
    for (auto _ : state) {
        record::DisturbanceRecord record;
        benchmark::DoNotOptimize(record.OpenText(RecordText()));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * RecordText().size()));
}

void BM_AnalogSection(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        record::DisturbanceRecord record;
        record.OpenText(RecordText());
        state.ResumeTiming();
        benchmark::DoNotOptimize(record.LoadAnalogSection());
    }
    state.SetItemsProcessed(state.iterations() * kChannels * kSamples);
}

void BM_DigitalSection(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        record::DisturbanceRecord record;
        record.OpenText(RecordText());
        record.LoadAnalogSection();
        state.ResumeTiming();
        benchmark::DoNotOptimize(record.LoadDigitalSection());
    }
}

void BM_Assemble(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        record::DisturbanceRecord record;
        record.OpenText(RecordText());
        state.ResumeTiming();
        MVQ4_LoadedDisturbanceFile loaded(L"bench.xml");
        benchmark::DoNotOptimize(loaded.Assemble(record));
    }
}

void BM_WholeLoad(benchmark::State& state) {
    for (auto _ : state) {
        auto reader = fixture::LoadRecordXml(RecordText());
        if (!reader) state.SkipWithError("load failed");
    }
}

}  // namespace

BENCHMARK(BM_Parse)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AnalogSection)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DigitalSection)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Assemble)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WholeLoad)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
