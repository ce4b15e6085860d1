// Channel keys: the hash of a relative path that ties record ids to device
// model elements (expected values computed independently of the
// implementation); the wildcard comparison of path segments and names; the
// depth-first walk with its descend flag, and the attribute search built on
// it.
#include <gtest/gtest.h>

#include <string>

#include "devicemodel/CParserUtilities.h"
#include "devicemodel/ChannelKey.h"
#include "devicemodel/TreeWalker.h"
#include "devicemodel/Wildcard.h"

namespace {

using devicemodel::ChannelKey;
using devicemodel::TreeWalker;
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
    // Stars against long text stay cheap.
    EXPECT_FALSE(WildcardMatch("*a*a*a*a*a*b", std::string(20000, 'a')));
    EXPECT_TRUE(WildcardMatch("*a*a*a*a*a", std::string(20000, 'a')));
}

// Writes down every call as "+" (push), " name@depth" and "-" (pop); stops at
// `stopAt`, keeps out of `skip`. (No walker of the decoder overrides begin or
// end.)
class Recorder : public TreeWalker {
public:
    Recorder(std::string skip_, std::string stopAt_) : skip(std::move(skip_)), stopAt(std::move(stopAt_)) {}
    void push() override {
        TreeWalker::push();
        log += "+";
    }
    void pop() override {
        TreeWalker::pop();
        log += "-";
    }
    bool for_each(pugi::xml_node node, bool& descend) override {
        EXPECT_TRUE(descend);
        const std::string name = node.type() == pugi::node_pcdata    ? "'" + std::string(node.value()) + "'"
                                 : node.type() == pugi::node_comment ? "#"
                                                                     : node.name();
        log += " " + name + "@" + std::to_string(depth());
        if (name == skip) descend = false;
        return name != stopAt;
    }
    std::string log, skip, stopAt;
};

TEST(TreeWalker, WalkDescendFlagAndStop) {
    pugi::xml_document document;
    ASSERT_TRUE(document.load_string("<r><a><b/>text<!--c--></a><d><e/></d></r>", pugi::parse_full));
    const pugi::xml_node root = document.child("r");
    // The start node is never given to for_each; every child level is
    // entered with push and left with pop, also for nodes without children.
    Recorder all("", "");
    EXPECT_TRUE(devicemodel::Traverse(root, all));
    EXPECT_EQ(all.log, "+ a@1+ b@2+- 'text'@2+- #@2+-- d@1+ e@2+---");
    EXPECT_EQ(all.depth(), 0);
    // A cleared descend flag skips the node's children.
    Recorder skipping("a", "");
    EXPECT_TRUE(devicemodel::Traverse(root, skipping));
    EXPECT_EQ(skipping.log, "+ a@1 d@1+ e@2+---");
    // False from for_each stops at once: no pop.
    Recorder stopping("", "b");
    EXPECT_FALSE(devicemodel::Traverse(root, stopping));
    EXPECT_EQ(stopping.log, "+ a@1+ b@2");
    EXPECT_EQ(stopping.depth(), 2);
}

TEST(ParserUtilities, SearchFindsTheFirstMatchBelowTheStart) {
    devicemodel::CParserUtilities utilities;
    pugi::xml_document document;
    ASSERT_TRUE(document.load_string(
        "<r type='x'><a><deep type='x' n='1'/></a><late type='x' n='2'/><c type='X'/></r>"));
    const pugi::xml_node root = document.child("r");
    // The name of the element found below `start`, "-" for none.
    const auto find = [&](pugi::xml_node start, const std::string& name, const std::string& value) {
        pugi::xml_node found;
        const bool result = utilities.FindElementByAttribute(start, name, value, found);
        EXPECT_EQ(result, !found.empty());
        return found ? std::string(found.name()) : "-";
    };
    // The start element's own attribute does not count; depth does not
    // matter, document order does; values compare case-sensitively; a search
    // after a successful one starts afresh.
    EXPECT_EQ(find(root, "type", "x"), "deep");
    EXPECT_EQ(find(root.child("a").child("deep"), "type", "x"), "-");
    EXPECT_EQ(find(root, "type", "X"), "c");
    EXPECT_EQ(find(root, "missing", "x"), "-");
    EXPECT_EQ(find(root, "n", "2"), "late");
}

}  // namespace
