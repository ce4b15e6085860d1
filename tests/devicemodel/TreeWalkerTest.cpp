// The depth-first walk with its descend flag, and the searching and
// collecting walkers built on it.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "devicemodel/CDataModelToHMI.h"
#include "devicemodel/CParserUtilities.h"
#include "devicemodel/TreeWalker.h"
#include "support/DeviceModelFixture.h"

namespace {

using devicemodel::CDataModelToHMI;
using devicemodel::CParserUtilities;
using devicemodel::TreeWalker;

pugi::xml_document Parse(const std::string& text) {
    pugi::xml_document document;
    EXPECT_TRUE(document.load_string(text.c_str(), pugi::parse_default | pugi::parse_comments));
    return document;
}

std::string Name(pugi::xml_node node) {
    if (node.type() == pugi::node_pcdata) return "'" + std::string(node.value()) + "'";
    if (node.type() == pugi::node_comment) return "#";
    return node.name();
}

// Writes down every call; stops at `stopAt`, keeps out of `skip`.
class Recorder : public TreeWalker {
public:
    std::string log;
    std::string skip;
    std::string stopAt;

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
};

TEST(TreeWalker, VisitsEveryNodeBelowTheStartInDocumentOrder) {
    const pugi::xml_document document = Parse("<r><a><b/>text<!--c--></a><d/></r>");
    Recorder recorder;
    EXPECT_TRUE(devicemodel::Traverse(document.child("r"), recorder));
    // The start node is never given to for_each; every child level is
    // entered with push and left with pop, also for nodes without children.
    EXPECT_EQ(recorder.log, "begin(r)+ a@1+ b@2+- 'text'@2+- #@2+-- d@1+--end(r)");
    EXPECT_EQ(recorder.depth(), 0);
}

TEST(TreeWalker, ClearedDescendFlagSkipsTheChildren) {
    const pugi::xml_document document = Parse("<r><a><b/></a><d><e/></d></r>");
    Recorder recorder;
    recorder.skip = "a";
    EXPECT_TRUE(devicemodel::Traverse(document.child("r"), recorder));
    EXPECT_EQ(recorder.log, "begin(r)+ a@1 d@1+ e@2+---end(r)");
}

TEST(TreeWalker, FalseFromForEachStopsAtOnce) {
    const pugi::xml_document document = Parse("<r><a><b/><c/></a><d/></r>");
    Recorder recorder;
    recorder.stopAt = "b";
    EXPECT_FALSE(devicemodel::Traverse(document.child("r"), recorder));
    EXPECT_EQ(recorder.log, "begin(r)+ a@1+ b@2");  // no pop, no end
    EXPECT_EQ(recorder.depth(), 2);
    // With levels still counted, a later walk is a nested one: no begin/end.
    recorder.log.clear();
    recorder.stopAt.clear();
    EXPECT_TRUE(devicemodel::Traverse(document.child("r").child("d"), recorder));
    EXPECT_EQ(recorder.log, "+-");
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

class ParserUtilities : public ::testing::Test {
protected:
    pugi::xml_node Find(pugi::xml_node start, const std::string& name, const std::string& value) {
        pugi::xml_node found;
        const bool result = utilities.FindElementByAttribute(start, name, value, found);
        EXPECT_EQ(result, !found.empty());
        return found;
    }

    CDataModelToHMI model;
    CParserUtilities utilities{model};
};

TEST_F(ParserUtilities, SearchFindsTheFirstMatchBelowTheStart) {
    const pugi::xml_document document =
        Parse("<r type='x'><a><deep type='x' n='1'/></a><late type='x' n='2'/><c type='X'/><e type=''/></r>");
    const pugi::xml_node root = document.child("r");
    // The start element's own attribute does not count; depth does not
    // matter, document order does.
    EXPECT_STREQ(Find(root, "type", "x").attribute("n").value(), "1");
    EXPECT_TRUE(Find(root.child("a").child("deep"), "type", "x").empty());
    EXPECT_STREQ(Find(root, "type", "X").name(), "c");  // case-sensitive
    EXPECT_STREQ(Find(root, "type", "").name(), "e");   // empty value, attribute present
    EXPECT_TRUE(Find(root, "missing", "").empty());
    EXPECT_STREQ(Find(root, "t?pe", "X").name(), "c");  // attribute names take wildcards
    // A search after a successful one starts afresh.
    EXPECT_STREQ(Find(root, "n", "2").name(), "late");
}

TEST_F(ParserUtilities, CollectorsKeepOrStripTheSectionPath) {
    fixture::DeviceModelBuilder builder;
    builder.Module("Prot", "Protection").Element("Prot/IL1").Module("Meas", "Measurement", "mdmAppFrame");
    builder.Set("Meas", "projected", "false");
    devicemodel::DeviceModelError error;
    ASSERT_TRUE(model.Load(builder.ModelXml(), error));
    const pugi::xml_node section = model.FindElement("/Dev/MDM");

    auto& paths = utilities.AllMdmPathes();
    Traverse(section, paths);
    EXPECT_EQ(paths.Paths(),
              (std::vector<std::string>{"/Dev/MDM/Prot", "/Dev/MDM/Prot/IL1", "/Dev/MDM/Meas"}));
    paths.Clear();
    paths.SetKeepFullPaths(false);
    Traverse(section, paths);
    EXPECT_EQ(paths.Paths(), (std::vector<std::string>{"Prot", "Prot/IL1", "Meas"}));

    auto& modules = utilities.AllProjectedModules();
    Traverse(model.Document(), modules);
    EXPECT_EQ(modules.Paths(), std::vector<std::string>{"/Dev/MDM/Prot"});
}

}  // namespace
