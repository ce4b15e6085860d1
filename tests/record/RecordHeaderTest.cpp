// The record header: the access rule, what counts as missing, and the time
// base (sample interval, trigger time, time zone, trigger sample offset).
#include <gtest/gtest.h>

#include <ctime>

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

TEST(RecordDocument, AccessRuleTakesFirstElementsAndTreatsEmptyAsMissing) {
    RecordBuilder builder;
    builder.Set("DistHeader/Common/Device", "Version", "");
    pugi::xml_node second =
        builder.Document().document_element().child("DistHeader").child("Common").append_child("Device");
    second.append_attribute("Name") = "Other";
    second.append_attribute("Version") = "V9";
    Opened opened(builder);
    std::wstring name, version = L"untouched";
    EXPECT_TRUE(opened.record.GetDeviceName(name));
    EXPECT_EQ(name, L"CVR87");
    EXPECT_FALSE(opened.record.GetDeviceVersion(version));
    EXPECT_EQ(version, L"untouched");
}

TEST(RecordDocument, AnyRootNameAndTextDecodings) {
    std::string xml = RecordBuilder().Device("Relais \xC3\xA4", "V1\xB5").Xml();
    for (size_t at; (at = xml.find("DistFile")) != std::string::npos;) xml.replace(at, 8, "Record");
    DisturbanceRecord record;
    ASSERT_TRUE(record.OpenText(xml));
    std::wstring name, version;
    ASSERT_TRUE(record.GetDeviceName(name) && record.GetDeviceVersion(version));
    EXPECT_EQ(name, L"Relais \u00E4");  // UTF-8
    EXPECT_EQ(version, L"V1\u00B5");    // byte by byte, Windows-1252
    DisturbanceRecord empty, comment, broken;
    EXPECT_FALSE(empty.OpenText(""));
    EXPECT_FALSE(comment.OpenText("<?xml version=\"1.0\"?><!-- nothing -->"));
    EXPECT_FALSE(broken.OpenText("<DistFile><DistHeader></DistFile>"));
}

TEST(TimeBase, TriggerTimeText) {
    const auto timing = [](const char* adjust2) { return RecordBuilder().Timing("0.001", "1", adjust2); };
    const struct {
        RecordBuilder builder;
        std::wstring text;  // "unset": no text
    } cases[] = {
        {RecordBuilder(), L"2023-11-14  22:13:20.250"},
        // Zone and daylight offsets are added to the UTC time.
        {RecordBuilder().TimeZone("3600", "3600"), L"2023-11-15  00:13:20.250"},
        // Ticks of 1/3 s: remainder 2 of 3 gives 666 ms, never 1000.
        {timing("3").Trigger("4", "1", "1"), L"1970-01-01  00:00:01.666"},
        // -1 tick as unsigned is 2^64-1; times 1 over 2^62 gives 3 s, and the
        // remainder x 1000 wraps as well.
        {timing("4611686018427387904").Trigger("-2", "1", "1"), L"1970-01-01  00:00:03.003"},
        {timing("3").Trigger("5", "0", "1"), L"unset"},
        {RecordBuilder().Set("DistData/Common/Trigger", "timeCount", "0"), L"unset"},
        {RecordBuilder().Remove("DistData/Common/Trigger", "timeCount"), L"unset"},
        {RecordBuilder().Remove("DistData/Common/Trigger", "timeOffset"), L"unset"},
        {timing("0"), L"unset"},
        {RecordBuilder().Trigger("-5000000", "1", "1"), L"unset"},  // before 1970
    };
    for (const auto& c : cases) {
        Opened opened(c.builder);
        std::wstring text = L"unset";
        opened.record.GetTriggerTimeText(text);
        EXPECT_EQ(text, c.text) << c.builder.Xml();
    }
}

TEST(TimeBase, HeaderValuesAndTriggerSampleOffset) {
    RecordBuilder builder;
    builder.TimeZone("3600", "0").AnalogHeaderAttribute("xOffsetDefaultSamples", "4294967301");
    builder.AddAnalog("1", "IL1", {1, 2, 3}, 1000).Trigger("1700000000000000", "250000", "997");
    Opened opened(builder);
    record::HeaderValues header;
    ASSERT_TRUE(opened.record.ReadHeader(header));
    EXPECT_EQ(header.defaultXOffset, 5);  // the low 32 bits
    // The zone offset is in the fields as well: hour 23, weekday 2, day 318.
    char fields[32];
    std::strftime(fields, sizeof fields, "%Y-%m-%d %H %w %j", &header.triggerTime);
    EXPECT_STREQ(fields, "2023-11-14 23 2 318");
    int64_t offset = 0;
    ASSERT_TRUE(opened.record.GetTriggerSampleOffset(offset));
    EXPECT_EQ(offset, -3);
    EXPECT_FALSE(Opened{RecordBuilder()}.record.GetTriggerSampleOffset(offset));
    // A zone offset of 0 counts as missing, and takes the daylight offset along.
    Opened zeroZone{RecordBuilder().TimeZone("0", "3600").AddAnalog("1", "IL1", {1}, 1000)};
    record::HeaderValues zoneless;
    ASSERT_TRUE(zeroZone.record.ReadHeader(zoneless));
    EXPECT_FALSE(zoneless.timeZoneValid);
    EXPECT_EQ(zoneless.dstOffset, 0);
}

TEST(TimeBase, UtcBreakdownLimits) {
    record::CalendarTime time;
    EXPECT_TRUE(record::BreakDownUtc(0, time));
    ASSERT_TRUE(record::BreakDownUtc(record::kLastRepresentableSecond, time));
    EXPECT_EQ(record::FormatTriggerTime(time), L"3000-12-31  23:59:59.000");
    EXPECT_FALSE(record::BreakDownUtc(record::kLastRepresentableSecond + 1, time));
    EXPECT_FALSE(record::BreakDownUtc(-1, time));
    ASSERT_TRUE(record::BreakDownUtc(951782400, time));  // a leap day
    EXPECT_EQ(record::FormatTriggerTime(time), L"2000-02-29  00:00:00.000");
}

}  // namespace
