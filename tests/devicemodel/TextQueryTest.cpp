// The text queries of a loaded model: language texts with their fallback
// decorations, display texts with text references and styles, short texts by
// relative path, and path lookups with wildcards.
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
