// The text queries of a loaded model: language texts with their fallback
// decorations, display texts with text references and styles, short texts by
// relative path, and the path helpers.
#include <gtest/gtest.h>

#include <string>

#include "devicemodel/CDataModelToHMI.h"
#include "support/DeviceModelFixture.h"

namespace {

using fixture::DeviceModelBuilder;

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

TEST_F(TextQuery, NodeTextAndItsFallbacks) {
    builder.Channel("Prot/IL1", "IL1", "Phase current L1").Element("Prot/NoText").Element("Prot/Empty");
    builder.Text("Prot/Empty", "");
    builder.Language().child("Dev").child("MDM").child("Prot").remove_child("NoText");
    builder.Element("Prot/Bare");
    Load();
    EXPECT_EQ(NodeText("Prot/IL1"), "ok:IL1");
    EXPECT_EQ(NodeText("Prot/IL1", "long*"), "ok:Phase current L1");  // attribute names take wildcards
    EXPECT_EQ(NodeText("Prot/Empty"), "ok:");
    EXPECT_EQ(NodeText("Prot/NoText"), "fallback:{NoText}");  // path missing in the language document
    EXPECT_EQ(NodeText("Prot/Bare"), "fallback:(Bare)");      // language element without the attribute
    EXPECT_EQ(NodeText("Prot/Missing"), "fallback:[]");       // no element
}

TEST_F(TextQuery, LanguageDocumentStates) {
    builder.Channel("Prot/IL1", "IL1");
    Load(false);
    EXPECT_EQ(NodeText("Prot/IL1"), "fallback:[IL1]");  // never loaded
    std::string damaged = builder.LanguageXml();
    damaged[damaged.find("\"IL1\"") + 1] = 'X';  // the text, not the name
    EXPECT_FALSE(model.LoadLanguage(damaged));
    EXPECT_EQ(NodeText("Prot/IL1"), "fallback:[IL1]");  // wrong checksum: dropped
    EXPECT_FALSE(model.LoadLanguage("<Dev><MDM>"));
    EXPECT_EQ(NodeText("Prot/IL1"), "fallback:{IL1}");  // not well-formed: empty document
    EXPECT_TRUE(model.LoadLanguage(builder.LanguageXml()));
    EXPECT_EQ(NodeText("Prot/IL1"), "ok:IL1");
}

// The "moduleOverview" style adds the long text also with the numbers off, a
// missing long text being its fallback; with the numbers on, "long" shows
// the long text, and elements with "mdm" or the "ANSIDeviceNumber" style add
// it to the short one unless it is empty.
TEST_F(TextQuery, StylesWithAndWithoutAnsiDeviceNumbers) {
    builder.Channel("Prot/Plain", "P", "Plain long").Channel("Prot/Over", "O", "Overview long");
    builder.Channel("Prot/Long", "L", "Long text").Channel("Prot/Ansi", "50", "Overcurrent");
    builder.Channel("Prot/Styled", "51", "Time overcurrent").Channel("Prot/NoLong", "N", "");
    builder.Channel("Prot/OverNoLong", "ON");
    builder.Set("Prot/Over", "textStyle", "moduleOverview").Set("Prot/Long", "textStyle", "long");
    builder.Set("Prot/Ansi", "mdm", "").Set("Prot/Styled", "textStyle", "ANSIDeviceNumber");
    builder.Set("Prot/NoLong", "mdm", "x").LanguageSet("Prot/NoLong", "longText", "");
    builder.Set("Prot/OverNoLong", "textStyle", "moduleOverview");
    Load();
    const auto paths = {"Prot/Plain",  "Prot/Over",   "Prot/Long",       "Prot/Ansi",
                        "Prot/Styled", "Prot/NoLong", "Prot/OverNoLong", "Prot/Missing"};
    EXPECT_EQ(Texts(paths), "P|O - Overview long|L|50|51|N|ON - (OverNoLong)|");
    model.SetDisplayAnsiDeviceNumbers(true);
    EXPECT_EQ(Texts(paths),
              "P|O - Overview long|Long text|50 - Overcurrent|51 - Time overcurrent|N|ON - (OverNoLong)|");
}

// A text reference is relative to the root element or absolute; the
// referenced element's "mdm" counts, its style does not.
TEST_F(TextQuery, TextReferences) {
    builder.Channel("Texts/Current", "I", "Current").Set("Texts/Current", "mdm", "");
    builder.Set("Texts/Current", "textStyle", "moduleOverview");
    builder.Element("Prot/ByRelative").Set("Prot/ByRelative", "textRef", "MDM/Texts/Current");
    builder.Element("Prot/ByAbsolute").Set("Prot/ByAbsolute", "textRef", "/Dev/MDM/Texts/Current");
    builder.Element("Prot/Styled").Set("Prot/Styled", "textRef", "MDM/Texts/Current");
    builder.Set("Prot/Styled", "textStyle", "long");
    builder.Element("Prot/Dangling").Set("Prot/Dangling", "textRef", "MDM/Texts/Gone");
    Load();
    EXPECT_EQ(Texts({"Prot/ByRelative", "Prot/ByAbsolute", "Prot/Styled", "Prot/Dangling"}), "I|I|I|[]");
    model.SetDisplayAnsiDeviceNumbers(true);
    EXPECT_EQ(Texts({"Prot/ByRelative", "Prot/Styled"}), "I - Current|I - Current");
}

TEST_F(TextQuery, ShortTextByRelativeOrAbsolutePath) {
    builder.Channel("Prot/IL1", "IL1 text");
    Load();
    std::string text;
    EXPECT_TRUE(model.GetShortText("Prot/IL1", false, text));
    EXPECT_EQ(text, "IL1 text");
    EXPECT_TRUE(model.GetShortText("/Prot/IL1", false, text));
    EXPECT_TRUE(model.GetShortText("/Dev/MDM/Prot/IL1", true, text));
    EXPECT_FALSE(model.GetShortText("Prot/IL2", false, text));
    EXPECT_EQ(text, "[IL2]");
    EXPECT_FALSE(model.GetShortText("/Dev/MDM/Prot/IL1", false, text));
    EXPECT_EQ(text, "[IL1]");
    EXPECT_FALSE(model.GetShortText("Nowhere", true, text));
    EXPECT_EQ(text, "[Nowhere]");
}

TEST_F(TextQuery, PathHelpers) {
    Load();
    EXPECT_EQ(model.MakeFullPath("Prot/IL1"), "/Dev/MDM/Prot/IL1");
    EXPECT_EQ(model.MakeFullPath("/Prot/IL1"), "/Dev/MDM/Prot/IL1");
    EXPECT_EQ(model.StripSectionPath("/Dev/MDM/Prot/IL1"), "Prot/IL1");
    EXPECT_EQ(model.StripSectionPath("/Dev"), "");
    const pugi::xml_node root = model.RootElement();
    EXPECT_EQ(model.ResolvePath(root, ""), "/Dev/");
    EXPECT_EQ(model.ResolvePath(root, "MDM/X"), "/Dev/MDM/X");
    EXPECT_EQ(model.ResolvePath(root, "/Dev/MDM/X"), "/Dev/MDM/X");
    EXPECT_EQ(model.ResolvePath(root, "/De"), "/Dev//De");
    EXPECT_EQ(model.ResolvePath(pugi::xml_node(), "MDM/X"), "MDM/X");
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
