// A loaded device model: the load checks with their numbered errors and
// messages, the facts derived from a model that passed them, the mapping
// table, and the text queries (language texts with their fallback
// decorations, display texts with text references and styles, path lookups
// with wildcards). The device-model step of a record load: channel texts and
// module texts in the text table, text replacements and ANSI device numbers;
// and damaged or hostile model and language documents (deep, wide, oddly
// named), which must load without crashing, in time that grows with their
// size only.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "devicemodel/CDataModelToHMI.h"
#include "devicemodel/DeviceModelContext.h"
#include "devicemodel/ExtendedSettingsSet.h"
#include "platform/Md5Hex.h"
#include "platform/TextConversion.h"
#include "support/ContainerFixture.h"
#include "support/DeviceModelFixture.h"

namespace {

using devicemodel::CDataModelToHMI;
using devicemodel::ChannelTextTable;
using devicemodel::DeviceModelError;
using devicemodel::ExtendedSettingsSet;
using fixture::DeviceModelBuilder;

struct Loaded {
    CDataModelToHMI model;
    DeviceModelError error;
    bool ok = false;
    explicit Loaded(const std::string& text) { ok = model.Load(text, error); }
};

// `text` with its first `from` replaced by `to`.
std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    const size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

void ExpectError(const std::string& text, int32_t code, const std::string& message) {
    Loaded loaded(text);
    EXPECT_FALSE(loaded.ok);
    EXPECT_EQ(loaded.error.code, code);
    EXPECT_EQ(loaded.error.text, "Invalid device model!\n" + message);
}

// The facts come only from a model that passed every check; a failed load
// drops an earlier load's facts but keeps its document for path queries.
TEST(ModelLoad, FactsComeOnlyFromAModelThatPassed) {
    DeviceModelBuilder builder;
    builder.Mapping("pathAnsiDeviceNumbers", "MDM/Ansi");
    // The menu root may sit anywhere inside the menu tree.
    builder.Remove("/Dev/Menu/Root").Set("/Dev/Menu/Level/Start", "type", "root");
    CDataModelToHMI model;
    DeviceModelError error;
    ASSERT_TRUE(model.Load(builder.ModelXml(), error));
    EXPECT_EQ(model.MakeFullPath("Prot/IL1") + (model.HasAnsiDeviceNumbers() ? " ANSI" : ""),
              "/Dev/MDM/Prot/IL1 ANSI");
    builder.Channel("Prot/IL2", "IL2").Set("/Dev", "versionSyntax", "1");
    EXPECT_FALSE(model.Load(builder.ModelXml(), error));
    EXPECT_TRUE(model.LoadLanguage(builder.LanguageXml()));
    EXPECT_EQ(model.GetText("/Dev/MDM/Prot/IL2"), "IL2");
    EXPECT_EQ(model.MakeFullPath("Prot/IL1") + (model.HasAnsiDeviceNumbers() ? " ANSI" : ""), "/Prot/IL1");
    // Without their elements the facts stay unset.
    Loaded bare(DeviceModelBuilder().Set("/Dev/MDM", "type", "other").ModelXml());
    ASSERT_TRUE(bare.ok);
    EXPECT_EQ(bare.model.MakeFullPath("Prot/IL1"), "/Prot/IL1");
}

TEST(ModelLoad, EachCheckFailsWithItsCodeAndMessage) {
    const std::map<int32_t, std::string> messages = {
        {1, "Missing or invalid checksum"},
        {3, "Missing necessary main attributes"},
        {4, "None necessary element found with attribute name 'mode' and value = 'menuTree'"},
        {5, "None attribute value 'root' in HMI menu tree found!"},
        {6, "Any other parsing error"}};
    const std::string valid = DeviceModelBuilder().ModelXml();
    const std::string digest = valid.substr(valid.size() - 52, 32);
    const std::string root = fixture::RootXml(DeviceModelBuilder().Model());
    DeviceModelBuilder rootOutsideMenu;  // an element of type "root" outside the menu tree does not count
    rootOutsideMenu.Remove("/Dev/Menu/Root").Element("Root", "root");
    std::vector<std::pair<std::string, int32_t>> cases = {
        {Replaced(valid, "CVR87", "CVR88"), 1},                  // one byte of the body
        {Replaced(valid, "<!--CHECKSUM:", "<!--CHECKSUM "), 1},  // no ":" before " LENGTH:"
        {Replaced(valid, " LENGTH:", " SIZE:00"), 1},
        {Replaced(valid, digest, platform::AsciiUpper(digest)), 1},
        // The comment has to be the third top-level node.
        {fixture::SelfChecksummed(root, ""), 1},
        {std::string(fixture::kXmlDeclaration) + "\n<!--CHECKSUM:" + platform::Md5Hex::Of(root) +
             " LENGTH:00000000-->\n" + root + "\n",
         1},
        {"<a/>", 1},  // too short to hold a checksum
        // Checked before the syntax version.
        {DeviceModelBuilder().Set("/Dev", "versionSyntax", "99").Set("/Dev", "device", "").ModelXml(), 3},
        {DeviceModelBuilder().Remove("/Dev/Menu").ModelXml(), 4},
        {DeviceModelBuilder().Set("/Dev/Menu", "mode", "MenuTree").ModelXml(), 4},
        {rootOutsideMenu.ModelXml(), 5},
        {"", 6},
        {"<Dev>", 6}};
    for (const char* name : {"device", "versionContent", "multiSets", "versionSyntax"}) {
        cases.emplace_back(DeviceModelBuilder().Remove("/Dev", name).ModelXml(), 3);
        cases.emplace_back(DeviceModelBuilder().Set("/Dev", name, "").ModelXml(), 3);
    }
    for (const auto& [text, code] : cases) ExpectError(text, code, messages.at(code));
    for (const char* version : {"1", "14", "abc", "-5"}) {
        ExpectError(
            DeviceModelBuilder().Set("/Dev", "versionSyntax", version).ModelXml(), 2,
            std::string("Device model syntax format '") + version + "' not supported with this application.");
    }
    // The syntax versions 2 to 13 pass; the LENGTH digits are not examined;
    // the text ends at its first NUL byte.
    for (const char* version : {"2", "13", "5 beta"}) {
        EXPECT_TRUE(Loaded(DeviceModelBuilder().Set("/Dev", "versionSyntax", version).ModelXml()).ok)
            << version;
    }
    EXPECT_TRUE(Loaded(Replaced(valid, " LENGTH:0", " LENGTH:9")).ok);
    EXPECT_TRUE(Loaded(valid + std::string(1, '\0') + "<garbage").ok);
}

// The table is the first mapping entry and its siblings up to the first
// without "ref"; a relative path is resolved below the root element.
TEST(MappingLookup, EntriesUpToTheFirstIncompleteOne) {
    DeviceModelBuilder builder;
    builder.Mapping("first", "MDM/A");
    builder.Model().child("Dev").child("Mappings").append_child(pugi::node_comment).set_value("between");
    builder.Mapping("third", "/Device/C").Mapping("broken", "").Mapping("after", "MDM/D");
    Loaded loaded(builder.ModelXml());
    std::string paths;
    for (const char* key : {"first", "third", "after", "unknown", "First"}) {
        paths += loaded.model.GetMappedPath(key) + "|";
    }
    EXPECT_EQ(paths, "/Dev/MDM/A|/Device/C||||");
    Loaded incompleteFirst(DeviceModelBuilder().Mapping("first", "").Mapping("second", "MDM/B").ModelXml());
    EXPECT_EQ(incompleteFirst.model.GetMappedPath("second"), "");
}

class TextQuery : public ::testing::Test {
protected:
    // Loads the builder's model and its "ENG" language document.
    void Load(bool withLanguage = true) {
        devicemodel::DeviceModelError error;
        ASSERT_TRUE(model.Load(builder.ModelXml(), error)) << error.text;
        ASSERT_TRUE(!withLanguage || model.LoadLanguage(builder.LanguageXml()));
    }
    std::string NodeText(const std::string& path, const char* attribute = "shortText") {
        std::string text = "unchanged";
        const bool found =
            model.GetNodeText(model.FindElement(DeviceModelBuilder::Absolute(path)), attribute, text);
        return (found ? "ok:" : "fallback:") + text;
    }
    // The display texts of the paths, joined by "|".
    std::string Texts(std::initializer_list<const char*> paths) {
        std::string text;
        for (const char* path : paths) {
            text += (text.empty() ? "" : "|") + model.GetText(DeviceModelBuilder::Absolute(path));
        }
        return text;
    }

    DeviceModelBuilder builder;
    devicemodel::CDataModelToHMI model;
};

TEST_F(TextQuery, NodeTextFallbacksAndLanguageDocumentStates) {
    builder.Channel("Prot/IL1", "IL1", "Phase current L1").Element("Prot/NoText").Channel("Prot/Empty", "");
    builder.Language().child("Dev").child("MDM").child("Prot").remove_child("NoText");
    builder.Element("Prot/Bare");
    Load(false);
    EXPECT_EQ(NodeText("Prot/IL1"), "fallback:[IL1]");  // never loaded
    std::string damaged = builder.LanguageXml();
    damaged[damaged.find("\"IL1\"") + 1] = 'X';  // the text, not the name
    EXPECT_FALSE(model.LoadLanguage(damaged));
    EXPECT_EQ(NodeText("Prot/IL1"), "fallback:[IL1]");  // wrong checksum: dropped
    EXPECT_FALSE(model.LoadLanguage("<Dev><MDM>"));
    EXPECT_EQ(NodeText("Prot/IL1"), "fallback:{IL1}");  // not well-formed: empty document
    ASSERT_TRUE(model.LoadLanguage(builder.LanguageXml()));
    // Attribute names take wildcards.
    EXPECT_EQ(NodeText("Prot/IL1") + " " + NodeText("Prot/IL1", "long*") + " " + NodeText("Prot/Empty"),
              "ok:IL1 ok:Phase current L1 ok:");
    // Path missing in the language document, language element without the
    // attribute, no model element.
    EXPECT_EQ(NodeText("Prot/NoText") + " " + NodeText("Prot/Bare") + " " + NodeText("Prot/Missing"),
              "fallback:{NoText} fallback:(Bare) fallback:[]");
}

// The "moduleOverview" style adds the long text also with the numbers off, a
// missing long text being its fallback; with the numbers on, "long" shows
// the long text, and elements with "mdm" or the "ANSIDeviceNumber" style add
// it to the short one unless it is empty. A text reference is relative to the
// root element or absolute; the referenced element's "mdm" counts, its style
// does not.
TEST_F(TextQuery, StylesAndTextReferencesWithAndWithoutAnsiDeviceNumbers) {
    builder.Channel("Prot/Plain", "P", "Plain long").Channel("Prot/Over", "O", "Overview long");
    builder.Channel("Prot/Long", "L", "Long text").Channel("Prot/Ansi", "50", "Overcurrent");
    builder.Channel("Prot/Styled", "51", "Time overcurrent").Channel("Prot/NoLong", "N", "");
    builder.Channel("Prot/OverNoLong", "ON");
    builder.Set("Prot/Over", "textStyle", "moduleOverview").Set("Prot/Long", "textStyle", "long");
    builder.Set("Prot/Ansi", "mdm", "").Set("Prot/Styled", "textStyle", "ANSIDeviceNumber");
    builder.Set("Prot/NoLong", "mdm", "x").LanguageSet("Prot/NoLong", "longText", "");
    builder.Set("Prot/OverNoLong", "textStyle", "moduleOverview");
    builder.Channel("Texts/I", "I", "Current")
        .Set("Texts/I", "mdm", "")
        .Set("Texts/I", "textStyle", "moduleOverview");
    builder.Set("Ref/Relative", "textRef", "MDM/Texts/I").Set("Ref/Absolute", "textRef", "/Dev/MDM/Texts/I");
    builder.Set("Ref/Long", "textRef", "MDM/Texts/I").Set("Ref/Long", "textStyle", "long");
    builder.Set("Ref/Dangling", "textRef", "MDM/Texts/Gone");
    Load();
    const auto paths = {"Prot/Plain",   "Prot/Over",    "Prot/Long",       "Prot/Ansi",
                        "Prot/Styled",  "Prot/NoLong",  "Prot/OverNoLong", "Prot/Missing",
                        "Ref/Relative", "Ref/Absolute", "Ref/Long",        "Ref/Dangling"};
    EXPECT_EQ(Texts(paths), "P|O - Overview long|L|50|51|N|ON - (OverNoLong)||I|I|I|[]");
    model.SetDisplayAnsiDeviceNumbers(true);
    EXPECT_EQ(Texts(paths),
              "P|O - Overview long|Long text|50 - Overcurrent|51 - Time overcurrent|N|ON - (OverNoLong)||"
              "I - Current|I - Current|I - Current|[]");
}

TEST_F(TextQuery, PathLookupsTakeTheFirstMatchAndWildcards) {
    builder.Channel("Prot/IL1", "first");
    builder.Model().child("Dev").child("MDM").append_child("Prot").append_child("IL2");
    // Enough siblings for the lookup to build a name table.
    for (int i = 0; i < 100; ++i)
        builder.Channel("Prot/Wide/C" + std::to_string(i), "text " + std::to_string(i));
    builder.Model().child("Dev").child("MDM").child("Prot").child("Wide").append_child("C7").append_attribute(
        "type") = "late";
    Load();
    // The first "Prot" has no IL2 and the lookup does not try the second;
    // empty segments are skipped.
    std::string found;
    for (const char* path : {"/Dev/MDM/Prot/IL1", "/Dev/MDM/Prot/IL2", "/Dev/*/Prot/IL?", "//Dev///MDM/", "/",
                             "/Dev/MDM/[!P]*", "/Dev/MDM/Prot/Wide/C100"}) {
        found += model.FindElement(path).name() + std::string("|");
    }
    EXPECT_EQ(found, "IL1||IL1|MDM||||");
    EXPECT_EQ(Texts({"Prot/I[L]1", "Prot/Wide/C0", "Prot/Wide/C99"}), "first|text 0|text 99");
    // The first C7.
    EXPECT_STREQ(model.FindElement("/Dev/MDM/Prot/Wide/C7").attribute("type").value(), "value");
}

// The table of one device-model step. (The step fails only without memory.)
struct Applied {
    ChannelTextTable table;

    Applied(const std::string& model, const std::string& language, const ExtendedSettingsSet& settings = {},
            bool ansi = false) {
        EXPECT_TRUE(devicemodel::ApplyDeviceModel(model, language, settings, ansi, table));
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
    // The entries of the paths, each followed by "; ".
    std::string Entries(std::initializer_list<const char*> paths) const {
        std::string text;
        for (const char* path : paths) text += Entry(path) + "; ";
        return text;
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
    // A module is not its own module; the nearest module counts; an empty
    // text gives no entry, nor does a language element without a model one.
    EXPECT_EQ(applied.Entries(
                  {"Prot", "Prot/IL1", "Prot/Group/IL2", "Unit/App", "Unit/App/X", "Loose", "Loose/Inner"}),
              "Protection | -; IL1 | Protection; IL2 | Protection; Application | Device; X | Application; "
              "Loose text | -; Inner | -; ");
    EXPECT_EQ(applied.Entries({"Silent", "Silent/Y", "Prot/Untyped", "Prot/Untyped/IL3", "Top/Untyped/Deep",
                               "OnlyInLanguage"}),
              "missing; Y | ; Untyped | Protection; missing; missing; missing; ");
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
    // An overload names its text by a path below the MDM section, with or
    // without a leading "/".
    settings.overloads = {
        {"/Meas/IL2", "/Names/Other"}, {"/Meas/IL3", "Names/Missing"}, {"/Meas/IL3", "Names/Other"}};
    Applied applied(builder, settings);
    // The first pair wins, and the module is renamed too; an overload wins
    // over a replacement; only elements with a text of their own.
    EXPECT_EQ(applied.Entries({"Meas/IL1", "Meas/IL2", "Meas/IL3", "Meas/Blank", "Names/Other"}),
              "Renamed | Feeder 1; Other text | Feeder 1; [Missing] | Feeder 1; missing; Other text | -; ");

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
        EXPECT_TRUE(Applied(modelText, languageText).table.Empty())
            << modelText.substr(0, 20) << " / " << languageText.substr(0, 20);
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
    EXPECT_EQ(applied.table.Size(), static_cast<size_t>(depth + 2 + 2 * width));
    EXPECT_EQ(applied.Entry(Repeated("/a", depth)), "t | -");
    EXPECT_EQ(applied.Entry(odd) + "; " + applied.Entry(odd + "/x"), "\xe9t\xe9 | -; x | \xe9t\xe9");
    EXPECT_EQ(applied.Entry("c0") + "; " + applied.Entry("c123"),
              "r" + std::to_string(width - 1) + " | -; r" + std::to_string(width - 124) + " | -");
    EXPECT_EQ(applied.table.Entries().back().channelText, "first");
}

TEST(HostileDocument, ReferencesFullOfWildcardsAndHugeValues) {
    DeviceModelBuilder builder;
    builder.Channel("Prot/IL1", "IL1").Element("Prot/Stars").Element("Prot/Sets").Element("Prot/Long");
    builder.Set("Prot/Stars", "textRef", Repeated("*/", 50000)).Text("Prot/Huge", std::string(1 << 20, 'h'));
    builder.Set("Prot/Sets", "textRef", "MDM/Prot/" + Repeated("[", 50000));
    builder.Set("Prot/Long", "textRef", "MDM/Prot/" + Repeated("*a", 20000) + "b")
        .Element("Prot/Huge", "value");
    ExtendedSettingsSet settings;
    settings.overloads = {{"/Prot/IL1", Repeated("[!", 10000)}};
    const Applied applied(builder, settings);
    EXPECT_EQ(applied.Entries({"Prot/Stars", "Prot/Sets", "Prot/Long"}), "[] | -; [] | -; [] | -; ");
    EXPECT_EQ(applied.Entry("Prot/Huge"), std::string(1 << 20, 'h') + " | -");
    EXPECT_EQ(applied.Entry("Prot/IL1"), "[" + Repeated("[!", 10000) + "] | -");
}

}  // namespace
