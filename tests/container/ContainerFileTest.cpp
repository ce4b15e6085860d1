// Opening and verifying a container: recognition, the entry table, the
// checksum over the entries and the reason given for each kind of damage.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "container/ContainerFile.h"
#include "support/ContainerFixture.h"

namespace {

using container::ContainerFile;
using fixture::RecordContainerBuilder;
using fixture::Wide;

const std::string kPrefix = "Internal error in Corvane Container:\n";

// The error text of opening the container `builder` makes; "" on success.
std::string OpenError(const RecordContainerBuilder& builder) {
    fixture::TempDir dir;
    ContainerFile file;
    return file.OpenContainer(Wide(builder.Write(dir))) ? "" : file.ErrorText();
}

TEST(ContainerFile, IsContainerLooksOnlyAtTheFirstTwoBytes) {
    fixture::TempDir dir;
    ContainerFile file;
    EXPECT_EQ(file.ErrorText(), kPrefix + "Unknown\n");
    for (const std::string& path : {dir.Path() + "/missing.zip", dir.Path()}) {
        EXPECT_FALSE(file.IsContainer(Wide(path)));
        EXPECT_EQ(file.ErrorText(), kPrefix + "IsContainer() fails: Can not open file for reading.\n");
    }
    for (const char* bytes : {"P", "<?xml version=\"1.0\"?>", "pk"}) {
        EXPECT_FALSE(file.IsContainer(Wide(dir.Write("plain", bytes)))) << bytes;
        EXPECT_EQ(file.ErrorText(), kPrefix + "IsContainer(): File has invalid container file header.\n");
    }
    const std::string notAnArchive = dir.Write("junk.zip", "PK but nothing else");
    EXPECT_TRUE(file.IsContainer(Wide(notAnArchive)));
    EXPECT_FALSE(file.OpenContainer(Wide(notAnArchive)));
    EXPECT_EQ(file.ErrorText(), kPrefix + "OpenContainer() fails: Failure in OpenZip()\n\n");
    EXPECT_FALSE(file.CloseContainer());
}

TEST(ContainerFile, ValidContainerOpensAndReadsEntriesIgnoringCase) {
    RecordContainerBuilder builder;
    builder.Entry("zeta", "z").Entry("DeviceModel", "<Model/>").Entry("Alpha", "stored", fixture::Compression::Stored);
    fixture::TempDir dir;
    ContainerFile file;
    ASSERT_TRUE(file.OpenContainer(Wide(builder.Write(dir))));
    EXPECT_EQ(file.EntryNames(), (std::vector<std::string>{"Alpha", "DeviceModel", "RecorderData", "zeta"}));
    std::string text;
    EXPECT_TRUE(file.ReadEntry("ALPHA", text));
    EXPECT_EQ(text, "stored");
    EXPECT_TRUE(file.ReadEntry("devicemodel", text));
    EXPECT_EQ(text, "<Model/>");
    EXPECT_FALSE(file.ReadEntry("DeviceModel_", text));
    EXPECT_EQ(text, "<Model/>");
    EXPECT_TRUE(file.CloseContainer());
    EXPECT_FALSE(file.CloseContainer());
    EXPECT_FALSE(file.ReadEntry("zeta", text));
}

TEST(ContainerFile, EachDamageGivesItsReason) {
    const RecordContainerBuilder valid;
    std::string changedMeta = valid.MetaDataText();
    changedMeta[changedMeta.find("nameSLVP") + 10] ^= 1;
    const std::string upperChecksum = fixture::AsciiUpper(valid.ContainerDataChecksum());
    const struct {
        RecordContainerBuilder builder;
        std::string reason;
    } cases[] = {
        {RecordContainerBuilder(valid).Remove("MetaData"), "Can not find meta data!"},
        {RecordContainerBuilder(valid).Entry("MetaData", changedMeta), "Invalid meta data checksum"},
        {RecordContainerBuilder(valid).RemoveMetaAttribute("checksumContainerData"),
         "Checksum over container data not found"},
        {RecordContainerBuilder(valid).MetaAttribute("versionSyntax", "2"),
         "CVN_ContainerFile Syntax format '2' not supported.\r\n"
         "Please update the application which supports this syntax format."},
        {RecordContainerBuilder(valid).MetaAttribute("checksumContainerData", std::string(32, '0')),
         "Invalid container data checksum!"},
        {RecordContainerBuilder(valid).MetaAttribute("checksumContainerData", upperChecksum),
         "Invalid container data checksum!"},
        {RecordContainerBuilder(valid).Unchecked("Extra", "x"), "Invalid container data checksum!"},
    };
    EXPECT_EQ(OpenError(valid), "");
    for (const auto& c : cases) EXPECT_EQ(OpenError(c.builder), kPrefix + c.reason + "\n");
}

TEST(ContainerFile, ContainerDataIsJoinedInByteOrderUpToNul) {
    RecordContainerBuilder builder;
    builder.Remove("RecorderData").Entry("b", "bc").Entry("A", std::string("a\0ignored", 9));
    builder.MetaAttribute("checksumContainerData", "900150983cd24fb0d6963f7d28e17f72");  // MD5 of "abc"
    EXPECT_EQ(OpenError(builder), "");
    RecordContainerBuilder onlyMetaData;
    onlyMetaData.Remove("RecorderData").MetaAttribute("checksumContainerData", std::string(32, ' '));
    EXPECT_EQ(OpenError(onlyMetaData), "");
}

TEST(ContainerFile, CorruptEntryCountsAsEmptyAndTheArchiveStaysReadable) {
    const std::string bytes =
        RecordContainerBuilder().Entry("Payload", "PAYLOAD-DATA", fixture::Compression::Stored).Bytes();
    fixture::TempDir dir;
    ContainerFile file;
    EXPECT_FALSE(file.OpenContainer(Wide(dir.Write("bad.zip", fixture::FlipByte(bytes, bytes.find("PAYLOAD"))))));
    EXPECT_EQ(file.ErrorText(), kPrefix + "Invalid container data checksum!\n");
    std::string text = "unchanged";
    EXPECT_FALSE(file.ReadEntry("Payload", text));
    EXPECT_EQ(text, "unchanged");
    EXPECT_TRUE(file.ReadEntry("RecorderData", text));
    EXPECT_EQ(text, fixture::RecordBuilder().Xml());
}

}  // namespace
