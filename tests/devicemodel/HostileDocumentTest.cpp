// Damaged and hostile device model and language documents: deep, wide,
// oddly named or garbage. They must load without crashing, in time that
// grows with their size only, and give the entries the rules give.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "container/ExtendedSettingsSet.h"
#include "devicemodel/CDataModelToHMI.h"
#include "devicemodel/DeviceModelContext.h"
#include "support/ContainerFixture.h"
#include "support/DeviceModelFixture.h"

namespace {

using container::ExtendedSettingsSet;
using fixture::DeviceModelBuilder;
using record::ChannelTextTable;

const char kRootOpen[] =
    "<Dev device='D' versionContent='1' multiSets='1' versionSyntax='5'><MDM type='sectionMDM'>";
const char kRootClose[] = "</MDM><Menu mode='menuTree'><Root type='root'/></Menu></Dev>";

// A model and language document whose MDM section holds `content`.
std::string Model(const std::string& content) {
    return fixture::SelfChecksummed(kRootOpen + content + kRootClose);
}
std::string Language(const std::string& content) {
    return fixture::SelfChecksummed("<Dev><MDM>" + content + "</MDM></Dev>");
}

std::string Repeated(const std::string& piece, int count) {
    std::string text;
    text.reserve(piece.size() * static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) text += piece;
    return text;
}

std::string TextOf(const ChannelTextTable& table, const std::string& key) {
    const ChannelTextTable::Entry* entry = nullptr;
    return table.Find(key, &entry) == ChannelTextTable::Lookup::kFound ? entry->channelText : "missing";
}

TEST(HostileDocument, DeepNestingIsWalkedWithoutRecursion) {
    const int depth = 100000;
    const std::string model = Model(Repeated("<a type='folder'>", depth) + Repeated("</a>", depth));
    const std::string language = Language(Repeated("<a shortText='t'>", depth) + Repeated("</a>", depth));
    devicemodel::CDataModelToHMI check;
    devicemodel::DeviceModelError error;
    EXPECT_TRUE(check.Load(model, error)) << error.text;
    ChannelTextTable table;
    ASSERT_TRUE(devicemodel::ApplyDeviceModel(model, language, {}, false, table));
    EXPECT_EQ(table.Size(), static_cast<size_t>(depth));
    EXPECT_EQ(TextOf(table, DeviceModelBuilder::Key(Repeated("/a", depth))), "t");
    EXPECT_EQ(table.Entries().back().moduleText, "-");
}

TEST(HostileDocument, WideSectionsAndManyReplacements) {
    const int width = 20000;
    std::string model, language;
    ExtendedSettingsSet settings;
    for (int i = 0; i < width; ++i) {
        const std::string name = "c" + std::to_string(i);
        model += "<" + name + " type='value'/>";
        language += "<" + name + " shortText='" + name + "'/>";
        settings.textReplacements.push_back({"r" + std::to_string(i), "/c" + std::to_string(width - 1 - i)});
        settings.overloads.push_back({"/none" + std::to_string(i), "c0"});
    }
    model += Repeated("<same type='value'/>", width);  // duplicates all answer like the first
    language += "<same shortText='first'/>" + Repeated("<same shortText='later'/>", width - 1);
    ChannelTextTable table;
    ASSERT_TRUE(devicemodel::ApplyDeviceModel(Model(model), Language(language), settings, false, table));
    EXPECT_EQ(table.Size(), static_cast<size_t>(2 * width));
    EXPECT_EQ(TextOf(table, DeviceModelBuilder::Key("c0")), "r" + std::to_string(width - 1));
    EXPECT_EQ(TextOf(table, DeviceModelBuilder::Key("c123")), "r" + std::to_string(width - 124));
    EXPECT_EQ(table.Entries().back().channelText, "first");
}

TEST(HostileDocument, NamesThatAreNotUtf8) {
    const std::string name = "\xff\xfe\xc3";
    const std::string model = Model("<" + name + " type='mdm'><x type='value'/></" + name + ">");
    const std::string language =
        Language("<" + name + " shortText='\xe9t\xe9'><x shortText='x'/></" + name + ">");
    ChannelTextTable table;
    ASSERT_TRUE(devicemodel::ApplyDeviceModel(model, language, {}, false, table));
    EXPECT_EQ(TextOf(table, DeviceModelBuilder::Key(name)), "\xe9t\xe9");
    const ChannelTextTable::Entry* entry = nullptr;
    ASSERT_EQ(table.Find(DeviceModelBuilder::Key(name + "/x"), &entry), ChannelTextTable::Lookup::kFound);
    EXPECT_EQ(entry->moduleText, "\xe9t\xe9");
}

TEST(HostileDocument, ReferencesFullOfWildcardsAndHugeValues) {
    DeviceModelBuilder builder;
    builder.Channel("Prot/IL1", "IL1");
    builder.Element("Prot/Stars").Set("Prot/Stars", "textRef", Repeated("*/", 50000));
    builder.Element("Prot/Sets").Set("Prot/Sets", "textRef", "MDM/Prot/" + Repeated("[", 50000));
    builder.Element("Prot/Long").Set("Prot/Long", "textRef", "MDM/Prot/" + Repeated("*a", 20000) + "b");
    builder.Element("Prot/Huge").Text("Prot/Huge", std::string(1 << 20, 'h'));
    ExtendedSettingsSet settings;
    settings.overloads = {{"/Prot/IL1", Repeated("[!", 10000)}};
    ChannelTextTable table;
    ASSERT_TRUE(
        devicemodel::ApplyDeviceModel(builder.ModelXml(), builder.LanguageXml(), settings, false, table));
    EXPECT_EQ(TextOf(table, DeviceModelBuilder::Key("Prot/Stars")), "[]");
    EXPECT_EQ(TextOf(table, DeviceModelBuilder::Key("Prot/Sets")), "[]");
    EXPECT_EQ(TextOf(table, DeviceModelBuilder::Key("Prot/Long")), "[]");
    EXPECT_EQ(TextOf(table, DeviceModelBuilder::Key("Prot/Huge")).size(), size_t{1} << 20);
    EXPECT_EQ(TextOf(table, DeviceModelBuilder::Key("Prot/IL1")), "[" + Repeated("[!", 10000) + "]");
}

TEST(HostileDocument, GarbageNeverCrashes) {
    std::mt19937 random(4711);
    const std::string valid = DeviceModelBuilder().Channel("Prot/IL1", "IL1").ModelXml();
    const std::string language = DeviceModelBuilder().Channel("Prot/IL1", "IL1").LanguageXml();
    for (int round = 0; round < 200; ++round) {
        std::string model = valid;
        std::string words = language;
        // Damage a few bytes of each, or cut them short.
        for (int i = 0; i < 4; ++i) model[random() % model.size()] = static_cast<char>(random() % 256);
        words[random() % words.size()] = static_cast<char>(random() % 256);
        if (round % 5 == 0) model.resize(random() % model.size());
        devicemodel::CDataModelToHMI check;
        devicemodel::DeviceModelError error;
        if (!check.Load(model, error)) {
            EXPECT_GE(error.code, 1);
        }
        ChannelTextTable table;
        EXPECT_TRUE(devicemodel::ApplyDeviceModel(model, words, {}, false, table));
        EXPECT_LE(table.Size(), 2u);
    }
}

}  // namespace
