// A record document: the header (the access rule, what counts as missing,
// the time base: sample interval, trigger time, time zone, trigger sample
// offset), the analog section (channel definitions and their sample blocks)
// and the digital section (signals rebuilt from the state image and the
// events).
#include <gtest/gtest.h>

#include <array>
#include <ctime>

#include "record/AnalogSectionDecoder.h"
#include "record/DisturbanceRecord.h"
#include "record/TriggerTime.h"
#include "support/RecordFixture.h"

namespace {

using Texts = std::vector<std::array<const char*, 3>>;  // id, text, module text
using fixture::Analog;
using fixture::Block;
using fixture::Event;
using fixture::RecordBuilder;
using record::AnalogTrace;
using record::SampleStore;
using record::StateRun;
using record::DisturbanceRecord;

struct Opened {
    DisturbanceRecord record;
    explicit Opened(const RecordBuilder& builder) { EXPECT_TRUE(record.OpenText(builder.Xml())); }
};

// Any root name; the first element of a path counts, an empty attribute is
// missing; the name is UTF-8, the version Windows-1252 byte by byte.
TEST(RecordDocument, AccessRuleAndTextDecodings) {
    std::string xml = RecordBuilder().Device("Relais \xC3\xA4", "").Xml();
    xml.insert(xml.find("</Common>"), "<Device Version=\"V9\"/>");
    for (size_t at; (at = xml.find("DistFile")) != std::string::npos;) xml.replace(at, 8, "Record");
    DisturbanceRecord record, latin;
    ASSERT_TRUE(record.OpenText(xml) && latin.OpenText(RecordBuilder().Device("R", "V1\xB5").Xml()));
    std::wstring name, latinVersion, version = L"untouched";
    EXPECT_TRUE(record.GetDeviceName(name) && latin.GetDeviceVersion(latinVersion));
    EXPECT_EQ(name + L"|" + latinVersion, L"Relais \u00E4|V1\u00B5");
    EXPECT_FALSE(record.GetDeviceVersion(version));
    EXPECT_EQ(version, L"untouched");
    for (const char* text :
         {"", "<?xml version=\"1.0\"?><!-- nothing -->", "<DistFile><DistHeader></DistFile>"}) {
        EXPECT_FALSE(DisturbanceRecord().OpenText(text)) << text;
    }
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
    // The calendar runs from 1970 to the end of 3000.
    record::CalendarTime time;
    EXPECT_TRUE(record::BreakDownUtc(0, time));
    ASSERT_TRUE(record::BreakDownUtc(record::kLastRepresentableSecond, time));
    EXPECT_EQ(record::FormatTriggerTime(time), L"3000-12-31  23:59:59.000");
    EXPECT_FALSE(record::BreakDownUtc(record::kLastRepresentableSecond + 1, time));
    EXPECT_FALSE(record::BreakDownUtc(-1, time));
    ASSERT_TRUE(record::BreakDownUtc(951782400, time));  // a leap day
    EXPECT_EQ(record::FormatTriggerTime(time), L"2000-02-29  00:00:00.000");
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

// Opens the record, fills the text table, then decodes the analog section
// and, when asked, the digital section.
struct Decoded {
    record::DisturbanceRecord record;
    bool loaded = false;
    Decoded(const RecordBuilder& builder, bool digital, const Texts& texts = {}) {
        EXPECT_TRUE(record.OpenText(builder.Xml()));
        for (const auto& text : texts) record.TextTable().Add(text[0], text[1], text[2]);
        loaded = record.LoadAnalogSection();
        if (digital) {
            EXPECT_TRUE(loaded);
            loaded = record.LoadDigitalSection();
        }
    }
    const AnalogTrace& Trace(size_t i) { return record.AnalogTraces().at(i); }
};

// The values, "-" for a sample that is not valid.
std::string Values(const SampleStore& samples) {
    std::string text;
    for (size_t i = 0; i < samples.Size(); ++i) {
        text += (text.empty() ? "" : " ") +
                (samples.IsValid(i) ? std::to_string(static_cast<int64_t>(samples.Value(i))) : "-");
    }
    return text;
}

// Values are split at blanks; gaps between blocks are invalid samples.
TEST(AnalogSection, ValuesAndBlocks) {
    SampleStore samples;
    record::AnalogSectionDecoder::AppendValues(" 10  -20 30 ", samples);
    // The removed characters join the digits; not a number is 0, still valid;
    // what follows the digits is ignored, and values beyond 32 bits are kept.
    record::AnalogSectionDecoder::AppendValues("1\t2\n3\b4 x", samples);
    record::AnalogSectionDecoder::AppendValues("\r5 +6 -7x 00000000000000000000008 -4294967296 -99999999999999999999",
                                               samples);
    EXPECT_EQ(Values(samples), "10 -20 30 1234 0 5 6 -7 8 -4294967296 -9223372036854775808");
    Analog analog;
    analog.id = "1";
    // 110 - 5 - 100 = 5 invalid samples; the overlapping block is appended.
    analog.blocks = {Block{"100", "1 2 3 4 5"}, Block{"110", "6 7"}, Block{"105", "8"}};
    Decoded decoded(RecordBuilder().AddAnalog(analog).NumberOfSamples("13"), false);
    ASSERT_TRUE(decoded.loaded);
    EXPECT_EQ(Values(decoded.Trace(0).samples), "1 2 3 4 5 - - - - - 6 7 8");
    EXPECT_EQ(decoded.record.AnalogSampleCount(), 13u);
    // A block without values keeps the earlier blocks only.
    analog.blocks = {Block{"0", "1 2"}, Block{"10", ""}};
    Decoded cut(RecordBuilder().AddAnalog(analog), false);
    ASSERT_TRUE(cut.loaded);
    EXPECT_EQ(Values(cut.Trace(0).samples), "1 2");
}

// Kept: the first definition of an id that has a trace, at least one Scale
// and a unitId, and is no reserve channel. Scale offsets are truncated.
TEST(AnalogSection, DefinitionRules) {
    Analog first;
    first.id = "7", first.key = "Prot/Res", first.scales = {{"2.5", "-2.9", ""}},
    first.blocks = {Block{"0", "1"}};
    Analog duplicate = first, noScale = first, noUnitId = first, noTrace = first;
    duplicate.key = "Prot/Other", duplicate.withTrace = false;
    noScale.id = "8", noScale.scales = {};
    noUnitId.id = "9", noUnitId.unitId = "";
    noTrace.id = "10", noTrace.withTrace = false;
    RecordBuilder builder;
    builder.AddAnalog(first).AddAnalog(duplicate).AddAnalog(noScale).AddAnalog(noUnitId).AddAnalog(noTrace);
    builder.AddAnalog("11", "Reserve 3", {1}).AddAnalog("12", "Preserved", {1});  // reserve channels
    Decoded decoded(builder, false);
    ASSERT_TRUE(decoded.loaded);
    ASSERT_EQ(decoded.record.AnalogTraces().size(), 1u);
    EXPECT_EQ(decoded.Trace(0).name, "[Res]");
    EXPECT_EQ(decoded.Trace(0).scalings.at(0).offset, -2);
    EXPECT_FALSE(Decoded(RecordBuilder().Remove("DistHeader/AnalogHeader"), false).loaded);
    EXPECT_FALSE(Decoded(RecordBuilder().AddAnalog("1", "a", {1}).Remove("DistData/Traces"), false).loaded);
}

// Names and units come from the text table, with the module text when the
// analog header asks for it, else from the key; a digital definition is
// named through the state image's id text as written.
TEST(ChannelNames, FromTheTextTableOrTheKey) {
    RecordBuilder builder;
    builder.AnalogHeaderAttribute("viewExtension", "withModuleNode");
    Analog named, missing;
    named.id = "5", named.key = "M/Ia", named.unitId = "77", named.unit = "raw",
    named.blocks = {Block{"0", "1"}};
    missing.id = "6", missing.key = "M/Ib", missing.unit = "raw", missing.blocks = {Block{"0", "1"}};
    builder.AddAnalog(named).AddAnalog(missing).AddDigital("1", "Prot/Trip").AddStateImage("01", "0");
    Decoded decoded(
        builder, true,
        {{"5", "Ia", "Module 1"}, {"77", "kA", "-"}, {"1", "Trip", "P"}, {"01", "Trip (image)", "P"}});
    ASSERT_TRUE(decoded.loaded);
    EXPECT_EQ(decoded.Trace(0).name + " / " + decoded.Trace(0).unit, "Module 1 . Ia / kA");
    EXPECT_EQ(decoded.Trace(1).name + " / " + decoded.Trace(1).unit, "{Ib} / raw");
    ASSERT_EQ(decoded.record.DigitalTraces().size(), 1u);
    EXPECT_EQ(decoded.record.DigitalTraces()[0].name, "P . Trip (image)");
}

// A record of 10 samples starting at sample number 1000.
RecordBuilder TenSamples() {
    RecordBuilder builder;
    builder.AddAnalog("1", "IL1", {0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 1000);
    return builder;
}

// One-bit signals become runs of 0 and 1, multi-bit ones runs of values.
TEST(DigitalSection, EventsBuildRunsFromPreviousValues) {
    RecordBuilder builder = TenSamples();
    builder.AddDigital("1", "Runs")
        .AddDigital("2", "AtEnd")
        .AddDigital("3", "Beyond")
        .AddDigital("4", "Same");
    builder.AddDigital("5", "Unknown").AddStateImage("1", "0");
    // Out of time order across sets: the history is sorted before building.
    builder.AddEventSet("1006", {Event{"1", "0", "1"}});
    builder.AddEventSet("1002", {Event{"1", "1", "0"}, Event{"99", "0", "1"}, Event{"5", "1", "0"}});
    // At sample n an event is kept but adds nothing; at n + 1 it is removed.
    builder.AddEventSet("1010", {Event{"2", "1", "0"}, Event{"3", "1", "0"}});
    builder.AddEventSet("1011", {Event{"3", "0", "1"}});
    // Before sample 4 the first event's previous value (1, not the second's
    // 0); from there the last event's value.
    builder.AddEventSet("1004", {Event{"4", "0", "1"}, Event{"4", "1", "0"}});
    builder.AddEventSet("", {Event{"5", "0", "1"}});  // no timeSample: the whole set is skipped
    // Constant signals from the state image, and multi-bit ones.
    builder.AddDigital("11", "Prot/Trip").AddDigital("12", "Prot/Pickup").AddDigital("13", "Ctrl/Mode", "4");
    builder.AddDigital("15", "Ctrl/Level", "8").AddStateImage("12", "1").AddStateImage("13", "2");
    builder.AddStateImage("15", "3").AddEventSet("1003", {Event{"15", "4", "3"}});
    builder.AddEventSet("1008", {Event{"15", "-1", "4"}});
    Decoded decoded(builder, true);
    ASSERT_TRUE(decoded.loaded);
    // Signals with events by name (AtEnd, Beyond, Runs, Same, Unknown), then
    // the constant ones by name (Pickup, Trip); the same for multi-bit ones.
    std::string digital;
    for (const auto& trace : decoded.record.DigitalTraces()) {
        for (const StateRun& run : trace.runs) digital.append(run.length, static_cast<char>('0' + run.value));
        digital += ' ';
    }
    EXPECT_EQ(digital, "0000000000 0000000000 0011110000 1111111111 0011111111 1111111111 0000000000 ");
    EXPECT_EQ(decoded.record.DigitalTraces()[0].name, "[AtEnd]");
    ASSERT_EQ(decoded.record.LogicalTraces().size(), 2u);
    const auto values = [&](size_t index) {
        std::vector<int32_t> expanded;
        for (const StateRun& run : decoded.record.LogicalTraces()[index].runs)
            expanded.insert(expanded.end(), run.length, run.value);
        return expanded;
    };
    EXPECT_EQ(values(0), (std::vector<int32_t>{3, 3, 3, 4, 4, 4, 4, 4, -1, -1}));
    EXPECT_EQ(values(1), std::vector<int32_t>(10, 2));
}

TEST(DigitalSection, FailsWithoutItsParts) {
    EXPECT_FALSE(Decoded(TenSamples().Remove("DistData/Events"), true).loaded);
    EXPECT_FALSE(Decoded(TenSamples().Remove("DistHeader/DigitalHeader"), true).loaded);
    EXPECT_FALSE(Decoded(TenSamples().Remove("DistData/StateImage"), true).loaded);
    EXPECT_FALSE(Decoded(TenSamples().AddDigital("1", "a", "", ""), true).loaded);  // no normalState
    EXPECT_FALSE(Decoded(TenSamples().AddStateImage("1", ""), true).loaded);
    // No trace to take the length from.
    record::DisturbanceRecord record;
    ASSERT_TRUE(record.OpenText(RecordBuilder().AddDigital("1", "a").NumberOfSamples("10").Xml()));
    EXPECT_FALSE(record.LoadDigitalSection());
}

}  // namespace
