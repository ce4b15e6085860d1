// Channel keys: the hash of a relative path that ties record ids to device
// model elements (expected values computed independently of the
// implementation), and the wildcard comparison of path segments and names.
#include <gtest/gtest.h>

#include <string>

#include "devicemodel/ChannelKey.h"
#include "devicemodel/Wildcard.h"

namespace {

using devicemodel::ChannelKey;
using devicemodel::ChannelKeyValue;
using devicemodel::WildcardMatch;

// A negative value has a leading "-"; bytes above ASCII count as unsigned;
// "/pZhKtJ" hashes to 0xFFFFFFFF, which is reserved.
TEST(ChannelKey, KnownPaths) {
    const std::pair<const char*, const char*> cases[] = {
        {"/a", "-1857864274"},       {"/A", "-1857864306"},
        {"/Prot", "444782193"},      {"/Prot/IL1", "1520533772"},
        {"/Meas/Ia", "-1574317306"}, {"", "0"},
        {"/\xe9", "-1857864410"},    {"/pZhKtJ", "-2"}};
    for (const auto& [path, key] : cases) EXPECT_EQ(ChannelKey(path), key) << path;
    EXPECT_EQ(ChannelKeyValue("/pZhKtJ"), -2);
}

// A star has to give back what it took ("*bc" against "abcbc"). In a set,
// "-" at either end and "]" first are literal, and "*" is an ordinary byte;
// a "[" without a closing "]" is literal.
TEST(Wildcard, LiteralsStarsQuestionMarksAndSets) {
    const struct {
        const char* pattern;
        const char* text;
        bool matches;
    } cases[] = {
        // clang-format off
        {"IL1", "IL1", true},       {"IL1", "il1", false},       {"IL1", "IL12", false},   {"IL12", "IL1", false},
        {"", "", true},             {"", "a", false},            {"a", "", false},         {"*", "", true},
        {"*", "anything", true},    {"I*", "IL1", true},         {"*1", "IL1", true},      {"I*1", "I1", true},
        {"a*b*c", "aXbYbZc", true}, {"a*b*c", "aXbYbZ", false},  {"*bc", "abcbc", true},   {"**", "x", true},
        {"?", "", false},           {"?", "x", true},            {"I?1", "IL1", true},     {"I?1", "I1", false},
        {"??", "x", false},         {"*?", "", false},           {"*?", "x", true},        {"*[0-9]", "IL1", true},
        {"[abc]", "b", true},       {"[abc]", "d", false},       {"[!abc]", "d", true},    {"[!abc]", "a", false},
        {"IL[123]", "IL2", true},   {"IL[123]", "IL4", false},   {"[a-c]x", "bx", true},   {"[a-c]x", "dx", false},
        {"[!0-9]", "5", false},     {"[-a]", "-", true},         {"[a-]", "-", true},      {"[]a]", "]", true},
        {"[!]a]", "]", false},      {"[!]a]", "b", true},        {"[ab", "[ab", true},     {"[ab", "a", false},
        {"[*]", "*", true},         {"[*]", "x", false},         {"[\xe0-\xef]", "\xe9", true},
        // clang-format on
    };
    for (const auto& c : cases) {
        EXPECT_EQ(WildcardMatch(c.pattern, c.text), c.matches)
            << "'" << c.pattern << "' vs '" << c.text << "'";
    }
}

TEST(Wildcard, StarsAgainstLongTextStayCheap) {
    const std::string text(20000, 'a');
    EXPECT_FALSE(WildcardMatch("*a*a*a*a*a*b", text));
    EXPECT_TRUE(WildcardMatch("*a*a*a*a*a", text));
}

}  // namespace
