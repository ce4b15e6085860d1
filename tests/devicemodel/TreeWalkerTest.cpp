// The depth-first walk with its descend flag, and the searching and
// collecting walkers built on it.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "devicemodel/CParserUtilities.h"
#include "devicemodel/TreeWalker.h"
#include "support/DeviceModelFixture.h"

namespace {

using devicemodel::TreeWalker;

pugi::xml_document Parse(const std::string& text) {
    pugi::xml_document document;
    EXPECT_TRUE(document.load_string(text.c_str(), pugi::parse_default | pugi::parse_comments));
    return document;
}

// Writes down every call; stops at `stopAt`, keeps out of `skip`.
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
    bool begin(pugi::xml_node node) override {
        log += "begin(" + Name(node) + ")";
        return true;
    }
    bool end(pugi::xml_node node) override {
        log += "end(" + Name(node) + ")";
        return true;
    }
    bool for_each(pugi::xml_node node, bool& descend) override {
        EXPECT_TRUE(descend);
        log += " " + Name(node) + "@" + std::to_string(depth());
        if (Name(node) == skip) descend = false;
        return Name(node) != stopAt;
    }
    static std::string Name(pugi::xml_node node) {
        if (node.type() == pugi::node_pcdata) return "'" + std::string(node.value()) + "'";
        return node.type() == pugi::node_comment ? "#" : node.name();
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
    EXPECT_EQ(all.log, "begin(r)+ a@1+ b@2+- 'text'@2+- #@2+-- d@1+ e@2+---end(r)");
    EXPECT_EQ(all.depth(), 0);
    // A cleared descend flag skips the node's children.
    Recorder skipping("a", "");
    EXPECT_TRUE(devicemodel::Traverse(root, skipping));
    EXPECT_EQ(skipping.log, "begin(r)+ a@1 d@1+ e@2+---end(r)");
    // False from for_each stops at once: no pop, no end.
    Recorder stopping("", "b");
    EXPECT_FALSE(devicemodel::Traverse(root, stopping));
    EXPECT_EQ(stopping.log, "begin(r)+ a@1+ b@2");
    EXPECT_EQ(stopping.depth(), 2);
    // With levels still counted, a later walk is a nested one: no begin/end.
    stopping.log.clear();
    stopping.stopAt.clear();
    EXPECT_TRUE(devicemodel::Traverse(root.child("d").child("e"), stopping));
    EXPECT_EQ(stopping.log, "+-");
}

TEST(TreeWalker, DeepDocumentDoesNotExhaustTheStack) {
    const int depth = 200000;
    std::string text;
    for (int i = 0; i < depth; ++i) text += "<a>";
    for (int i = 0; i < depth; ++i) text += "</a>";
    pugi::xml_document document;
    ASSERT_TRUE(document.load_string(text.c_str()));
    struct Counter : TreeWalker {
        int visited = 0;
        int deepest = 0;
        bool for_each(pugi::xml_node, bool&) override {
            ++visited;
            deepest = std::max(deepest, depth());
            return true;
        }
    } counter;
    EXPECT_TRUE(devicemodel::Traverse(document, counter));
    EXPECT_EQ(counter.visited, depth);
    EXPECT_EQ(counter.deepest, depth);
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
