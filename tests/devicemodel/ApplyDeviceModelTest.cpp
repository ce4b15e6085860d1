// The device-model step of a record load: channel texts and module texts in
// the text table, text replacements and ANSI device numbers; and damaged or
// hostile model and language documents (deep, wide, oddly named, garbage),
// which must load without crashing, in time that grows with their size only.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "devicemodel/CDataModelToHMI.h"
#include "devicemodel/DeviceModelContext.h"
#include "devicemodel/ExtendedSettingsSet.h"
#include "support/ContainerFixture.h"
#include "support/DeviceModelFixture.h"

namespace {

using devicemodel::ChannelTextTable;
using devicemodel::ExtendedSettingsSet;
using fixture::DeviceModelBuilder;

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
    // An untyped element whose typed parent is a module gets an entry; its
    // children pass it on the way up and get none.
    builder.Channel("Prot/Untyped", "Untyped")
        .Channel("Prot/Untyped/IL3", "IL3")
        .Set("Prot/Untyped", "type", "");
    builder.Channel("Top", "T")
        .Channel("Top/Untyped", "U")
        .Channel("Top/Untyped/Deep", "D")
        .Set("Top/Untyped", "type", "");
    builder.LanguageSet("OnlyInLanguage", "shortText", "Z");
    Applied applied(builder);
    ASSERT_TRUE(applied.result);
    const std::pair<const char*, const char*> entries[] = {
        {"Prot", "Protection | -"},  // a module is not its own module
        {"Prot/IL1", "IL1 | Protection"},
        {"Prot/Group/IL2", "IL2 | Protection"},
        {"Unit/App", "Application | Device"},
        {"Unit/App/X", "X | Application"},  // the nearest module
        {"Loose", "Loose text | -"},
        {"Loose/Inner", "Inner | -"},
        {"Silent", "missing"},  // empty text: no entry
        {"Silent/Y", "Y | "},
        {"Prot/Untyped", "Untyped | Protection"},
        {"Prot/Untyped/IL3", "missing"},
        {"Top/Untyped/Deep", "missing"},
        {"OnlyInLanguage", "missing"}};  // no model counterpart
    for (const auto& [path, entry] : entries) EXPECT_EQ(applied.Entry(path), entry) << path;
    EXPECT_EQ(applied.table.Size(), 13u);
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

// Deep nesting is walked without recursion, wide sections and many
// replacements in time that grows with their size only; names need not be
// UTF-8; of elements with one name, all answer like the first.
TEST(HostileDocument, DeepWideAndOddlyNamedSections) {
    const int depth = 100000, width = 20000;
    const std::string odd = "\xff\xfe\xc3";
    std::string model = Repeated("<a type='folder'>", depth) + Repeated("</a>", depth) + "<" + odd +
                        " type='mdm'><x type='value'/></" + odd + ">";
    std::string language = Repeated("<a shortText='t'>", depth) + Repeated("</a>", depth) + "<" + odd +
                           " shortText='\xe9t\xe9'><x shortText='x'/></" + odd + ">";
    ExtendedSettingsSet settings;
    for (int i = 0; i < width; ++i) {
        const std::string name = "c" + std::to_string(i);
        model += "<" + name + " type='value'/>";
        language += "<" + name + " shortText='" + name + "'/>";
        settings.textReplacements.push_back({"r" + std::to_string(i), "/c" + std::to_string(width - 1 - i)});
        settings.overloads.push_back({"/none" + std::to_string(i), "c0"});
    }
    model += Repeated("<same type='value'/>", width);
    language += "<same shortText='first'/>" + Repeated("<same shortText='later'/>", width - 1);
    const Applied applied = Hostile(model, language, settings);
    ASSERT_TRUE(applied.result);
    EXPECT_EQ(applied.table.Size(), static_cast<size_t>(depth + 2 + 2 * width));
    EXPECT_EQ(applied.Entry(Repeated("/a", depth)), "t | -");
    EXPECT_EQ(applied.Entry(odd) + "; " + applied.Entry(odd + "/x"), "\xe9t\xe9 | -; x | \xe9t\xe9");
    EXPECT_EQ(applied.Entry("c0") + "; " + applied.Entry("c123"),
              "r" + std::to_string(width - 1) + " | -; r" + std::to_string(width - 124) + " | -");
    EXPECT_EQ(applied.table.Entries().back().channelText, "first");
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

}  // namespace
