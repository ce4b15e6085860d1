// Channel objects as the host reads them: transitions, the transition in
// force at a sample, valid ranges, and the analog sample shift.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>

#include "module/RegularDigitalChannel.h"
#include "module/StaticSampleRateAnalogChannel.h"
#include "module/TransitionalStoredLogicalChannel.h"
#include "support/LoadedRecord.h"

namespace {

using fixture::Ranges;
using fixture::Transitions;

// A channel with one sample per character: 1 high, 0 low, x invalid.
std::unique_ptr<RegularDigitalChannel> Digital(const std::string& text) {
    auto channel = std::make_unique<RegularDigitalChannel>(nullptr, "Trip", 0, 7, "Prot/Trip",
                                                           static_cast<uint32_t>(text.size()));
    for (size_t p = 0; p < text.size(); ++p) {
        EXPECT_TRUE(channel->SetSample(static_cast<uint32_t>(p), text[p] == '1', text[p] == 'x'));
    }
    return channel;
}

TEST(DigitalChannel, TransitionsAndRangesFollowTheSampleText) {
    const struct {
        std::string samples, transitions, ranges;
    } cases[] = {{"0011x1", "1@0 2@2 0@4 2@5", "v@0 i@4 v@5"}, {"000", "1@0", "v@0"}, {"xxx", "0@0", "i@0"}};
    for (const auto& c : cases) {
        const auto channel = Digital(c.samples);
        EXPECT_EQ(Transitions(channel.get()), c.transitions);
        EXPECT_EQ(Ranges(channel->GetRangeMarker()), c.ranges);
        EXPECT_EQ(channel->GetRangeMarker()->HasInvalidRanges(), c.samples.find('x') != std::string::npos);
        for (uint32_t p = 0; p < c.samples.size(); ++p)
            EXPECT_EQ(channel->IsSampleInvalid(p), c.samples[p] == 'x');
    }
    const auto channel = Digital("0011x1");
    EXPECT_EQ(channel->FindTransition(3)->firstSample, 2u);
    EXPECT_EQ(channel->FindTransition(1000)->state, 2u);
}

TEST(DigitalChannel, SamplesMustArriveInOrder) {
    RegularDigitalChannel channel(nullptr, "a", 0, 1, "", 10);
    EXPECT_FALSE(channel.SetSample(5, true, false));
    EXPECT_TRUE(channel.SetSample(0, true, false));
    EXPECT_FALSE(channel.SetSample(0, false, false));
    EXPECT_EQ(Transitions(&channel), "2@0");
    // A channel without samples answers soundly: invalid, no transition.
    RegularDigitalChannel empty(nullptr, "e", 0, 1, "", 0);
    EXPECT_TRUE(empty.IsSampleInvalid(0));
    EXPECT_TRUE(empty.FindTransition(0) == empty.GetTransitionsEnd());
    EXPECT_EQ(Ranges(empty.GetRangeMarker()), "i@0");
}

TEST(LogicalChannel, MinusOneIsTheInvalidState) {
    TransitionalStoredLogicalChannel channel(nullptr, "Mode", 0x800000, 3, "Ctrl/Mode");
    const char* texts[] = {"3", "3", "-1", "4"};
    for (uint32_t s = 0; s < 4; ++s) ASSERT_TRUE(channel.SetSample(s, texts[s]));
    EXPECT_EQ(Transitions(&channel), "'3'@0 ''@2 '4'@3");
    EXPECT_TRUE(channel.IsSampleInvalid(2));
    EXPECT_FALSE(channel.IsSampleInvalid(3));
    EXPECT_EQ(Ranges(channel.GetRangeMarker()), "v@0 i@2 v@3");
    EXPECT_FALSE(channel.SetSample(9, "1"));
}

// An invalid sample counts for the magnitude; a sample never set stays 0.0
// and not valid; a shift moves the samples, outside them the channel is 0.0
// and not valid.
TEST(AnalogChannel, MagnitudeRangesAndSampleShift) {
    StaticSampleRateAnalogChannel channel(nullptr, "U", 0, "V", "", 1, 5);
    EXPECT_FALSE(channel.SetSample(5, 1.0, true));
    const double values[] = {-7.5, 3.0, std::numeric_limits<double>::quiet_NaN(), 1.0};
    for (uint32_t s = 0; s < 4; ++s) channel.SetSample(s, values[s], s > 0);
    EXPECT_EQ(channel.GetMaxMagnitude(), 7.5);
    EXPECT_TRUE(std::isnan(channel.GetSampleValue(2)));
    EXPECT_EQ(Ranges(channel.GetRangeMarker()), "i@0 v@1 i@4");
    EXPECT_TRUE(channel.HasInvalidRanges());
    channel.SetSampleShift(2);
    EXPECT_EQ(channel.GetSampleValue(3), 3.0);
    EXPECT_EQ(channel.GetSampleValue(1), 0.0);
    EXPECT_FALSE(channel.IsSampleValid(1));
    EXPECT_FALSE(channel.IsSampleValid(7));
    channel.SetSampleShift(-1);
    EXPECT_EQ(channel.GetSampleValue(0), 3.0);
    EXPECT_FALSE(channel.IsSampleValid(4));
}

}  // namespace
