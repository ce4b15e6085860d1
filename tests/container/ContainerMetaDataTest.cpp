// The self-checksummed meta data document: its own checksum, the required
// attributes and the syntax-version range of each container kind.
#include <gtest/gtest.h>

#include <string>

#include "container/ContainerMetaData.h"
#include "support/ContainerFixture.h"

namespace {

using container::ContainerMetaData;
using fixture::EmptyElement;
using fixture::SelfChecksummed;

const std::string kDigest = "0123456789abcdef0123456789abcdef";
const std::string kUnsupported = "' not supported.\r\nPlease update the application which supports this syntax format.";

std::string MetaDocument(const std::string& version, const std::string& checksum = kDigest) {
    return SelfChecksummed(EmptyElement(
        "MetaData", {{"checksumContainerData", checksum}, {"versionSyntax", version}, {"nameSLVP", "SLVP-1"}}));
}

// The error text of loading `text`; "" on success.
std::string LoadError(const std::string& text,
                      ContainerMetaData::Variant variant = ContainerMetaData::Variant::RecordContainer) {
    ContainerMetaData metaData(variant);
    std::string nameSLVP, checksum;
    if (metaData.Load(text, nameSLVP, checksum)) return "";
    return metaData.ErrorText().empty() ? "(empty)" : metaData.ErrorText();
}

TEST(ContainerMetaData, ValidDocumentGivesItsAttributes) {
    ContainerMetaData metaData;
    std::string nameSLVP, checksum;
    ASSERT_TRUE(metaData.Load(MetaDocument("1"), nameSLVP, checksum));
    EXPECT_EQ(checksum, kDigest);
    EXPECT_EQ(nameSLVP, "SLVP-1");
    std::string value = "untouched";
    EXPECT_FALSE(metaData.Attribute("generator", value));
    EXPECT_EQ(value, "untouched");
    std::string wrongLength = MetaDocument("1");  // the stated LENGTH is not checked
    wrongLength.replace(wrongLength.size() - 12, 8, "99999999");
    EXPECT_EQ(LoadError(wrongLength), "");
}

TEST(ContainerMetaData, OwnChecksumCoversAllButTheLast65Bytes) {
    const std::string valid = MetaDocument("1");
    const size_t comment = valid.size() - 65;
    std::string upper = valid;
    upper.replace(comment + 13, 32, fixture::AsciiUpper(valid.substr(comment + 13, 32)));
    std::string noLength = valid;
    noLength[comment + 45] = '_';  // " LENGTH:" becomes "_LENGTH:"
    const std::string root = EmptyElement("MetaData", {{"checksumContainerData", kDigest}, {"versionSyntax", "1"}});
    for (const std::string& text : {
             fixture::FlipByte(valid, valid.find("SLVP-1")), upper, noLength,
             SelfChecksummed("<?producer x?>\n" + root),  // comment is node 3
             SelfChecksummed(root, ""),                   // no declaration: comment is node 1
             std::string(), valid.substr(comment + 1)}) {  // too short for the comment
        EXPECT_EQ(LoadError(text), "Invalid meta data checksum") << text;
    }
}

TEST(ContainerMetaData, RequiredAttributesAndVersionRange) {
    EXPECT_EQ(LoadError(MetaDocument("1", "")), "Checksum over container data not found");
    EXPECT_EQ(LoadError(SelfChecksummed(EmptyElement("M", {{"checksumContainerData", kDigest}}))),
              "Missing version syntax item");
    EXPECT_EQ(LoadError(MetaDocument("")), "Missing version syntax item");
    EXPECT_EQ(LoadError(MetaDocument("1abc")), "");
    EXPECT_EQ(LoadError(MetaDocument(" +1")), "");
    EXPECT_EQ(LoadError(MetaDocument("2")), "CVN_ContainerFile Syntax format '2" + kUnsupported);
    EXPECT_EQ(LoadError(MetaDocument("x1")), "CVN_ContainerFile Syntax format 'x1" + kUnsupported);
    const auto device = ContainerMetaData::Variant::DeviceContainer;
    EXPECT_EQ(LoadError(MetaDocument("2"), device), "");
    EXPECT_EQ(LoadError(MetaDocument("3"), device), "Syntax format '3" + kUnsupported);
    EXPECT_EQ(LoadError(MetaDocument("1", ""), device), "Container data checksum not found");
    EXPECT_EQ(LoadError(MetaDocument(""), device), "(empty)");
}

TEST(ContainerMetaData, ParseFailureKeepsThePreviousReason) {
    ContainerMetaData metaData;
    std::string nameSLVP, checksum;
    EXPECT_FALSE(metaData.Load(MetaDocument(""), nameSLVP, checksum));
    EXPECT_FALSE(metaData.Load(SelfChecksummed("<MetaData checksumContainerData=\"x\""), nameSLVP, checksum));
    EXPECT_EQ(metaData.ErrorText(), "Missing version syntax item");
}

}  // namespace
