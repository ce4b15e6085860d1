// cvdr plot: valid PNG, SVG and PDF files of the requested size, lanes for
// the chosen channels only, the time window, shading of invalid stretches.
#include <cairo.h>
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "tools/support/ComtradeReader.h"
#include "tools/support/CvdrFixtures.h"

namespace {

using cvdrtest::Cvdr;

// 3000 samples at 1 ms: the trigger at sample 1000; IL1 a sine with samples
// 2000 to 2099 missing, VN a slower sine; BI1 high from the trigger on.
std::string WideRecord(const fixture::TempDir& folder) {
    std::vector<int64_t> current;
    std::vector<int64_t> voltage;
    for (int i = 0; i < 3000; ++i) {
        current.push_back(static_cast<int64_t>(std::lround(1000 * std::sin(i * 0.314))));
        voltage.push_back(static_cast<int64_t>(std::lround(500 * std::sin(i * 0.02))));
    }
    fixture::Analog il1;
    il1.id = "101";
    il1.key = "IL1";
    il1.unit = "A";
    il1.blocks = {{"5000", fixture::Values({current.begin(), current.begin() + 2000})},
                  {"7100", fixture::Values({current.begin() + 2100, current.end()})}};
    fixture::RecordBuilder builder;
    builder.AddAnalog(il1).AddAnalog("102", "VN", voltage, 5000).NumberOfSamples("3000");
    builder.Trigger("1700000000000000", "250000", "6000");
    builder.AddDigital("10", "BI1").AddStateImage("10", "0").AddEventSet("6000", {{"10", "1", "0"}});
    return folder.Write("wide.xml", builder.Xml());
}

struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> rgb;  // 0xRRGGBB

    size_t Count(uint32_t colour) const {
        return static_cast<size_t>(std::count(rgb.begin(), rgb.end(), colour));
    }
};

Pixels ReadPng(const std::string& path) {
    cairo_surface_t* surface = cairo_image_surface_create_from_png(path.c_str());
    Pixels pixels;
    if (cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS) {
        pixels.width = cairo_image_surface_get_width(surface);
        pixels.height = cairo_image_surface_get_height(surface);
        const int stride = cairo_image_surface_get_stride(surface);
        const unsigned char* data = cairo_image_surface_get_data(surface);
        for (int y = 0; y < pixels.height; ++y) {
            const auto* line = reinterpret_cast<const uint32_t*>(data + y * stride);
            for (int x = 0; x < pixels.width; ++x) pixels.rgb.push_back(line[x] & 0xFFFFFF);
        }
    }
    cairo_surface_destroy(surface);
    return pixels;
}

// A COLORREF (0x00BBGGRR) as 0xRRGGBB.
uint32_t Rgb(uint32_t ref) { return ((ref & 0xFF) << 16) | (ref & 0xFF00) | ((ref >> 16) & 0xFF); }

class PlotTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_record = WideRecord(m_folder);
        m_reference = cvdrtest::Load(m_record);
    }
    cvdrtest::Result Plot(const std::string& output, std::vector<std::string> options = {}) {
        std::vector<std::string> arguments{"plot", m_record, "-o", m_folder.Path() + "/" + output};
        arguments.insert(arguments.end(), options.begin(), options.end());
        return Cvdr(arguments);
    }
    std::string Read(const std::string& output) {
        return comtradetest::ReadFile(m_folder.Path() + "/" + output);
    }

    fixture::TempDir m_folder;
    std::string m_record;
    host::Record m_reference;
};

TEST_F(PlotTest, WritesTheThreeFormatsAtTheRequestedSize) {
    for (const char* name : {"p.png", "p.svg", "p.pdf", "P.PNG"}) {
        const cvdrtest::Result result = Plot(name, {"--size", "640x480"});
        ASSERT_EQ(result.status, 0) << name << result.err;
        EXPECT_EQ(result.out,
                  m_folder.Path() + "/" + name + ": 2 analog lanes, 1 step lane, -1000 ms to 1999 ms\n");
    }
    EXPECT_EQ(Read("p.pdf").substr(0, 5), "%PDF-");
    EXPECT_NE(Read("p.pdf").find("%%EOF"), std::string::npos);
    EXPECT_NE(Read("p.svg").find("width=\"640\""), std::string::npos);
    EXPECT_NE(Read("p.svg").find("</svg>"), std::string::npos);
    const Pixels pixels = ReadPng(m_folder.Path() + "/p.png");
    EXPECT_EQ(pixels.width, 640);
    EXPECT_EQ(pixels.height, 480);
    EXPECT_EQ(Plot("no/such/folder/p.png").status, 1);
    EXPECT_EQ(Plot("no/such/folder/p.svg").status, 1);
}

TEST_F(PlotTest, DrawsOnlyTheChosenChannelsInTheirColours) {
    const uint32_t current = Rgb(m_reference.analog[0].color);
    const uint32_t voltage = Rgb(m_reference.analog[1].color);
    ASSERT_NE(current, voltage);
    ASSERT_EQ(Plot("all.png").status, 0);
    const Pixels all = ReadPng(m_folder.Path() + "/all.png");
    EXPECT_GT(all.Count(current), 100u);
    EXPECT_GT(all.Count(voltage), 100u);

    const cvdrtest::Result chosen = Plot("one.png", {"--channels", "il?"});  // a glob, case ignored
    ASSERT_EQ(chosen.status, 0) << chosen.err;
    EXPECT_NE(chosen.out.find("1 analog lane, 0 step lanes"), std::string::npos) << chosen.out;
    const Pixels one = ReadPng(m_folder.Path() + "/one.png");
    EXPECT_GT(one.Count(current), 100u);
    EXPECT_EQ(one.Count(voltage), 0u);

    const cvdrtest::Result grouped =
        Plot("grouped.png", {"--group-by-unit", "--channels", m_reference.analog[1].name + ",IL1", "BI1"});
    EXPECT_NE(grouped.out.find("2 analog lanes, 1 step lane"), std::string::npos) << grouped.out;
    const cvdrtest::Result missing = Plot("none.png", {"--channels", "IL9"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(cvdrtest::CvdrErrorLines(missing.err),
              std::vector<std::string>{"cvdr: no channel matches \"IL9\"; the channels are: [IL1], [VN], [BI1]"});
}

TEST_F(PlotTest, WindowSelectsTheSamplesAndShadesOnlyInvalidStretchesInIt) {
    // The gap of IL1 lies from 1000 ms to 1099 ms; cairo writes a shade as a
    // fill with the shade's opacity.
    const std::string shade = "fill-opacity:0.25";
    ASSERT_EQ(Plot("gap.svg", {"--from", "900", "--to", "1200"}).status, 0);
    EXPECT_NE(Read("gap.svg").find(shade), std::string::npos);
    const cvdrtest::Result before = Plot("before.svg", {"--from", "-50", "--to", "999.5"});
    ASSERT_EQ(before.status, 0) << before.err;
    EXPECT_NE(before.out.find("-50 ms to 999.5 ms"), std::string::npos) << before.out;
    EXPECT_EQ(Read("before.svg").find(shade), std::string::npos);

    const cvdrtest::Result clipped = Plot("clipped.png", {"--from", "-5000", "--to", "5000"});
    EXPECT_NE(clipped.out.find("-1000 ms to 1999 ms"), std::string::npos) << clipped.out;
    const cvdrtest::Result outside = Plot("outside.png", {"--from", "2500", "--to", "3000"});
    EXPECT_EQ(outside.status, 1);
    EXPECT_NE(outside.err.find("no samples between 2500 ms and 3000 ms"), std::string::npos) << outside.err;
}

}  // namespace
