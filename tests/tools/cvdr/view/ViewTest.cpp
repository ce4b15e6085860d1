// cvdr view: the page holds the record as `cvdr dump --json` writes it and
// refers to nothing outside itself; pages land where the inputs lead; and a
// real browser (Debian's chromium) draws the page, zooms, and reads values,
// phasors and sequence components back through the page's self-test hook.
// The phasors and sequence components are checked against what
// `cvdr analyze` gives for the same time.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "tools/support/CvdrFixtures.h"

namespace {

namespace fs = std::filesystem;
using cvdrtest::Cvdr;
using nlohmann::json;

constexpr double kPi = 3.14159265358979323846;

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void ReplaceAll(std::string& text, const std::string& from, const std::string& to) {
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
}

// The text of the element that starts with `open`, up to its closing tag.
std::string ElementText(const std::string& html, const std::string& open, const std::string& close) {
    const size_t start = html.find(open);
    if (start == std::string::npos) return "";
    const size_t end = html.find(close, start);
    return html.substr(start + open.size(), end - start - open.size());
}

// Three phases at 1 kHz with the trigger at sample 1000: IL1 1000 A, IL2 and
// IL3 120 degrees behind and ahead at 200 A; IL2 misses samples 400 to 449
// (`samples` must be 450 or more).
// BI1 goes high at the trigger; LS1 (4 bits) steps 2, 5, 3. A digital key
// holds text that would end a script element.
std::string ThreePhaseRecord(const fixture::TempDir& folder, const std::string& name, int samples) {
    std::vector<int64_t> phases[3];
    for (int i = 0; i < samples; ++i) {
        const double angle = 2 * kPi * 50 * (i - 1000) / 1000.0;
        phases[0].push_back(std::lround(10000 * std::cos(angle)));
        phases[1].push_back(std::lround(2000 * std::cos(angle - 2 * kPi / 3)));
        phases[2].push_back(std::lround(2000 * std::cos(angle + 2 * kPi / 3)));
    }
    fixture::RecordBuilder builder;
    for (int p = 0; p < 3; ++p) {
        fixture::Analog analog;
        analog.id = std::to_string(101 + p);
        analog.key = "IL" + std::to_string(p + 1);
        analog.unit = "A";
        analog.scales = {fixture::Scale{"0.1", "0", ""}};
        const auto& values = phases[p];
        analog.blocks = {{"5000", fixture::Values({values.begin(), values.end()})}};
        if (p == 1) {
            analog.blocks = {{"5000", fixture::Values({values.begin(), values.begin() + 400})},
                             {"5450", fixture::Values({values.begin() + 450, values.end()})}};
        }
        builder.AddAnalog(analog);
    }
    builder.NumberOfSamples(std::to_string(samples)).Trigger("1700000000000000", "250000", "6000");
    builder.AddDigital("10", "BI1").AddStateImage("10", "0").AddEventSet("6000", {{"10", "1", "0"}});
    builder.AddDigital("11", "Trip</script><!--<script>").AddStateImage("11", "0");
    builder.AddDigital("30", "LS1", "4").AddStateImage("30", "2");
    builder.AddEventSet("6010", {{"30", "5", "2"}}).AddEventSet("6030", {{"30", "3", "5"}});
    return folder.Write(name, builder.Xml());
}

TEST(ViewPage, HoldsTheDumpAndRefersToNothingOutside) {
    fixture::TempDir folder;
    const std::string record = ThreePhaseRecord(folder, "small.xml", 600);
    const std::string page = folder.Path() + "/small.html";
    ASSERT_EQ(Cvdr({"view", record, "-o", page}).status, 0);
    const cvdrtest::Result dump = Cvdr({"dump", record, "--json"});
    ASSERT_EQ(dump.status, 0);

    const std::string html = ReadFile(page);
    std::string embedded = ElementText(html, "<script type=\"application/json\" id=\"record\">", "</script>");
    EXPECT_EQ(embedded.find("</"), std::string::npos);
    EXPECT_EQ(embedded.find("<!"), std::string::npos);
    ReplaceAll(embedded, "<\\/", "</");
    ReplaceAll(embedded, "<\\u0021", "<!");
    EXPECT_EQ(embedded, dump.out);
    EXPECT_EQ(ElementText(html, "id=\"envelope\">", "</script>"), "null");  // short records need none

    // Addresses only in the chart library's comments; no source maps.
    std::string outsideComments = html;
    for (size_t open = outsideComments.find("/*"); open != std::string::npos; open = outsideComments.find("/*", open)) {
        outsideComments.erase(open, outsideComments.find("*/", open) + 2 - open);
    }
    EXPECT_EQ(outsideComments.find("http:"), std::string::npos);
    EXPECT_EQ(outsideComments.find("https:"), std::string::npos);
    EXPECT_EQ(html.find("sourceMappingURL"), std::string::npos);
    EXPECT_EQ(html.find("@@"), html.find("@@", html.find("<script>")));  // every part filled in
}

TEST(ViewCommand, WritesPagesWhereTheInputsLeadAndKeepsThoseThatExist) {
    fixture::TempDir folder;
    fs::create_directories(folder.Path() + "/in/bay2");
    const std::string first = ThreePhaseRecord(folder, "in/feeder.xml", 600);
    ThreePhaseRecord(folder, "in/bay2/feeder.xml", 600);
    folder.Write("in/notes.txt", "not a record");
    const std::string out = folder.Path() + "/out";

    EXPECT_EQ(Cvdr({"view", folder.Path() + "/in", "-o", out}).status, 0);
    EXPECT_TRUE(fs::is_regular_file(out + "/feeder.html"));
    EXPECT_TRUE(fs::is_regular_file(out + "/bay2/feeder.html"));

    const cvdrtest::Result again = Cvdr({"view", first, "-o", out + "/feeder.html"});
    EXPECT_EQ(again.status, 1);
    EXPECT_NE(again.err.find("--force"), std::string::npos) << again.err;
    fs::resize_file(out + "/feeder.html", 10);
    EXPECT_EQ(fs::file_size(out + "/feeder.html"), 10u);
    EXPECT_EQ(Cvdr({"view", first, "-o", out + "/feeder.html", "--force"}).status, 0);
    EXPECT_GT(fs::file_size(out + "/feeder.html"), 100000u);
}

// ---- In a browser ------------------------------------------------------------

std::string ChromiumPath() {
    for (const char* path : {"/usr/bin/chromium", "/usr/bin/chromium-browser"}) {
        if (fs::exists(path)) return path;
    }
    return "";
}

// Opens `page` with "#selftest=AT" and returns the report the page writes.
json SelfTest(const std::string& page, double at, const fixture::TempDir& folder) {
    const std::string dom = folder.Path() + "/dom.html";
    const std::string command =
        "timeout 120 " + ChromiumPath() +
        " --headless --no-sandbox --disable-gpu --disable-quic --no-first-run --disable-background-networking"
        " --disable-component-update --disable-sync --user-data-dir=" + folder.Path() + "/profile" +
        " --virtual-time-budget=10000 --dump-dom 'file://" + page + "#selftest=" + std::to_string(at) + "' > " +
        dom + " 2>/dev/null";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    std::string report = ElementText(ReadFile(dom), "<pre id=\"selftest\" hidden=\"\">", "</pre>");
    ReplaceAll(report, "&lt;", "<");
    ReplaceAll(report, "&gt;", ">");
    ReplaceAll(report, "&amp;", "&");
    return json::parse(report.empty() ? "null" : report);
}

// A phasor the page shows against the one `cvdr analyze` gives: the same
// magnitude, the same angle.
void ExpectPhasor(const json& shown, const json& analyzed, const std::string& what) {
    ASSERT_TRUE(shown.is_object() && analyzed.is_object()) << what;
    const double magnitude = analyzed["magnitude"].get<double>();
    EXPECT_NEAR(shown["magnitude"].get<double>(), magnitude, 1e-9 * magnitude) << what;
    EXPECT_NEAR(shown["angle"].get<double>(), analyzed["angle_deg"].get<double>(), 1e-7) << what;
}

class ViewBrowserTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (ChromiumPath().empty()) GTEST_SKIP() << "chromium is not installed (scripts/install-deps.sh installs it)";
    }
    fixture::TempDir m_folder;
};

// A record long enough for the overview envelope: the page draws it, then
// takes the samples from the record element for the zoomed view and the
// read-outs.
TEST_F(ViewBrowserTest, DrawsZoomsAndReadsTheRecordBack) {
    const std::string record = ThreePhaseRecord(m_folder, "long.xml", 30000);
    const std::string page = m_folder.Path() + "/long.html";
    ASSERT_EQ(Cvdr({"view", record, "-o", page}).status, 0);
    const json dump = json::parse(Cvdr({"dump", record, "--json"}).out);
    const double at = 137.0;  // ms after the trigger: sample 1137
    const json report = SelfTest(page, at, m_folder);
    ASSERT_TRUE(report.is_object());
    EXPECT_EQ(report["errors"], json::array());

    // One lane per analog channel, then one step lane per digital and logical channel.
    const size_t analog = dump["analog"].size();
    json expectedLanes = json::array();
    for (const char* kind : {"analog", "digital", "logical"}) {
        for (const json& channel : dump[kind]) {
            expectedLanes.push_back({{"kind", kind == std::string("analog") ? "analog" : "step"},
                                {"series", json::array({channel["name"]})}});
        }
    }
    json lanes = report["lanes"];
    for (json& lane : lanes) lane = {{"kind", lane["kind"]}, {"series", lane["series"]}};
    EXPECT_EQ(lanes, expectedLanes);

    // Zoomed: every lane shows the same, narrower window around the cursor.
    const json before = report["before"];
    for (const json& after : report["after"]) {
        EXPECT_EQ(after, report["after"][0]);
        EXPECT_LT(after[1].get<double>() - after[0].get<double>(), before[1].get<double>() - before[0].get<double>());
        EXPECT_LT(after[0].get<double>(), at);
        EXPECT_GT(after[1].get<double>(), at);
    }

    // The cursor read-out shows each channel's value at the cursor's sample.
    const size_t sample = static_cast<size_t>(dump["triggerSample"].get<int>()) + 137;
    for (size_t i = 0; i < analog; ++i) {
        const std::string shown = report["readings"]["analog:" + std::to_string(i)]["cursor"];
        EXPECT_EQ(std::stod(shown), dump["analog"][i]["values"][sample].get<double>()) << i;
    }
    EXPECT_EQ(report["readings"]["digital:0"]["cursor"], "1");
    EXPECT_EQ(report["readings"]["logical:0"]["cursor"], "3");

    // Phasors and sequence components at the cursor, as cvdr analyze gives them.
    const json analysis = json::parse(Cvdr({"analyze", record, "--json", "--at", "137"}).out);
    for (size_t i = 0; i < analog; ++i) {
        ExpectPhasor(report["phasors"][i], analysis["analog"][i]["phasors"][0], "phasor " + std::to_string(i));
    }
    EXPECT_NEAR(analysis["analog"][0]["phasors"][0]["magnitude"].get<double>(), 1000.0 / std::sqrt(2.0), 0.1);
    ASSERT_EQ(report["sequence"].size(), 1u);
    EXPECT_EQ(report["sequence"][0]["phases"], json::array({0, 1, 2}));
    const json& components = analysis["groups"][0]["components"][0];
    const char* names[] = {"zero", "positive", "negative"};
    for (int k = 0; k < 3; ++k) {
        ExpectPhasor(report["sequence"][0]["components"][k], components[names[k]], names[k]);
    }
}

TEST_F(ViewBrowserTest, BundledExampleIsSmallAndDrawsWithoutErrors) {
    const std::string page = m_folder.Path() + "/example.html";
    ASSERT_EQ(Cvdr({"view", CVDR_SOURCE_DIR "/examples/earth_fault_L1.xml", "-o", page}).status, 0);
    EXPECT_LT(fs::file_size(page), 1000000u);
    const json report = SelfTest(page, 20.0, m_folder);
    ASSERT_TRUE(report.is_object());
    EXPECT_EQ(report["errors"], json::array());
    EXPECT_EQ(report["lanes"].size(), 11u);  // 7 analog, 3 digital, 1 logical
}

}  // namespace
