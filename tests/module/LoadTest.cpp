// Whole loads through the create export: what the host sees of a record.
#include <gtest/gtest.h>

#include <string>

#include "platform/FileAccess.h"
#include "platform/MessageBox.h"
#include "support/LoadedRecord.h"

namespace {

using fixture::Analog;
using fixture::Block;
using fixture::Event;
using fixture::LoadRecord;
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
    EXPECT_NE(std::string(reader->GetFileMetadata()->GetFileName()).find("record.xml"), std::string::npos);
    tm time{};
    double milliseconds = 0;
    EXPECT_TRUE(reader->GetTriggerTime(&time, &milliseconds));
    EXPECT_EQ(time.tm_hour, 22);
    EXPECT_EQ(milliseconds, 250.0);
    int zone = -1, dst = -1;
    EXPECT_FALSE(reader->GetTimeZone(&zone, &dst));
    EXPECT_EQ(zone, 0);
    EXPECT_EQ(dst, 0);
    EXPECT_EQ(reader->GetLogicalChannelCount() + reader->GetDigitalChannelCount(), 0);
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

TEST(Load, FailuresLeaveTheOutParameterUntouchedAndAreShown) {
    DisturbanceDataReader* const sentinel = reinterpret_cast<DisturbanceDataReader*>(0x1234);
    const auto attempt = [&](const std::string& xml) {
        fixture::TempDir folder;
        const std::string path = folder.Write("r.xml", xml);
        DisturbanceDataReader* out = sentinel;
        const bool loaded =
            CreateDisturbanceDataReaderInstance(&out, fixture::Wide(path).c_str(), "ENG", nullptr);
        EXPECT_EQ(out, sentinel);
        return loaded;
    };
    RecordBuilder base = Basic();
    base.AddAnalog("1", "IL1", {1, 2}, 1000);
    EXPECT_FALSE(attempt(RecordBuilder(base).Remove("DistHeader/Common/Device", "Name").Xml()));
    EXPECT_FALSE(attempt(RecordBuilder(base).Remove("DistHeader/Common/Timing", "sampleDuration").Xml()));
    EXPECT_FALSE(attempt(RecordBuilder(base).Remove("DistData/Common/EventLost").Xml()));
    EXPECT_FALSE(attempt(RecordBuilder(base).NumberOfSamples("3").Xml()));  // a trace shorter than the record
    EXPECT_FALSE(attempt(RecordBuilder(base).NumberOfSamples("100000000").Xml()));
    EXPECT_FALSE(attempt("<DistFile><unclosed></DistFile>"));
    EXPECT_FALSE(attempt("PK\x03\x04 not really an archive"));
    FreeDisturbanceDataReaderInstance(nullptr);

    // A missing file is shown once, with its name and the system's reason.
    const std::string missing = "/nonexistent/folder/record.xml";
    std::vector<std::string> messages;
    const platform::MessageSink previous =
        platform::SetMessageSink([&](const std::string& text) { messages.push_back(text); });
    DisturbanceDataReader* out = sentinel;
    EXPECT_FALSE(CreateDisturbanceDataReaderInstance(&out, fixture::Wide(missing).c_str(), "ENG", L""));
    platform::SetMessageSink(previous);
    EXPECT_EQ(out, sentinel);
    std::string bytes;
    int reason = 0;
    ASSERT_FALSE(platform::ReadWholeFile(missing, bytes, reason));
    EXPECT_EQ(messages, std::vector<std::string>{platform::FileErrorMessage(missing, reason)});
}

}  // namespace
