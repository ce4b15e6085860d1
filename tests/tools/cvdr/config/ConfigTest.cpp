// cvdr config: values of the settings key set, replaced and removed by
// changing only their own lines, in UTF-16LE and UTF-8 files alike; a new
// file as regedit writes one; values read exactly as the plug-in reads them.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "platform/TextConversion.h"
#include "tools/support/CvdrFixtures.h"

namespace {

enum class Encoding { kUtf16, kUtf8, kUtf8Mark };

std::string Encode(const std::string& text, Encoding encoding) {
    if (encoding == Encoding::kUtf8) return text;
    if (encoding == Encoding::kUtf8Mark) return "\xEF\xBB\xBF" + text;
    return "\xFF\xFE" + platform::WideToUtf16Le(platform::Utf8ToWide(text));
}

const std::string kSection = "[HKEY_CURRENT_USER\\Software\\Pelvar\\Tracedesk\\Scopora\\Settings]\r\n";

// Other keys, a comment, a value with the same name under another key, and
// in the settings key a hex string value over two lines.
std::string Original(const std::string& settingsLines) {
    return "Windows Registry Editor Version 5.00\r\n"
           "\r\n"
           "; brought over from the office PC \xCE\xA9\r\n"
           "[HKEY_CURRENT_USER\\Software\\Other]\r\n"
           "\"reserve\"=\"NO\"\r\n"
           "\"Path\"=\"C:\\\\Tools\"\r\n"
           "\r\n" +
           kSection + settingsLines +
           "\r\n"
           "[HKEY_LOCAL_MACHINE\\Software\\Pelvar]\r\n"
           "\"x\"=dword:00000001\r\n";
}

const std::string kSettings =
    "\"Language\"=\"ENG\"\r\n"
    "\"SCALE\"=hex(1):4e,00,4f,00,\\\r\n"
    "  00,00\r\n"
    "\"fullname\"=\"NO\"\r\n";

class ConfigTest : public ::testing::TestWithParam<Encoding> {
protected:
    cvdrtest::Result Config(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), "config");
        return cvdrtest::RunCvdr(arguments, {{{"DR_MVQ4_REGISTRY", m_path}}, ""});
    }
    void WriteSettings(const std::string& text) { m_folder.Write("registry.reg", Encode(text, GetParam())); }
    std::string FileBytes() const { return cvdrtest::ReadFile(m_path); }
    std::string Expected(const std::string& text) const { return Encode(text, GetParam()); }

    fixture::TempDir m_folder;
    const std::string m_path = m_folder.Path() + "/registry.reg";
};

TEST_P(ConfigTest, SetAndUnsetChangeOnlyTheLinesOfTheirValue) {
    WriteSettings(Original(kSettings));
    EXPECT_EQ(Config({"get", "scale"}).out, "NO\n");  // the hex string, decoded as the plug-in does
    const cvdrtest::Result result = Config({"set", "reserve", "YES"});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(FileBytes(), Expected(Original(kSettings + "\"reserve\"=\"YES\"\r\n")));
    EXPECT_EQ(Config({"get", "RESERVE"}).out, "YES\n");
    ASSERT_EQ(Config({"unset", "reserve"}).status, 0);
    ASSERT_EQ(Config({"set", "Scale", "a \"quoted\" C:\\path \xF0\x9D\x84\x9E"}).status, 0);
    const std::string replaced = "\"Language\"=\"ENG\"\r\n\"scale\"=\"a \\\"quoted\\\" C:\\\\path \xF0\x9D\x84\x9E\"\r\n";
    EXPECT_EQ(FileBytes(), Expected(Original(replaced + "\"fullname\"=\"NO\"\r\n")));
    EXPECT_EQ(Config({"get", "scale"}).out, "a \"quoted\" C:\\path \xF0\x9D\x84\x9E\n");  // beyond U+FFFF too
    ASSERT_EQ(Config({"unset", "FULLNAME"}).status, 0);
    EXPECT_EQ(FileBytes(), Expected(Original(replaced)));
    const cvdrtest::Result missing = Config({"get", "fullname"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, "cvdr: fullname is not set\n");
    ASSERT_EQ(Config({"unset", "fullname"}).status, 0);  // nothing left to remove
    EXPECT_EQ(FileBytes(), Expected(Original(replaced)));
}

TEST_P(ConfigTest, ValueDefinedTwiceKeepsOneDefinitionWhereTheFirstWas) {
    const std::string twice = Original(kSettings) + "\r\n" + kSection + "\"fullname\"=\"YES\"\r\n";
    WriteSettings(twice);
    EXPECT_EQ(Config({"get", "fullname"}).out, "YES\n");  // the later one wins
    ASSERT_EQ(Config({"set", "fullname", "NO"}).status, 0);
    EXPECT_EQ(FileBytes(), Expected(Original(kSettings) + "\r\n" + kSection));
    EXPECT_EQ(Config({"get", "fullname"}).out, "NO\n");
}

// A file of other keys gets the settings key appended; a file without the
// export's first line is no registry export and is left alone.
TEST_P(ConfigTest, MissingSectionIsAppendedButOnlyToARegistryExport) {
    const std::string other = "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Other]\n\"a\"=\"b\"";  // no line end at the end
    WriteSettings(other);
    ASSERT_EQ(Config({"set", "SCALE_TMP", "NO"}).status, 0);
    EXPECT_EQ(FileBytes(), Expected(other + "\n\n" + kSection.substr(0, kSection.size() - 2) +
                                    "\n\"SCALE_TMP\"=\"NO\"\n\n"));
    WriteSettings(kSection + "\"reserve\"=\"YES\"\r\n");
    const cvdrtest::Result result = Config({"set", "reserve", "NO"});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("not a registry file"), std::string::npos) << result.err;
    EXPECT_EQ(FileBytes(), Expected(kSection + "\"reserve\"=\"YES\"\r\n"));
}

INSTANTIATE_TEST_SUITE_P(Encodings, ConfigTest, ::testing::Values(Encoding::kUtf16, Encoding::kUtf8, Encoding::kUtf8Mark));

// A missing file is created as regedit writes one, after refusing unknown
// names without creating it; the plug-in reads what config writes.
TEST(ConfigFileTest, MissingFileIsCreatedAndThePluginSeesWhatConfigWrites) {
    const fixture::TempDir folder;
    const std::string path = folder.Path() + "/new/dr_mvq4/registry.reg";
    const std::string record =
        folder.Write("small.xml", cvdrtest::SmallRecord().AddDigital("40", "Feeder/Breaker/Open").Xml());
    const cvdrtest::RunSettings settings{{{"DR_MVQ4_REGISTRY", path}}, ""};
    const auto run = [&](const std::vector<std::string>& arguments) { return cvdrtest::RunCvdr(arguments, settings); };
    const auto info = [&] { return run({"info", record, "--plugin", cvdrtest::kPlugin}).out; };
    EXPECT_EQ(run({"config", "path"}).out, path + "\n");
    EXPECT_EQ(run({"config", "get", "reserved"}).status, 2);
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_NE(info().find("[Open]"), std::string::npos);
    ASSERT_EQ(run({"config", "set", "FULL_NAME_TMP", "YES"}).status, 0);
    EXPECT_EQ(cvdrtest::ReadFile(path), Encode("Windows Registry Editor Version 5.00\r\n\r\n" + kSection +
                                                       "\"FULL_NAME_TMP\"=\"YES\"\r\n\r\n",
                                                   Encoding::kUtf16));
    EXPECT_NE(info().find("[Feeder/Breaker/Open]"), std::string::npos) << info();
    EXPECT_NE(run({"config"}).out.find("fullname  -      FULL_NAME_TMP  YES    names made from keys show the whole key path"),
              std::string::npos);
    ASSERT_EQ(run({"config", "unset", "full_name_tmp"}).status, 0);
    EXPECT_NE(info().find("[Open]"), std::string::npos);
    const cvdrtest::Result loose = run({"config", "set", "reserve", "yes"});
    EXPECT_EQ(loose.status, 0);
    EXPECT_NE(loose.err.find("only \"YES\" turns reserve on"), std::string::npos) << loose.err;
}

// The settings file is read as the plug-in reads it: a FIFO is refused at
// once, and a record loads without settings. Texts from the record are shown
// with control characters escaped.
TEST(ConfigFileTest, SpecialSettingsFileIsRefusedAndRecordTextsAreEscaped) {
    const fixture::TempDir folder;
    const std::string fifo = folder.Path() + "/registry.reg";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const cvdrtest::RunSettings settings{{{"DR_MVQ4_REGISTRY", fifo}}, ""};
    const cvdrtest::Result get = cvdrtest::RunCvdr({"config", "get", "reserve"}, settings);
    EXPECT_EQ(get.status, 1);
    EXPECT_NE(get.err.find(fifo + ": cannot read the settings file: Invalid argument"), std::string::npos) << get.err;
    const std::string record =
        folder.Write("small.xml", cvdrtest::SmallRecord().AddDigital("40", "Feeder/\x1b[31mOpen\x07").Xml());
    const cvdrtest::Result info = cvdrtest::RunCvdr({"info", record, "--plugin", cvdrtest::kPlugin}, settings);
    EXPECT_NE(info.out.find("[\\x1B[31mOpen\\x07]"), std::string::npos) << info.out;
    EXPECT_EQ(info.out.find('\x1b'), std::string::npos);
    const cvdrtest::Result json = cvdrtest::RunCvdr({"info", record, "--json", "--plugin", cvdrtest::kPlugin}, settings);
    EXPECT_NE(json.out.find("[\\u001b[31mOpen\\u0007]"), std::string::npos) << json.out;
}

}  // namespace
