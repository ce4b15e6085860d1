// `cvdr check`, `cvdr models` and info's language lines: what a user sees
// when a record comes up without names.
#include <gtest/gtest.h>

#include "support/ContainerFixture.h"
#include "support/DeviceModelFixture.h"
#include "support/RecordFixture.h"
#include "tools/support/CvdrProcess.h"

namespace {

using cvdrtest::RunCvdr;

// A container whose model names its one channel, with English texts.
fixture::RecordContainerBuilder NamedContainer() {
    static fixture::DeviceModelBuilder model;
    static bool described = false;
    if (!described) {
        model.Module("Meas", "Measurement").Channel("Meas/IL1", "Current IL1");
        described = true;
    }
    fixture::RecordBuilder record;
    record.AddAnalog(fixture::DeviceModelBuilder::Key("Meas/IL1"), "Meas/IL1", {1, 2}, 1000);
    fixture::RecordContainerBuilder container;
    container.RecorderData(record).Entry("DeviceModel", model.ModelXml()).Entry("DeviceModel_l_ENG", model.LanguageXml());
    return container;
}

TEST(CvdrCheck, ReportsEachStepOfAVerifiedContainer) {
    fixture::TempDir folder;
    const std::string file = NamedContainer().Write(folder);
    const auto info = RunCvdr({"info", file, "--lang", "FRA"});
    EXPECT_NE(info.out.find("language slot:    ENG (what the reader reports, always)\nnames in:         ENG\n"),
              std::string::npos)
        << info.out;
    const auto result = RunCvdr({"check", file, "--lang", "FRA"});
    EXPECT_EQ(result.status, 0) << result.out << result.err;
    for (const char* line : {"container: yes", "meta data: checksum passed", "syntax version: 1",
                             "container data: checksum passed", "language entry: DeviceModel_l_ENG",
                             "device model: loaded", "language document: checksum passed", "channels named: 1 of 1",
                             "result: verified"}) {
        EXPECT_NE(result.out.find(std::string(line) + "\n"), std::string::npos) << line << "\n" << result.out;
    }
}

TEST(CvdrCheck, NamesTheFailingStepWithTheDecodersMessage) {
    fixture::TempDir folder;
    fixture::RecordContainerBuilder damaged = NamedContainer();
    damaged.MetaAttribute("checksumContainerData", std::string(32, 'f'));
    const auto result = RunCvdr({"check", damaged.Write(folder)});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.out.find("container data: failed: OpenContainer fails / Internal error in Corvane Container: / "
                              "Invalid container data checksum!"),
              std::string::npos)
        << result.out;
    // A container that does not verify gives no record text at all.
    EXPECT_NE(result.out.find("channels: failed: the record does not load: container check failed: "),
              std::string::npos)
        << result.out;
}

TEST(CvdrModels, ListsCandidatesAndTheSelection) {
    fixture::TempDir folder;
    fixture::DeviceModelBuilder model;
    folder.Write("models/CVR87_V04.10.02.dm", model.ModelXml());
    folder.Write("models/CVR87_V04.10.03.dm_c", "not a model");
    folder.Write("models/readme.txt", "x");
    const std::string options = "-DeviceModelFolder:" + folder.Path() + "/models/";
    auto listing = RunCvdr({"models", "--models", folder.Path() + "/models", "--device", "CVR87"});
    EXPECT_EQ(listing.status, 0);
    EXPECT_NE(listing.out.find("candidates: 2\n"), std::string::npos) << listing.out;
    EXPECT_NE(listing.out.find("versions of CVR87: 04.10.02 04.10.03\n"), std::string::npos) << listing.out;
    auto selected = RunCvdr({"models", "--options", options, "--device", "CVR87", "--version", "04.10.02"});
    EXPECT_EQ(selected.status, 0);
    EXPECT_NE(selected.out.find("check load: passed"), std::string::npos) << selected.out;
    auto broken = RunCvdr({"models", "--options", options, "--device", "CVR87", "--version", "04.10.03"});
    EXPECT_EQ(broken.status, 1);
    EXPECT_NE(broken.out.find("check load: failed"), std::string::npos) << broken.out;
    auto missing = RunCvdr({"models", "--options", options, "--device", "CVR87", "--version", "9.9"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.out.find("selected: none"), std::string::npos) << missing.out;
}

}  // namespace
