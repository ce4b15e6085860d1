// The wildcard comparison of path segments and attribute names.
#include <gtest/gtest.h>

#include <string>

#include "devicemodel/Wildcard.h"

namespace {

using devicemodel::WildcardMatch;

struct Case {
    const char* pattern;
    const char* text;
    bool matches;
};

void ExpectCases(std::initializer_list<Case> cases) {
    for (const Case& c : cases) {
        EXPECT_EQ(WildcardMatch(c.pattern, c.text), c.matches)
            << "'" << c.pattern << "' vs '" << c.text << "'";
    }
}

TEST(Wildcard, LiteralsMatchExactly) {
    ExpectCases({{"IL1", "IL1", true},
                 {"IL1", "il1", false},
                 {"IL1", "IL12", false},
                 {"IL12", "IL1", false},
                 {"", "", true},
                 {"", "a", false},
                 {"a", "", false}});
}

TEST(Wildcard, StarAndQuestionMark) {
    ExpectCases({{"*", "", true},
                 {"*", "anything", true},
                 {"I*", "IL1", true},
                 {"*1", "IL1", true},
                 {"I*1", "I1", true},
                 {"a*b*c", "aXbYbZc", true},
                 {"a*b*c", "aXbYbZ", false},
                 {"*bc", "abcbc", true},  // the star has to give back what it took
                 {"**", "x", true},
                 {"?", "", false},
                 {"?", "x", true},
                 {"I?1", "IL1", true},
                 {"I?1", "I1", false},
                 {"??", "x", false},
                 {"*?", "", false},
                 {"*?", "x", true}});
}

TEST(Wildcard, CharacterSets) {
    ExpectCases({{"[abc]", "b", true},     {"[abc]", "d", false},
                 {"[!abc]", "d", true},    {"[!abc]", "a", false},
                 {"IL[123]", "IL2", true}, {"IL[123]", "IL4", false},
                 {"[a-c]x", "bx", true},   {"[a-c]x", "dx", false},
                 {"[!0-9]", "5", false},   {"[-a]", "-", true},  // "-" at either end is literal
                 {"[a-]", "-", true},      {"[]a]", "]", true},  // "]" first in the set is literal
                 {"[!]a]", "]", false},    {"[!]a]", "b", true},
                 {"[ab", "[ab", true},  // no closing "]": a literal "["
                 {"[ab", "a", false},      {"*[0-9]", "IL1", true},
                 {"[*]", "*", true},  // inside a set "*" is an ordinary byte
                 {"[*]", "x", false},      {"[\xe0-\xef]", "\xe9", true}});
}

TEST(Wildcard, StarsAgainstLongTextStayCheap) {
    const std::string text(20000, 'a');
    EXPECT_FALSE(WildcardMatch("*a*a*a*a*a*b", text));
    EXPECT_TRUE(WildcardMatch("*a*a*a*a*a", text));
}

}  // namespace
