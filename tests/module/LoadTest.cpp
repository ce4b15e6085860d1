// What the host sees of a record: whole loads through the create export, also
// with channels named from a device model (the container's own model and
// language entries, or a model found in the device-models folder), and the
// channel objects (transitions, the transition in force at a sample, valid
// ranges, the analog sample shift).
#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <cerrno>
#include <cmath>
#include <limits>
#include <memory>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "container/RecordContainer.h"
#include "module/RegularDigitalChannel.h"
#include "module/StaticSampleRateAnalogChannel.h"
#include "module/TransitionalStoredLogicalChannel.h"
#include "platform/FileAccess.h"
#include "platform/LoadBudget.h"
#include "platform/MessageBox.h"
#include "support/AppDataFixture.h"
#include "support/ContainerFixture.h"
#include "support/DeviceModelFixture.h"
#include "support/LoadedRecord.h"
#include "record/DisturbanceRecord.h"

namespace {

using fixture::Analog;
using fixture::Block;
using fixture::DeviceModelBuilder;
using fixture::Event;
using fixture::LoadRecord;
using fixture::Ranges;
using fixture::RecordBuilder;
using fixture::Transitions;
using fixture::Wide;

// The trigger at sample number `triggerSample`, 250 ms after the second.
RecordBuilder Basic(const char* triggerSample = "1000") {
    RecordBuilder builder;
    builder.Trigger("1700000000000000", "250000", triggerSample);
    return builder;
}

// The values of an analog channel, each invalid one marked with "?".
std::string Samples(AnalogChannelReader* channel) {
    std::ostringstream text;
    for (uint32_t s = 0; s < channel->GetSampleCount(); ++s) {
        text << (s ? " " : "") << channel->GetSampleValue(s) << (channel->IsSampleValid(s) ? "" : "?");
    }
    return text.str();
}

TEST(Load, RecordLevelValuesAndChannelColours) {
    RecordBuilder builder = Basic("1004");
    const char* keys[] = {"Meas/IL1", "L1-L2", "l2", "L1/L3", "IN"};
    for (int i = 0; i < 5; ++i)
        builder.AddAnalog(std::to_string(i + 1), keys[i], {1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
    auto reader = LoadRecord(builder);
    ASSERT_TRUE(reader);
    EXPECT_EQ(std::make_pair(reader->GetSampleCount(), reader->GetTriggerSample()), std::make_pair(10u, 4u));
    EXPECT_EQ(
        std::make_tuple(reader->GetSampleInterval(), reader->GetSampleTime(0), reader->GetSampleTime(9)),
        std::make_tuple(1.0, -4.0, 5.0));
    EXPECT_STREQ(reader->GetFileMetadata()->GetDescription(), "CVR87   V04.10.02");
    EXPECT_STREQ(reader->GetFileMetadata()->GetTriggerTimeText(), "2023-11-14  22:13:20.250");
    int zone = -1, dst = -1;
    EXPECT_FALSE(reader->GetTimeZone(&zone, &dst));
    EXPECT_EQ(std::make_pair(zone, dst), std::make_pair(0, 0));
    // Colours by the one phase in the key's last part, else by channel index.
    ASSERT_EQ(reader->GetAnalogChannelCount(), 5);
    const uint32_t colours[] = {0x0000FF, 0x1180FF + 1 * 0xA3333, 0x008000, 0xFF0000, 0x1180FF + 4 * 0xA3333};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(reader->GetAnalogChannel(i)->GetMetadata()->GetColor(), colours[i]) << i;
}

TEST(Load, TriggerBeforeTheFirstSamplePadsEveryChannel) {
    RecordBuilder builder = Basic("997");
    builder.AddAnalog("1", "IL1", {5, 6}, 1000);
    builder.AddDigital("1", "Trip").AddDigital("2", "Mode", "8").AddStateImage("2", "7");
    builder.AddEventSet("1001", {Event{"1", "1", "0"}});
    auto reader = LoadRecord(builder);
    ASSERT_TRUE(reader);
    EXPECT_EQ(std::make_pair(reader->GetSampleCount(), reader->GetTriggerSample()), std::make_pair(5u, 0u));
    EXPECT_EQ(Samples(reader->GetAnalogChannel(0)), "0? 0? 0? 5 6");
    EXPECT_EQ(fixture::Ranges(reader->GetAnalogChannel(0)->GetRangeMarker()), "i@0 v@3");
    ASSERT_EQ(reader->GetDigitalChannelCount(), 1);
    EXPECT_EQ(Transitions(reader->GetDigitalChannel(0)), "0@0 1@3 2@4");
    // Digital channels keep the count from before the padding.
    EXPECT_EQ(reader->GetDigitalChannel(0)->GetSampleCount(), 2u);
    ASSERT_EQ(reader->GetLogicalChannelCount(), 1);
    EXPECT_EQ(reader->GetLogicalChannel(0)->GetSampleCount(), 5u);
    EXPECT_EQ(Transitions(reader->GetLogicalChannel(0)), "''@0");
}

TEST(Load, LostEventsMarkTheStartStateUnknown) {
    RecordBuilder builder = Basic();
    builder.AddAnalog("1", "IL1", {0, 0, 0, 0, 0, 0}, 1000).LostEvents("2");
    builder.AddDigital("1", "Trip").AddEventSet("1003", {Event{"1", "1", "0"}});
    builder.AddDigital("2", "Mode", "4").AddStateImage("2", "5");
    auto reader = LoadRecord(builder);
    ASSERT_TRUE(reader);
    EXPECT_EQ(Transitions(reader->GetDigitalChannel(0)), "0@0 2@3");  // 000111 -> xxx111
    EXPECT_EQ(Transitions(reader->GetLogicalChannel(0)), "''@0");
    EXPECT_TRUE(reader->GetDigitalChannel(0)->GetRangeMarker()->HasInvalidRanges());
}

TEST(Load, ScalingAndXOffset) {
    RecordBuilder builder = Basic();
    Analog plain, factorless, shifted, switched;
    plain.id = "1", plain.scales = {{"2.0", "3", ""}}, plain.blocks = {Block{"1000", "10 -10 0 0"}};
    factorless = plain, factorless.id = "2", factorless.scales = {{"0", "3", ""}};
    shifted.id = "3", shifted.xOffsetEnabled = "true", shifted.blocks = {Block{"1000", "7 8 0 0"}};
    // The second scaling applies while digital channel 7 is high.
    switched.id = "4", switched.scales = {{"1", "0", ""}, {"10", "0", "7"}},
    switched.blocks = {Block{"1000", "1 1 1 1"}};
    builder.AddAnalog(plain)
        .AddAnalog(factorless)
        .AddAnalog(shifted)
        .AnalogHeaderAttribute("xOffsetDefaultSamples", "1");
    RecordBuilder withoutRange = builder;
    builder.AddAnalog(switched).AddDigital("7", "Range").AddEventSet("1002", {Event{"7", "1", "0"}});
    auto reader = LoadRecord(builder);
    ASSERT_TRUE(reader);
    // (10 + 3) x 2; a factor of 0 leaves raw + offset.
    EXPECT_EQ(Samples(reader->GetAnalogChannel(0)), "26 -14 6 6");
    EXPECT_EQ(reader->GetAnalogChannel(0)->GetMaxMagnitude(), 26.0);
    EXPECT_EQ(Samples(reader->GetAnalogChannel(1)), "13 -7 3 3");
    // Shifted by one: sample 0 is an unrecorded 0.0 that counts as valid.
    EXPECT_EQ(Samples(reader->GetAnalogChannel(2)), "0 7 8 0");
    EXPECT_EQ(reader->GetFileMetadata()->GetDefaultXOffset(), 1);
    EXPECT_EQ(Samples(reader->GetAnalogChannel(3)), "1 1 10 10");
    // Without a digital channel of that id the record cannot be scaled.
    EXPECT_FALSE(LoadRecord(withoutRange.AddAnalog(switched)));
}

TEST(Load, FailuresLeaveTheOutParameterUntouchedAndAMissingFileIsShown) {
    RecordBuilder base = Basic();
    base.AddAnalog("1", "IL1", {1, 2}, 1000);
    const std::string damaged[] = {
        RecordBuilder(base).Remove("DistHeader/Common/Device", "Name").Xml(),
        RecordBuilder(base).Remove("DistHeader/Common/Timing", "sampleDuration").Xml(),
        RecordBuilder(base).Remove("DistData/Common/EventLost").Xml(),
        RecordBuilder(base).NumberOfSamples("3").Xml(),  // a trace shorter than the record
        RecordBuilder(base).NumberOfSamples("100000000").Xml(), "<DistFile><unclosed></DistFile>",
        "PK\x03\x04 not really an archive",
        // A container that fails its checks is not read as a plain record.
        fixture::RecordContainerBuilder().RecorderData(base).MetaAttribute("versionSyntax", "2").Bytes(),
        fixture::RecordContainerBuilder().Remove("RecorderData").Bytes()};
    fixture::TempDir folder;
    DisturbanceDataReader* const sentinel = reinterpret_cast<DisturbanceDataReader*>(0x1234);
    DisturbanceDataReader* out = sentinel;
    for (const std::string& xml : damaged) {
        const std::wstring path = fixture::Wide(folder.Write("r.xml", xml));
        EXPECT_FALSE(CreateDisturbanceDataReaderInstance(&out, path.c_str(), "ENG", nullptr)) << xml;
        EXPECT_EQ(out, sentinel);
    }
    FreeDisturbanceDataReaderInstance(nullptr);

    // A missing file is shown once, with its name and the system's reason.
    const std::string missing = "/nonexistent/folder/record.xml";
    std::vector<std::string> messages;
    const platform::MessageSink previous =
        platform::SetMessageSink([&](const std::string& text) { messages.push_back(text); });
    out = sentinel;
    EXPECT_FALSE(CreateDisturbanceDataReaderInstance(&out, fixture::Wide(missing).c_str(), "ENG", L""));
    platform::SetMessageSink(previous);
    EXPECT_EQ(out, sentinel);
    std::string bytes;
    int reason = 0;
    ASSERT_FALSE(platform::ReadWholeFile(missing, bytes, reason));
    EXPECT_EQ(messages, std::vector<std::string>{platform::FileErrorMessage(missing, reason)});
}

// A channel with one sample per character: 1 high, 0 low, x invalid.
std::unique_ptr<RegularDigitalChannel> Digital(const std::string& text) {
    auto channel = std::make_unique<RegularDigitalChannel>(nullptr, "Trip", 0, 7, "Prot/Trip",
                                                           static_cast<uint32_t>(text.size()));
    for (size_t p = 0; p < text.size(); ++p) {
        EXPECT_TRUE(channel->SetSamples(static_cast<uint32_t>(p), 1, text[p] == '1', text[p] == 'x'));
    }
    return channel;
}

TEST(DigitalChannel, TransitionsAndRangesFollowTheSampleText) {
    const struct {
        std::string samples, transitions, ranges;
    } cases[] = {{"0011x1", "1@0 2@2 0@4 2@5", "v@0 i@4 v@5"},
                 {"000", "1@0", "v@0"},
                 {"xxx", "0@0", "i@0"},
                 {"", "", "i@0"}};
    for (const auto& c : cases) {
        const auto channel = Digital(c.samples);
        EXPECT_EQ(Transitions(channel.get()), c.transitions);
        EXPECT_EQ(Ranges(channel->GetRangeMarker()), c.ranges);
        EXPECT_EQ(channel->GetRangeMarker()->HasInvalidRanges(), c.ranges.find('i') != std::string::npos);
        for (uint32_t p = 0; p < c.samples.size(); ++p)
            EXPECT_EQ(channel->IsSampleInvalid(p), c.samples[p] == 'x');
    }
    // The transition in force at a sample; none in a channel without samples.
    const auto channel = Digital("0011x1"), empty = Digital("");
    EXPECT_EQ(channel->FindTransition(3)->firstSample, 2u);
    EXPECT_EQ(channel->FindTransition(1000)->state, 2u);
    EXPECT_TRUE(empty->FindTransition(0) == empty->GetTransitionsEnd());
    EXPECT_TRUE(empty->IsSampleInvalid(0));
}

TEST(LogicalChannel, MinusOneIsTheInvalidState) {
    TransitionalStoredLogicalChannel channel(nullptr, "Mode", 0x800000, 3, "Ctrl/Mode");
    const char* texts[] = {"3", "3", "-1", "4"};
    for (uint32_t s = 0; s < 4; ++s) ASSERT_TRUE(channel.SetSamples(s, 1, texts[s]));
    EXPECT_EQ(Transitions(&channel), "'3'@0 ''@2 '4'@3");
    EXPECT_TRUE(channel.IsSampleInvalid(2));
    EXPECT_FALSE(channel.IsSampleInvalid(3));
    EXPECT_EQ(Ranges(channel.GetRangeMarker()), "v@0 i@2 v@3");
}

// Runs of samples arrive in order; a run that does not start where the last
// one ended changes nothing.
TEST(DigitalChannel, RunsOfSamples) {
    RegularDigitalChannel channel(nullptr, "a", 0, 1, "", 10);
    EXPECT_TRUE(channel.SetSamples(0, 3, true, false));
    EXPECT_FALSE(channel.SetSamples(2, 1, false, false));
    EXPECT_TRUE(channel.SetSamples(3, 2, true, false));
    EXPECT_TRUE(channel.SetSamples(5, 1, false, true));
    EXPECT_EQ(Transitions(&channel), "2@0 0@5");
}

// A trace of raw samples, "-" for a gap sample, scaled by factor and offset
// unless the factor is empty.
record::AnalogTrace Trace(const std::vector<const char*>& raw, const char* factor = "", int32_t offset = 0) {
    record::AnalogTrace trace;
    for (const char* value : raw) {
        if (std::string(value) == "-") {
            trace.samples.AppendInvalid(1);
        } else {
            trace.samples.AppendValue(std::stoll(value));
        }
    }
    if (factor[0] != '\0') trace.scalings.push_back(record::Scaling{std::stod(factor), offset, 0});
    return trace;
}

// Padding before the trace, its gaps and the x offset decide which samples
// are valid; scaling applies to every sample, the invalid ones (0) too, and
// so counts for the magnitude. A shift moves the samples; outside them the
// channel is 0.0 and not valid.
TEST(AnalogChannel, PaddingGapsXOffsetScalingAndShift) {
    const std::vector<const char*> raw = {"4", "-", "-", "-10", "6"};
    StaticSampleRateAnalogChannel padded(nullptr, Trace(raw, "0.5", 2), 0, 7, 2, nullptr);
    EXPECT_EQ(Samples(&padded), "1? 1? 3 1? 1? -4 4");
    EXPECT_EQ(Ranges(padded.GetRangeMarker()), "i@0 v@2 i@3 v@5");
    EXPECT_EQ(padded.GetMaxMagnitude(), 4.0);
    padded.SetSampleShift(2);
    EXPECT_EQ(Samples(&padded), "0? 0? 1? 1? 3 1? 1?");
    padded.SetSampleShift(-1);
    EXPECT_EQ(Samples(&padded), "1? 3 1? 1? -4 4 0?");
    // Sample s reads s - 2: the first two lie beyond the record (valid 0).
    record::AnalogTrace later = Trace(raw, "0.5", 2);
    later.xOffsetEnabled = true, later.xOffset = 2;
    StaticSampleRateAnalogChannel shifted(nullptr, std::move(later), 0, 7, 2, nullptr);
    EXPECT_EQ(Samples(&shifted), "1 1 1? 1? 3 1? 1?");
    record::AnalogTrace earlier = Trace(raw);
    earlier.xOffsetEnabled = true, earlier.xOffset = -1;
    StaticSampleRateAnalogChannel ahead(nullptr, std::move(earlier), 0, 7, 2, nullptr);
    EXPECT_EQ(Samples(&ahead), "0? 4 0? 0? -10 6 0");
    EXPECT_EQ(ahead.GetMaxMagnitude(), 10.0);
}

TEST(AnalogChannel, MaximumMagnitude) {
    const auto magnitude = [](record::AnalogTrace trace) {
        const uint32_t count = static_cast<uint32_t>(trace.samples.Size());
        return StaticSampleRateAnalogChannel(nullptr, std::move(trace), 0, count, 0, nullptr).GetMaxMagnitude();
    };
    EXPECT_EQ(magnitude(Trace({"3", "-5", "1"}, "-2")), 10.0);
    EXPECT_EQ(magnitude(Trace({"3", "-5", "1"}, "0", 7)), 10.0);  // factor 0: offset only
    EXPECT_EQ(magnitude(Trace({"0", "5"}, "inf")), HUGE_VAL);      // 0 x inf is NaN and ignored
    EXPECT_EQ(magnitude(Trace({"0", "0"}, "inf")), 0.0);
    EXPECT_EQ(magnitude(Trace({"-4294967296", "1"})), 4294967296.0);
    StaticSampleRateAnalogChannel empty(nullptr, Trace({}), 0, 0, 0, nullptr);
    EXPECT_EQ(empty.GetMaxMagnitude(), 0.0);
    EXPECT_EQ(Ranges(empty.GetRangeMarker()), "i@0");
}

// Outside the trace every sample reads as a raw 0 under the scale in force:
// a second scaling switched on within the padding counts for the magnitude.
TEST(AnalogChannel, MagnitudeOutsideTheTraceFollowsTheSwitchedScale) {
    RegularDigitalChannel range(nullptr, "Range", 0, 7, "Range", 8);
    ASSERT_TRUE(range.SetSamples(0, 2, false, false) && range.SetSamples(2, 2, true, false) &&
                range.SetSamples(4, 4, false, false));
    record::AnalogTrace trace = Trace({"1", "1"}, "1");
    trace.scalings.push_back(record::Scaling{10.0, -1, 7});
    StaticSampleRateAnalogChannel channel(nullptr, std::move(trace), 0, 8, 6, &range);
    EXPECT_EQ(Samples(&channel), "0? 0? -10? -10? 0? 0? 1 1");
    EXPECT_EQ(channel.GetMaxMagnitude(), 10.0);
}

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
    EXPECT_EQ(Name(record, "deu", options), kGerman);  // the language file's name found ignoring case

    fixture::DeviceContainerBuilder device(model.ModelXml());
    device.Entry("DeviceModel_l_ENG", model.LanguageXml("ENG")).Write(folder, "models/CVR87_V04.10.03.DeCon");
    EXPECT_EQ(Name(folder.Write("newer.xml", Record("04.10.03").Xml()), "ENG", options), kEnglish);

    const fixture::ScopedCompanyFolder company;
    fixture::WriteFile(company.Path() + "/Relays/DeviceModels/CVR87_V04.10.02.dm", model.ModelXml());
    fixture::WriteFile(company.Path() + "/Relays/DeviceModels/CVR87_V04.10.02.dm_L_ENG", model.LanguageXml("ENG"));
    EXPECT_EQ(Name(record, "ENG", L"-companyName:" + Wide(company.Name()) + L" -productFamily:Relays"), kEnglish);
}

// Of language files whose names differ only in case, the first in listing
// order is read.
TEST_F(ModelNames, OfLanguageFilesEqualButForCaseTheFirstInListingOrderIsRead) {
    if (!fixture::TellsNamesApartByCase(folder.Path())) GTEST_SKIP() << "the file system ignores case here";
    const std::string record = folder.Write("record.xml", Record().Xml());
    folder.Write("models/CVR87_V04.10.02.dm_c", fixture::Compressed(model.ModelXml()));
    folder.Write("models/CVR87_V04.10.02.DM_l_eng_C", fixture::Compressed(model.LanguageXml("ENG")));
    folder.Write("models/CVR87_V04.10.02.dm_L_eng_c", fixture::Compressed("<not a language/>"));
    EXPECT_EQ(Name(record, "Eng", L"-DeviceModelFolder:\"" + Wide(folder.Path()) + L"/models/\""), kEnglish);
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

// Hostile files. Entries that share bytes make a damaged archive: a record
// container does not load, a device container counts as missing. Over the
// budget (scaled down here) a record fails: gap bombs, a huge device name,
// a document of tiny elements (before it is parsed).
// Huge declared counts fail on the short traces without costing memory.
TEST_F(ModelNames, HostileFilesEndAsDocumented) {
    const fixture::ZipEntry meta("MetaData", fixture::RecordContainerBuilder().RecorderData(Record()).MetaDataText());
    const fixture::ZipEntry record("RecorderData", Record().Xml()), copy("RecorderCopy", "");
    EXPECT_EQ(Name(folder.Write("apart.zip", fixture::SharedHeaderZip({meta, record}, {0, 1}))), "[IL1] / raw");
    EXPECT_EQ(Name(folder.Write("shared.zip", fixture::SharedHeaderZip({meta, record, copy}, {0, 1, 1}))), "failed");
    EXPECT_EQ(Name(folder.Write("nested.zip", fixture::NestedZip(record))), "failed");
    fixture::DeviceContainerBuilder device(model.ModelXml());
    device.Entry("DeviceModel_l_ENG", model.LanguageXml("ENG"));
    const std::vector<fixture::ZipEntry> entries = {{"MetaData", device.MetaDataText()},
        {"DeviceModel", model.ModelXml()}, {"SLVP", "<SLVP/>"}, {"MasterICD", "<ICD/>"},
        {"AccessControlConfig", "<Access/>"}, {"DeviceModel_l_ENG", model.LanguageXml("ENG")}, {"ReadmeReadmeReadm", ""}};
    const std::wstring options = L"-DeviceModelFolder:" + Wide(folder.Path()) + L"/models/";
    const std::string plain = folder.Write("plain.xml", Record().Xml());
    folder.Write("models/CVR87_V04.10.02.DeCon", fixture::SharedHeaderZip(entries, {0, 1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(Name(plain, "ENG", options), kEnglish);
    folder.Write("models/CVR87_V04.10.02.DeCon", fixture::SharedHeaderZip(entries, {0, 1, 2, 3, 4, 5, 5}));
    EXPECT_EQ(Name(plain, "ENG", options), "[IL1] / raw");
    for (const RecordBuilder& hostile : {fixture::GapBomb(3, 1 << 20), Record().Device(std::string(4 << 20, 'N'), "V")}) {
        platform::LoadBudget budget(6 << 20);
        record::DisturbanceRecord decoded(budget);
        record::HeaderValues header;
        EXPECT_TRUE(decoded.OpenText(hostile.Xml()));
        EXPECT_FALSE(decoded.ReadHeader(header) || !budget.Refused());
    }
    platform::LoadBudget small(1 << 20);
    std::string tags = "<DistFile>";
    for (int i = 0; i < 100000; ++i) tags += "<a/>";
    EXPECT_FALSE(record::DisturbanceRecord(small).OpenText(tags + "</DistFile>"));
    EXPECT_FALSE(fixture::LoadRecord(fixture::DeclaredSamples(64, 1 << 26, false)));
    EXPECT_FALSE(fixture::LoadRecord(fixture::DeclaredSamples(64, 1 << 26, true)));
}

#ifndef _WIN32
// Only regular files are read, and nothing waits on a FIFO that no one
// writes: as the record or a folder as the record, the load fails with the
// file shown; as the settings file, there are no settings; as the language
// file beside a model, it is unreadable (shown, channels named from their
// keys); as an archive, it does not open.
TEST_F(ModelNames, SpecialFilesAreUnreadableAndNeverBlock) {
    alarm(120);  // a blocked open would hang the suite: end the process instead
    const std::string fifo = folder.Path() + "/fifo", language = folder.Path() + "/models/CVR87_V04.10.02.dm_L_ENG";
    const std::string record = folder.Write("record.xml", Record().Xml());
    folder.Write("models/CVR87_V04.10.02.dm", model.ModelXml());
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    ASSERT_EQ(mkfifo(language.c_str(), 0600), 0);
    std::vector<std::string> messages;
    const platform::MessageSink previous =
        platform::SetMessageSink([&](const std::string& text) { messages.push_back(text); });
    EXPECT_EQ(Name(fifo), "failed");
    EXPECT_EQ(Name(folder.Path()), "failed");
    {
        const fixture::ScopedEnv settings("DR_MVQ4_REGISTRY", fifo.c_str());
        EXPECT_EQ(Name(record, "ENG", L"-DeviceModelFolder:" + Wide(folder.Path()) + L"/models/"), "[IL1] / raw");
    }
    container::RecordContainer archive;
    EXPECT_FALSE(archive.OpenContainer(Wide(fifo)));
    platform::SetMessageSink(previous);
    EXPECT_EQ(messages, (std::vector<std::string>{platform::FileErrorMessage(fifo, EINVAL),
                                                  platform::FileErrorMessage(folder.Path(), EISDIR),
                                                  platform::FileErrorMessage(language, EINVAL)}));
    alarm(0);
}
#endif

}  // namespace
