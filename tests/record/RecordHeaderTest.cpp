// The record header: the access rule, what counts as missing, and the time
// base (sample interval, trigger time, time zone, trigger sample offset).
#include <gtest/gtest.h>

#include "record/DisturbanceRecord.h"
#include "record/TriggerTime.h"
#include "support/RecordFixture.h"

namespace {

using fixture::RecordBuilder;
using record::DisturbanceRecord;

struct Opened {
    DisturbanceRecord record;
    explicit Opened(const RecordBuilder& builder) { EXPECT_TRUE(record.OpenText(builder.Xml())); }
};

std::wstring TriggerText(const RecordBuilder& builder) {
    Opened opened(builder);
    std::wstring text = L"unset";
    opened.record.GetTriggerTimeText(text);
    return text;
}

TEST(RecordDocument, AccessRuleTakesFirstElementsAndTreatsEmptyAsMissing) {
    RecordBuilder builder;
    builder.Set("DistHeader/Common/Device", "Version", "");
    pugi::xml_node common = builder.Document().document_element().child("DistHeader").child("Common");
    pugi::xml_node second = common.append_child("Device");
    second.append_attribute("Name") = "Other";
    second.append_attribute("Version") = "V9";
    Opened opened(builder);
    std::wstring name, version = L"untouched";
    EXPECT_TRUE(opened.record.GetDeviceName(name));
    EXPECT_EQ(name, L"7SR87");
    EXPECT_FALSE(opened.record.GetDeviceVersion(version));
    EXPECT_EQ(version, L"untouched");
}

TEST(RecordDocument, AnyRootNameAndTextDecodings) {
    std::string xml = RecordBuilder().Device("Relais \xC3\xA4", "V1\xB5").Xml();
    for (size_t at; (at = xml.find("DistFile")) != std::string::npos;) xml.replace(at, 8, "Record");
    DisturbanceRecord record;
    ASSERT_TRUE(record.OpenText(xml));
    std::wstring name, version;
    ASSERT_TRUE(record.GetDeviceName(name));
    ASSERT_TRUE(record.GetDeviceVersion(version));
    EXPECT_EQ(name, L"Relais \u00E4");    // UTF-8
    EXPECT_EQ(version, L"V1\u00B5");  // byte by byte, Windows-1252
}

TEST(RecordDocument, TextWithoutElementOrMalformedDoesNotOpen) {
    DisturbanceRecord empty, comment, broken;
    EXPECT_FALSE(empty.OpenText(""));
    EXPECT_FALSE(comment.OpenText("<?xml version=\"1.0\"?><!-- nothing -->"));
    EXPECT_FALSE(broken.OpenText("<DistFile><DistHeader></DistFile>"));
}

TEST(TimeBase, TriggerTimeTextFromTicks) {
    EXPECT_EQ(TriggerText(RecordBuilder()), L"2023-11-14  22:13:20.250");
    // Zone and daylight offsets are added to the UTC time.
    EXPECT_EQ(TriggerText(RecordBuilder().TimeZone("3600", "3600")), L"2023-11-15  00:13:20.250");
    // Ticks of 1/3 s: remainder 2 of 3 gives 666 ms, never 1000.
    EXPECT_EQ(TriggerText(RecordBuilder().Timing("0.001", "1", "3").Trigger("5", "0", "1")), L"unset");
    EXPECT_EQ(TriggerText(RecordBuilder().Timing("0.001", "1", "3").Trigger("4", "1", "1")), L"1970-01-01  00:00:01.666");
}

TEST(TimeBase, MissingOrZeroTimeValuesFailTheText) {
    for (const char* attribute : {"timeCount", "timeOffset"}) {
        EXPECT_EQ(TriggerText(RecordBuilder().Set("DistData/Common/Trigger", attribute, "0")), L"unset") << attribute;
        EXPECT_EQ(TriggerText(RecordBuilder().Remove("DistData/Common/Trigger", attribute)), L"unset") << attribute;
    }
    EXPECT_EQ(TriggerText(RecordBuilder().Set("DistHeader/Common/Timing", "timeAdjust2", "0")), L"unset");
    // Before 1970 there is no time to show.
    EXPECT_EQ(TriggerText(RecordBuilder().Trigger("-5000000", "1", "1")), L"unset");
}

TEST(TimeBase, NegativeTicksDivideAsUnsigned) {
    // -1 tick as unsigned is 2^64-1; times 1 over 2^62 gives 3 s and a remainder.
    const std::wstring text =
        TriggerText(RecordBuilder().Timing("0.001", "1", "4611686018427387904").Trigger("-2", "1", "1"));
    EXPECT_EQ(text, L"1970-01-01  00:00:03.003");  // remainder x 1000 wraps as well
}

TEST(TimeBase, HeaderValues) {
    RecordBuilder builder;
    builder.TimeZone("3600", "0").AnalogHeaderAttribute("xOffsetDefaultSamples", "4294967301");
    builder.AddAnalog("1", "IL1", {1, 2, 3}, 1000);
    Opened opened(builder);
    record::HeaderValues header;
    ASSERT_TRUE(opened.record.ReadHeader(header));
    EXPECT_EQ(header.sampleCount, 3u);
    EXPECT_DOUBLE_EQ(header.sampleInterval, 1.0);
    EXPECT_TRUE(header.timeZoneValid);
    EXPECT_EQ(header.timeZoneOffset, 3600);
    EXPECT_EQ(header.dstOffset, 0);
    EXPECT_EQ(header.description, L"7SR87   V04.10.02");
    EXPECT_EQ(header.defaultXOffset, 5);
    EXPECT_EQ(header.triggerTime.tm_year, 123);
    EXPECT_EQ(header.triggerTime.tm_mon, 10);
    EXPECT_EQ(header.triggerTime.tm_mday, 14);
    EXPECT_EQ(header.triggerTime.tm_hour, 23);  // the zone offset is in the text and the fields
    EXPECT_EQ(header.triggerTime.tm_wday, 2);
    EXPECT_EQ(header.triggerTime.tm_yday, 317);
    EXPECT_EQ(header.triggerMilliseconds, 250.0);
}

TEST(TimeBase, TimeZoneZeroCountsAsMissing) {
    RecordBuilder builder;
    builder.TimeZone("0", "3600").AddAnalog("1", "IL1", {1}, 1000);
    Opened opened(builder);
    record::HeaderValues header;
    ASSERT_TRUE(opened.record.ReadHeader(header));
    EXPECT_FALSE(header.timeZoneValid);
    EXPECT_EQ(header.dstOffset, 0);
}

TEST(TimeBase, TriggerSampleOffset) {
    RecordBuilder builder;
    builder.AddAnalog("1", "IL1", {1, 2}, 1000).Trigger("1700000000000000", "1", "997");
    Opened opened(builder);
    int64_t offset = 0;
    ASSERT_TRUE(opened.record.GetTriggerSampleOffset(offset));
    EXPECT_EQ(offset, -3);
    RecordBuilder noTrace;
    Opened withoutData(noTrace);
    EXPECT_FALSE(withoutData.record.GetTriggerSampleOffset(offset));
}

TEST(TimeBase, UtcBreakdownLimits) {
    record::CalendarTime time;
    EXPECT_TRUE(record::BreakDownUtc(0, time));
    EXPECT_TRUE(record::BreakDownUtc(record::kLastRepresentableSecond, time));
    EXPECT_EQ(time.year, 3000);
    EXPECT_EQ(time.month, 12);
    EXPECT_EQ(time.day, 31);
    EXPECT_EQ(time.second, 59);
    EXPECT_FALSE(record::BreakDownUtc(record::kLastRepresentableSecond + 1, time));
    EXPECT_FALSE(record::BreakDownUtc(-1, time));
    EXPECT_TRUE(record::BreakDownUtc(951782400, time));  // 2000-02-29, a leap day
    EXPECT_EQ(time.month, 2);
    EXPECT_EQ(time.day, 29);
}

}  // namespace
