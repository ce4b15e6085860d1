// Where device models and their texts come from. The record side of a
// container: the model and language entries, and the "ExtendedSettings"
// entry with its verification and the text replacement and overload pairs
// collected from it. The device-models folder: device containers
// (verification with their own rules and messages, the texts they hand out),
// which model files a folder offers and which one a record selects, and
// plain and compressed model files.
#include <gtest/gtest.h>

#include <filesystem>

#include <string>
#include <tuple>
#include <vector>

#include "container/DeviceContainer.h"
#include "container/DeviceModelCandidate.h"
#include "container/ModelFile.h"
#include "container/RecordContainer.h"
#include "platform/MessageBox.h"
#include "support/ContainerFixture.h"

namespace {

using container::DeviceModelCandidates;
using container::RecordContainer;
using devicemodel::ExtendedSettingsSet;
using fixture::DeviceContainerBuilder;
using fixture::RecordContainerBuilder;
using fixture::Wide;

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

std::string Settings(const std::string& content,
                     const std::string& rootAttributes = "type=\"extendedSettings\" versionSyntax=\"1\"") {
    return fixture::SelfChecksummed("<ExtendedSettings " + rootAttributes + ">" + content +
                                    "</ExtendedSettings>");
}

// Reads the settings of a container holding `entry` as "ExtendedSettings"
// (none when empty) into a set with a stale pair: "result: name=ref ... |
// from>to ... | the document's error text".
std::string Collected(const std::string& entry) {
    RecordContainerBuilder builder;
    if (!entry.empty()) builder.Entry("ExtendedSettings", entry);
    fixture::TempDir dir;
    RecordContainer container;
    EXPECT_TRUE(container.OpenContainer(Wide(builder.Write(dir))));
    ExtendedSettingsSet set;
    set.overloads.push_back({"stale", "stale"});
    std::string text = container.ReadExtendedSettings(set) ? "true:" : "false:";
    for (const auto& pair : set.textReplacements) text += " " + pair.name + "=" + pair.ref;
    text += " |";
    for (const auto& pair : set.overloads) text += " " + pair.from + ">" + pair.to;
    return text + " | " + container.ExtendedSettings().ErrorText();
}

// Items two levels below the root, in sections of the exact type, in
// document order; nothing to collect gives false and an empty set, and so
// does each verification failure, with its reason.
TEST(ExtendedSettings, CollectsTwoLevelsInDocumentOrderOrFailsWithItsReason) {
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
    EXPECT_EQ(Collected(Settings(content)), "true: Feeder 1=/P/F1 No ref= second=/P/F1 | /P/F2>/P/F3 | ");
    EXPECT_EQ(Collected(""), "false: | | ");
    EXPECT_EQ(Collected(Settings("<S type=\"sectionTextReplacement\"/>")), "false: | | ");
    const std::string item = content.substr(0, content.find("</S>") + 4);
    std::string tampered = Settings(item);
    tampered[tampered.find("Feeder")] = 'f';
    const std::pair<std::string, std::string> failures[] = {
        {tampered, "Invalid Extended Settings checksum"},
        {Settings(item, "type=\"ExtendedSettings\" versionSyntax=\"1\""), "Extended Settings type not found"},
        {Settings(item, "versionSyntax=\"1\""), "Extended Settings type not found"},
        {Settings(item, "type=\"extendedSettings\""), "Missing version syntax item"},
        {Settings(item, "type=\"extendedSettings\" versionSyntax=\"2\""),
         "Extended Settings Syntax format '2' not supported.\r\n"
         "Please update the application which supports this syntax format."}};
    for (const auto& [text, reason] : failures) EXPECT_EQ(Collected(text), "false: | | " + reason);
}

// Opens a container file holding `bytes`, capturing the messages shown.
struct Opened {
    fixture::TempDir folder;
    container::DeviceContainer device;
    std::vector<std::string> messages;
    bool open = false;
    explicit Opened(const std::string& bytes) {
        const std::string path = folder.Write("dev_V1.0.DeCon", bytes);
        platform::MessageSink previous =
            platform::SetMessageSink([this](const std::string& text) { messages.push_back(text); });
        open = device.Open(fixture::Wide(path));
        platform::SetMessageSink(previous);
    }
};

TEST(DeviceContainer, VerifiesAndHandsOutTexts) {
    DeviceContainerBuilder builder("<Model a=\"1\"/>");
    builder.Entry("DeviceModel_l_ENG", "<E/>")
        .Entry("DeviceModel_l_deu", "<D/>")
        .Entry("DeviceModel_l_DEU", "<D2/>");
    builder.MetaAttribute("versionSyntax", "2");
    // Only the exact names are covered by the checksum; these are not.
    builder.Entry("readme.txt", "x").Entry("devicemodel", "<Other/>").Entry("SLVPX", "x");
    builder.Entry("DeviceModel_l_ENGX", "x");
    Opened opened(builder.Bytes());
    ASSERT_TRUE(opened.open);
    EXPECT_TRUE(opened.messages.empty());
    // The language texts by code ignoring case, the earlier of two entries of one code; "-" for none.
    std::string model, texts;
    opened.device.ReadDeviceModel(model);
    for (const wchar_t* code : {L"eng", L"DEU", L"FRA", L"NGX"}) {
        std::string text = "-";
        opened.device.ReadLanguageTexts(code, text);
        texts += text;
    }
    EXPECT_EQ(model + texts, "<Model a=\"1\"/><E/><D/>--");
}

TEST(DeviceContainer, FailuresAreShownOnce) {
    const std::pair<std::string, const char*> cases[] = {
        // null: nothing shown
        {DeviceContainerBuilder().MetaAttribute("checksumContainerData", std::string(32, 'a')).Bytes(),
         "Invalid container data checksum!"},
        {DeviceContainerBuilder().Remove("MetaData").Bytes(), "Can not find meta data!"},
        {DeviceContainerBuilder().MetaAttribute("versionSyntax", "3").Bytes(),
         "Syntax format '3' not supported."},
        {DeviceContainerBuilder().MetaAttribute("versionSyntax", "").Bytes(), "Unknown"},
        {"PK but no archive", nullptr}};
    for (const auto& [bytes, details] : cases) {
        Opened opened(bytes);
        EXPECT_FALSE(opened.open);
        ASSERT_EQ(opened.messages.size(), details ? 1u : 0u);
        const std::string shown = "Internal Error from DeviceContainer!\nFile: " + opened.folder.Path() +
                                  "/dev_V1.0.DeCon\nError Details: " + (details ? details : "");
        EXPECT_EQ(details ? opened.messages[0].substr(0, shown.size()) : shown, shown);
    }
}

DeviceModelCandidates Candidates(const std::string& folderText, int productLine) {
    DeviceModelCandidates candidates(folderText, productLine);
    candidates.List();
    candidates.Finish();
    return candidates;
}

// The candidates as "type|version|file name" items.
std::string Listed(const DeviceModelCandidates& candidates) {
    std::string text;
    for (const auto& candidate : candidates.All()) {
        text +=
            (text.empty() ? "" : " ") + candidate.type + "|" + candidate.version + "|" + candidate.fileName;
    }
    return text;
}

TEST(DeviceModelFileName, TypeVersionAndProductLine) {
    const std::pair<const char*, const char*> names[] = {{"CVR87_V04.10.02.DeCon", "CVR87|04.10.02"},
                                                         {"CVR87_V04.10_Download.DeCon", "CVR87|04.10"},
                                                         {"CVR87_V04.10(beta).dm", "CVR87|04.10"},
                                                         {"CVR87_xyzV1.2.dm_c", "CVR87|1.2"},
                                                         {"NoVersion.dm", "NoVersion|?"},
                                                         {"Type_NoLetter.dm", "Type_NoLetter|?"}};
    for (const auto& [fileName, expected] : names) {
        std::string type, version;
        container::DecodeModelFileName(fileName, type, version);
        EXPECT_EQ(type + "|" + version, expected);
    }
    // A new-style version has three leading digits and "." as its fifth or
    // ninth character; "CV3A3": its first "3" is the third character.
    const std::tuple<const char*, const char*, int> lines[] = {
        {"MX1", "0123.4567", 1}, {"X9", "0123.4567", 2}, {"W9", "0123.4567", 3}, {"CVR87", "0123.4567", 0},
        {"ZOE1", "1.2", 4},      {"CVA3", "1.2", 5},     {"CV3A3", "1.2", 0},    {"MX1", "01234567.9", 1},
        {"MX1", "A123.4567", 0}, {"MX1", "0123.456", 0}};
    for (const auto& [name, version, line] : lines)
        EXPECT_EQ(container::ProductLine(name, version), line) << name;
}

TEST(DeviceModelCandidates, ContainersWinNewStyleLinesAndTheFolderTextIsAPrefix) {
    fixture::TempDir folder;
    for (const char* name :
         {"CVR87_V1.2.dm", "CVR87_V1.2.DeCon", "CVR87_V1.3.DM_C", "CVR87_V1.4.dmx", "other.txt"}) {
        folder.Write(std::string("old/") + name, "x");
    }
    const std::filesystem::path oldFolder = std::filesystem::u8path(folder.Path()) / "old";
    std::filesystem::create_directory(oldFolder / "CVR87_V1.5.DeCon");  // a folder named like a model
    std::error_code noLinks;  // where the system makes no links, there is no loop to skip
    std::filesystem::create_symlink(oldFolder / "loop.DeCon", oldFolder / "loop.DeCon", noLinks);
    const DeviceModelCandidates old = Candidates(folder.Path() + "/old/", 0);
    EXPECT_EQ(Listed(old), "CVR87|1.2|CVR87_V1.2.DeCon CVR87|1.3|CVR87_V1.3.DM_C");
    const auto* selected = old.Select("CVR87", "1.3");
    ASSERT_NE(selected, nullptr);
    EXPECT_EQ(selected->fullPath + (selected->compressed ? " compressed" : ""),
              folder.Path() + "/old/CVR87_V1.3.DM_C compressed");
    EXPECT_EQ(old.Select("cvr87", "1.3"), nullptr);
    // The newest container of the line's letter, known by two fields.
    for (const char* name : {"M1_V0123.4567.1.DeCon", "M1_V0123.4567.2.DeCon", "M1_V0123.4567.DeCon",
                             "X1_V0123.4567.1.DeCon", "M1_V0123.4567.3.dm"}) {
        folder.Write(std::string("new/") + name, "x");
    }
    EXPECT_EQ(Listed(Candidates(folder.Path() + "/new/", 1)), "M1|0123.4567|M1_V0123.4567.2.DeCon");
    // The folder text is not a folder: "<folder>/models" lists "modelsA...".
    folder.Write("models/inner_V1.0.DeCon", "x");
    folder.Write("modelsA_V2.0.DeCon", "x");
    const DeviceModelCandidates candidates = Candidates(folder.Path() + "/models", 0);
    EXPECT_EQ(Listed(candidates), "modelsA|2.0|modelsA_V2.0.DeCon");
    EXPECT_EQ(candidates.All()[0].fullPath, folder.Path() + "/modelsmodelsA_V2.0.DeCon");
}

TEST(ModelFile, PlainAndCompressedTexts) {
    fixture::TempDir folder;
    const std::string model = "<Model>" + std::string(300000, 'm') + "</Model>";
    const std::string packed = fixture::Compressed(model);
    std::string text;
    platform::LoadBudget budget, small(300000);
    ASSERT_TRUE(container::ReadModelFile(folder.Write("a.dm_c", packed), true, text, budget));
    EXPECT_EQ(text, model);
    ASSERT_TRUE(container::ReadModelFile(folder.Write("b.dm", std::string("abc\0def", 7)), false, text, budget));
    EXPECT_EQ(text, "abc");
    // A damaged stream keeps what inflated before the damage; a text over the budget is none.
    EXPECT_LT(container::InflateModelText(packed.substr(0, packed.size() / 2), budget).size(), model.size());
    EXPECT_TRUE(container::InflateModelText(packed, small).empty());
    EXPECT_TRUE(container::InflateModelText("not a zlib stream", budget).empty());
}

}  // namespace
