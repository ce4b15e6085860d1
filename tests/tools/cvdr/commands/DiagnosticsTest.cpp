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
    fixture::DeviceModelBuilder model;
    model.Module("Meas", "Measurement").Channel("Meas/IL1", "Current IL1");
    fixture::RecordBuilder record;
    record.AddAnalog(fixture::DeviceModelBuilder::Key("Meas/IL1"), "Meas/IL1", {1, 2}, 1000);
    fixture::RecordContainerBuilder container;
    container.RecorderData(record).Entry("DeviceModel", model.ModelXml()).Entry("DeviceModel_l_ENG", model.LanguageXml());
    return container;
}

TEST(CvdrCheck, ReportsEachStepAndNamesTheFailingOneWithTheDecodersMessage) {
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
    fixture::RecordContainerBuilder damaged = NamedContainer();
    damaged.MetaAttribute("checksumContainerData", std::string(32, 'f'));
    const auto failed = RunCvdr({"check", damaged.Write(folder, "damaged.zip")});
    EXPECT_EQ(failed.status, 1);
    EXPECT_NE(failed.out.find("container data: failed: OpenContainer fails / Internal error in Corvane Container: / "
                              "Invalid container data checksum!"),
              std::string::npos)
        << failed.out;
    // A container that does not verify gives no record text at all.
    EXPECT_NE(failed.out.find("channels: failed: the record does not load: container check failed: "),
              std::string::npos)
        << failed.out;
}

TEST(CvdrModels, ListsCandidatesAndTheSelection) {
    fixture::TempDir folder;
    fixture::DeviceModelBuilder model;
    folder.Write("models/CVR87_V04.10.02.dm", model.ModelXml());
    folder.Write("models/CVR87_V04.10.03.dm_c", "not a model");
    folder.Write("models/readme.txt", "x");
    folder.Write("models/CVR87_V\x1b]0;owned\x07.dm", "a name that would retitle the terminal");
    const std::string options = "-DeviceModelFolder:" + folder.Path() + "/models/";
    auto listing = RunCvdr({"models", "--models", folder.Path() + "/models", "--device", "CVR87"});
    EXPECT_EQ(listing.status, 0);
    EXPECT_NE(listing.out.find("candidates: 3\n"), std::string::npos) << listing.out;
    EXPECT_NE(listing.out.find("versions of CVR87: \\x1B]0;owned\\x07 04.10.02 04.10.03\n"), std::string::npos)
        << listing.out;
    const std::pair<const char*, const char*> versions[] = {
        {"04.10.02", "check load: passed"}, {"04.10.03", "check load: failed"}, {"9.9", "selected: none"}};
    for (const auto& [version, line] : versions) {
        const auto result = RunCvdr({"models", "--options", options, "--device", "CVR87", "--version", version});
        EXPECT_EQ(result.status, std::string(version) == "04.10.02" ? 0 : 1) << version;
        EXPECT_NE(result.out.find(line), std::string::npos) << result.out;
    }
}

}  // namespace
