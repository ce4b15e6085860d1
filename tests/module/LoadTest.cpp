// What the host sees of a record: whole loads through the create export, and
// the channel objects (transitions, the transition in force at a sample,
// valid ranges, the analog sample shift).
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <string>

#include "module/RegularDigitalChannel.h"
#include "module/StaticSampleRateAnalogChannel.h"
#include "module/TransitionalStoredLogicalChannel.h"
#include "platform/MessageBox.h"
#include "support/LoadedRecord.h"

namespace {

using fixture::Analog;
using fixture::Block;
using fixture::Event;
using fixture::LoadRecord;
using fixture::Ranges;
using fixture::RecordBuilder;
using fixture::Transitions;

// The trigger at sample number `triggerSample`, 250 ms after the second.
RecordBuilder Basic(const char* triggerSample = "1000") {
    RecordBuilder builder;
    builder.Trigger("1700000000000000", "250000", triggerSample);
    return builder;
}

TEST(Load, RecordLevelValuesAndChannelColours) {
    RecordBuilder builder = Basic("1004");
    const char* keys[] = {"Meas/IL1", "L1-L2", "l2", "L1/L3", "IN"};
    for (int i = 0; i < 5; ++i)
        builder.AddAnalog(std::to_string(i + 1), keys[i], {1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
    auto reader = LoadRecord(builder);
    ASSERT_TRUE(reader);
    EXPECT_EQ(reader->GetSampleCount(), 10u);
    EXPECT_EQ(reader->GetTriggerSample(), 4u);
    EXPECT_DOUBLE_EQ(reader->GetSampleInterval(), 1.0);
    EXPECT_DOUBLE_EQ(reader->GetSampleTime(0), -4.0);
    EXPECT_DOUBLE_EQ(reader->GetSampleTime(9), 5.0);
    EXPECT_STREQ(reader->GetFileMetadata()->GetDescription(), "CVR87   V04.10.02");
    EXPECT_STREQ(reader->GetFileMetadata()->GetTriggerTimeText(), "2023-11-14  22:13:20.250");
    int zone = -1, dst = -1;
    EXPECT_FALSE(reader->GetTimeZone(&zone, &dst));
    EXPECT_EQ(std::make_pair(zone, dst), std::make_pair(0, 0));
    // Colours by the one phase in the key's last part, else by channel index.
    ASSERT_EQ(reader->GetAnalogChannelCount(), 5);
    const uint32_t colours[] = {0x0000FF, 0x1180FF + 1 * 0xA3333, 0x008000, 0xFF0000, 0x1180FF + 4 * 0xA3333};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(reader->GetAnalogChannel(i)->GetMetadata()->GetColor(), colours[i]) << i;
}

TEST(Load, TriggerBeforeTheFirstSamplePadsEveryChannel) {
    RecordBuilder builder = Basic("997");
    builder.AddAnalog("1", "IL1", {5, 6}, 1000);
    builder.AddDigital("1", "Trip").AddDigital("2", "Mode", "8").AddStateImage("2", "7");
    builder.AddEventSet("1001", {Event{"1", "1", "0"}});
    auto reader = LoadRecord(builder);
    ASSERT_TRUE(reader);
    EXPECT_EQ(reader->GetSampleCount(), 5u);
    EXPECT_EQ(reader->GetTriggerSample(), 0u);
    AnalogChannelReader* analog = reader->GetAnalogChannel(0);
    EXPECT_FALSE(analog->IsSampleValid(2));
    EXPECT_EQ(analog->GetSampleValue(2), 0.0);
    EXPECT_EQ(analog->GetSampleValue(3), 5.0);
    EXPECT_EQ(fixture::Ranges(analog->GetRangeMarker()), "i@0 v@3");
    ASSERT_EQ(reader->GetDigitalChannelCount(), 1);
    EXPECT_EQ(Transitions(reader->GetDigitalChannel(0)), "0@0 1@3 2@4");
    // Digital channels keep the count from before the padding.
    EXPECT_EQ(reader->GetDigitalChannel(0)->GetSampleCount(), 2u);
    ASSERT_EQ(reader->GetLogicalChannelCount(), 1);
    EXPECT_EQ(reader->GetLogicalChannel(0)->GetSampleCount(), 5u);
    EXPECT_EQ(Transitions(reader->GetLogicalChannel(0)), "''@0");
}

TEST(Load, LostEventsMarkTheStartStateUnknown) {
    RecordBuilder builder = Basic();
    builder.AddAnalog("1", "IL1", {0, 0, 0, 0, 0, 0}, 1000).LostEvents("2");
    builder.AddDigital("1", "Trip").AddEventSet("1003", {Event{"1", "1", "0"}});
    builder.AddDigital("2", "Mode", "4").AddStateImage("2", "5");
    auto reader = LoadRecord(builder);
    ASSERT_TRUE(reader);
    EXPECT_EQ(Transitions(reader->GetDigitalChannel(0)), "0@0 2@3");  // 000111 -> xxx111
    EXPECT_EQ(Transitions(reader->GetLogicalChannel(0)), "''@0");
    EXPECT_TRUE(reader->GetDigitalChannel(0)->GetRangeMarker()->HasInvalidRanges());
}

TEST(Load, ScalingAndXOffset) {
    RecordBuilder builder = Basic();
    Analog plain, factorless, shifted, switched;
    plain.id = "1", plain.scales = {{"2.0", "3", ""}}, plain.blocks = {Block{"1000", "10 -10 0 0"}};
    factorless.id = "2", factorless.scales = {{"0", "3", ""}},
    factorless.blocks = {Block{"1000", "10 -10 0 0"}};
    shifted.id = "3", shifted.xOffsetEnabled = "true", shifted.blocks = {Block{"1000", "7 8 0 0"}};
    // The second scaling applies while digital channel 7 is high.
    switched.id = "4", switched.scales = {{"1", "0", ""}, {"10", "0", "7"}},
    switched.blocks = {Block{"1000", "1 1 1 1"}};
    builder.AddAnalog(plain)
        .AddAnalog(factorless)
        .AddAnalog(shifted)
        .AnalogHeaderAttribute("xOffsetDefaultSamples", "1");
    RecordBuilder withoutRange = builder;
    builder.AddAnalog(switched).AddDigital("7", "Range").AddEventSet("1002", {Event{"7", "1", "0"}});
    auto reader = LoadRecord(builder);
    ASSERT_TRUE(reader);
    EXPECT_EQ(reader->GetAnalogChannel(0)->GetSampleValue(0), 26.0);
    EXPECT_EQ(reader->GetAnalogChannel(0)->GetSampleValue(1), -14.0);
    EXPECT_EQ(reader->GetAnalogChannel(0)->GetMaxMagnitude(), 26.0);
    EXPECT_EQ(reader->GetAnalogChannel(1)->GetSampleValue(0), 13.0);
    // Shifted by one: sample 0 is an unrecorded 0.0 that counts as valid.
    AnalogChannelReader* third = reader->GetAnalogChannel(2);
    EXPECT_EQ(third->GetSampleValue(0), 0.0);
    EXPECT_TRUE(third->IsSampleValid(0));
    EXPECT_EQ(third->GetSampleValue(1), 7.0);
    EXPECT_EQ(reader->GetFileMetadata()->GetDefaultXOffset(), 1);
    EXPECT_EQ(reader->GetAnalogChannel(3)->GetSampleValue(1), 1.0);
    EXPECT_EQ(reader->GetAnalogChannel(3)->GetSampleValue(2), 10.0);
    // Without a digital channel of that id the record cannot be scaled.
    EXPECT_FALSE(LoadRecord(withoutRange.AddAnalog(switched)));
}

TEST(Load, FailuresLeaveTheOutParameterUntouchedAndAMissingFileIsShown) {
    RecordBuilder base = Basic();
    base.AddAnalog("1", "IL1", {1, 2}, 1000);
    const std::string damaged[] = {
        RecordBuilder(base).Remove("DistHeader/Common/Device", "Name").Xml(),
        RecordBuilder(base).Remove("DistHeader/Common/Timing", "sampleDuration").Xml(),
        RecordBuilder(base).Remove("DistData/Common/EventLost").Xml(),
        RecordBuilder(base).NumberOfSamples("3").Xml(),  // a trace shorter than the record
        RecordBuilder(base).NumberOfSamples("100000000").Xml(),
        "<DistFile><unclosed></DistFile>",
        "PK\x03\x04 not really an archive"};
    fixture::TempDir folder;
    DisturbanceDataReader* const sentinel = reinterpret_cast<DisturbanceDataReader*>(0x1234);
    DisturbanceDataReader* out = sentinel;
    for (const std::string& xml : damaged) {
        const std::wstring path = fixture::Wide(folder.Write("r.xml", xml));
        EXPECT_FALSE(CreateDisturbanceDataReaderInstance(&out, path.c_str(), "ENG", nullptr)) << xml;
        EXPECT_EQ(out, sentinel);
    }
    FreeDisturbanceDataReaderInstance(nullptr);
    std::vector<std::string> messages;
    const platform::MessageSink previous =
        platform::SetMessageSink([&](const std::string& text) { messages.push_back(text); });
    EXPECT_FALSE(CreateDisturbanceDataReaderInstance(&out, L"/nonexistent/folder/record.xml", "ENG", L""));
    platform::SetMessageSink(previous);
    EXPECT_EQ(out, sentinel);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("/nonexistent/folder/record.xml"), std::string::npos);
    EXPECT_NE(messages[0].find("No such file"), std::string::npos);
}

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
