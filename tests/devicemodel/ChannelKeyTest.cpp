// Channel keys: the hash of a relative path that ties record ids to device
// model elements.
#include <gtest/gtest.h>

#include "devicemodel/ChannelKey.h"

namespace {

using devicemodel::ChannelKey;
using devicemodel::ChannelKeyValue;
using devicemodel::KeyHasher;

// Expected values computed independently of the implementation.
TEST(ChannelKey, KnownPaths) {
    EXPECT_EQ(ChannelKey("/a"), "-1857864274");  // negative: a leading "-"
    EXPECT_EQ(ChannelKey("/A"), "-1857864306");
    EXPECT_EQ(ChannelKey("/Prot"), "444782193");
    EXPECT_EQ(ChannelKey("/Prot/IL1"), "1520533772");
    EXPECT_EQ(ChannelKey("/Meas/Ia"), "-1574317306");
    EXPECT_EQ(ChannelKey(""), "0");
}

TEST(ChannelKey, BytesAboveAsciiCountAsUnsigned) { EXPECT_EQ(ChannelKey("/\xe9"), "-1857864410"); }

TEST(ChannelKey, AllBitsSetBecomesMinusTwo) {
    // "/pZhKtJ" hashes to 0xFFFFFFFF, which is reserved.
    EXPECT_EQ(ChannelKeyValue("/pZhKtJ"), -2);
    EXPECT_EQ(ChannelKey("/pZhKtJ"), "-2");
}

TEST(ChannelKey, HasherExtendsAPrefix) {
    KeyHasher hasher;
    hasher.Append("/Prot");
    hasher.Append("");
    hasher.Append("/IL1");
    EXPECT_EQ(hasher.Value(), ChannelKeyValue("/Prot/IL1"));
    EXPECT_EQ(hasher.Length(), 9u);
    KeyHasher copy = hasher;  // a saved state goes on independently
    copy.Append("/x");
    EXPECT_EQ(copy.Value(), ChannelKeyValue("/Prot/IL1/x"));
    EXPECT_EQ(hasher.Value(), ChannelKeyValue("/Prot/IL1"));
}

}  // namespace
