// Whole loads that name channels from a device model: the container's own
// model and language entries, or a model found in the device-models folder.
#include <gtest/gtest.h>

#include "platform/MessageBox.h"
#include "support/ContainerFixture.h"
#include "support/DeviceModelFixture.h"
#include "support/LoadedRecord.h"

namespace {

using fixture::DeviceModelBuilder;
using fixture::Wide;

const std::string kEnglish = "Measurement . Phase current L1 / A";
const std::string kGerman = "Messung . Leiterstrom L1 / A";

// A model with one module "Measurement" holding IL1 and a unit text, in
// English and German, and a record of the device whose IL1 refers to it.
class ModelNames : public ::testing::Test {
protected:
    ModelNames() {
        model.Module("Meas", "Measurement").Channel("Meas/IL1", "Phase current L1").Channel("Units/A", "A");
        model.Text("Meas", "Messung", "", "DEU").Text("Meas/IL1", "Leiterstrom L1", "", "DEU");
        model.Text("Units/A", "A", "", "DEU");
    }

    static fixture::RecordBuilder Record(const std::string& version = "04.10.02") {
        fixture::RecordBuilder record;
        record.Device("CVR87", version).AddAnalog(DeviceModelBuilder::Key("Meas/IL1"), "Meas/IL1", {1, 2, 3});
        record.Set("DistHeader/AnalogHeader/Analog", "unitId", DeviceModelBuilder::Key("Units/A"));
        record.Set("DistHeader/AnalogHeader/Analog", "_unit", "raw").Trigger("1700000000000000", "1", "1000");
        return record.AnalogHeaderAttribute("viewExtension", "withModuleNode");
    }

    // A container of the record and the model with the given entries added.
    std::string Container(const std::vector<std::pair<std::string, std::string>>& entries) {
        fixture::RecordContainerBuilder builder;
        builder.RecorderData(Record()).Entry("DeviceModel", model.ModelXml());
        for (const auto& [name, text] : entries) builder.Entry(name, text);
        return builder.Write(folder);
    }

    // "name / unit" of the first analog channel; "failed" when the load fails.
    static std::string Name(const std::string& path, const char* language = "ENG",
                            const std::wstring& options = L"") {
        DisturbanceDataReader* reader = nullptr;
        if (!CreateDisturbanceDataReaderInstance(&reader, Wide(path).c_str(), language, options.c_str())) {
            return "failed";
        }
        const fixture::ReaderPtr owner(reader);
        AnalogChannelReader* channel = reader->GetAnalogChannel(0);
        return std::string(channel->GetMetadata()->GetName()) + " / " + channel->GetUnit();
    }

    fixture::DeviceModelBuilder model;
    fixture::TempDir folder;
};

TEST_F(ModelNames, ContainerChannelsCarryTheModelNamesInTheHostLanguage) {
    const std::string path = Container(
        {{"DeviceModel_l_ENG", model.LanguageXml("ENG")}, {"DeviceModel_l_DEU", model.LanguageXml("DEU")}});
    EXPECT_EQ(Name(path, "ENG"), kEnglish);
    EXPECT_EQ(Name(path, "deu"), kGerman);
    EXPECT_EQ(Name(path, "FRA"), kEnglish);  // no French texts: English
    // Without language texts the keys name the channels.
    EXPECT_EQ(Name(Container({})), "[IL1] / raw");
    // Extended settings rename texts.
    const std::string settings = fixture::SelfChecksummed(
        "<ExtendedSettings type=\"extendedSettings\" versionSyntax=\"1\"><S type=\"sectionTextReplacement\">"
        "<R type=\"textReplacement\" name=\"Feeder current\" ref=\"/Meas/IL1\"/></S></ExtendedSettings>");
    EXPECT_EQ(
        Name(Container({{"DeviceModel_l_ENG", model.LanguageXml("ENG")}, {"ExtendedSettings", settings}})),
        "Measurement . Feeder current / A");
}

// A folder given in the options, or the default folder of the company and
// product family below the common application data.
TEST_F(ModelNames, PlainRecordsFindModelFilesAndContainersInTheFolder) {
    const std::string record = folder.Write("record.xml", Record().Xml());
    folder.Write("models/CVR87_V04.10.02.dm_c", fixture::Compressed(model.ModelXml()));
    folder.Write("models/CVR87_V04.10.02.dm_L_DEU_c", fixture::Compressed(model.LanguageXml("DEU")));
    const std::wstring options = L"-DeviceModelFolder:\"" + Wide(folder.Path()) + L"/models/\"";
    EXPECT_EQ(Name(record, "DEU", options), kGerman);
    EXPECT_EQ(Name(record, "ENG", options), "[IL1] / raw");  // no English file beside the model
    // The language file's name is found ignoring case, the first of names
    // equal but for case in listing order.
    EXPECT_EQ(Name(record, "deu", options), kGerman);
    folder.Write("models/CVR87_V04.10.02.DM_l_eng_C", fixture::Compressed(model.LanguageXml("ENG")));
    folder.Write("models/CVR87_V04.10.02.dm_L_eng_c", fixture::Compressed("<not a language/>"));
    EXPECT_EQ(Name(record, "Eng", options), kEnglish);

    fixture::DeviceContainerBuilder device(model.ModelXml());
    device.Entry("DeviceModel_l_ENG", model.LanguageXml("ENG")).Write(folder, "models/CVR87_V04.10.03.DeCon");
    EXPECT_EQ(Name(folder.Write("newer.xml", Record("04.10.03").Xml()), "ENG", options), kEnglish);

    folder.Write("appdata/Acme/Relays/DeviceModels/CVR87_V04.10.02.dm", model.ModelXml());
    folder.Write("appdata/Acme/Relays/DeviceModels/CVR87_V04.10.02.dm_L_ENG", model.LanguageXml("ENG"));
    const fixture::ScopedEnv appData("DR_MVQ4_COMMON_APPDATA", (folder.Path() + "/appdata").c_str());
    EXPECT_EQ(Name(record, "ENG", L"-companyName:Acme -productFamily:Relays"), kEnglish);
}

TEST_F(ModelNames, DamagedDeviceContainerIsShownOnceAndTheRecordStillLoads) {
    fixture::DeviceContainerBuilder device(model.ModelXml());
    device.Entry("DeviceModel_l_ENG", model.LanguageXml("ENG"))
        .MetaAttribute("checksumContainerData", std::string(32, '0'))
        .Write(folder, "CVR87_V04.10.02.DeCon");
    std::vector<std::string> messages;
    platform::MessageSink previous =
        platform::SetMessageSink([&](const std::string& t) { messages.push_back(t); });
    EXPECT_EQ(Name(folder.Write("r.xml", Record().Xml()), "ENG",
                   L"-DeviceModelFolder:" + Wide(folder.Path()) + L"/"),
              "[IL1] / raw");
    platform::SetMessageSink(previous);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("Invalid container data checksum!"), std::string::npos);
}

}  // namespace
