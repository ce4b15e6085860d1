// Channels picked by what a user types, and a record cut to channels and a
// window of samples.
#include <gtest/gtest.h>

#include <stdexcept>

#include "host/ChannelSelection.h"

namespace {

host::Record ThreeKinds() {
    host::Record record;
    record.sampleCount = 6;
    record.triggerSample = 2;
    record.sampleTimes = {-2, -1, 0, 1, 2, 3};
    for (const std::string key : {"Meas/Currents/IL1", "Meas/Currents/IL2", "Meas/Voltages/UL1"}) {
        host::AnalogChannel channel;
        channel.name = "[" + key.substr(key.rfind('/') + 1) + "]";
        channel.key = key;
        channel.sampleCount = 6;
        channel.values = {0, 1, 2, 3, 4, 5};
        channel.valid = {1, 1, 0, 0, 1, 1};
        channel.ranges = {{true, 0}, {false, 2}, {true, 4}};
        record.analog.push_back(channel);
    }
    record.digital.emplace_back();
    record.digital[0].name = "Protection . General Trip";
    record.digital[0].key = "Prot/Trip";
    record.digital[0].sampleCount = 6;
    record.digital[0].transitions = {{kDigitalLow, 0}, {kDigitalHigh, 1}, {kDigitalLow, 4}};
    return record;
}

std::vector<std::string> Names(const host::Record& record, const std::vector<host::ChannelRef>& refs) {
    std::vector<std::string> names;
    for (const host::ChannelRef& ref : refs) names.push_back(host::ChannelAt(record, ref).name);
    return names;
}

TEST(ChannelSelectionTest, MatchesNamesKeysLastKeyPartsAndGlobsIgnoringCase) {
    const host::Record record = ThreeKinds();
    const std::vector<std::pair<std::vector<std::string>, std::vector<std::string>>> cases = {
        {{}, {"[IL1]", "[IL2]", "[UL1]", "Protection . General Trip"}},
        {{"[il1]"}, {"[IL1]"}},
        {{"IL2"}, {"[IL2]"}},
        {{"meas/voltages/ul1", "il1"}, {"[UL1]", "[IL1]"}},
        {{"trip"}, {"Protection . General Trip"}},
        {{"*general*,IL*"}, {"Protection . General Trip", "[IL1]", "[IL2]"}},
        {{"il?", "IL1"}, {"[IL1]", "[IL2]"}},  // each channel once
        {{"Meas/*/UL?"}, {"[UL1]"}},
    };
    for (const auto& [patterns, expected] : cases) {
        EXPECT_EQ(Names(record, host::MatchChannels(record, patterns)), expected) << ::testing::PrintToString(patterns);
    }
    try {
        host::MatchChannels(record, {"IL1", "IL9"});
        FAIL() << "IL9 matched";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(),
                     "no channel matches \"IL9\"; the channels are: [IL1], [IL2], [UL1], Protection . General Trip");
    }
}

TEST(ChannelSelectionTest, CutRecordRenumbersSamplesFromTheWindow) {
    const host::Record record = ThreeKinds();
    const host::Record cut = host::CutRecord(record, host::MatchChannels(record, {"Trip", "IL2"}), {0, 2, 2, 4});
    EXPECT_EQ(cut.sampleCount + cut.triggerSample, 3u);
    EXPECT_EQ(cut.sampleTimes, (std::vector<double>{0, 1, 2}));
    ASSERT_EQ(cut.analog.size() + cut.digital.size(), 2u);
    EXPECT_EQ(cut.analog[0].name, "[IL2]");
    EXPECT_EQ(cut.analog[0].values, (std::vector<double>{2, 3, 4}));
    EXPECT_EQ(cut.analog[0].valid, (std::vector<uint8_t>{0, 0, 1}));
    ASSERT_EQ(cut.analog[0].ranges.size(), 2u);
    EXPECT_EQ(cut.analog[0].ranges[1].firstSample, 2u);
    ASSERT_EQ(cut.digital[0].transitions.size(), 2u);  // the state in force at the start, then the fall
    EXPECT_EQ(cut.digital[0].transitions[0].state, kDigitalHigh);
    EXPECT_EQ(cut.digital[0].transitions[0].firstSample + cut.digital[0].transitions[1].firstSample, 2u);
}

}  // namespace
