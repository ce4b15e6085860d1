// The "ExtendedSettings" entry of a record container: its verification and
// the text replacement and overload pairs collected from it.
#include <gtest/gtest.h>

#include <string>

#include "container/RecordContainer.h"
#include "support/ContainerFixture.h"

namespace {

using container::ExtendedSettingsSet;
using container::RecordContainer;

std::string Settings(const std::string& content, const std::string& rootAttributes =
                                                     "type=\"extendedSettings\" versionSyntax=\"1\"") {
    return fixture::SelfChecksummed("<ExtendedSettings " + rootAttributes + ">" + content + "</ExtendedSettings>");
}

// Reads the settings of a container holding `entry` as "ExtendedSettings"
// (none when empty); `error` receives the document's error text.
bool Read(const std::string& entry, ExtendedSettingsSet& set, std::string* error = nullptr) {
    fixture::RecordContainerBuilder builder;
    if (!entry.empty()) builder.Entry("ExtendedSettings", entry);
    fixture::TempDir dir;
    RecordContainer container;
    EXPECT_TRUE(container.OpenContainer(fixture::Wide(builder.Write(dir))));
    const bool result = container.ReadExtendedSettings(set);
    if (error) *error = container.ExtendedSettings().ErrorText();
    return result;
}

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
        "<Any type=\"sectionTextReplacement\"><Item type=\"textReplacement\" name=\"second\" ref=\"/P/F1\"/></Any>";
    ExtendedSettingsSet set;
    EXPECT_TRUE(Read(Settings(content), set));
    ASSERT_EQ(set.textReplacements.size(), 3u);
    EXPECT_EQ(set.textReplacements[0].name, "Feeder 1");
    EXPECT_EQ(set.textReplacements[0].ref, "/P/F1");
    EXPECT_EQ(set.textReplacements[1].name, "No ref");
    EXPECT_EQ(set.textReplacements[1].ref, "");
    EXPECT_EQ(set.textReplacements[2].name, "second");
    ASSERT_EQ(set.overloads.size(), 1u);
    EXPECT_EQ(set.overloads[0].from, "/P/F2");
    EXPECT_EQ(set.overloads[0].to, "/P/F3");
}

TEST(ExtendedSettings, NothingToCollectGivesFalseAndAnEmptySet) {
    ExtendedSettingsSet set;
    set.overloads.push_back({"stale", "stale"});
    EXPECT_FALSE(Read("", set));
    EXPECT_TRUE(set.Empty());
    set.overloads.push_back({"stale", "stale"});
    EXPECT_FALSE(Read(Settings("<S type=\"sectionTextReplacement\"/>"), set));
    EXPECT_TRUE(set.Empty());
}

TEST(ExtendedSettings, EachVerificationFailureGivesItsReasonAndNoPairs) {
    const std::string item = "<S type=\"sectionTextReplacement\"><T type=\"textReplacement\" name=\"n\" ref=\"r\"/></S>";
    std::string tampered = Settings(item);
    tampered[tampered.find("name=\"n\"") + 6] = 'm';
    const struct {
        std::string text;
        std::string reason;
    } cases[] = {
        {tampered, "Invalid Extended Settings checksum"},
        {"<short/>", "Invalid Extended Settings checksum"},
        {Settings(item, "type=\"ExtendedSettings\" versionSyntax=\"1\""), "Extended Settings type not found"},
        {Settings(item, "versionSyntax=\"1\""), "Extended Settings type not found"},
        {Settings(item, "type=\"extendedSettings\""), "Missing version syntax item"},
        {Settings(item, "type=\"extendedSettings\" versionSyntax=\"2\""),
         "Extended Settings Syntax format '2' not supported.\r\n"
         "Please update the application which supports this syntax format."},
    };
    for (const auto& c : cases) {
        ExtendedSettingsSet set;
        std::string error;
        EXPECT_FALSE(Read(c.text, set, &error)) << c.reason;
        EXPECT_EQ(error, c.reason);
        EXPECT_TRUE(set.Empty());
    }
}

TEST(ExtendedSettings, DeepNestingIsIgnored) {
    std::string nested;
    for (int i = 0; i < 20000; ++i) nested += "<T type=\"textReplacement\" name=\"deep\" ref=\"/x\">";
    for (int i = 0; i < 20000; ++i) nested += "</T>";
    ExtendedSettingsSet set;
    EXPECT_TRUE(Read(Settings("<S type=\"sectionTextReplacement\">" + nested + "</S>"), set));
    EXPECT_EQ(set.textReplacements.size(), 1u);
}

}  // namespace
