// The device-models folder: device containers (verification with their own
// rules and messages, the model and language texts they hand out), which
// model files a folder offers and which one a record selects, and the plain
// and compressed model files.
#include <gtest/gtest.h>

#include <filesystem>

#include "container/DeviceContainer.h"
#include "container/DeviceModelCandidate.h"
#include "container/ModelFile.h"
#include "platform/MessageBox.h"
#include "support/ContainerFixture.h"

namespace {

using container::DeviceModelCandidates;
using fixture::DeviceContainerBuilder;

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
    builder.Language("ENG", "<E/>").Language("deu", "<D/>").Language("DEU", "<D2/>").VersionSyntax("2");
    // Only the exact names are covered by the checksum; these are not.
    builder.Entry("readme.txt", "x").Entry("devicemodel", "<Other/>").Entry("SLVPX", "x");
    builder.Entry("DeviceModel_l_ENGX", "x");
    Opened opened(builder.Bytes());
    ASSERT_TRUE(opened.open);
    EXPECT_TRUE(opened.messages.empty());
    std::string text = "unchanged";
    opened.device.ReadDeviceModel(text);
    EXPECT_EQ(text, "<Model a=\"1\"/>");
    EXPECT_TRUE(opened.device.ReadLanguageTexts(L"eng", text));
    EXPECT_EQ(text, "<E/>");
    EXPECT_TRUE(opened.device.ReadLanguageTexts(L"DEU", text));
    EXPECT_EQ(text, "<D/>");  // the earlier of two entries of one code
    text = "unchanged";
    EXPECT_FALSE(opened.device.ReadLanguageTexts(L"FRA", text));
    EXPECT_FALSE(opened.device.ReadLanguageTexts(L"NGX", text));
    EXPECT_EQ(text, "unchanged");
}

TEST(DeviceContainer, FailuresAreShownOnce) {
    const struct {
        std::string bytes;
        const char* details;  // null: nothing shown
    } cases[] = {
        {DeviceContainerBuilder().Checksum(std::string(32, 'a')).Bytes(), "Invalid container data checksum!"},
        {DeviceContainerBuilder().WithoutMetaData().Bytes(), "Can not find meta data!"},
        {DeviceContainerBuilder().VersionSyntax("3").Bytes(), "Syntax format '3' not supported."},
        {DeviceContainerBuilder().VersionSyntax("").Bytes(), "Unknown"},
        {"PK but no archive", nullptr},
    };
    for (const auto& test : cases) {
        Opened opened(test.bytes);
        EXPECT_FALSE(opened.open);
        ASSERT_EQ(opened.messages.size(), test.details ? 1u : 0u);
        if (test.details == nullptr) continue;
        EXPECT_EQ(opened.messages[0].rfind("Internal Error from DeviceContainer!\nFile: ", 0), 0u);
        EXPECT_NE(opened.messages[0].find("dev_V1.0.DeCon\nError Details: " + std::string(test.details)),
                  std::string::npos)
            << opened.messages[0];
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
    // ninth character.
    const struct {
        const char* name;
        const char* version;
        int line;
    } lines[] = {{"MX1", "0123.4567", 1},   {"X9", "0123.4567", 2},   {"W9", "0123.4567", 3},
                 {"CVR87", "0123.4567", 0}, {"ZOE1", "1.2", 4},       {"CVA3", "1.2", 5},
                 {"CV3A3", "1.2", 0},  // its first "3" is the third character
                 {"CVR87", "1.2", 0},       {"MX1", "01234567.9", 1}, {"MX1", "A123.4567", 0},
                 {"MX1", "0123.456", 0}};
    for (const auto& l : lines) EXPECT_EQ(container::ProductLine(l.name, l.version), l.line) << l.name;
}

TEST(DeviceModelCandidates, ContainersWinOverModelFilesOfTheSameVersion) {
    fixture::TempDir folder;
    for (const char* name :
         {"CVR87_V1.2.dm", "CVR87_V1.2.DeCon", "CVR87_V1.3.DM_C", "CVR87_V1.4.dmx", "other.txt"}) {
        folder.Write(name, "x");
    }
    const std::filesystem::path root = std::filesystem::u8path(folder.Path());
    std::filesystem::create_directory(root / "CVR87_V1.5.DeCon");  // a folder named like a model
    std::error_code noLinks;  // where the system makes no links, there is no loop to skip
    std::filesystem::create_symlink(root / "loop.DeCon", root / "loop.DeCon", noLinks);
    const DeviceModelCandidates candidates = Candidates(folder.Path() + "/", 0);
    EXPECT_EQ(Listed(candidates), "CVR87|1.2|CVR87_V1.2.DeCon CVR87|1.3|CVR87_V1.3.DM_C");
    ASSERT_NE(candidates.Select("CVR87", "1.3"), nullptr);
    EXPECT_TRUE(candidates.Select("CVR87", "1.3")->compressed);
    EXPECT_EQ(candidates.Select("CVR87", "1.3")->fullPath, folder.Path() + "/CVR87_V1.3.DM_C");
    EXPECT_EQ(candidates.Select("cvr87", "1.3"), nullptr);
}

TEST(DeviceModelCandidates, NewStyleLinesAndTheFolderTextAsAPrefix) {
    fixture::TempDir folder;
    for (const char* name : {"M1_V0123.4567.1.DeCon", "M1_V0123.4567.2.DeCon", "M1_V0123.4567.DeCon",
                             "X1_V0123.4567.1.DeCon", "M1_V0123.4567.3.dm"}) {
        folder.Write(std::string("new/") + name, "x");
    }
    // The newest container of the line's letter, known by two fields.
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
    ASSERT_TRUE(container::ReadModelFile(folder.Write("a.dm_c", packed), true, text));
    EXPECT_EQ(text, model);
    ASSERT_TRUE(container::ReadModelFile(folder.Write("b.dm", std::string("abc\0def", 7)), false, text));
    EXPECT_EQ(text, "abc");
    // A damaged stream keeps what inflated before the damage; a bound cuts it.
    EXPECT_LT(container::InflateModelText(packed.substr(0, packed.size() / 2)).size(), model.size());
    EXPECT_EQ(container::InflateModelText(packed, 1000).size(), 1000u);
    EXPECT_TRUE(container::InflateModelText("not a zlib stream").empty());
    EXPECT_TRUE(container::IsZipFile(folder.Write("c.DeCon", "PK\x03\x04")));
    EXPECT_FALSE(container::IsZipFile(folder.Write("d.dm", "<x/>")));
    EXPECT_FALSE(container::IsZipFile(folder.Write("e.dm", "P")));
}

}  // namespace
