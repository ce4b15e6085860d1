// The record side of a container: its error texts, the record, model and
// language entries, and the record text loader used for every record file.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "container/RecordContainer.h"
#include "platform/MessageBox.h"
#include "support/ContainerFixture.h"

namespace {

using container::RecordContainer;
using fixture::RecordContainerBuilder;
using fixture::Wide;

const std::string kPrefix = "Internal error in Corvane Container:\n";

TEST(RecordContainer, ErrorTextsOfRecognitionAndOpening) {
    fixture::TempDir dir;
    RecordContainer container;
    EXPECT_FALSE(container.IsContainer(Wide(dir.Path() + "/missing.zip")));
    EXPECT_EQ(container.ErrorText(), kPrefix + "IsContainer() fails: Can not open file for reading.\n");
    EXPECT_FALSE(container.OpenContainer(Wide(dir.Write("junk.zip", "PK junk"))));
    EXPECT_EQ(container.ErrorText(),
              "OpenContainer fails\n" + kPrefix + "OpenContainer() fails: Failure in OpenZip()\n\n");
    RecordContainer damaged;
    const std::string path = RecordContainerBuilder().Unchecked("Extra", "x").Write(dir);
    EXPECT_FALSE(damaged.OpenContainer(Wide(path)));
    EXPECT_EQ(damaged.ErrorText(), "OpenContainer fails\n" + kPrefix + "Invalid container data checksum!\n");
}

TEST(RecordContainer, ReadsRecordAndModel) {
    fixture::TempDir dir;
    RecordContainer container;
    ASSERT_TRUE(container.OpenContainer(Wide(RecordContainerBuilder().Entry("devicemodel", "<M/>").Write(dir))));
    std::string text;
    EXPECT_TRUE(container.ReadRecorderData(text));
    EXPECT_EQ(text, fixture::RecordBuilder().Xml());
    EXPECT_TRUE(container.ReadDeviceModel(text));
    EXPECT_EQ(text, "<M/>");
    RecordContainer withoutModel;
    ASSERT_TRUE(withoutModel.OpenContainer(Wide(RecordContainerBuilder().Write(dir, "plain.zip"))));
    EXPECT_FALSE(withoutModel.ReadDeviceModel(text));
    EXPECT_EQ(text, "<M/>");
}

// A 17-byte name whose last three characters are the code, any case; among
// several the last in byte order wins.
TEST(RecordContainer, LanguageEntryRule) {
    RecordContainerBuilder builder;
    builder.Entry("DeviceModel_l_ENG", "eng")
        .Entry("DeviceModel_l_deu", "deu")
        .Entry("XXXXXXXXXXXXXENG", "too short")
        .Entry("Xnother_prefixENG", "last in byte order")
        .Entry("Another_prefixENG", "first in byte order")
        .Entry("DeviceModel_l_FRA_", "too long")
        .Entry("DeviceModel_l_\xe9t\xe9", "accented");
    fixture::TempDir dir;
    RecordContainer container;
    ASSERT_TRUE(container.OpenContainer(Wide(builder.Write(dir))));
    std::string text;
    EXPECT_TRUE(container.ReadLanguageTexts(L"DEU", text));
    EXPECT_EQ(text, "deu");
    EXPECT_TRUE(container.ReadLanguageTexts(L"eng", text));
    EXPECT_EQ(text, "last in byte order");
    text = "unchanged";
    EXPECT_FALSE(container.ReadLanguageTexts(L"FRA", text));
    EXPECT_FALSE(container.ReadLanguageTexts(L"", text));
    EXPECT_EQ(text, "unchanged");
    EXPECT_TRUE(container.ReadLanguageTexts(L"\u00e9T\u00e9", text));
    EXPECT_EQ(text, "accented");
}

TEST(RecordContainer, LoadRecordTextFromContainersAndPlainFiles) {
    fixture::TempDir dir;
    const RecordContainerBuilder valid;
    std::string text;
    EXPECT_TRUE(container::LoadRecordText(Wide(valid.Write(dir)), text));
    EXPECT_EQ(text, fixture::RecordBuilder().Xml());
    const std::string plain("<DistFile/>\0tail", 16);
    EXPECT_TRUE(container::LoadRecordText(Wide(dir.Write("record.xml", plain)), text));
    EXPECT_EQ(text, plain);
    std::string damagedMeta = valid.MetaDataText();
    damagedMeta[damagedMeta.find("versionSyntax")] = 'V';
    for (const RecordContainerBuilder& broken :
         {RecordContainerBuilder(valid).Entry("MetaData", damagedMeta), RecordContainerBuilder(valid).Remove("RecorderData")}) {
        text = "unchanged";
        EXPECT_FALSE(container::LoadRecordText(Wide(broken.Write(dir, "broken.zip")), text));
        EXPECT_EQ(text, "unchanged");
    }
    std::vector<std::string> messages;
    const platform::MessageSink previous =
        platform::SetMessageSink([&](const std::string& message) { messages.push_back(message); });
    EXPECT_FALSE(container::LoadRecordText(Wide(dir.Path() + "/missing.xml"), text));
    platform::SetMessageSink(previous);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("missing.xml"), std::string::npos);
}

}  // namespace
