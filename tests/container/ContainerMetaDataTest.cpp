// The container digest (MD5 of RFC 1321 in lowercase hexadecimal, blanks for
// no data) and the self-checksummed meta data document: its own checksum, the
// required attributes and the syntax-version range of each container kind.
#include <gtest/gtest.h>

#include <string>

#include "container/ContainerMetaData.h"
#include "platform/Md5Hex.h"
#include "support/ContainerFixture.h"

namespace {

using container::ContainerMetaData;
using platform::Md5Hex;
using fixture::EmptyElement;
using fixture::SelfChecksummed;

TEST(Md5Hex, KnownDigests) {
    const std::pair<std::string, std::string> cases[] = {
        {"", std::string(32, ' ')},  // not the digest of the empty input
        {"abc", "900150983cd24fb0d6963f7d28e17f72"},
        {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
         "57edf4a22be3c955ac49da2e2107b67a"},
        // Lengths at the padding boundaries.
        {std::string(55, 'x'), "04364420e25c512fd958a70738aa8f72"},
        {std::string(56, 'x'), "668a72d5ba17f08e62dabcafad6db14b"},
        {std::string(64, 'x'), "c1bb4f81d892b2d57947682aeb252456"}};
    for (const auto& [data, digest] : cases) EXPECT_EQ(Md5Hex::Of(data), digest) << data.size() << " bytes";
}

TEST(Md5Hex, PiecewiseUpdatesMatchOneShot) {
    const std::string million(1000000, 'a');
    for (size_t piece : {1u, 63u, 65u, 1000u}) {
        Md5Hex digest;
        digest.Update("");
        for (size_t at = 0; at < million.size(); at += piece)
            digest.Update(std::string_view(million).substr(at, piece));
        EXPECT_EQ(digest.Finish(), "7707d6ae4e027c70eea2a935c2296f21") << "pieces of " << piece;
    }
    Md5Hex reused;
    reused.Update("first");
    reused.Finish();
    EXPECT_EQ(reused.Finish(), std::string(32, ' '));
    reused.Update("abc");
    EXPECT_EQ(reused.Finish(), "900150983cd24fb0d6963f7d28e17f72");
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

TEST(ContainerMetaData, ValidDocumentGivesItsAttributes) {
    ContainerMetaData metaData;
    std::string nameSLVP, checksum, value = "untouched";
    ASSERT_TRUE(metaData.Load(MetaDocument("1"), nameSLVP, checksum));
    EXPECT_EQ(checksum + " " + nameSLVP, kDigest + " SLVP-1");
    EXPECT_FALSE(metaData.Attribute("generator", value));
    EXPECT_EQ(value, "untouched");
    // A parse failure keeps the previous reason.
    EXPECT_FALSE(metaData.Load(MetaDocument(""), nameSLVP, checksum));
    EXPECT_FALSE(metaData.Load(SelfChecksummed("<MetaData checksumContainerData=\"x\""), nameSLVP, checksum));
    EXPECT_EQ(metaData.ErrorText(), "Missing version syntax item");
}

// The digest covers all but the last 65 bytes, the comment; that has to be
// the second top-level node (after the declaration) and hold the lowercase
// digest and the " LENGTH:" label, whose digits are not checked.
TEST(ContainerMetaData, OwnChecksum) {
    const std::string valid = MetaDocument("1");
    const size_t comment = valid.size() - 65;
    std::string upper = valid, noLength = valid, wrongLength = valid;
    upper.replace(comment + 13, 32, fixture::AsciiUpper(valid.substr(comment + 13, 32)));
    noLength[comment + 45] = '_';
    wrongLength.replace(valid.size() - 12, 8, "99999999");
    EXPECT_EQ(LoadError(wrongLength), "");
    const std::string root =
        EmptyElement("MetaData", {{"checksumContainerData", kDigest}, {"versionSyntax", "1"}});
    for (const std::string& text : {fixture::FlipByte(valid, valid.find("SLVP-1")), upper, noLength,
                                    SelfChecksummed("<?producer x?>\n" + root), SelfChecksummed(root, ""),
                                    std::string(), valid.substr(comment + 1)}) {
        EXPECT_EQ(LoadError(text), "Invalid meta data checksum") << text;
    }
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
}

}  // namespace
