// Loading a device model: the checks with their numbered errors and messages,
// the facts derived from a model that passed them, and the mapping table.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "devicemodel/CDataModelToHMI.h"
#include "platform/Md5Hex.h"
#include "support/ContainerFixture.h"
#include "support/DeviceModelFixture.h"

namespace {

using devicemodel::CDataModelToHMI;
using devicemodel::DeviceModelError;
using fixture::DeviceModelBuilder;

struct Loaded {
    CDataModelToHMI model;
    DeviceModelError error;
    bool ok = false;
    explicit Loaded(const std::string& text) { ok = model.Load(text, error); }
};

// `text` with its first `from` replaced by `to`.
std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    const size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

void ExpectError(const std::string& text, int32_t code, const std::string& message) {
    Loaded loaded(text);
    EXPECT_FALSE(loaded.ok);
    EXPECT_EQ(loaded.error.code, code);
    EXPECT_EQ(loaded.error.text, "Invalid device model!\n" + message);
}

// The facts come only from a model that passed every check; a failed load
// drops an earlier load's facts but keeps its document for path queries.
TEST(ModelLoad, FactsComeOnlyFromAModelThatPassed) {
    DeviceModelBuilder builder;
    builder.Mapping("pathAnsiDeviceNumbers", "MDM/Ansi");
    // The menu root may sit anywhere inside the menu tree.
    builder.Remove("/Dev/Menu/Root").Set("/Dev/Menu/Level/Start", "type", "root");
    CDataModelToHMI model;
    DeviceModelError error{0, "earlier"};
    ASSERT_TRUE(model.Load(builder.ModelXml(), error));
    EXPECT_EQ(error.code, 0);
    EXPECT_EQ(error.text, "earlier");  // a successful load leaves the record alone
    EXPECT_EQ(model.MakeFullPath("Prot/IL1"), "/Dev/MDM/Prot/IL1");
    EXPECT_TRUE(model.HasAnsiDeviceNumbers());
    builder.Channel("Prot/IL2", "IL2").Set("/Dev", "versionSyntax", "1");
    EXPECT_FALSE(model.Load(builder.ModelXml(), error));
    EXPECT_TRUE(model.LoadLanguage(builder.LanguageXml()));
    EXPECT_EQ(model.GetText("/Dev/MDM/Prot/IL2"), "IL2");
    EXPECT_EQ(model.MakeFullPath("Prot/IL1"), "/Prot/IL1");
    EXPECT_FALSE(model.HasAnsiDeviceNumbers());
    // Without their elements the facts stay unset.
    Loaded bare(DeviceModelBuilder().Set("/Dev/MDM", "type", "other").ModelXml());
    ASSERT_TRUE(bare.ok);
    EXPECT_EQ(bare.model.MakeFullPath("Prot/IL1"), "/Prot/IL1");
}

TEST(ModelLoad, EachCheckFailsWithItsCodeAndMessage) {
    const std::map<int32_t, std::string> messages = {
        {1, "Missing or invalid checksum"},
        {3, "Missing necessary main attributes"},
        {4, "None necessary element found with attribute name 'mode' and value = 'menuTree'"},
        {5, "None attribute value 'root' in HMI menu tree found!"},
        {6, "Any other parsing error"}};
    const std::string valid = DeviceModelBuilder().ModelXml();
    const std::string digest = valid.substr(valid.size() - 52, 32);
    const std::string root = fixture::RootXml(DeviceModelBuilder().Model());
    DeviceModelBuilder rootOutsideMenu;  // an element of type "root" outside the menu tree does not count
    rootOutsideMenu.Remove("/Dev/Menu/Root").Element("Root", "root");
    std::vector<std::pair<std::string, int32_t>> cases = {
        {Replaced(valid, "CVR87", "CVR88"), 1},                  // one byte of the body
        {Replaced(valid, "<!--CHECKSUM:", "<!--CHECKSUM "), 1},  // no ":" before " LENGTH:"
        {Replaced(valid, " LENGTH:", " SIZE:00"), 1},
        {Replaced(valid, digest, fixture::AsciiUpper(digest)), 1},
        // The comment has to be the third top-level node.
        {fixture::SelfChecksummed(root, ""), 1},
        {std::string(fixture::kXmlDeclaration) + "\n<!--CHECKSUM:" + platform::Md5Hex::Of(root) +
             " LENGTH:00000000-->\n" + root + "\n",
         1},
        {"<a/>", 1},  // too short to hold a checksum
        // Checked before the syntax version.
        {DeviceModelBuilder().Set("/Dev", "versionSyntax", "99").Set("/Dev", "device", "").ModelXml(), 3},
        {DeviceModelBuilder().Remove("/Dev/Menu").ModelXml(), 4},
        {DeviceModelBuilder().Set("/Dev/Menu", "mode", "MenuTree").ModelXml(), 4},
        {rootOutsideMenu.ModelXml(), 5},
        {"", 6},
        {"<Dev>", 6},
        {"not xml", 6}};
    for (const char* name : {"device", "versionContent", "multiSets", "versionSyntax"}) {
        cases.emplace_back(DeviceModelBuilder().Remove("/Dev", name).ModelXml(), 3);
        cases.emplace_back(DeviceModelBuilder().Set("/Dev", name, "").ModelXml(), 3);
    }
    for (const auto& [text, code] : cases) ExpectError(text, code, messages.at(code));
    for (const char* version : {"1", "14", "abc", "-5"}) {
        ExpectError(
            DeviceModelBuilder().Set("/Dev", "versionSyntax", version).ModelXml(), 2,
            std::string("Device model syntax format '") + version + "' not supported with this application.");
    }
    // The syntax versions 2 to 13 pass; the LENGTH digits are not examined;
    // the text ends at its first NUL byte.
    for (const char* version : {"2", "13", "5 beta"}) {
        EXPECT_TRUE(Loaded(DeviceModelBuilder().Set("/Dev", "versionSyntax", version).ModelXml()).ok)
            << version;
    }
    EXPECT_TRUE(Loaded(Replaced(valid, " LENGTH:0", " LENGTH:9")).ok);
    EXPECT_TRUE(Loaded(valid + std::string(1, '\0') + "<garbage").ok);
}

TEST(MappingLookup, EntriesUpToTheFirstIncompleteOne) {
    DeviceModelBuilder builder;
    builder.Mapping("first", "MDM/A").Mapping("second", "/Dev/MDM/B");
    builder.Model().child("Dev").child("Mappings").append_child(pugi::node_comment).set_value("between");
    builder.Mapping("third", "/Device/C").Mapping("broken", "").Mapping("after", "MDM/D");
    Loaded loaded(builder.ModelXml());
    ASSERT_TRUE(loaded.ok);
    CDataModelToHMI& model = loaded.model;
    EXPECT_EQ(model.GetMappedPath("first"), "/Dev/MDM/A");   // relative: below the root element
    EXPECT_EQ(model.GetMappedPath("second"), "/Dev/MDM/B");  // begins with the root path: unchanged
    EXPECT_EQ(model.GetMappedPath("third"), "/Device/C");    // a plain prefix test
    EXPECT_EQ(model.GetMappedPath("after"), "");             // behind an entry without "ref"
    EXPECT_EQ(model.GetMappedPath("unknown"), "");
    EXPECT_EQ(model.GetMappedPath("First"), "");
    EXPECT_EQ(Loaded(DeviceModelBuilder().ModelXml()).model.GetMappedPath("first"), "");
    Loaded incompleteFirst(DeviceModelBuilder().Mapping("first", "").Mapping("second", "MDM/B").ModelXml());
    EXPECT_EQ(incompleteFirst.model.GetMappedPath("second"), "");
}

}  // namespace
