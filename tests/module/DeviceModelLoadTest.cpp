// Whole loads that name channels from a device model: the container's own
// model and language entries, or a model found in the device-models folder.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/MessageBox.h"
#include "support/ContainerFixture.h"
#include "support/DeviceContainerFixture.h"
#include "support/DeviceModelFixture.h"
#include "support/LoadedRecord.h"

namespace {

using fixture::DeviceModelBuilder;
using fixture::ReaderPtr;
using fixture::RecordBuilder;

// A model with one module "Measurement" holding IL1 and a unit text, in
// English and German.
void DescribeModel(DeviceModelBuilder& model) {
    model.Module("Meas", "Measurement").Channel("Meas/IL1", "Phase current L1").Channel("Units/A", "A");
    model.Text("Meas", "Messung", "", "DEU").Text("Meas/IL1", "Leiterstrom L1", "", "DEU").Text("Units/A", "A", "", "DEU");
}

RecordBuilder RecordFor(const std::string& version = "04.10.02") {
    fixture::Analog analog;
    analog.id = DeviceModelBuilder::Key("Meas/IL1");
    analog.key = "Meas/IL1";
    analog.unitId = DeviceModelBuilder::Key("Units/A");
    analog.unit = "raw";
    analog.blocks = {fixture::Block{"1000", "1 2 3"}};
    RecordBuilder record;
    record.Device("7SR87", version).AddAnalog(analog).Trigger("1700000000000000", "1", "1000");
    record.AnalogHeaderAttribute("viewExtension", "withModuleNode");
    return record;
}

ReaderPtr Load(const std::string& path, const char* language = "ENG", const std::wstring& options = L"") {
    DisturbanceDataReader* reader = nullptr;
    if (!CreateDisturbanceDataReaderInstance(&reader, fixture::Wide(path).c_str(), language, options.c_str())) {
        return nullptr;
    }
    return ReaderPtr(reader);
}

std::string FirstName(const ReaderPtr& reader) { return reader->GetAnalogChannel(0)->GetMetadata()->GetName(); }

TEST(ContainerRecord, ChannelsCarryTheModelNamesInTheHostLanguage) {
    DeviceModelBuilder model;
    DescribeModel(model);
    fixture::RecordContainerBuilder builder;
    builder.RecorderData(RecordFor()).Entry("DeviceModel", model.ModelXml());
    builder.Entry("DeviceModel_l_ENG", model.LanguageXml("ENG")).Entry("DeviceModel_l_DEU", model.LanguageXml("DEU"));
    fixture::TempDir folder;
    const std::string path = builder.Write(folder);
    auto english = Load(path);
    ASSERT_TRUE(english);
    EXPECT_EQ(FirstName(english), "Measurement . Phase current L1");
    EXPECT_STREQ(english->GetAnalogChannel(0)->GetUnit(), "A");
    auto german = Load(path, "deu");
    ASSERT_TRUE(german);
    EXPECT_EQ(FirstName(german), "Messung . Leiterstrom L1");
    auto fallback = Load(path, "FRA");  // no French texts: English
    ASSERT_TRUE(fallback);
    EXPECT_EQ(FirstName(fallback), "Measurement . Phase current L1");
}

TEST(ContainerRecord, WithoutLanguageTextsTheKeysNameTheChannels) {
    DeviceModelBuilder model;
    DescribeModel(model);
    fixture::RecordContainerBuilder builder;
    builder.RecorderData(RecordFor()).Entry("DeviceModel", model.ModelXml());
    fixture::TempDir folder;
    auto reader = Load(builder.Write(folder));
    ASSERT_TRUE(reader);
    EXPECT_EQ(FirstName(reader), "[IL1]");
    EXPECT_STREQ(reader->GetAnalogChannel(0)->GetUnit(), "raw");
}

TEST(ContainerRecord, ExtendedSettingsRenameTexts) {
    DeviceModelBuilder model;
    DescribeModel(model);
    const std::string settings = fixture::SelfChecksummed(
        "<ExtendedSettings type=\"extendedSettings\" versionSyntax=\"1\"><S type=\"sectionTextReplacement\">"
        "<R type=\"textReplacement\" name=\"Feeder current\" ref=\"/Meas/IL1\"/></S></ExtendedSettings>");
    fixture::RecordContainerBuilder builder;
    builder.RecorderData(RecordFor()).Entry("DeviceModel", model.ModelXml());
    builder.Entry("DeviceModel_l_ENG", model.LanguageXml("ENG")).Entry("ExtendedSettings", settings);
    fixture::TempDir folder;
    auto reader = Load(builder.Write(folder));
    ASSERT_TRUE(reader);
    EXPECT_EQ(FirstName(reader), "Measurement . Feeder current");
}

TEST(FolderModel, PlainRecordsFindModelFilesAndContainers) {
    DeviceModelBuilder model;
    DescribeModel(model);
    fixture::TempDir folder;
    const std::string record = folder.Write("record.xml", RecordFor().Xml());
    folder.Write("models/7SR87_V04.10.02.dm_c", fixture::Compressed(model.ModelXml()));
    folder.Write("models/7SR87_V04.10.02.dm_L_DEU_c", fixture::Compressed(model.LanguageXml("DEU")));
    const std::wstring options = L"-DeviceModelFolder:\"" + fixture::Wide(folder.Path()) + L"/models/\"";
    auto german = Load(record, "DEU", options);
    ASSERT_TRUE(german);
    EXPECT_EQ(FirstName(german), "Messung . Leiterstrom L1");
    auto english = Load(record, "ENG", options);  // no English file beside the model
    ASSERT_TRUE(english);
    EXPECT_EQ(FirstName(english), "[IL1]");

    fixture::DeviceContainerBuilder device(model.ModelXml());
    device.Language("ENG", model.LanguageXml("ENG"));
    device.Write(folder, "models/7SR87_V04.10.03.DeCon");
    const std::string newer = folder.Write("newer.xml", RecordFor("04.10.03").Xml());
    auto fromContainer = Load(newer, "ENG", options);
    ASSERT_TRUE(fromContainer);
    EXPECT_EQ(FirstName(fromContainer), "Measurement . Phase current L1");
}

TEST(FolderModel, DefaultFolderFromCompanyAndFamily) {
    DeviceModelBuilder model;
    DescribeModel(model);
    fixture::TempDir folder;
    folder.Write("appdata/Acme/Relays/DeviceModels/7SR87_V04.10.02.dm", model.ModelXml());
    folder.Write("appdata/Acme/Relays/DeviceModels/7SR87_V04.10.02.dm_L_ENG", model.LanguageXml("ENG"));
    setenv("DR_MVQ4_COMMON_APPDATA", (folder.Path() + "/appdata").c_str(), 1);
    auto reader = Load(folder.Write("r.xml", RecordFor().Xml()), "ENG", L"-companyName:Acme -productFamily:Relays");
    unsetenv("DR_MVQ4_COMMON_APPDATA");
    ASSERT_TRUE(reader);
    EXPECT_EQ(FirstName(reader), "Measurement . Phase current L1");
}

TEST(FolderModel, DamagedDeviceContainerIsShownOnceAndTheRecordStillLoads) {
    DeviceModelBuilder model;
    DescribeModel(model);
    fixture::TempDir folder;
    fixture::DeviceContainerBuilder device(model.ModelXml());
    device.Language("ENG", model.LanguageXml("ENG")).Checksum(std::string(32, '0'));
    device.Write(folder, "7SR87_V04.10.02.DeCon");
    std::vector<std::string> messages;
    platform::MessageSink previous = platform::SetMessageSink([&](const std::string& t) { messages.push_back(t); });
    auto reader = Load(folder.Write("r.xml", RecordFor().Xml()), "ENG",
                       L"-DeviceModelFolder:" + fixture::Wide(folder.Path()) + L"/");
    platform::SetMessageSink(previous);
    ASSERT_TRUE(reader);
    EXPECT_EQ(FirstName(reader), "[IL1]");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("Invalid container data checksum!"), std::string::npos);
}

}  // namespace
