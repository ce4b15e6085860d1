// Samples read block by block from the open record are what the whole
// record's copy holds: values where valid, validity from the ranges, and
// invalid beyond a channel's own samples; with the real plug-in and with the
// stand-in, whose second channel has no ranges at all.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "host/AnalogSampleReader.h"
#include "host/RecordReader.h"
#include "tools/support/CvdrFixtures.h"

namespace {

// Reads every analog channel in blocks of three samples, two past the end,
// and compares with the record read with its samples.
void ExpectSameSamples(const std::string& pluginPath, const std::string& file) {
    std::string error;
    const std::shared_ptr<host::Plugin> plugin = host::Plugin::Load(pluginPath, error);
    ASSERT_TRUE(plugin) << error;
    const host::ReaderHandle reader = plugin->Open({file, "ENG", ""});
    ASSERT_TRUE(reader);
    const host::Record whole = host::ReadRecord(*reader);
    const host::Record outline = host::ReadRecord(*reader, host::ReadOptions{false});
    const host::AnalogSampleReader samples(*reader, outline);
    for (size_t c = 0; c < whole.analog.size(); ++c) {
        const host::AnalogChannel& expected = whole.analog[c];
        for (uint32_t first = 0; first < expected.sampleCount + 2; first += 3) {
            double values[3];
            uint8_t valid[3];
            samples.Read(c, first, 3, values, valid);
            for (uint32_t i = 0; i < 3; ++i) {
                const uint32_t sample = first + i;
                ASSERT_EQ(valid[i] != 0, expected.IsValid(sample)) << "channel " << c << " sample " << sample;
                if (valid[i] != 0) {
                    EXPECT_EQ(values[i], expected.values[sample]) << "channel " << c;
                }
            }
        }
    }
}

TEST(AnalogSampleReader, BlocksHoldWhatTheWholeRecordHolds) {
    const fixture::TempDir folder;
    ExpectSameSamples(cvdrtest::kPlugin, folder.Write("small.xml", cvdrtest::SmallRecord().Xml()));
    ExpectSameSamples(cvdrtest::kStubPlugin, "stub.rec");
}

}  // namespace
