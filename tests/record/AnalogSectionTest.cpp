// Analog channel definitions and their sample blocks.
#include <gtest/gtest.h>

#include "record/AnalogSectionDecoder.h"
#include "record/DisturbanceRecord.h"
#include "support/RecordFixture.h"

namespace {

using fixture::Analog;
using fixture::Block;
using fixture::RecordBuilder;
using record::AnalogSample;
using record::AnalogTrace;
using record::DisturbanceRecord;

std::string Validity(const AnalogTrace& trace) {
    std::string text;
    for (const AnalogSample& sample : trace.samples) text += sample.valid ? '1' : '0';
    return text;
}

struct Decoded {
    DisturbanceRecord record;
    bool loaded = false;
    explicit Decoded(const RecordBuilder& builder) {
        EXPECT_TRUE(record.OpenText(builder.Xml()));
        loaded = record.LoadAnalogSection();
    }
    std::vector<AnalogTrace>& Traces() { return record.AnalogTraces(); }
};

TEST(AnalogSection, ValuesTextIsSplitAtBlanks) {
    std::vector<AnalogSample> samples;
    std::string scratch;
    record::AnalogSectionDecoder::AppendValues(" 10  -20 30 ", samples, scratch);
    record::AnalogSectionDecoder::AppendValues("1\t2\n3\b4 x", samples, scratch);
    ASSERT_EQ(samples.size(), 5u);
    EXPECT_EQ(samples[0].value, 10.0);
    EXPECT_EQ(samples[1].value, -20.0);
    EXPECT_EQ(samples[2].value, 30.0);
    EXPECT_EQ(samples[3].value, 1234.0);  // the removed characters join the digits
    EXPECT_EQ(samples[4].value, 0.0);     // not a number: 0, still valid
    EXPECT_TRUE(samples[4].valid);
}

TEST(AnalogSection, GapsBetweenBlocksAreInvalid) {
    Analog analog;
    analog.id = "1";
    analog.key = "Meas/IL1";
    analog.blocks = {Block{"100", "1 2 3 4 5"}, Block{"110", "6 7"}, Block{"105", "8"}};
    Decoded decoded(RecordBuilder().AddAnalog(analog));
    ASSERT_TRUE(decoded.loaded);
    ASSERT_EQ(decoded.Traces().size(), 1u);
    // 110 - 5 - 100 = 5 invalid samples; the overlapping block is appended.
    EXPECT_EQ(Validity(decoded.Traces()[0]), "111110000011" "1");
    EXPECT_EQ(decoded.Traces()[0].samples[10].value, 6.0);
    EXPECT_EQ(decoded.record.AnalogSampleCount(), 13u);
}

TEST(AnalogSection, BlockWithoutValuesKeepsEarlierBlocksOnly) {
    Analog analog;
    analog.id = "1";
    analog.blocks = {Block{"0", "1 2"}, Block{"10", "3"}};
    RecordBuilder builder;
    builder.AddAnalog(analog);
    builder.Document().document_element().child("DistData").child("Traces").child("Trace").last_child().remove_attribute(
        "values");
    Decoded decoded(builder);
    ASSERT_TRUE(decoded.loaded);
    EXPECT_EQ(Validity(decoded.Traces()[0]), "11");
}

TEST(AnalogSection, DefinitionRules) {
    RecordBuilder builder;
    Analog first;
    first.id = "7", first.key = "Prot/IL1", first.unit = "A";
    first.scales = {{"2.5", "-2.9", ""}, {"1", "0", "12"}};
    first.blocks = {Block{"0", "1"}};
    Analog duplicate = first;
    duplicate.key = "Prot/Other";
    duplicate.withTrace = false;
    Analog noScale;
    noScale.id = "8", noScale.scales = {}, noScale.blocks = {Block{"0", "1"}};
    Analog noUnitId;
    noUnitId.id = "9", noUnitId.unitId = "", noUnitId.blocks = {Block{"0", "1"}};
    Analog noTrace;
    noTrace.id = "10", noTrace.withTrace = false;
    builder.AddAnalog(first).AddAnalog(duplicate).AddAnalog(noScale).AddAnalog(noUnitId).AddAnalog(noTrace);
    Decoded decoded(builder);
    ASSERT_TRUE(decoded.loaded);
    ASSERT_EQ(decoded.Traces().size(), 1u);
    const AnalogTrace& trace = decoded.Traces()[0];
    EXPECT_EQ(trace.name, "[IL1]");
    EXPECT_EQ(trace.key, "Prot/IL1");
    EXPECT_EQ(trace.shortKey, "IL1");
    EXPECT_EQ(trace.unit, "A");
    ASSERT_EQ(trace.scalings.size(), 2u);
    EXPECT_EQ(trace.scalings[0].factor, 2.5);
    EXPECT_EQ(trace.scalings[0].offset, -2);
    EXPECT_EQ(trace.scalings[1].refEnable, 12);
    EXPECT_TRUE(trace.scale);
}

TEST(AnalogSection, NamesFromTheTextTable) {
    RecordBuilder builder;
    builder.AnalogHeaderAttribute("viewExtension", "withModuleNode");
    Analog named, missing;
    named.id = "5", named.key = "M/Ia", named.unitId = "77", named.unit = "raw", named.blocks = {Block{"0", "1"}};
    missing.id = "6", missing.key = "M/Ib", missing.unit = "raw", missing.blocks = {Block{"0", "1"}};
    builder.AddAnalog(named).AddAnalog(missing);
    DisturbanceRecord record;
    ASSERT_TRUE(record.OpenText(builder.Xml()));
    record.TextTable().Add("5", "Ia", "Module 1");
    record.TextTable().Add("77", "kA", "-");
    ASSERT_TRUE(record.LoadAnalogSection());
    ASSERT_EQ(record.AnalogTraces().size(), 2u);
    EXPECT_EQ(record.AnalogTraces()[0].name, "Module 1 . Ia");
    EXPECT_EQ(record.AnalogTraces()[0].unit, "kA");
    EXPECT_EQ(record.AnalogTraces()[1].name, "{Ib}");
    EXPECT_EQ(record.AnalogTraces()[1].unit, "raw");
}

TEST(AnalogSection, ReserveChannelsAreDropped) {
    RecordBuilder builder;
    builder.AddAnalog("1", "Reserve 3", {1}).AddAnalog("2", "Preserved", {1}).AddAnalog("3", "Res", {1});
    Decoded decoded(builder);
    ASSERT_TRUE(decoded.loaded);
    ASSERT_EQ(decoded.Traces().size(), 1u);
    EXPECT_EQ(decoded.Traces()[0].name, "[Res]");
}

TEST(AnalogSection, MissingHeaderOrTracesFails) {
    Decoded noHeader(RecordBuilder().Remove("DistHeader/AnalogHeader"));
    EXPECT_FALSE(noHeader.loaded);
    Decoded noTraces(RecordBuilder().AddAnalog("1", "a", {1}).Remove("DistData/Traces"));
    EXPECT_FALSE(noTraces.loaded);
}

}  // namespace
