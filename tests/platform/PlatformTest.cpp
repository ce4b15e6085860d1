// Numbers in records parse like the C runtime's atoi / _atoi64 / atof: no
// error, 0 for text without a number, whatever the process locale. The
// registry file that stands in for the current user's hive: its parsing, and
// keys and values read through the system-like calls.
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "platform/NumberParsing.h"
#include "platform/Registry.h"
#include "platform/RegistryFile.h"
#include "platform/TextConversion.h"
#include "support/RecordFixture.h"
#include "support/RegistryFixture.h"

namespace {

using namespace platform;

TEST(NumberParsing, IntegersAndRealsTakeTheLeadingNumberAndClamp) {
    constexpr int64_t kMax = std::numeric_limits<int64_t>::max(), kMin = std::numeric_limits<int64_t>::min();
    const std::pair<const char*, int64_t> cases[] = {
        // clang-format off
        {"  \t-42abc", -42}, {"+17", 17}, {"abc", 0}, {"", 0}, {"- 5", 0}, {"12 34", 12}, {"0x10", 0},
        {"9223372036854775807", kMax}, {"-9223372036854775808", kMin},
        {"99999999999999999999", kMax}, {"-99999999999999999999", kMin},
        // clang-format on
    };
    for (const auto& [text, value] : cases) EXPECT_EQ(ParseInt64(text), value) << text;
    EXPECT_EQ(ParseInt32("3000000000"), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(ParseInt32("-3000000000"), std::numeric_limits<int32_t>::min());
    // Values stored as 32 bits after a 64-bit parse keep the low bits.
    EXPECT_EQ(ParseLow32("4294967297"), 1);
    EXPECT_EQ(ParseLow32("-1"), -1);
    constexpr double kInf = std::numeric_limits<double>::infinity();
    const std::pair<const char*, double> reals[] = {
        {" 0.001", 0.001}, {"-2.9e1x", -29.0}, {".5", 0.5},       {"1,5", 1.0},    {"abc", 0.0},
        {"0x1A", 26.0},    {"1e400", kInf},    {"-1e400", -kInf}, {"1e-400", 0.0}, {"INF", kInf}};
    for (const auto& [text, value] : reals) EXPECT_EQ(ParseReal(text), value) << text;
    EXPECT_TRUE(std::isnan(ParseReal("nan")));
}

TEST(NumberParsing, RealsIgnoreTheProcessLocale) {
    const char* previous = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = previous ? previous : "C";
    // The locale's name as the C library here and Windows' runtime spell it.
    if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr && std::setlocale(LC_NUMERIC, "German") == nullptr) {
        GTEST_SKIP() << "no German locale here";
    }
    EXPECT_EQ(ParseReal("1.25"), 1.25);
    std::setlocale(LC_NUMERIC, saved.c_str());
}

const std::string kHeader = "Windows Registry Editor Version 5.00\r\n\r\n";

std::vector<uint8_t> SzBytes(const std::wstring& text) {
    const std::string bytes = WideToUtf16Le(text) + std::string(2, '\0');
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

std::string Utf16File(const std::string& utf8) { return "\xFF\xFE" + WideToUtf16Le(Utf8ToWide(utf8)); }

// Whether the key has the value: kRegistrySuccess or kRegistryNotFound.
int32_t Probe(RegistryKey key, const wchar_t* name) {
    return QueryRegistryValue(key, name, nullptr, nullptr, nullptr);
}

// The hive as "KEY: VALUE VALUE; KEY: ..." with key and value names.
std::string Dump(const RegistryHive& hive) {
    std::string text;
    for (const auto& [key, values] : hive.keys) {
        text += (text.empty() ? "" : "; ") + WideToUtf8(key) + ":";
        for (const auto& value : values) text += " " + WideToUtf8(value.first);
    }
    return text;
}

// Either header as the first non-empty line; UTF-16LE with a BOM (a stray
// last byte ignored) or UTF-8 with or without one; any line end.
TEST(RegistryParse, HeadersEncodingsAndLineEnds) {
    const std::string body = "[HKEY_CURRENT_USER\\A]\n\"V\"=dword:1\n";
    EXPECT_EQ(Dump(ParseRegistryFile("REGEDIT4\n" + body)), "A: V");
    EXPECT_EQ(Dump(ParseRegistryFile("\r\n \n  " + kHeader + body)), "A: V");
    for (const std::string& headless : {body, "; exported\n" + kHeader + body, "REGEDIT5\n" + body}) {
        EXPECT_TRUE(ParseRegistryFile(headless).keys.empty()) << headless;
    }
    const std::string text = kHeader + "[HKEY_CURRENT_USER\\A]\r\n\"T\"=\"Grüße \xF0\x9F\x98\x80\"\r\n";
    std::string lf = text;
    for (size_t at = lf.find('\r'); at != std::string::npos; at = lf.find('\r')) lf.erase(at, 1);
    const std::vector<uint8_t> expected = SzBytes(L"Grüße \U0001F600");  // stored with a surrogate pair
    for (const std::string& file : {Utf16File(text), Utf16File(lf) + '\x41', "\xEF\xBB\xBF" + lf, text}) {
        const RegistryHive hive = ParseRegistryFile(file);
        ASSERT_EQ(Dump(hive), "A: T");
        EXPECT_EQ(hive.keys.at(L"A").at(L"T").data, expected);
    }
}

TEST(RegistryParse, DecodesEveryValueForm) {
    const RegistryHive hive = ParseRegistryFile(kHeader + R"reg([HKEY_CURRENT_USER\A]
@="default"
"Path"="C:\\Data\\"
"Quote"="say \"hi\" \n"
"Count"=dword:0001E240
"Blob"=hex:01,02,\
  03,0a,\)reg"
                                                          "\r\n\t\tff"
                                                          R"reg(
"Next"=dword:00000000
"Multi"=hex(7):41,00,00,00,00,00
"Big"=hex(b):01,00,00,00,00,00,00,80
"Empty"=hex:
"Gone"=-
"Twice"="first"
"TWICE"="second"
)reg");
    const auto& values = hive.keys.at(L"A");
    const auto data = [&](const wchar_t* name) { return values.at(name).data; };
    std::string types;
    for (const auto& [name, value] : values)
        types += WideToUtf8(name) + "=" + std::to_string(value.type) + " ";
    EXPECT_EQ(types, "=1 BIG=11 BLOB=3 COUNT=4 EMPTY=3 MULTI=7 NEXT=4 PATH=1 QUOTE=1 TWICE=1 ");
    EXPECT_EQ(data(L""), SzBytes(L"default"));
    EXPECT_EQ(data(L"PATH"), SzBytes(L"C:\\Data\\"));
    EXPECT_EQ(data(L"QUOTE"), SzBytes(L"say \"hi\" \\n"));
    EXPECT_EQ(data(L"COUNT"), (std::vector<uint8_t>{0x40, 0xE2, 0x01, 0x00}));
    EXPECT_EQ(data(L"BLOB"), (std::vector<uint8_t>{0x01, 0x02, 0x03, 0x0A, 0xFF}));
    EXPECT_EQ(data(L"BIG"), (std::vector<uint8_t>{1, 0, 0, 0, 0, 0, 0, 0x80}));
    EXPECT_TRUE(data(L"EMPTY").empty());
    EXPECT_EQ(data(L"TWICE"), SzBytes(L"second"));
}

// Only sections of the current user are kept, with the keys above them;
// malformed lines are skipped, and the values of a malformed section lost.
TEST(RegistryParse, KeepsCurrentUserKeysAndSkipsMalformedLines) {
    const RegistryHive hive = ParseRegistryFile(kHeader + R"reg("Orphan"=dword:1
[HKEY_CURRENT_USER\A]
"TooLong"=dword:123456789
"BadHex"=hex:01,zz
"BadType"=hex(x):01
"Unterminated"="abc
"NoEquals" "x"
"Trailing"="x" y
)reg"
                                                          "garbage \x01\xFF\xFE"
                                                          R"reg(
"Good1"=dword:2
[HKEY_CURRENT_USER\B
"Lost"=dword:3
[HKEY_CURRENT_USER\C\\D]
"AlsoLost"=dword:3
[HKEY_CURRENT_USER\a]
"Good2"="y"
[HKEY_LOCAL_MACHINE\Software\Vendor]
"Machine"=dword:1
[HKEY_CURRENT_USER_LOCAL_SETTINGS\Software\Vendor]
"Lookalike"=dword:1
[-HKEY_CURRENT_USER\Software\Old]
"Deleted"=dword:1
[hkey_current_user\Software\Vendor\Sub\]
"Kept"=dword:1
[HKEY_CURRENT_USER]
"Top"=dword:1
)reg");
    EXPECT_EQ(Dump(hive), ": TOP; A: GOOD1 GOOD2; SOFTWARE:; SOFTWARE\\VENDOR:; SOFTWARE\\VENDOR\\SUB: KEPT");
}

// The current user's hive as each test writes it.
class RegistryKeys : public ::testing::Test {
protected:
    void Write(const std::string& bytes) { m_registry.Write(bytes); }

    fixture::ScopedRegistry m_registry;
};

TEST_F(RegistryKeys, OpensKeysWithoutRegardToCase) {
    Write(Utf16File(kHeader + "[HKEY_CURRENT_USER\\Software\\Vendor\\App]\r\n\"Name\"=\"abc\"\r\n"));
    RegistryKey vendor = nullptr, app = nullptr, again = nullptr;
    ASSERT_EQ(OpenRegistryKey(CurrentUserKey(), L"software\\VENDOR", &vendor), 0);
    ASSERT_EQ(OpenRegistryKey(vendor, L"\\app\\", &app), 0);
    ASSERT_EQ(OpenRegistryKey(app, L"", &again), 0);
    EXPECT_EQ(Probe(again, L"nAmE"), 0);
    EXPECT_EQ(Probe(vendor, L"Name"), kRegistryNotFound);

    RegistryKey untouched = vendor;
    EXPECT_EQ(OpenRegistryKey(vendor, L"App\\Missing", &untouched), kRegistryNotFound);
    EXPECT_EQ(OpenRegistryKey(vendor, L"Ap", &untouched), kRegistryNotFound);
    EXPECT_EQ(untouched, vendor);
    for (RegistryKey key : {again, app, vendor, CurrentUserKey()}) EXPECT_EQ(CloseRegistryKey(key), 0);
}

TEST_F(RegistryKeys, QueriesValuesAsTheSystemDoes) {
    Write(kHeader + "[HKEY_CURRENT_USER\\A]\n\"Name\"=\"abc\"\n\"Flags\"=dword:00000102\n");
    RegistryKey key = nullptr;
    ASSERT_EQ(OpenRegistryKey(CurrentUserKey(), L"A", &key), 0);
    uint32_t type = 99, size = 0;
    EXPECT_EQ(QueryRegistryValue(key, L"Name", &type, nullptr, &size), 0);
    EXPECT_EQ(type, kRegSz);
    EXPECT_EQ(size, 8u);

    std::vector<uint8_t> buffer(16, 0xAA);
    type = 99, size = 7;
    EXPECT_EQ(QueryRegistryValue(key, L"nAmE", &type, buffer.data(), &size), kRegistryMoreData);
    EXPECT_EQ(size, 8u);
    EXPECT_EQ(buffer, std::vector<uint8_t>(16, 0xAA));
    size = 16;  // read as text whatever the type: the dword's own bytes
    EXPECT_EQ(QueryRegistryValue(key, L"FLAGS", &type, buffer.data(), &size), 0);
    EXPECT_EQ(type, kRegDword);
    EXPECT_EQ(std::vector<uint8_t>(buffer.begin(), buffer.begin() + size),
              (std::vector<uint8_t>{2, 1, 0, 0}));
    type = 99, size = 5;
    EXPECT_EQ(QueryRegistryValue(key, L"Other", &type, buffer.data(), &size), kRegistryNotFound);
    EXPECT_EQ(std::make_pair(type, size), std::make_pair(99u, 5u));
    EXPECT_EQ(QueryRegistryValue(nullptr, L"Name", &type, buffer.data(), &size), kRegistryInvalidHandle);
    EXPECT_EQ(CloseRegistryKey(key), 0);
}

TEST_F(RegistryKeys, ChangesShowOnTheNextOpen) {
    RegistryKey key = nullptr;
    EXPECT_EQ(OpenRegistryKey(CurrentUserKey(), L"A", &key), kRegistryNotFound);
    EXPECT_EQ(Probe(CurrentUserKey(), L"Top"), kRegistryNotFound);
    Write(kHeader + "[HKEY_CURRENT_USER]\n\"Top\"=dword:1\n[HKEY_CURRENT_USER\\A]\n\"V\"=dword:1\n");
    ASSERT_EQ(OpenRegistryKey(CurrentUserKey(), L"A", &key), 0);
    EXPECT_EQ(Probe(CurrentUserKey(), L"Top"), 0);
    CloseRegistryKey(key);

    Write(kHeader + "[HKEY_CURRENT_USER\\A]\n\"W\"=dword:1\n");
    ASSERT_EQ(OpenRegistryKey(CurrentUserKey(), L"A", &key), 0);
    EXPECT_EQ(Probe(key, L"V"), kRegistryNotFound);
    EXPECT_EQ(Probe(key, L"W"), 0);
    CloseRegistryKey(key);
    Write("not a registry file\n[HKEY_CURRENT_USER\\A]\n");
    EXPECT_EQ(OpenRegistryKey(CurrentUserKey(), L"A", &key), kRegistryNotFound);
}

TEST(RegistryFilePath, PrefersOverrideThenConfigFolderThenHome) {
    fixture::ScopedEnv own("DR_MVQ4_REGISTRY", "/x/own.reg");
    fixture::ScopedEnv config("XDG_CONFIG_HOME", "/x/config");
    fixture::ScopedEnv home("HOME", "/x/home");
    EXPECT_EQ(RegistryFilePath(), "/x/own.reg");
    fixture::ScopedEnv noOwn("DR_MVQ4_REGISTRY", nullptr);
    EXPECT_EQ(RegistryFilePath(), "/x/config/dr_mvq4/registry.reg");
    fixture::ScopedEnv noConfig("XDG_CONFIG_HOME", "");
    EXPECT_EQ(RegistryFilePath(), "/x/home/.config/dr_mvq4/registry.reg");
}

}  // namespace
