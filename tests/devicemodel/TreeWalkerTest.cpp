// The depth-first walk with its descend flag, and the attribute search built
// on it.
#include <gtest/gtest.h>

#include <string>

#include "devicemodel/CParserUtilities.h"
#include "devicemodel/TreeWalker.h"

namespace {

using devicemodel::TreeWalker;

pugi::xml_document Parse(const std::string& text) {
    pugi::xml_document document;
    EXPECT_TRUE(document.load_string(text.c_str(), pugi::parse_default | pugi::parse_comments));
    return document;
}

// Writes down every call as "<" (begin), "+" (push), " name@depth", "-" (pop)
// and ">" (end); stops at `stopAt`, keeps out of `skip`.
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
    bool begin(pugi::xml_node) override { return Mark("<"); }
    bool end(pugi::xml_node) override { return Mark(">"); }
    bool for_each(pugi::xml_node node, bool& descend) override {
        EXPECT_TRUE(descend);
        const std::string name = node.type() == pugi::node_pcdata    ? "'" + std::string(node.value()) + "'"
                                 : node.type() == pugi::node_comment ? "#"
                                                                     : node.name();
        log += " " + name + "@" + std::to_string(depth());
        if (name == skip) descend = false;
        return name != stopAt;
    }
    bool Mark(const char* mark) {
        log += mark;
        return true;
    }
    std::string log, skip, stopAt;
};

TEST(TreeWalker, WalkDescendFlagAndStop) {
    const pugi::xml_document document = Parse("<r><a><b/>text<!--c--></a><d><e/></d></r>");
    const pugi::xml_node root = document.child("r");
    // The start node is never given to for_each; every child level is
    // entered with push and left with pop, also for nodes without children.
    Recorder all("", "");
    EXPECT_TRUE(devicemodel::Traverse(root, all));
    EXPECT_EQ(all.log, "<+ a@1+ b@2+- 'text'@2+- #@2+-- d@1+ e@2+--->");
    EXPECT_EQ(all.depth(), 0);
    // A cleared descend flag skips the node's children.
    Recorder skipping("a", "");
    EXPECT_TRUE(devicemodel::Traverse(root, skipping));
    EXPECT_EQ(skipping.log, "<+ a@1 d@1+ e@2+--->");
    // False from for_each stops at once: no pop, no end.
    Recorder stopping("", "b");
    EXPECT_FALSE(devicemodel::Traverse(root, stopping));
    EXPECT_EQ(stopping.log, "<+ a@1+ b@2");
    EXPECT_EQ(stopping.depth(), 2);
    // With levels still counted, a later walk is a nested one: no begin/end.
    stopping.log.clear();
    stopping.stopAt.clear();
    EXPECT_TRUE(devicemodel::Traverse(root.child("d").child("e"), stopping));
    EXPECT_EQ(stopping.log, "+-");
}

TEST(ParserUtilities, SearchFindsTheFirstMatchBelowTheStart) {
    devicemodel::CParserUtilities utilities;
    const pugi::xml_document document =
        Parse("<r type='x'><a><deep type='x' n='1'/></a><late type='x' n='2'/><c type='X'/><e type=''/></r>");
    const pugi::xml_node root = document.child("r");
    // The name of the element found below `start`, "-" for none.
    const auto find = [&](pugi::xml_node start, const std::string& name, const std::string& value) {
        pugi::xml_node found;
        const bool result = utilities.FindElementByAttribute(start, name, value, found);
        EXPECT_EQ(result, !found.empty());
        return found ? std::string(found.name()) : "-";
    };
    // The start element's own attribute does not count; depth does not
    // matter, document order does. Values compare case-sensitively, an empty
    // value matches a present attribute, and attribute names take wildcards.
    EXPECT_EQ(find(root, "type", "x"), "deep");
    EXPECT_EQ(find(root.child("a").child("deep"), "type", "x"), "-");
    EXPECT_EQ(find(root, "type", "X"), "c");
    EXPECT_EQ(find(root, "type", ""), "e");
    EXPECT_EQ(find(root, "missing", ""), "-");
    EXPECT_EQ(find(root, "t?pe", "X"), "c");
    EXPECT_EQ(find(root, "n", "2"), "late");  // a search after a successful one starts afresh
}

}  // namespace
