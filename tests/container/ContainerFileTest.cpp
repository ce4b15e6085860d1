// Opening and verifying a container: the container digest (MD5 of RFC 1321
// in lowercase hexadecimal, blanks for no data), the self-checksummed meta
// data with its required attributes and the syntax-version range of each
// container kind, recognition, the entry table, the checksum over the entries
// and the reason given for each kind of damage; and damaged and hostile
// archives (truncations, flipped bytes, sizes that lie, entries that inflate
// past the bound, odd names), which must give a false result or the true
// content, never a crash or a hang.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "container/ContainerFile.h"
#include "container/ContainerMetaData.h"
#include "container/ZipArchive.h"
#include "platform/Md5Hex.h"
#include "platform/TextConversion.h"
#include "support/ContainerFixture.h"

namespace {

using container::ContainerFile;
using container::ContainerMetaData;
using container::ZipArchive;
using fixture::Compression;
using fixture::EmptyElement;
using fixture::RecordContainerBuilder;
using fixture::SelfChecksummed;
using fixture::Wide;
using platform::Md5Hex;

// Lengths around the padding boundaries. (The fixture computes its checksums
// with the same digest, so only known values catch a wrong one; entries fed
// in pieces are compared with the fixture's digest of them joined.)
TEST(Md5Hex, KnownDigests) {
    const std::pair<std::string, std::string> cases[] = {
        {"", std::string(32, ' ')},  // not the digest of the empty input
        {"abc", "900150983cd24fb0d6963f7d28e17f72"},
        {std::string(55, 'x'), "04364420e25c512fd958a70738aa8f72"},
        {std::string(56, 'x'), "668a72d5ba17f08e62dabcafad6db14b"},
        {std::string(64, 'x'), "c1bb4f81d892b2d57947682aeb252456"}};
    for (const auto& [data, digest] : cases) EXPECT_EQ(Md5Hex::Of(data), digest) << data.size() << " bytes";
}

const std::string kDigest = "0123456789abcdef0123456789abcdef";

std::string MetaDocument(const std::string& version, const std::string& checksum = kDigest) {
    return SelfChecksummed(EmptyElement(
        "MetaData",
        {{"checksumContainerData", checksum}, {"versionSyntax", version}, {"nameSLVP", "SLVP-1"}}));
}

// The error text of loading `text`; "" on success.
std::string LoadError(const std::string& text,
                      ContainerMetaData::Variant variant = ContainerMetaData::Variant::RecordContainer) {
    ContainerMetaData metaData(variant);
    std::string nameSLVP, checksum;
    if (metaData.Load(text, nameSLVP, checksum)) return "";
    return metaData.ErrorText().empty() ? "(empty)" : metaData.ErrorText();
}

TEST(ContainerMetaData, RequiredAttributesAndVersionRange) {
    const std::string unsupported =
        "' not supported.\r\nPlease update the application which supports this syntax format.";
    EXPECT_EQ(LoadError(SelfChecksummed(EmptyElement("M", {{"checksumContainerData", kDigest}}))),
              "Missing version syntax item");
    EXPECT_EQ(LoadError(MetaDocument("")), "Missing version syntax item");
    EXPECT_EQ(LoadError(MetaDocument("1abc")) + LoadError(MetaDocument(" +1")), "");
    EXPECT_EQ(LoadError(MetaDocument("x1")), "CVN_ContainerFile Syntax format 'x1" + unsupported);
    const auto device = ContainerMetaData::Variant::DeviceContainer;
    EXPECT_EQ(LoadError(MetaDocument("2"), device), "");
    EXPECT_EQ(LoadError(MetaDocument("3"), device), "Syntax format '3" + unsupported);
    EXPECT_EQ(LoadError(MetaDocument("1", ""), device), "Container data checksum not found");
    EXPECT_EQ(LoadError(MetaDocument(""), device), "(empty)");
    // A parse failure keeps the previous reason.
    ContainerMetaData metaData;
    std::string nameSLVP, checksum;
    EXPECT_FALSE(metaData.Load(MetaDocument(""), nameSLVP, checksum));
    EXPECT_FALSE(metaData.Load(SelfChecksummed("<MetaData checksumContainerData=\"x\""), nameSLVP, checksum));
    EXPECT_EQ(metaData.ErrorText(), "Missing version syntax item");
}

const std::string kPrefix = "Internal error in Corvane Container:\n";

// Only the first two bytes count. (The decoder shows no reason; the check
// command shows those of opening.)
TEST(ContainerFile, IsContainerLooksOnlyAtTheFirstTwoBytes) {
    fixture::TempDir dir;
    ContainerFile file;
    EXPECT_FALSE(file.IsContainer(Wide(dir.Path() + "/missing.zip")) || file.IsContainer(Wide(dir.Path())));
    EXPECT_FALSE(file.IsContainer(Wide(dir.Write("p", "P"))) ||
                 file.IsContainer(Wide(dir.Write("pk", "pk"))));
    const std::string notAnArchive = dir.Write("junk.zip", "PK but nothing else");
    EXPECT_TRUE(file.IsContainer(Wide(notAnArchive)));
    EXPECT_FALSE(file.OpenContainer(Wide(notAnArchive)));
    EXPECT_EQ(file.ErrorText(), kPrefix + "OpenContainer() fails: Failure in OpenZip()\n\n");
}

// The text of entry `name`, "-" when it cannot be read (from an archive,
// within a budget that lets `limit` bytes inflate).
std::string Read(ContainerFile& file, const std::string& name) {
    std::string text = "-";
    file.ReadEntry(name, text);
    return text;
}
std::string Read(ZipArchive& archive, const std::string& name, uint64_t limit = uint64_t{1} << 28) {
    std::string text = "-";
    platform::LoadBudget bytes(4 * limit);
    archive.ReadEntry(name, text, bytes);
    return text;
}

// Names are bytes: ASCII case is ignored, other bytes compare as they are.
TEST(ContainerFile, ValidContainerOpensAndReadsEntriesIgnoringCase) {
    const std::string latin1 = "Caf\xe9\xff\xfe", longName(1000, 'n');
    RecordContainerBuilder builder;
    builder.Entry("zeta", "z")
        .Entry("Alpha", "stored", Compression::Stored)
        .Entry(latin1, "l")
        .Entry(longName, "n");
    fixture::TempDir dir;
    ContainerFile file;
    ASSERT_TRUE(file.OpenContainer(Wide(builder.Write(dir))));
    EXPECT_EQ(file.EntryNames(),
              (std::vector<std::string>{"Alpha", latin1, "RecorderData", longName, "zeta"}));
    EXPECT_EQ(Read(file, "ALPHA") + Read(file, "CAF\xe9\xff\xfe") + Read(file, std::string(1000, 'N')),
              "storedln");
    EXPECT_EQ(Read(file, std::string(999, 'n')) + Read(file, "zeta_"), "--");
}

TEST(ContainerFile, ChecksumsAndTheReasonForEachDamage) {
    const RecordContainerBuilder valid;
    std::string changedMeta = valid.MetaDataText();
    changedMeta[changedMeta.find("nameSLVP") + 10] ^= 1;
    const std::string root =
        EmptyElement("MetaData", {{"checksumContainerData", "x"}, {"versionSyntax", "1"}});
    const auto stating = [&](const std::string& checksum) {
        return RecordContainerBuilder(valid).MetaAttribute("checksumContainerData", checksum);
    };
    const std::string badData = "Invalid container data checksum!", record = fixture::RecordBuilder().Xml();
    const struct {
        RecordContainerBuilder builder;
        std::string reason;  // empty: opens
    } cases[] = {
        {valid, ""},
        // The texts are joined in byte order of the names, each up to its NUL.
        {stating(platform::Md5Hex::Of("abc")).Remove("RecorderData").Entry("b", "bc").Entry("A", {"a\0x", 3}),
         ""},
        {stating(std::string(32, ' ')).Remove("RecorderData"), ""},
        {RecordContainerBuilder(valid).Remove("MetaData"), "Can not find meta data!"},
        {RecordContainerBuilder(valid).Entry("MetaData", changedMeta), "Invalid meta data checksum"},
        // The layout rules are those of device models (ModelLoad); the
        // comment has to be the third top-level node here as well.
        {RecordContainerBuilder(valid).Entry("MetaData", SelfChecksummed(root, "")),
         "Invalid meta data checksum"},
        {RecordContainerBuilder(valid).Entry("MetaData", SelfChecksummed("<?producer x?>\n" + root)),
         "Invalid meta data checksum"},
        {stating(""), "Checksum over container data not found"},
        {RecordContainerBuilder(valid).MetaAttribute("versionSyntax", "2"),
         "CVN_ContainerFile Syntax format '2' not supported.\r\n"
         "Please update the application which supports this syntax format."},
        {stating(std::string(32, '0')), badData},
        {stating(platform::AsciiUpper(valid.ContainerDataChecksum())), badData},
        {stating(valid.ContainerDataChecksum()).Entry("Extra", "x"), badData},
        // Each name's text is the one a lookup by that name finds: the first
        // entry of names equal but for case, not the entry's own bytes.
        {RecordContainerBuilder(valid).Entry("recorderDATA", "junk"), badData},
        {stating(platform::Md5Hex::Of(record + record)).Entry("recorderDATA", "junk"), ""},
        {RecordContainerBuilder(valid).Entry("METADATA", "junk"), badData},
    };
    for (const auto& c : cases) {
        fixture::TempDir dir;
        ContainerFile file;
        const bool opened = file.OpenContainer(Wide(c.builder.Write(dir)));
        EXPECT_EQ(opened ? "" : file.ErrorText(), c.reason.empty() ? "" : kPrefix + c.reason + "\n");
    }
}

TEST(ContainerFile, CorruptEntryCountsAsEmptyAndTheArchiveStaysReadable) {
    const std::string bytes =
        RecordContainerBuilder().Entry("Payload", "PAYLOAD-DATA", Compression::Stored).Bytes();
    fixture::TempDir dir;
    ContainerFile file;
    EXPECT_FALSE(
        file.OpenContainer(Wide(dir.Write("bad.zip", fixture::FlipByte(bytes, bytes.find("PAYLOAD"))))));
    EXPECT_EQ(file.ErrorText(), kPrefix + "Invalid container data checksum!\n");
    EXPECT_EQ(Read(file, "Payload"), "-");
    EXPECT_EQ(Read(file, "RecorderData"), fixture::RecordBuilder().Xml());
}

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

// Every cut and every flipped byte gives a failure or the true record. A cut
// before the 22-byte end record loses the directory; the unzip library reads
// missing end-record bytes as zeros, so a cut that loses only zero bytes may
// still open.
TEST(ContainerHostile, TruncatedAndFlippedArchives) {
    const std::string bytes = RecordContainerBuilder().Bytes();
    fixture::TempDir dir;
    for (size_t size = 0; size < bytes.size(); ++size) {
        const bool opened = OpensWithTrueRecord(dir, bytes.substr(0, size), "cut");
        EXPECT_TRUE(!opened || size + 22 > bytes.size()) << size;
    }
    for (size_t offset = 0; offset < bytes.size(); ++offset) {
        OpensWithTrueRecord(dir, fixture::FlipByte(bytes, offset), "flip at " + std::to_string(offset));
    }
}

// Sizes stated in the headers are not trusted, and no entry inflates past the
// bound asked for.
TEST(ContainerHostile, StatedSizesAndTheInflateBound) {
    const std::string data(5000, 'd'), zeros(4 << 20, '\0');
    std::vector<fixture::ZipEntry> entries = {
        {"Exact", std::string(1000, 'e')}, {"Zeros", zeros}, {"Stored", zeros, Compression::Stored}};
    for (Compression compression : {Compression::Stored, Compression::Deflated}) {
        const std::string kind = compression == Compression::Stored ? "Stored" : "Deflated";
        entries.emplace_back("Small" + kind, data, compression, 10u);
        entries.emplace_back("Huge" + kind, data, compression, 0xfffffff0u);
    }
    fixture::TempDir dir;
    ZipArchive archive;
    ASSERT_TRUE(archive.Open(Wide(dir.Write("lying.zip", fixture::ZipBytes(entries)))));
    // Cut at the stated size: CRC mismatch; a huge stated size: the data ends where it ends.
    EXPECT_EQ(Read(archive, "SmallStored") + Read(archive, "SmallDeflated"), "--");
    EXPECT_EQ(Read(archive, "HugeStored") + Read(archive, "HugeDeflated"), data + data);
    EXPECT_EQ(Read(archive, "Exact", 1000), std::string(1000, 'e'));
    EXPECT_EQ(
        Read(archive, "Exact", 999) + Read(archive, "Zeros", 1 << 20) + Read(archive, "Stored", 1 << 20),
        "---");
    // Within the default bound; cut at the first NUL.
    EXPECT_EQ(Read(archive, "Zeros"), "");
}

// One budget for all that a container file inflates and copies: an entry
// past what is left to inflate (a quarter of the budget) counts as missing
// and fails the checksum; a read of a kept entry is a copy reserved in the
// budget, a handed-over one is not. Opening inflates the meta data (330
// bytes, its document tree paid for as well) and every entry once; the record
// is 513 bytes.
TEST(ContainerHostile, OneBudgetForWhatTheFileInflatesAndCopies) {
    fixture::TempDir dir;
    const std::string path = RecordContainerBuilder().Entry("A", std::string(1000, 'a')).Write(dir, "a.zip");
    platform::LoadBudget tight(4000);
    ContainerFile bounded(tight);
    EXPECT_FALSE(bounded.OpenContainer(Wide(path)));
    EXPECT_EQ(bounded.ErrorText(), kPrefix + "Invalid container data checksum!\n");
    EXPECT_EQ(Read(bounded, "A") + Read(bounded, "RecorderData"), "-" + fixture::RecordBuilder().Xml());
    platform::LoadBudget budget(8000);
    ContainerFile file(budget);
    ASSERT_TRUE(file.OpenContainer(Wide(path)));
    int copies = 0;
    while (copies < 10 && Read(file, "A") == std::string(1000, 'a')) ++copies;
    EXPECT_EQ(copies, 5);
    std::string text;
    EXPECT_TRUE(file.TakeEntry("RecorderData", text));
}

}  // namespace
