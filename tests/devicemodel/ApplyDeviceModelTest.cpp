// The device-model step of a record load: channel texts and module texts in
// the text table, text replacements and ANSI device numbers; and damaged or
// hostile model and language documents (deep, wide, oddly named, garbage),
// which must load without crashing, in time that grows with their size only.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <utility>
#include <vector>

#include "devicemodel/ExtendedSettingsSet.h"
#include "devicemodel/CDataModelToHMI.h"
#include "devicemodel/DeviceModelContext.h"
#include "support/ContainerFixture.h"
#include "support/DeviceModelFixture.h"

namespace {

using devicemodel::ExtendedSettingsSet;
using fixture::DeviceModelBuilder;
using devicemodel::ChannelTextTable;

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
    builder.Channel("Top", "Top").Channel("Top/Untyped", "U").Channel("Top/Untyped/Deep", "Deep");
    builder.Set("Prot/Untyped", "type", "").Set("Top/Untyped", "type", "");
    builder.LanguageSet("OnlyInLanguage", "shortText", "Z");
    Applied applied(builder);
    // The untyped element has a typed parent that is a module; its children
    // pass it on the way up and get no entry.
    EXPECT_EQ(applied.Entry("Prot/Untyped"), "Untyped | Protection");
    EXPECT_EQ(applied.Entry("Prot/Untyped/IL3"), "missing");
    EXPECT_EQ(applied.Entry("Top/Untyped/Deep"), "missing");
    EXPECT_EQ(applied.Entry("OnlyInLanguage"), "missing");  // no model counterpart
}

TEST(ApplyDeviceModel, ReplacementsOverloadsAndAnsiDeviceNumbers) {
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
    // The first pair wins, and the module is renamed too.
    EXPECT_EQ(applied.Entry("Meas/IL1"), "Renamed | Feeder 1");
    EXPECT_EQ(applied.Entry("Meas/IL2"), "Other text | Feeder 1");  // an overload wins over a replacement
    EXPECT_EQ(applied.Entry("Meas/IL3"), "[Missing] | Feeder 1");
    EXPECT_EQ(applied.Entry("Meas/Blank"), "missing");  // only elements with a text of their own
    EXPECT_EQ(applied.Entry("Names/Other"), "Other text | -");

    // ANSI device numbers need the model's mapping and the caller's wish.
    DeviceModelBuilder ansi;
    ansi.Channel("Prot/I50", "50", "Overcurrent").Set("Prot/I50", "mdm", "");
    EXPECT_EQ(Applied(ansi, {}, true).Entry("Prot/I50"), "50 | -");
    ansi.Mapping("pathAnsiDeviceNumbers", "MDM/Ansi");
    EXPECT_EQ(Applied(ansi, {}, false).Entry("Prot/I50"), "50 | -");
    EXPECT_EQ(Applied(ansi, {}, true).Entry("Prot/I50"), "50 - Overcurrent | -");
}

TEST(ApplyDeviceModel, DamagedDocuments) {
    DeviceModelBuilder builder;
    builder.Channel("Prot/IL1", "IL1");
    const std::string model = builder.ModelXml();
    const std::string language = builder.LanguageXml();
    // A model failing its checks is still walked.
    std::string badChecksum = model;
    badChecksum[badChecksum.find("CVR87")] = '8';
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

TEST(ApplyDeviceModel, TopElementAndTheRelativePath) {
    DeviceModelBuilder builder;
    builder.Module("Prot", "Protection").Channel("Prot/MDM/X", "X");
    // An ancestor with the top element's name starts the relative path.
    EXPECT_EQ(Applied(builder).Entry("X"), "X | -");
    EXPECT_EQ(Applied(builder).Entry("Prot/MDM/X"), "missing");
    // Comments are dropped from the walked copies, so a leading comment does
    // not change the top element (the root's first child node) ...
    builder.Model().child("Dev").prepend_child(pugi::node_comment).set_value("note");
    builder.Language().child("Dev").prepend_child(pugi::node_comment).set_value("note");
    EXPECT_EQ(Applied(builder).Entry("Prot"), "Protection | -");
    // ... while a processing instruction is kept and becomes it.
    builder.Language().child("Dev").prepend_child(pugi::node_pi).set_name("pi");
    EXPECT_TRUE(Applied(builder).table.Empty());
}

const char kRootOpen[] =
    "<Dev device='D' versionContent='1' multiSets='1' versionSyntax='5'><MDM type='sectionMDM'>";
const char kRootClose[] = "</MDM><Menu mode='menuTree'><Root type='root'/></Menu></Dev>";

std::string Repeated(const std::string& piece, int count) {
    std::string text;
    text.reserve(piece.size() * static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) text += piece;
    return text;
}

// The model and language documents whose MDM sections hold `model` and `language`.
Applied Hostile(const std::string& model, const std::string& language,
                const ExtendedSettingsSet& settings = {}) {
    return Applied(fixture::SelfChecksummed(kRootOpen + model + kRootClose),
                   fixture::SelfChecksummed("<Dev><MDM>" + language + "</MDM></Dev>"), settings);
}

TEST(HostileDocument, DeepNestingIsWalkedWithoutRecursion) {
    const int depth = 100000;
    const std::string model = Repeated("<a type='folder'>", depth) + Repeated("</a>", depth);
    devicemodel::CDataModelToHMI check;
    devicemodel::DeviceModelError error;
    EXPECT_TRUE(check.Load(fixture::SelfChecksummed(kRootOpen + model + kRootClose), error)) << error.text;
    const Applied applied = Hostile(model, Repeated("<a shortText='t'>", depth) + Repeated("</a>", depth));
    ASSERT_TRUE(applied.result);
    EXPECT_EQ(applied.table.Size(), static_cast<size_t>(depth));
    EXPECT_EQ(applied.Entry(Repeated("/a", depth)), "t | -");
}

TEST(HostileDocument, WideSectionsAndManyReplacements) {
    const int width = 20000;
    std::string model, language;
    ExtendedSettingsSet settings;
    for (int i = 0; i < width; ++i) {
        const std::string name = "c" + std::to_string(i);
        model += "<" + name + " type='value'/>";
        language += "<" + name + " shortText='" + name + "'/>";
        settings.textReplacements.push_back({"r" + std::to_string(i), "/c" + std::to_string(width - 1 - i)});
        settings.overloads.push_back({"/none" + std::to_string(i), "c0"});
    }
    model += Repeated("<same type='value'/>", width);  // duplicates all answer like the first
    language += "<same shortText='first'/>" + Repeated("<same shortText='later'/>", width - 1);
    const Applied applied = Hostile(model, language, settings);
    ASSERT_TRUE(applied.result);
    EXPECT_EQ(applied.table.Size(), static_cast<size_t>(2 * width));
    EXPECT_EQ(applied.Entry("c0"), "r" + std::to_string(width - 1) + " | -");
    EXPECT_EQ(applied.Entry("c123"), "r" + std::to_string(width - 124) + " | -");
    EXPECT_EQ(applied.table.Entries().back().channelText, "first");
}

TEST(HostileDocument, NamesThatAreNotUtf8) {
    const std::string name = "\xff\xfe\xc3";
    const Applied applied = Hostile("<" + name + " type='mdm'><x type='value'/></" + name + ">",
                                    "<" + name + " shortText='\xe9t\xe9'><x shortText='x'/></" + name + ">");
    ASSERT_TRUE(applied.result);
    EXPECT_EQ(applied.Entry(name), "\xe9t\xe9 | -");
    EXPECT_EQ(applied.Entry(name + "/x"), "x | \xe9t\xe9");
}

TEST(HostileDocument, ReferencesFullOfWildcardsAndHugeValues) {
    DeviceModelBuilder builder;
    builder.Channel("Prot/IL1", "IL1");
    builder.Element("Prot/Stars").Set("Prot/Stars", "textRef", Repeated("*/", 50000));
    builder.Element("Prot/Sets").Set("Prot/Sets", "textRef", "MDM/Prot/" + Repeated("[", 50000));
    builder.Element("Prot/Long").Set("Prot/Long", "textRef", "MDM/Prot/" + Repeated("*a", 20000) + "b");
    builder.Element("Prot/Huge").Text("Prot/Huge", std::string(1 << 20, 'h'));
    ExtendedSettingsSet settings;
    settings.overloads = {{"/Prot/IL1", Repeated("[!", 10000)}};
    const Applied applied(builder, settings);
    ASSERT_TRUE(applied.result);
    EXPECT_EQ(applied.Entry("Prot/Stars"), "[] | -");
    EXPECT_EQ(applied.Entry("Prot/Sets"), "[] | -");
    EXPECT_EQ(applied.Entry("Prot/Long"), "[] | -");
    EXPECT_EQ(applied.Entry("Prot/Huge"), std::string(1 << 20, 'h') + " | -");
    EXPECT_EQ(applied.Entry("Prot/IL1"), "[" + Repeated("[!", 10000) + "] | -");
}

TEST(HostileDocument, GarbageNeverCrashes) {
    std::mt19937 random(4711);
    const std::string valid = DeviceModelBuilder().Channel("Prot/IL1", "IL1").ModelXml();
    const std::string language = DeviceModelBuilder().Channel("Prot/IL1", "IL1").LanguageXml();
    for (int round = 0; round < 200; ++round) {
        std::string model = valid;
        std::string words = language;
        // Damage a few bytes of each, or cut them short.
        for (int i = 0; i < 4; ++i) model[random() % model.size()] = static_cast<char>(random() % 256);
        words[random() % words.size()] = static_cast<char>(random() % 256);
        if (round % 5 == 0) model.resize(random() % model.size());
        devicemodel::CDataModelToHMI check;
        devicemodel::DeviceModelError error;
        if (!check.Load(model, error)) {
            EXPECT_GE(error.code, 1);
        }
        const Applied applied(model, words);
        EXPECT_TRUE(applied.result);
        EXPECT_LE(applied.table.Size(), 2u);
    }
}

}  // namespace
