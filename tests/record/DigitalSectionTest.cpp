// Digital and logical signals rebuilt from the state image and the events.
#include <gtest/gtest.h>

#include "record/DisturbanceRecord.h"
#include "support/RecordFixture.h"

namespace {

using fixture::Event;
using fixture::RecordBuilder;
using record::DisturbanceRecord;

// A record of 10 samples starting at sample number 1000.
RecordBuilder TenSamples() {
    RecordBuilder builder;
    builder.AddAnalog("1", "IL1", {0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 1000);
    return builder;
}

struct Decoded {
    DisturbanceRecord record;
    bool loaded = false;
    explicit Decoded(const RecordBuilder& builder) {
        EXPECT_TRUE(record.OpenText(builder.Xml()));
        EXPECT_TRUE(record.LoadAnalogSection());
        loaded = record.LoadDigitalSection();
    }
    std::string Samples(size_t i) { return record.DigitalTraces().at(i).samples; }
    std::string Name(size_t i) { return record.DigitalTraces().at(i).name; }
};

TEST(DigitalSection, SignalsWithoutEventsAreConstant) {
    RecordBuilder builder = TenSamples();
    builder.AddDigital("1", "Prot/Pickup").AddDigital("2", "Prot/Trip").AddDigital("3", "Ctrl/Mode", "4");
    builder.AddStateImage("1", "1").AddStateImage("3", "2");
    Decoded decoded(builder);
    ASSERT_TRUE(decoded.loaded);
    ASSERT_EQ(decoded.record.DigitalTraces().size(), 2u);
    EXPECT_EQ(decoded.Name(0), "[Pickup]");  // sorted by name
    EXPECT_EQ(decoded.Samples(0), "1111111111");
    EXPECT_EQ(decoded.Name(1), "[Trip]");
    EXPECT_EQ(decoded.Samples(1), "0000000000");
    ASSERT_EQ(decoded.record.LogicalTraces().size(), 1u);
    EXPECT_EQ(decoded.record.LogicalTraces()[0].values, std::vector<int32_t>(10, 2));
}

TEST(DigitalSection, EventsBuildRunsFromPreviousValues) {
    RecordBuilder builder = TenSamples();
    builder.AddDigital("1", "Trip").AddStateImage("1", "0");
    // Out of time order across sets: the history is sorted before building.
    builder.AddEventSet("1006", {Event{"1", "0", "1"}});
    builder.AddEventSet("1002", {Event{"1", "1", "0"}});
    Decoded decoded(builder);
    ASSERT_TRUE(decoded.loaded);
    EXPECT_EQ(decoded.Samples(0), "0011110000");
}

TEST(DigitalSection, TransitionsAtTheEdges) {
    RecordBuilder builder = TenSamples();
    builder.AddDigital("1", "AtEnd").AddDigital("2", "Beyond").AddDigital("3", "Same");
    builder.AddEventSet("1010", {Event{"1", "1", "0"}, Event{"2", "1", "0"}});  // sample n: kept, adds nothing
    builder.AddEventSet("1011", {Event{"2", "0", "1"}});                          // sample n + 1: removed
    builder.AddEventSet("1004", {Event{"3", "0", "1"}, Event{"3", "1", "0"}});   // same sample twice
    Decoded decoded(builder);
    ASSERT_TRUE(decoded.loaded);
    EXPECT_EQ(decoded.Name(0), "[AtEnd]");
    EXPECT_EQ(decoded.Samples(0), "0000000000");
    EXPECT_EQ(decoded.Samples(1), "0000000000");
    // Characters before sample 4 come from the first event's previous value
    // (1, not the second's 0); the rest from the last event's value.
    EXPECT_EQ(decoded.Samples(2), "1111111111");
}

TEST(DigitalSection, MultiBitSignalsBecomeLogicalTraces) {
    RecordBuilder builder = TenSamples();
    builder.AddDigital("5", "Ctrl/Mode", "8").AddStateImage("5", "3");
    builder.AddEventSet("1003", {Event{"5", "4", "3"}});
    builder.AddEventSet("1008", {Event{"5", "-1", "4"}});
    Decoded decoded(builder);
    ASSERT_TRUE(decoded.loaded);
    ASSERT_EQ(decoded.record.LogicalTraces().size(), 1u);
    EXPECT_EQ(decoded.record.LogicalTraces()[0].values, (std::vector<int32_t>{3, 3, 3, 4, 4, 4, 4, 4, -1, -1}));
    EXPECT_TRUE(decoded.record.DigitalTraces().empty());
}

TEST(DigitalSection, EventsOfUnknownSignalsAndIncompleteEventsAreDropped) {
    RecordBuilder builder = TenSamples();
    builder.AddDigital("1", "Trip");
    builder.AddEventSet("1002", {Event{"99", "1", "0"}, Event{"1", "1", "0"}});
    builder.AddEventSet("", {Event{"1", "0", "1"}});  // no timeSample: the whole set is skipped
    Decoded decoded(builder);
    ASSERT_TRUE(decoded.loaded);
    EXPECT_EQ(decoded.Samples(0), "0011111111");
}

TEST(DigitalSection, NamesUseModuleTextAndStateImageIds) {
    RecordBuilder builder = TenSamples();
    builder.AddDigital("1", "Prot/Trip").AddStateImage("01", "0");
    DisturbanceRecord record;
    ASSERT_TRUE(record.OpenText(builder.Xml()));
    record.TextTable().Add("1", "Trip", "Protection");
    record.TextTable().Add("01", "Trip (image)", "Protection");
    ASSERT_TRUE(record.LoadAnalogSection());
    ASSERT_TRUE(record.LoadDigitalSection());
    ASSERT_EQ(record.DigitalTraces().size(), 1u);
    // The definition is named through the state image's id text as written.
    EXPECT_EQ(record.DigitalTraces()[0].name, "Protection . Trip (image)");
}

TEST(DigitalSection, FailsWithoutItsParts) {
    EXPECT_FALSE(Decoded(TenSamples().Remove("DistData/Events")).loaded);
    EXPECT_FALSE(Decoded(TenSamples().Remove("DistHeader/DigitalHeader")).loaded);
    EXPECT_FALSE(Decoded(TenSamples().Remove("DistData/StateImage")).loaded);
    EXPECT_FALSE(Decoded(TenSamples().AddDigital("1", "a", "", "")).loaded);  // no normalState
    EXPECT_FALSE(Decoded(TenSamples().AddStateImage("1", "")).loaded);
    // No trace to take the length from.
    RecordBuilder empty;
    empty.AddDigital("1", "a").NumberOfSamples("10");
    DisturbanceRecord record;
    ASSERT_TRUE(record.OpenText(empty.Xml()));
    EXPECT_FALSE(record.LoadDigitalSection());
}

}  // namespace
