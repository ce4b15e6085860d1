// Which device-model files a folder offers and which one a record selects.
#include <gtest/gtest.h>

#include <zlib.h>

#include <sys/stat.h>
#include <unistd.h>

#include "container/DeviceModelCandidate.h"
#include "container/ModelFile.h"
#include "platform/DirectoryListing.h"
#include "support/RecordFixture.h"

namespace {

using container::DeviceModelCandidates;

std::string Decoded(const std::string& fileName) {
    std::string type, version;
    container::DecodeModelFileName(fileName, type, version);
    return type + "|" + version;
}

std::string Listed(const DeviceModelCandidates& candidates) {
    std::string text;
    for (const auto& candidate : candidates.All()) {
        text += (text.empty() ? "" : " ") + candidate.type + "|" + candidate.version + "|" + candidate.fileName;
    }
    return text;
}

TEST(DeviceModelFileName, TypeAndVersion) {
    EXPECT_EQ(Decoded("7SR87_V04.10.02.DeCon"), "7SR87|04.10.02");
    EXPECT_EQ(Decoded("7SR87_V04.10_Download.DeCon"), "7SR87|04.10");
    EXPECT_EQ(Decoded("7SR87_V04.10(beta).dm"), "7SR87|04.10");
    EXPECT_EQ(Decoded("7SR87_xyzV1.2.dm_c"), "7SR87|1.2");
    EXPECT_EQ(Decoded("NoVersion.dm"), "NoVersion|?");
    EXPECT_EQ(Decoded("Type_NoLetter.dm"), "Type_NoLetter|?");
}

TEST(DeviceModelFileName, ProductLines) {
    EXPECT_TRUE(container::IsNewStyleVersion("0123.4567"));
    EXPECT_TRUE(container::IsNewStyleVersion("01234567.9"));
    EXPECT_FALSE(container::IsNewStyleVersion("A123.4567"));
    EXPECT_FALSE(container::IsNewStyleVersion("0123.456"));
    EXPECT_EQ(container::ProductLine("MX1", "0123.4567"), 1);
    EXPECT_EQ(container::ProductLine("X9", "0123.4567"), 2);
    EXPECT_EQ(container::ProductLine("W9", "0123.4567"), 3);
    EXPECT_EQ(container::ProductLine("7SR87", "0123.4567"), 0);
    EXPECT_EQ(container::ProductLine("ZOE1", "1.2"), 4);
    EXPECT_EQ(container::ProductLine("7SA3", "1.2"), 5);
    EXPECT_EQ(container::ProductLine("7S3A3", "1.2"), 0);  // its first "3" is the third character
    EXPECT_EQ(container::ProductLine("7SR87", "1.2"), 0);
}

TEST(DeviceModelCandidates, ContainersWinOverModelFilesOfTheSameVersion) {
    fixture::TempDir folder;
    for (const char* name : {"7SR87_V1.2.dm", "7SR87_V1.2.DeCon", "7SR87_V1.3.DM_C", "7SR87_V1.4.dmx", "other.txt"}) {
        folder.Write(name, "x");
    }
    mkdir((folder.Path() + "/7SR87_V1.5.DeCon").c_str(), 0755);  // a folder named like a model
    symlink((folder.Path() + "/loop.DeCon").c_str(), (folder.Path() + "/loop.DeCon").c_str());
    DeviceModelCandidates candidates(folder.Path() + "/", 0);
    candidates.List();
    candidates.Finish();
    EXPECT_EQ(Listed(candidates), "7SR87|1.2|7SR87_V1.2.DeCon 7SR87|1.3|7SR87_V1.3.DM_C");
    ASSERT_NE(candidates.Select("7SR87", "1.3"), nullptr);
    EXPECT_TRUE(candidates.Select("7SR87", "1.3")->compressed);
    EXPECT_EQ(candidates.Select("7SR87", "1.3")->fullPath, folder.Path() + "/7SR87_V1.3.DM_C");
    EXPECT_EQ(candidates.Select("7sr87", "1.3"), nullptr);
}

TEST(DeviceModelCandidates, NewStyleLinesKeepTheNewestOfTwoFields) {
    fixture::TempDir folder;
    for (const char* name : {"M1_V0123.4567.1.DeCon", "M1_V0123.4567.2.DeCon", "M1_V0123.4567.DeCon", "X1_V0123.4567.1.DeCon",
                             "M1_V0123.4567.3.dm"}) {
        folder.Write(name, "x");
    }
    DeviceModelCandidates candidates(folder.Path() + "/", 1);
    candidates.List();
    candidates.Finish();
    EXPECT_EQ(Listed(candidates), "M1|0123.4567|M1_V0123.4567.2.DeCon");
    EXPECT_NE(candidates.Select("M1", "0123.4567"), nullptr);
}

TEST(DeviceModelCandidates, FolderTextIsAPrefix) {
    fixture::TempDir folder;
    folder.Write("models/inner_V1.0.DeCon", "x");
    folder.Write("modelsA_V2.0.DeCon", "x");
    DeviceModelCandidates candidates(folder.Path() + "/models", 0);
    candidates.List();
    candidates.Finish();
    EXPECT_EQ(Listed(candidates), "modelsA|2.0|modelsA_V2.0.DeCon");
    EXPECT_EQ(candidates.All()[0].fullPath, folder.Path() + "/modelsmodelsA_V2.0.DeCon");
}

TEST(ModelFile, PlainAndCompressedTexts) {
    fixture::TempDir folder;
    const std::string model = "<Model>" + std::string(300000, 'm') + "</Model>";
    uLongf size = compressBound(model.size());
    std::string packed(size, '\0');
    ASSERT_EQ(compress(reinterpret_cast<Bytef*>(&packed[0]), &size, reinterpret_cast<const Bytef*>(model.data()),
                       model.size()),
              Z_OK);
    packed.resize(size);
    std::string text;
    ASSERT_TRUE(container::ReadModelFile(folder.Write("a.dm_c", packed), true, text));
    EXPECT_EQ(text, model);
    ASSERT_TRUE(container::ReadModelFile(folder.Write("b.dm", std::string("abc\0def", 7)), false, text));
    EXPECT_EQ(text, "abc");
    // A damaged stream keeps what inflated before the damage; a bound cuts it.
    EXPECT_LT(container::InflateModelText(packed.substr(0, packed.size() / 2)).size(), model.size());
    EXPECT_EQ(container::InflateModelText(packed, 1000).size(), 1000u);
    EXPECT_TRUE(container::InflateModelText("not a zlib stream").empty());
}

TEST(ModelFile, ZipTest) {
    fixture::TempDir folder;
    EXPECT_TRUE(container::IsZipFile(folder.Write("c.DeCon", "PK\x03\x04")));
    EXPECT_FALSE(container::IsZipFile(folder.Write("d.dm", "<x/>")));
    EXPECT_FALSE(container::IsZipFile(folder.Write("e.dm", "P")));
}

}  // namespace
