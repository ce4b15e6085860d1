// The analysis library on records written by the fixture writer from known
// waves and read through the real plug-in, and on small records in memory.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>

#include "analysis/RecordAnalysis.h"
#include "tools/support/CvdrFixtures.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

// One cosine of the line frequency per channel: peak in A, angle in degrees
// at the trigger.
struct Wave {
    const char* key;
    double peak;
    double angle;
};

// 1 kHz, samples 1000..1199, trigger at 1100 (index 100, time 0); raw
// values in hundredths. A channel's samples listed in `invalid` are left out.
host::Record WaveRecord(const std::vector<Wave>& waves, double frequency = 50.0, int invalid = -1) {
    fixture::RecordBuilder builder;
    for (size_t c = 0; c < waves.size(); ++c) {
        fixture::Analog analog;
        analog.id = std::to_string(101 + c);
        analog.key = waves[c].key;
        analog.unit = "A";
        analog.scales = {fixture::Scale{"0.01", "0", ""}};
        std::vector<int64_t> values;
        for (int i = 0; i < 200; ++i) {
            const double t = (i - 100) / 1000.0;
            values.push_back(std::llround(
                100.0 * waves[c].peak * std::cos(2.0 * kPi * frequency * t + waves[c].angle * kPi / 180.0)));
        }
        if (invalid < 0) {
            analog.blocks = {{"1000", fixture::Values(values)}};
        } else {
            analog.blocks = {{"1000", fixture::Values({values.begin(), values.begin() + invalid})},
                             {std::to_string(1001 + invalid),
                              fixture::Values({values.begin() + invalid + 1, values.end()})}};
        }
        builder.AddAnalog(analog);
    }
    builder.NumberOfSamples("200");
    fixture::TempDir folder;
    return cvdrtest::Load(folder.Write("waves.xml", builder.Xml()));
}

void ExpectPhasor(const std::optional<analysis::Phasor>& phasor, double rms, double angle,
                  const std::string& what) {
    ASSERT_TRUE(phasor) << what;
    EXPECT_NEAR(phasor->magnitude, rms, std::max(rms * 1e-3, 0.01))
        << what;  // zero: the raw values' rounding
    if (rms > 1e-6) {
        EXPECT_NEAR(std::remainder(phasor->angleDeg - angle, 360.0), 0.0, 0.1) << what;
    }
}

TEST(FundamentalTest, MagnitudeAndAngleOfKnownWaves) {
    const host::Record record =
        WaveRecord({{"IL1", 100.0, 0.0}, {"IL2", 2500.0, -120.0}, {"IL3", 5.0, 37.5}, {"U", 63.0, 179.0}});
    struct Case {
        double at;
        const char* what;
    } cases[] = {{0.0, "ending at the trigger"},
                 {20.0, "a cycle later"},
                 {-73.4, "between samples"},
                 {99.0, "ending at the last sample"}};
    for (const Case& c : cases) {
        for (size_t channel = 0; channel < 4; ++channel) {
            const std::vector<double> peaks = {100.0, 2500.0, 5.0, 63.0};
            const std::vector<double> angles = {0.0, -120.0, 37.5, 179.0};
            const std::optional<analysis::Complex> value =
                analysis::FundamentalAt(record, channel, c.at, 50.0);
            ExpectPhasor(value ? std::optional(analysis::PolarOf(*value)) : std::nullopt,
                         peaks[channel] / std::sqrt(2.0), angles[channel],
                         std::string(c.what) + " channel " + std::to_string(channel));
        }
    }
}

TEST(FundamentalTest, NoPhasorFromAWindowNotWholeOrWithAnInvalidSample) {
    const host::Record record = WaveRecord({{"IL1", 100.0, 0.0}}, 50.0, 150);  // index 150: 50 ms
    struct Case {
        double at;
        bool phasor;
    } cases[] = {{-81.0, true}, {-81.5, false}, {-200.0, false}, {49.0, true},  {50.0, false},
                 {69.0, false}, {70.0, true},   {99.9, true},    {101.0, false}};
    for (const Case& c : cases)
        EXPECT_EQ(analysis::FundamentalAt(record, 0, c.at, 50.0).has_value(), c.phasor) << c.at;
    EXPECT_FALSE(analysis::FundamentalAt(record, 0, 0.0, 600.0));  // under three samples a cycle
}

TEST(FundamentalTest, SlidingMagnitudeMatchesTheWindowAtEverySample) {
    const host::Record record = WaveRecord({{"IL1", 100.0, 10.0}}, 50.0, 150);
    const analysis::MagnitudeTrace trace = analysis::FundamentalMagnitudes(record, 0, 50.0);
    ASSERT_EQ(trace.values.size(), 200u);
    for (uint32_t i = 0; i < 200; ++i) {
        const std::optional<analysis::Complex> window =
            analysis::FundamentalAt(record, 0, record.sampleTimes[i], 50.0);
        ASSERT_EQ(trace.valid[i] != 0, window.has_value()) << i;
        if (window) {
            EXPECT_NEAR(trace.values[i], std::abs(*window), 1e-9) << i;
        }
    }
}

TEST(SequenceTest, BalancedAndSinglePhaseSets) {
    struct Case {
        std::vector<Wave> waves;
        double zero, positive, negative;  // RMS
        double angle;                     // of every non-zero component
    } cases[] = {
        {{{"IL1", 100.0, 30.0}, {"IL2", 100.0, -90.0}, {"IL3", 100.0, 150.0}}, 0.0, 100.0, 0.0, 30.0},
        {{{"IL1", 300.0, -60.0}, {"IL2", 0.0, 0.0}, {"IL3", 0.0, 0.0}}, 100.0, 100.0, 100.0, -60.0},
        {{{"IL1", 100.0, 0.0}, {"IL2", 100.0, 120.0}, {"IL3", 100.0, -120.0}}, 0.0, 0.0, 100.0, 0.0},
    };
    for (const Case& c : cases) {
        const analysis::RecordAnalysis result = analysis::AnalyzeRecord(WaveRecord(c.waves), {});
        ASSERT_EQ(result.groups.size(), 1u);
        for (const auto& components : result.groups[0].components) {
            ASSERT_TRUE(components);
            const double root2 = std::sqrt(2.0);
            ExpectPhasor(components->zero, c.zero / root2, c.angle, "zero");
            ExpectPhasor(components->positive, c.positive / root2, c.angle, "positive");
            ExpectPhasor(components->negative, c.negative / root2, c.angle, "negative");
        }
    }
}

host::Record Named(const std::vector<std::pair<std::string, std::string>>& channels) {
    host::Record record;
    for (const auto& [name, unit] : channels) {
        host::AnalogChannel channel;
        channel.name = name;
        channel.key = "Keys/" + name + "K";
        channel.unit = unit;
        record.analog.push_back(channel);
    }
    return record;
}

TEST(PhaseGroupTest, FoundByNameEndingsOfOneUnit) {
    using Groups = std::vector<std::array<size_t, 3>>;
    const struct Case {
        host::Record record;
        Groups groups;
    } cases[] = {
        {Named({{"[IL1]", "A"},
                {"[IL2]", "A"},
                {"[IL3]", "A"},
                {"[IN]", "A"},
                {"UL1", "kV"},
                {"UL3", "kV"},
                {"UL2", "kV"}}),
         {{0, 1, 2}, {4, 6, 5}}},
        {Named({{"Ia", "A"}, {"Va", "V"}, {"Ib", "A"}, {"Vb", "V"}, {"Ic", "A"}, {"Vc", "V"}}), {}},
        {Named({{"IA", "A"}, {"IB", "A"}, {"IC", "A"}, {"UR", "V"}, {"US", "V"}, {"UT", "A"}}), {{0, 1, 2}}},
        {Named({{"L1", "A"}, {"L2", "A"}, {"L3", "A"}}), {{0, 1, 2}}},
    };
    for (const Case& c : cases) {
        Groups found;
        for (const analysis::PhaseGroup& group : analysis::FindPhaseGroups(c.record))
            found.push_back(group.channels);
        EXPECT_EQ(found, c.groups) << c.record.analog[0].name;
    }
    host::Record byKey = Named({{"Current one", "A"}, {"Current two", "A"}, {"Current three", "A"}});
    for (size_t i = 0; i < 3; ++i) byKey.analog[i].key = "Currents/IL" + std::to_string(i + 1);
    ASSERT_EQ(analysis::FindPhaseGroups(byKey).size(), 1u);
    EXPECT_EQ(analysis::NamedPhaseGroup(cases[0].record, {"UL3", "[IL1]", "IL2"}).channels,
              (std::array<size_t, 3>{5, 0, 1}));
    EXPECT_THROW(analysis::NamedPhaseGroup(byKey, {"IL1", "IL2", "IX"}), std::runtime_error);
}

TEST(RecordAnalysisTest, StatisticsAndEventsOfTheSmallRecord) {
    fixture::TempDir folder;
    const host::Record record = cvdrtest::Load(folder.Write("small.xml", cvdrtest::SmallRecord().Xml()));
    const analysis::RecordAnalysis result = analysis::AnalyzeRecord(record, {});
    ASSERT_EQ(result.channels.size(), 3u);
    const analysis::ChannelStatistics& current = result.channels[0].statistics;  // 1 2 -3.5 - - 5 0.3 0.7
    EXPECT_EQ(current.samples, 6u);
    EXPECT_DOUBLE_EQ(*current.minimum, -3.5);
    EXPECT_DOUBLE_EQ(*current.maximum, 5.0);
    EXPECT_DOUBLE_EQ(current.peak->timeMs, 3.0);
    EXPECT_NEAR(*current.rms, std::sqrt((1 + 4 + 12.25 + 25 + 0.09 + 0.49) / 6.0), 1e-12);
    const analysis::ChannelStatistics& vn = result.channels[1].statistics;  // -5 0 5 10 -10 3 1 2
    EXPECT_DOUBLE_EQ(vn.peak->value, 10.0);                                 // the first of 10 and -10
    EXPECT_DOUBLE_EQ(vn.peak->timeMs, 1.0);
    EXPECT_FALSE(result.channels[0].phasors[0]);  // eight samples hold no cycle

    std::vector<std::tuple<double, std::string, std::string>> events;
    for (const analysis::Event& event : result.events)
        events.emplace_back(event.timeMs, host::ChannelAt(record, event.channel).name, event.state);
    const std::vector<std::tuple<double, std::string, std::string>> expected = {
        {-1.0, "[LS1]", "3"}, {1.0, "[BI1]", "high"}, {2.0, "[LS1]", "invalid"}, {4.0, "[LS1]", "6"}};
    EXPECT_EQ(events, expected);
}

}  // namespace
