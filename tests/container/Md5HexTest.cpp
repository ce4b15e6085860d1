// The container digest: MD5 of RFC 1321 in lowercase hexadecimal, blanks for
// no data.
#include <gtest/gtest.h>

#include <string>

#include "container/Md5Hex.h"

namespace {

using container::Md5Hex;

TEST(Md5Hex, Rfc1321TestSuite) {
    EXPECT_EQ(Md5Hex::Of(""), std::string(32, ' '));  // not the digest of the empty input
    EXPECT_EQ(Md5Hex::Of("a"), "0cc175b9c0f1b6a831c399e269772661");
    EXPECT_EQ(Md5Hex::Of("abc"), "900150983cd24fb0d6963f7d28e17f72");
    EXPECT_EQ(Md5Hex::Of("message digest"), "f96b697d7cb7938d525a2f31aaf161d0");
    EXPECT_EQ(Md5Hex::Of("abcdefghijklmnopqrstuvwxyz"), "c3fcd3d76192e4007dfb496cca67e13b");
    EXPECT_EQ(Md5Hex::Of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789"),
              "d174ab98d277d9f5a5611c2c9f419d9f");
    EXPECT_EQ(Md5Hex::Of("12345678901234567890123456789012345678901234567890123456789012345678901234567890"),
              "57edf4a22be3c955ac49da2e2107b67a");
    // Lengths at the padding boundaries.
    EXPECT_EQ(Md5Hex::Of(std::string(55, 'x')), "04364420e25c512fd958a70738aa8f72");
    EXPECT_EQ(Md5Hex::Of(std::string(56, 'x')), "668a72d5ba17f08e62dabcafad6db14b");
    EXPECT_EQ(Md5Hex::Of(std::string(64, 'x')), "c1bb4f81d892b2d57947682aeb252456");
}

TEST(Md5Hex, PiecewiseUpdatesMatchOneShot) {
    const std::string million(1000000, 'a');
    for (size_t piece : {1u, 63u, 65u, 1000u}) {
        Md5Hex digest;
        digest.Update("");
        for (size_t at = 0; at < million.size(); at += piece) digest.Update(std::string_view(million).substr(at, piece));
        EXPECT_EQ(digest.Finish(), "7707d6ae4e027c70eea2a935c2296f21") << "pieces of " << piece;
    }
    Md5Hex reused;
    reused.Update("first");
    reused.Finish();
    EXPECT_EQ(reused.Finish(), std::string(32, ' '));
    reused.Update("abc");
    EXPECT_EQ(reused.Finish(), "900150983cd24fb0d6963f7d28e17f72");
}

}  // namespace
