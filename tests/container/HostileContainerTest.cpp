// Damaged and hostile archives: truncations, flipped bytes, sizes that lie,
// entries that inflate past the bound and odd names. Each must give a false
// result or the true content, never a crash or a hang.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "container/ContainerFile.h"
#include "container/ZipArchive.h"
#include "support/ContainerFixture.h"

namespace {

using container::ContainerFile;
using container::ZipArchive;
using fixture::Compression;
using fixture::RecordContainerBuilder;
using fixture::Wide;

// Opens `bytes` as a container; when that and reading the record succeed,
// the record must be the true one.
bool OpensWithTrueRecord(const fixture::TempDir& dir, const std::string& bytes, const std::string& what) {
    ContainerFile file;
    const bool opened = file.OpenContainer(Wide(dir.Write("damaged.zip", bytes)));
    std::string text;
    if (opened && file.ReadEntry("RecorderData", text)) {
        EXPECT_EQ(text, fixture::RecordBuilder().Xml()) << what;
    }
    return opened;
}

// A cut before the 22-byte end record loses the directory. The unzip library
// reads missing end-record bytes as zeros, so a cut that loses only zero
// bytes may still open.
TEST(ContainerHostile, TruncatedArchivesFailToOpen) {
    const std::string bytes = RecordContainerBuilder().Bytes();
    fixture::TempDir dir;
    for (size_t size = 0; size < bytes.size(); ++size) {
        const bool opened = OpensWithTrueRecord(dir, fixture::Truncated(bytes, size), "cut");
        EXPECT_TRUE(!opened || size + 22 > bytes.size()) << size;
    }
}

TEST(ContainerHostile, EveryFlippedByteGivesFailureOrTheTrueRecord) {
    const std::string bytes = RecordContainerBuilder().Bytes();
    fixture::TempDir dir;
    for (size_t offset = 0; offset < bytes.size(); ++offset) {
        OpensWithTrueRecord(dir, fixture::FlipByte(bytes, offset), "flip at " + std::to_string(offset));
    }
}

TEST(ContainerHostile, StatedSizesAreNotTrusted) {
    const std::string data(5000, 'd');
    std::vector<fixture::ZipEntry> entries;
    for (Compression compression : {Compression::Stored, Compression::Deflated}) {
        const std::string kind = compression == Compression::Stored ? "Stored" : "Deflated";
        entries.emplace_back("Small" + kind, data, compression, 10u);
        entries.emplace_back("Huge" + kind, data, compression, 0xfffffff0u);
    }
    fixture::TempDir dir;
    ZipArchive archive;
    ASSERT_TRUE(archive.Open(Wide(dir.Write("lying.zip", fixture::ZipBytes(entries)))));
    std::string text;
    EXPECT_FALSE(archive.ReadEntry("SmallStored", text));  // cut at the stated size: CRC mismatch
    EXPECT_FALSE(archive.ReadEntry("SmallDeflated", text));
    for (const char* name : {"HugeStored", "HugeDeflated"}) {
        text.clear();
        EXPECT_TRUE(archive.ReadEntry(name, text));  // the data ends where it ends
        EXPECT_EQ(text, data);
    }
}

TEST(ContainerHostile, EntriesStopAtTheInflateBound) {
    const std::string zeros(4 << 20, '\0');
    fixture::TempDir dir;
    const std::string path = dir.Write("bound.zip", fixture::ZipBytes({{"Exact", std::string(1000, 'e')},
                                                                       {"Zeros", zeros},
                                                                       {"Stored", zeros, Compression::Stored}}));
    ZipArchive archive;
    ASSERT_TRUE(archive.Open(Wide(path)));
    std::string text;
    EXPECT_TRUE(archive.ReadEntry("Exact", text, 1000));
    EXPECT_FALSE(archive.ReadEntry("Exact", text, 999));
    EXPECT_FALSE(archive.ReadEntry("Zeros", text, 1 << 20));
    EXPECT_FALSE(archive.ReadEntry("Stored", text, 1 << 20));
    EXPECT_TRUE(archive.ReadEntry("Zeros", text));  // within the default bound; cut at the first NUL
    EXPECT_EQ(text, "");
}

// One bound per entry, and one budget of four bounds for all that a
// container file inflates. Opening inflates the meta data (about 330 bytes)
// twice and every entry once; the record is 513 bytes.
TEST(ContainerHostile, ContainerFilesBoundEntriesAndTheirSum) {
    fixture::TempDir dir;
    const std::string large = RecordContainerBuilder().Entry("A", std::string(1500, 'a')).Write(dir, "large.zip");
    ContainerFile bounded(1400);
    EXPECT_FALSE(bounded.OpenContainer(Wide(large)));
    EXPECT_EQ(bounded.ErrorText(), "Internal error in Corvane Container:\nInvalid container data checksum!\n");
    std::string text;
    EXPECT_FALSE(bounded.ReadEntry("A", text));
    EXPECT_TRUE(bounded.ReadEntry("RecorderData", text));

    RecordContainerBuilder many;
    for (const char* name : {"A", "B", "C", "D", "E"}) many.Entry(name, std::string(1000, *name));
    const std::string path = many.Write(dir, "many.zip");
    ContainerFile budgeted(1400);
    EXPECT_FALSE(budgeted.OpenContainer(Wide(path)));
    EXPECT_FALSE(budgeted.ReadEntry("RecorderData", text));
    EXPECT_TRUE(ContainerFile().OpenContainer(Wide(path)));
    EXPECT_TRUE(ContainerFile().OpenContainer(Wide(large)));
}

TEST(ContainerHostile, NamesAreBytes) {
    const std::string latin1 = "Caf\xe9\xff\xfe";
    const std::string longName(1000, 'n');
    fixture::TempDir dir;
    ContainerFile file;
    ASSERT_TRUE(file.OpenContainer(Wide(RecordContainerBuilder().Entry(latin1, "l").Entry(longName, "n").Write(dir))));
    EXPECT_EQ(file.EntryNames(), (std::vector<std::string>{latin1, "RecorderData", longName}));
    std::string text;
    EXPECT_TRUE(file.ReadEntry("CAF\xe9\xff\xfe", text));
    EXPECT_EQ(text, "l");
    EXPECT_TRUE(file.ReadEntry(std::string(1000, 'N'), text));
    EXPECT_EQ(text, "n");
    EXPECT_FALSE(file.ReadEntry(std::string(999, 'n'), text));
}

}  // namespace
