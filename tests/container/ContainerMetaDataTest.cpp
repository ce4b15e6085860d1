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
using fixture::EmptyElement;
using fixture::SelfChecksummed;
using platform::Md5Hex;

// Lengths around the padding boundaries, and pieces that straddle blocks.
TEST(Md5Hex, KnownDigestsInOneOrManyPieces) {
    const std::pair<std::string, std::string> cases[] = {
        {"", std::string(32, ' ')},  // not the digest of the empty input
        {"abc", "900150983cd24fb0d6963f7d28e17f72"},
        {std::string(55, 'x'), "04364420e25c512fd958a70738aa8f72"},
        {std::string(56, 'x'), "668a72d5ba17f08e62dabcafad6db14b"},
        {std::string(64, 'x'), "c1bb4f81d892b2d57947682aeb252456"}};
    for (const auto& [data, digest] : cases) EXPECT_EQ(Md5Hex::Of(data), digest) << data.size() << " bytes";
    const std::string million(1000000, 'a');
    for (size_t piece : {1u, 63u, 65u, 1000u}) {
        Md5Hex digest;
        digest.Update("");
        for (size_t at = 0; at < million.size(); at += piece)
            digest.Update(std::string_view(million).substr(at, piece));
        EXPECT_EQ(digest.Finish(), "7707d6ae4e027c70eea2a935c2296f21") << "pieces of " << piece;
    }
    // Finish starts afresh.
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

// The layout rules of the checksum are those of device models (ModelLoad);
// here the comment has to be the third top-level node as well.
TEST(ContainerMetaData, OwnChecksum) {
    const std::string valid = MetaDocument("1");
    EXPECT_EQ(LoadError(valid), "");
    const std::string root =
        EmptyElement("MetaData", {{"checksumContainerData", kDigest}, {"versionSyntax", "1"}});
    for (const std::string& text : {fixture::FlipByte(valid, valid.find("SLVP-1")),
                                    SelfChecksummed("<?producer x?>\n" + root), SelfChecksummed(root, "")}) {
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
    // A parse failure keeps the previous reason.
    ContainerMetaData metaData;
    std::string nameSLVP, checksum;
    EXPECT_FALSE(metaData.Load(MetaDocument(""), nameSLVP, checksum));
    EXPECT_FALSE(metaData.Load(SelfChecksummed("<MetaData checksumContainerData=\"x\""), nameSLVP, checksum));
    EXPECT_EQ(metaData.ErrorText(), "Missing version syntax item");
}

}  // namespace
