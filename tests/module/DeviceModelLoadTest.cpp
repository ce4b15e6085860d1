// Whole loads that name channels from a device model: the container's own
// model and language entries, or a model found in the device-models folder.
#include <gtest/gtest.h>

#include "platform/MessageBox.h"
#include "support/AppDataFixture.h"
#include "support/ContainerFixture.h"
#include "support/DeviceModelFixture.h"
#include "support/LoadedRecord.h"

namespace {

using fixture::Wide;

const char kEnglish[] = "Measurement . Phase current L1";
const char kGerman[] = "Messung . Leiterstrom L1";

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
        fixture::Analog analog;
        analog.id = fixture::DeviceModelBuilder::Key("Meas/IL1");
        analog.key = "Meas/IL1";
        analog.unitId = fixture::DeviceModelBuilder::Key("Units/A");
        analog.unit = "raw";
        analog.blocks = {fixture::Block{"1000", "1 2 3"}};
        fixture::RecordBuilder record;
        record.Device("CVR87", version).AddAnalog(analog).Trigger("1700000000000000", "1", "1000");
        record.AnalogHeaderAttribute("viewExtension", "withModuleNode");
        return record;
    }

    // A container of the record and the model with the given entries added.
    std::string Container(const std::vector<std::pair<std::string, std::string>>& entries) {
        fixture::RecordContainerBuilder builder;
        builder.RecorderData(Record()).Entry("DeviceModel", model.ModelXml());
        for (const auto& [name, text] : entries) builder.Entry(name, text);
        return builder.Write(folder);
    }

    // The name (and unit) of the first analog channel; "failed" when the load fails.
    static std::string Name(const std::string& path, const char* language = "ENG",
                            const std::wstring& options = L"", bool withUnit = false) {
        DisturbanceDataReader* reader = nullptr;
        if (!CreateDisturbanceDataReaderInstance(&reader, Wide(path).c_str(), language, options.c_str())) {
            return "failed";
        }
        const fixture::ReaderPtr owner(reader);
        AnalogChannelReader* channel = reader->GetAnalogChannel(0);
        return std::string(channel->GetMetadata()->GetName()) +
               (withUnit ? std::string(" / ") + channel->GetUnit() : "");
    }

    fixture::DeviceModelBuilder model;
    fixture::TempDir folder;
};

TEST_F(ModelNames, ContainerChannelsCarryTheModelNamesInTheHostLanguage) {
    const std::string path = Container(
        {{"DeviceModel_l_ENG", model.LanguageXml("ENG")}, {"DeviceModel_l_DEU", model.LanguageXml("DEU")}});
    EXPECT_EQ(Name(path, "ENG", L"", true), std::string(kEnglish) + " / A");
    EXPECT_EQ(Name(path, "deu"), kGerman);
    EXPECT_EQ(Name(path, "FRA"), kEnglish);  // no French texts: English
    // Without language texts the keys name the channels.
    EXPECT_EQ(Name(Container({}), "ENG", L"", true), "[IL1] / raw");
    // Extended settings rename texts.
    const std::string settings = fixture::SelfChecksummed(
        "<ExtendedSettings type=\"extendedSettings\" versionSyntax=\"1\"><S type=\"sectionTextReplacement\">"
        "<R type=\"textReplacement\" name=\"Feeder current\" ref=\"/Meas/IL1\"/></S></ExtendedSettings>");
    EXPECT_EQ(
        Name(Container({{"DeviceModel_l_ENG", model.LanguageXml("ENG")}, {"ExtendedSettings", settings}})),
        "Measurement . Feeder current");
}

TEST_F(ModelNames, PlainRecordsFindModelFilesAndContainersInTheFolder) {
    const std::string record = folder.Write("record.xml", Record().Xml());
    folder.Write("models/CVR87_V04.10.02.dm_c", fixture::Compressed(model.ModelXml()));
    folder.Write("models/CVR87_V04.10.02.dm_L_DEU_c", fixture::Compressed(model.LanguageXml("DEU")));
    const std::wstring options = L"-DeviceModelFolder:\"" + Wide(folder.Path()) + L"/models/\"";
    EXPECT_EQ(Name(record, "DEU", options), kGerman);
    EXPECT_EQ(Name(record, "ENG", options), "[IL1]");  // no English file beside the model
    // The language file's name is found ignoring case.
    EXPECT_EQ(Name(record, "deu", options), kGerman);

    fixture::DeviceContainerBuilder device(model.ModelXml());
    device.Language("ENG", model.LanguageXml("ENG")).Write(folder, "models/CVR87_V04.10.03.DeCon");
    EXPECT_EQ(Name(folder.Write("newer.xml", Record("04.10.03").Xml()), "ENG", options), kEnglish);
}

TEST_F(ModelNames, OfLanguageFilesEqualButForCaseTheFirstInListingOrderIsRead) {
    if (!fixture::TellsNamesApartByCase(folder.Path())) GTEST_SKIP() << "the file system ignores case here";
    const std::string record = folder.Write("record.xml", Record().Xml());
    folder.Write("models/CVR87_V04.10.02.dm_c", fixture::Compressed(model.ModelXml()));
    folder.Write("models/CVR87_V04.10.02.DM_l_eng_C", fixture::Compressed(model.LanguageXml("ENG")));
    folder.Write("models/CVR87_V04.10.02.dm_L_eng_c", fixture::Compressed("<not a language/>"));
    EXPECT_EQ(Name(record, "Eng", L"-DeviceModelFolder:\"" + Wide(folder.Path()) + L"/models/\""), kEnglish);
}

TEST_F(ModelNames, DefaultFolderFromCompanyAndFamily) {
    const fixture::ScopedCompanyFolder company;
    fixture::WriteFile(company.Path() + "/Relays/DeviceModels/CVR87_V04.10.02.dm", model.ModelXml());
    fixture::WriteFile(company.Path() + "/Relays/DeviceModels/CVR87_V04.10.02.dm_L_ENG", model.LanguageXml("ENG"));
    EXPECT_EQ(Name(folder.Write("r.xml", Record().Xml()), "ENG",
                   L"-companyName:" + Wide(company.Name()) + L" -productFamily:Relays"),
              kEnglish);
}

TEST_F(ModelNames, DamagedDeviceContainerIsShownOnceAndTheRecordStillLoads) {
    fixture::DeviceContainerBuilder device(model.ModelXml());
    device.Language("ENG", model.LanguageXml("ENG")).Checksum(std::string(32, '0'));
    device.Write(folder, "CVR87_V04.10.02.DeCon");
    std::vector<std::string> messages;
    platform::MessageSink previous =
        platform::SetMessageSink([&](const std::string& t) { messages.push_back(t); });
    EXPECT_EQ(Name(folder.Write("r.xml", Record().Xml()), "ENG",
                   L"-DeviceModelFolder:" + Wide(folder.Path()) + L"/"),
              "[IL1]");
    platform::SetMessageSink(previous);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("Invalid container data checksum!"), std::string::npos);
}

}  // namespace
