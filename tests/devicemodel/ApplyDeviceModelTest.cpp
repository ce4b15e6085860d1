// The device-model step of a record load: channel texts and module texts in
// the text table, text replacements, ANSI device numbers, and the names the
// record decoder then gives its channels.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "container/ExtendedSettingsSet.h"
#include "devicemodel/DeviceModelContext.h"
#include "record/DisturbanceRecord.h"
#include "support/DeviceModelFixture.h"
#include "support/RecordFixture.h"

namespace {

using container::ExtendedSettingsSet;
using fixture::DeviceModelBuilder;
using record::ChannelTextTable;

struct Applied {
    ChannelTextTable table;
    bool result = false;

    Applied(const std::string& model, const std::string& language, const ExtendedSettingsSet& settings = {},
            bool ansi = false) {
        result = devicemodel::ApplyDeviceModel(model, language, settings, ansi, table);
    }
    explicit Applied(const DeviceModelBuilder& builder, const ExtendedSettingsSet& settings = {},
                     bool ansi = false)
        : Applied(builder.ModelXml(), builder.LanguageXml(), settings, ansi) {}

    // "text | module text" of the entry for a path relative to the MDM
    // section, or "missing".
    std::string Entry(const std::string& path) const {
        const ChannelTextTable::Entry* entry = nullptr;
        if (table.Find(DeviceModelBuilder::Key(path), &entry) != ChannelTextTable::Lookup::kFound)
            return "missing";
        return entry->channelText + " | " + entry->moduleText;
    }
};

TEST(ApplyDeviceModel, ElementsGetTheirModuleTexts) {
    DeviceModelBuilder builder;
    builder.Module("Prot", "Protection").Channel("Prot/IL1", "IL1").Channel("Prot/Group/IL2", "IL2");
    builder.Module("Unit", "Device", "mdmDevice").Module("Unit/App", "Application", "mdmAppFrame");
    builder.Channel("Unit/App/X", "X").Channel("Loose", "Loose text").Channel("Loose/Inner", "Inner");
    builder.Module("Silent", "").Channel("Silent/Y", "Y");  // a module without text
    Applied applied(builder);
    ASSERT_TRUE(applied.result);
    EXPECT_EQ(applied.Entry("Prot"), "Protection | -");  // a module is not its own module
    EXPECT_EQ(applied.Entry("Prot/IL1"), "IL1 | Protection");
    EXPECT_EQ(applied.Entry("Prot/Group/IL2"), "IL2 | Protection");
    EXPECT_EQ(applied.Entry("Unit/App"), "Application | Device");
    EXPECT_EQ(applied.Entry("Unit/App/X"), "X | Application");  // the nearest module
    EXPECT_EQ(applied.Entry("Loose"), "Loose text | -");
    EXPECT_EQ(applied.Entry("Loose/Inner"), "Inner | -");
    EXPECT_EQ(applied.Entry("Silent"), "missing");  // empty text: no entry
    EXPECT_EQ(applied.Entry("Silent/Y"), "Y | ");
    EXPECT_EQ(applied.table.Size(), 10u);
}

TEST(ApplyDeviceModel, ElementsThatGetNoEntry) {
    DeviceModelBuilder builder;
    builder.Module("Prot", "Protection")
        .Channel("Prot/Untyped", "Untyped")
        .Channel("Prot/Untyped/IL3", "IL3");
    builder.Set("Prot/Untyped", "type", "");
    builder.Channel("Top", "Top").Channel("Top/Untyped", "U").Channel("Top/Untyped/Deep", "Deep");
    builder.Set("Top/Untyped", "type", "");
    builder.LanguageSet("OnlyInLanguage", "shortText", "Z");
    Applied applied(builder);
    // The untyped element has a typed parent that is a module; its children
    // pass it on the way up and get no entry.
    EXPECT_EQ(applied.Entry("Prot/Untyped"), "Untyped | Protection");
    EXPECT_EQ(applied.Entry("Prot/Untyped/IL3"), "missing");
    EXPECT_EQ(applied.Entry("Top/Untyped/Deep"), "missing");
    EXPECT_EQ(applied.Entry("OnlyInLanguage"), "missing");  // no model counterpart
}

TEST(ApplyDeviceModel, RecordChannelsAreNamedFromTheTable) {
    DeviceModelBuilder builder;
    builder.Module("Meas", "Module 1").Channel("Meas/IL1", "Ia").Channel("Units/A", "A");
    builder.Module("Prot", "Protection").Channel("Prot/Trip", "Trip");
    fixture::RecordBuilder recordBuilder;
    recordBuilder.AnalogHeaderAttribute("viewExtension", "withModuleNode");
    fixture::Analog known;
    known.id = DeviceModelBuilder::Key("Meas/IL1"), known.unitId = DeviceModelBuilder::Key("Units/A");
    known.unit = "amp", known.key = "Meas/IL1", known.blocks = {fixture::Block{"1000", "1 2"}};
    fixture::Analog unknown = known;
    unknown.id = "17", unknown.unitId = "18", unknown.key = "Meas/IL9";
    recordBuilder.AddAnalog(known).AddAnalog(unknown);
    recordBuilder.AddDigital(DeviceModelBuilder::Key("Prot/Trip"), "Prot/Trip");
    recordBuilder.AddStateImage(DeviceModelBuilder::Key("Prot/Trip"), "0");

    record::DisturbanceRecord record;
    ASSERT_TRUE(record.OpenText(recordBuilder.Xml()));
    ASSERT_TRUE(devicemodel::ApplyDeviceModel(builder.ModelXml(), builder.LanguageXml(), {}, false,
                                              record.TextTable()));
    ASSERT_TRUE(record.LoadAnalogSection());
    ASSERT_EQ(record.AnalogTraces().size(), 2u);
    EXPECT_EQ(record.AnalogTraces()[0].name, "Module 1 . Ia");
    EXPECT_EQ(record.AnalogTraces()[0].unit, "A");
    EXPECT_EQ(record.AnalogTraces()[1].name, "{IL9}");
    EXPECT_EQ(record.AnalogTraces()[1].unit, "amp");
    ASSERT_TRUE(record.LoadDigitalSection());
    ASSERT_EQ(record.DigitalTraces().size(), 1u);
    EXPECT_EQ(record.DigitalTraces()[0].name, "Protection . Trip");
}

TEST(ApplyDeviceModel, ReplacementsAndOverloads) {
    DeviceModelBuilder builder;
    builder.Module("Meas", "Module 1").Channel("Meas/IL1", "IL1").Channel("Meas/IL2", "IL2");
    builder.Channel("Meas/IL3", "IL3").Channel("Meas/Blank", "").Channel("Names/Other", "Other text");
    ExtendedSettingsSet settings;
    settings.textReplacements = {{"Renamed", "/Meas/IL1"},  {"Second", "/Meas/IL1"},
                                 {"Replaced", "/Meas/IL2"}, {"No slash", "Meas/IL3"},
                                 {"Filled", "/Meas/Blank"}, {"Feeder 1", "/Meas"}};
    settings.overloads = {
        {"/Meas/IL2", "Names/Other"}, {"/Meas/IL3", "Names/Missing"}, {"/Meas/IL3", "Names/Other"}};
    Applied applied(builder, settings);
    EXPECT_EQ(applied.Entry("Meas/IL1"),
              "Renamed | Feeder 1");  // the first pair wins; the module is renamed too
    EXPECT_EQ(applied.Entry("Meas/IL2"), "Other text | Feeder 1");  // an overload wins over a replacement
    EXPECT_EQ(applied.Entry("Meas/IL3"), "[Missing] | Feeder 1");
    EXPECT_EQ(applied.Entry("Meas/Blank"), "missing");  // only elements with a text of their own
    EXPECT_EQ(applied.Entry("Names/Other"), "Other text | -");
}

TEST(ApplyDeviceModel, AnsiDeviceNumbersNeedTheModelAndTheCaller) {
    DeviceModelBuilder builder;
    builder.Channel("Prot/I50", "50", "Overcurrent").Set("Prot/I50", "mdm", "");
    EXPECT_EQ(Applied(builder, {}, true).Entry("Prot/I50"), "50 | -");  // the model maps no numbers
    builder.Mapping("pathAnsiDeviceNumbers", "MDM/Ansi");
    EXPECT_EQ(Applied(builder, {}, false).Entry("Prot/I50"), "50 | -");
    EXPECT_EQ(Applied(builder, {}, true).Entry("Prot/I50"), "50 - Overcurrent | -");
}

TEST(ApplyDeviceModel, DamagedDocuments) {
    DeviceModelBuilder builder;
    builder.Channel("Prot/IL1", "IL1");
    const std::string model = builder.ModelXml();
    const std::string language = builder.LanguageXml();
    // A model failing its checks is still walked.
    std::string badChecksum = model;
    badChecksum[badChecksum.find("7SR87")] = '8';
    EXPECT_EQ(Applied(badChecksum, language).Entry("Prot/IL1"), "IL1 | -");
    // A language document with a wrong checksum counts as absent.
    std::string badLanguage = language;
    badLanguage[badLanguage.find("\"IL1\"") + 1] = 'X';
    EXPECT_EQ(Applied(model, badLanguage).Entry("Prot/IL1"), "[IL1] | -");
    // A copy that does not parse, or a root without children: no entries.
    const std::vector<std::pair<std::string, std::string>> unusable = {
        {model, "<Dev><MDM>"}, {"<Dev>", language}, {model, "<Dev/>"}, {"<Dev/>", language}, {"", ""}};
    for (const auto& [modelText, languageText] : unusable) {
        Applied applied(modelText, languageText);
        EXPECT_TRUE(applied.result);
        EXPECT_TRUE(applied.table.Empty()) << modelText.substr(0, 20) << " / " << languageText.substr(0, 20);
    }
}

TEST(ApplyDeviceModel, TopElementIsTheRootsFirstChildNode) {
    DeviceModelBuilder builder;
    builder.Channel("Prot/IL1", "IL1");
    // Comments are dropped from the walked copies, so a leading comment does
    // not change the top element ...
    builder.Model().child("Dev").prepend_child(pugi::node_comment).set_value("note");
    builder.Language().child("Dev").prepend_child(pugi::node_comment).set_value("note");
    EXPECT_EQ(Applied(builder).Entry("Prot/IL1"), "IL1 | -");
    // ... while a processing instruction is kept and becomes it.
    builder.Language().child("Dev").prepend_child(pugi::node_pi).set_name("pi");
    EXPECT_TRUE(Applied(builder).table.Empty());
}

TEST(ApplyDeviceModel, AncestorWithTheTopNameStartsTheRelativePath) {
    DeviceModelBuilder builder;
    builder.Module("Prot", "Protection").Channel("Prot/MDM/X", "X");
    Applied applied(builder);
    EXPECT_EQ(applied.Entry("X"), "X | -");
    EXPECT_EQ(applied.Entry("Prot/MDM/X"), "missing");
}

}  // namespace
