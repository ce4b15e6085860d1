// The record side of a container: its error texts, the record, model and
// language entries, the record text loader used for every record file, and
// the "ExtendedSettings" entry: its verification and the text replacement and
// overload pairs collected from it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "container/RecordContainer.h"
#include "support/ContainerFixture.h"

namespace {

using container::RecordContainer;
using devicemodel::ExtendedSettingsSet;
using fixture::RecordContainerBuilder;
using fixture::Wide;

const std::string kPrefix = "Internal error in Corvane Container:\n";

TEST(RecordContainer, OpeningFailureIsPrefixed) {
    fixture::TempDir dir;
    RecordContainer container;
    EXPECT_FALSE(container.OpenContainer(Wide(dir.Write("junk.zip", "PK junk"))));
    EXPECT_EQ(container.ErrorText(),
              "OpenContainer fails\n" + kPrefix + "OpenContainer() fails: Failure in OpenZip()\n\n");
}

// The model entry by name, any case. A language entry has a 17-byte name
// whose last three characters are the code, any case; among several the last
// in byte order wins.
TEST(RecordContainer, ModelAndLanguageEntries) {
    RecordContainerBuilder builder;
    builder.Entry("devicemodel", "<M/>")
        .Entry("DeviceModel_l_ENG", "eng")
        .Entry("DeviceModel_l_deu", "deu")
        .Entry("XXXXXXXXXXXXXENG", "too short")
        .Entry("Xnother_prefixENG", "last in byte order")
        .Entry("Another_prefixENG", "first in byte order")
        .Entry("DeviceModel_l_FRA_", "too long")
        .Entry("DeviceModel_l_\xe9t\xe9", "accented");
    fixture::TempDir dir;
    RecordContainer container;
    ASSERT_TRUE(container.OpenContainer(Wide(builder.Write(dir))));
    // The texts by code, "-" for none.
    std::string texts;
    for (const wchar_t* code : {L"DEU", L"eng", L"FRA", L"", L"\u00e9T\u00e9"}) {
        std::string text = "-";
        container.ReadLanguageTexts(code, text);
        texts += text + "|";
    }
    EXPECT_EQ(texts, "deu|last in byte order|-|-|accented|");
    std::string model = "-";
    EXPECT_TRUE(container.ReadDeviceModel(model));
    EXPECT_EQ(model, "<M/>");
    RecordContainer withoutModel;
    ASSERT_TRUE(withoutModel.OpenContainer(Wide(RecordContainerBuilder().Write(dir, "plain.zip"))));
    EXPECT_FALSE(withoutModel.ReadDeviceModel(model));
    EXPECT_EQ(model, "<M/>");
}

TEST(RecordContainer, LoadRecordTextFromContainersAndPlainFiles) {
    fixture::TempDir dir;
    const RecordContainerBuilder valid;
    std::string text;
    EXPECT_TRUE(container::LoadRecordText(Wide(valid.Write(dir)), text));
    EXPECT_EQ(text, fixture::RecordBuilder().Xml());
    const std::string plain("<DistFile/>\0tail", 16);
    EXPECT_TRUE(container::LoadRecordText(Wide(dir.Write("record.xml", plain)), text));
    EXPECT_EQ(text, plain);
    std::string damagedMeta = valid.MetaDataText();
    damagedMeta[damagedMeta.find("versionSyntax")] = 'V';
    for (const RecordContainerBuilder& broken : {RecordContainerBuilder(valid).Entry("MetaData", damagedMeta),
                                                 RecordContainerBuilder(valid).Remove("RecorderData")}) {
        text = "unchanged";
        EXPECT_FALSE(container::LoadRecordText(Wide(broken.Write(dir, "broken.zip")), text));
        EXPECT_EQ(text, "unchanged");
    }
}

std::string Settings(const std::string& content,
                     const std::string& rootAttributes = "type=\"extendedSettings\" versionSyntax=\"1\"") {
    return fixture::SelfChecksummed("<ExtendedSettings " + rootAttributes + ">" + content +
                                    "</ExtendedSettings>");
}

// Reads the settings of a container holding `entry` as "ExtendedSettings"
// (none when empty) into a set with a stale pair: "result: name=ref ... |
// from>to ...". `error` receives the document's error text.
std::string Collected(const std::string& entry, std::string* error = nullptr) {
    RecordContainerBuilder builder;
    if (!entry.empty()) builder.Entry("ExtendedSettings", entry);
    fixture::TempDir dir;
    RecordContainer container;
    EXPECT_TRUE(container.OpenContainer(Wide(builder.Write(dir))));
    ExtendedSettingsSet set;
    set.overloads.push_back({"stale", "stale"});
    std::string text = container.ReadExtendedSettings(set) ? "true:" : "false:";
    if (error) *error = container.ExtendedSettings().ErrorText();
    for (const auto& pair : set.textReplacements) text += " " + pair.name + "=" + pair.ref;
    text += " |";
    for (const auto& pair : set.overloads) text += " " + pair.from + ">" + pair.to;
    return text;
}

// Items two levels below the root, in sections of the exact type, in
// document order; nothing to collect gives false and an empty set.
TEST(ExtendedSettings, CollectsTwoLevelsInDocumentOrder) {
    const std::string content =
        "<S type=\"sectionTextReplacement\">"
        "  <T type=\"textReplacement\" name=\"Feeder 1\" ref=\"/P/F1\"/>"
        "  <!-- a comment --> text"
        "  <O type=\"overload\" from=\"/P/F2\" to=\"/P/F3\"/>"
        "  <T type=\"textReplacement\" name=\"No ref\"/>"
        "  <T type=\"TextReplacement\" name=\"wrong case\" ref=\"/x\"/>"
        "  <T name=\"untyped\" ref=\"/x\"/>"
        "  <G type=\"group\"><T type=\"textReplacement\" name=\"too deep\" ref=\"/x\"/></G>"
        "</S>"
        "<T type=\"textReplacement\" name=\"under the root\" ref=\"/x\"/>"
        "<S type=\"other\"><T type=\"textReplacement\" name=\"other section\" ref=\"/x\"/></S>"
        "<Any type=\"sectionTextReplacement\"><Item type=\"textReplacement\" name=\"second\" "
        "ref=\"/P/F1\"/></Any>";
    EXPECT_EQ(Collected(Settings(content)), "true: Feeder 1=/P/F1 No ref= second=/P/F1 | /P/F2>/P/F3");
    EXPECT_EQ(Collected(""), "false: |");
    EXPECT_EQ(Collected(Settings("<S type=\"sectionTextReplacement\"/>")), "false: |");
    // Deep nesting is ignored.
    std::string nested;
    for (int i = 0; i < 20000; ++i) nested += "<T type=\"textReplacement\" name=\"deep\" ref=\"/x\">";
    for (int i = 0; i < 20000; ++i) nested += "</T>";
    EXPECT_EQ(Collected(Settings("<S type=\"sectionTextReplacement\">" + nested + "</S>")),
              "true: deep=/x |");
}

TEST(ExtendedSettings, EachVerificationFailureGivesItsReasonAndNoPairs) {
    const std::string item =
        "<S type=\"sectionTextReplacement\"><T type=\"textReplacement\" name=\"n\" ref=\"r\"/></S>";
    std::string tampered = Settings(item);
    tampered[tampered.find("name=\"n\"") + 6] = 'm';
    const struct {
        std::string text;
        std::string reason;
    } cases[] = {
        {tampered, "Invalid Extended Settings checksum"},
        {Settings(item, "type=\"ExtendedSettings\" versionSyntax=\"1\""), "Extended Settings type not found"},
        {Settings(item, "versionSyntax=\"1\""), "Extended Settings type not found"},
        {Settings(item, "type=\"extendedSettings\""), "Missing version syntax item"},
        {Settings(item, "type=\"extendedSettings\" versionSyntax=\"2\""),
         "Extended Settings Syntax format '2' not supported.\r\n"
         "Please update the application which supports this syntax format."},
    };
    for (const auto& c : cases) {
        std::string error;
        EXPECT_EQ(Collected(c.text, &error), "false: |") << c.reason;
        EXPECT_EQ(error, c.reason);
    }
}

}  // namespace
