// A loaded device model: the load checks with their numbered errors and
// messages, the facts derived from a model that passed them, the mapping
// table, and the text queries: language texts with their fallback
// decorations, display texts with text references and styles, short texts by
// relative path, and path lookups with wildcards.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "devicemodel/CDataModelToHMI.h"
#include "platform/Md5Hex.h"
#include "support/ContainerFixture.h"
#include "support/DeviceModelFixture.h"

namespace {

using devicemodel::CDataModelToHMI;
using devicemodel::DeviceModelError;
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
    DeviceModelError error{0, "earlier"};
    ASSERT_TRUE(model.Load(builder.ModelXml(), error));
    EXPECT_EQ(error.code, 0);
    EXPECT_EQ(error.text, "earlier");  // a successful load leaves the record alone
    EXPECT_EQ(model.MakeFullPath("Prot/IL1"), "/Dev/MDM/Prot/IL1");
    EXPECT_TRUE(model.HasAnsiDeviceNumbers());
    builder.Channel("Prot/IL2", "IL2").Set("/Dev", "versionSyntax", "1");
    EXPECT_FALSE(model.Load(builder.ModelXml(), error));
    EXPECT_TRUE(model.LoadLanguage(builder.LanguageXml()));
    EXPECT_EQ(model.GetText("/Dev/MDM/Prot/IL2"), "IL2");
    EXPECT_EQ(model.MakeFullPath("Prot/IL1"), "/Prot/IL1");
    EXPECT_FALSE(model.HasAnsiDeviceNumbers());
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
        {Replaced(valid, digest, fixture::AsciiUpper(digest)), 1},
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
        {"<Dev>", 6},
        {"not xml", 6}};
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

TEST(MappingLookup, EntriesUpToTheFirstIncompleteOne) {
    DeviceModelBuilder builder;
    builder.Mapping("first", "MDM/A").Mapping("second", "/Dev/MDM/B");
    builder.Model().child("Dev").child("Mappings").append_child(pugi::node_comment).set_value("between");
    builder.Mapping("third", "/Device/C").Mapping("broken", "").Mapping("after", "MDM/D");
    Loaded loaded(builder.ModelXml());
    ASSERT_TRUE(loaded.ok);
    CDataModelToHMI& model = loaded.model;
    EXPECT_EQ(model.GetMappedPath("first"), "/Dev/MDM/A");   // relative: below the root element
    EXPECT_EQ(model.GetMappedPath("second"), "/Dev/MDM/B");  // begins with the root path: unchanged
    EXPECT_EQ(model.GetMappedPath("third"), "/Device/C");    // a plain prefix test
    EXPECT_EQ(model.GetMappedPath("after"), "");             // behind an entry without "ref"
    EXPECT_EQ(model.GetMappedPath("unknown"), "");
    EXPECT_EQ(model.GetMappedPath("First"), "");
    EXPECT_EQ(Loaded(DeviceModelBuilder().ModelXml()).model.GetMappedPath("first"), "");
    Loaded incompleteFirst(DeviceModelBuilder().Mapping("first", "").Mapping("second", "MDM/B").ModelXml());
    EXPECT_EQ(incompleteFirst.model.GetMappedPath("second"), "");
}

class TextQuery : public ::testing::Test {
protected:
    // Loads the builder's model and its "ENG" language document.
    void Load(bool withLanguage = true) {
        devicemodel::DeviceModelError error;
        ASSERT_TRUE(model.Load(builder.ModelXml(), error)) << error.text;
        if (withLanguage) {
            ASSERT_TRUE(model.LoadLanguage(builder.LanguageXml()));
        }
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

// Relative paths are taken below the MDM section, with or without a leading
// "/"; a missing element gives its last segment in brackets.
TEST_F(TextQuery, ShortTextByRelativePath) {
    builder.Channel("Prot/IL1", "IL1 text");
    Load();
    std::string texts;
    for (const char* path : {"Prot/IL1", "/Prot/IL1", "Prot/IL2", "/Dev/MDM/Prot/IL1"}) {
        std::string text;
        texts += (model.GetShortText(path, false, text) ? "" : "!") + text + "|";
    }
    EXPECT_EQ(texts, "IL1 text|IL1 text|![IL2]|![IL1]|");
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
    EXPECT_STREQ(model.FindElement("/Dev/MDM/Prot/IL1").name(), "IL1");
    // The first "Prot" has no IL2 and the lookup does not try the second.
    EXPECT_TRUE(model.FindElement("/Dev/MDM/Prot/IL2").empty());
    EXPECT_STREQ(model.FindElement("/Dev/*/Prot/IL?").name(), "IL1");
    EXPECT_STREQ(model.FindElement("//Dev///MDM/").name(), "MDM");  // empty segments are skipped
    EXPECT_TRUE(model.FindElement("/").empty());
    EXPECT_TRUE(model.FindElement("/Dev/MDM/[!P]*").empty());
    EXPECT_EQ(Texts({"Prot/I[L]1", "Prot/Wide/C0", "Prot/Wide/C99"}), "first|text 0|text 99");
    EXPECT_STREQ(model.FindElement("/Dev/MDM/Prot/Wide/C7").attribute("type").value(),
                 "value");  // the first C7
    EXPECT_TRUE(model.FindElement("/Dev/MDM/Prot/Wide/C100").empty());
}

}  // namespace
