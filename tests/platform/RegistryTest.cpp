#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Registry.h"
#include "platform/RegistryFile.h"
#include "platform/TextConversion.h"
#include "support/RecordFixture.h"
#include "support/RegistryFixture.h"

namespace {

using namespace platform;

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

TEST(RegistryParse, NeedsEitherHeaderAsFirstNonEmptyLine) {
    const std::string body = "[HKEY_CURRENT_USER\\A]\n\"V\"=dword:1\n";
    EXPECT_EQ(Dump(ParseRegistryFile("REGEDIT4\n" + body)), "A: V");
    EXPECT_EQ(Dump(ParseRegistryFile("\r\n \n  " + kHeader + body)), "A: V");
    for (const std::string& headless : {body, "; exported\n" + kHeader + body, "REGEDIT5\n" + body}) {
        EXPECT_TRUE(ParseRegistryFile(headless).keys.empty()) << headless;
    }
}

TEST(RegistryParse, ReadsUtf16AndUtf8WithAnyLineEnd) {
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
    const auto type = [&](const wchar_t* name) { return values.at(name).type; };
    EXPECT_EQ(data(L""), SzBytes(L"default"));
    EXPECT_EQ(data(L"PATH"), SzBytes(L"C:\\Data\\"));
    EXPECT_EQ(data(L"QUOTE"), SzBytes(L"say \"hi\" \\n"));
    EXPECT_EQ(type(L"COUNT"), kRegDword);
    EXPECT_EQ(data(L"COUNT"), (std::vector<uint8_t>{0x40, 0xE2, 0x01, 0x00}));
    EXPECT_EQ(type(L"BLOB"), kRegBinary);
    EXPECT_EQ(data(L"BLOB"), (std::vector<uint8_t>{0x01, 0x02, 0x03, 0x0A, 0xFF}));
    EXPECT_EQ(type(L"NEXT"), kRegDword);
    EXPECT_EQ(type(L"MULTI"), kRegMultiSz);
    EXPECT_EQ(type(L"BIG"), kRegQword);
    EXPECT_EQ(data(L"BIG"), (std::vector<uint8_t>{1, 0, 0, 0, 0, 0, 0, 0x80}));
    EXPECT_TRUE(data(L"EMPTY").empty());
    EXPECT_EQ(values.count(L"GONE"), 0u);
    EXPECT_EQ(data(L"TWICE"), SzBytes(L"second"));
}

TEST(RegistryParse, KeepsCurrentUserKeysAndTheKeysAboveThem) {
    const RegistryHive hive = ParseRegistryFile(kHeader + R"reg([HKEY_LOCAL_MACHINE\Software\Vendor]
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
    EXPECT_EQ(Dump(hive), ": TOP; SOFTWARE:; SOFTWARE\\VENDOR:; SOFTWARE\\VENDOR\\SUB: KEPT");
}

TEST(RegistryParse, SkipsMalformedLinesAndKeepsTheRest) {
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
)reg");
    EXPECT_EQ(Dump(hive), "A: GOOD1 GOOD2");
}

TEST(RegistryParse, SurvivesHostileFiles) {
    std::string garbage = kHeader;
    uint32_t seed = 12345;
    for (int i = 0; i < (1 << 20); ++i)
        garbage.push_back(static_cast<char>((seed = seed * 1103515245 + 12345) >> 24));
    ParseRegistryFile(garbage);
    ParseRegistryFile(Utf16File(kHeader) + garbage.substr(7));

    // One very deep key, then many distinct deep keys: each would name far
    // more parent keys than the file has characters.
    std::string deep = kHeader + "[HKEY_CURRENT_USER";
    for (int i = 0; i < (1 << 20); ++i) deep += "\\k";
    deep += "]\n\"V\"=hex:" + std::string(1 << 20, '\\') + "\n";
    for (int branch = 0; branch < 2000; ++branch) {
        deep += "[HKEY_CURRENT_USER\\" + std::to_string(branch);
        for (int level = 0; level < 300; ++level) deep += "\\k";
        deep += "]\n";
    }
    size_t pathCharacters = 0;
    for (const auto& key : ParseRegistryFile(deep).keys) pathCharacters += key.first.size();
    EXPECT_LT(pathCharacters, 4 * deep.size());
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
    size = 7;
    EXPECT_EQ(QueryRegistryValue(key, L"Name", nullptr, buffer.data(), &size), kRegistryMoreData);
    EXPECT_EQ(size, 8u);
    EXPECT_EQ(buffer, std::vector<uint8_t>(16, 0xAA));
    EXPECT_EQ(QueryRegistryValue(key, L"Name", nullptr, buffer.data(), nullptr), kRegistryMoreData);

    size = 16;  // read as text whatever the type: the dword's own bytes
    EXPECT_EQ(QueryRegistryValue(key, L"FLAGS", &type, buffer.data(), &size), 0);
    EXPECT_EQ(type, kRegDword);
    EXPECT_EQ(std::vector<uint8_t>(buffer.begin(), buffer.begin() + size),
              (std::vector<uint8_t>{2, 1, 0, 0}));

    type = 99, size = 5;
    EXPECT_EQ(QueryRegistryValue(key, L"Other", &type, buffer.data(), &size), kRegistryNotFound);
    EXPECT_EQ(type, 99u);
    EXPECT_EQ(size, 5u);

    EXPECT_EQ(QueryRegistryValue(nullptr, L"Name", &type, nullptr, &size), kRegistryInvalidHandle);
    EXPECT_EQ(OpenRegistryKey(nullptr, L"A", &key), kRegistryInvalidHandle);
    EXPECT_EQ(OpenRegistryKey(key, L"", nullptr), kRegistryInvalidHandle);
    EXPECT_EQ(CloseRegistryKey(nullptr), kRegistryInvalidHandle);
    EXPECT_EQ(CloseRegistryKey(key), 0);
}

TEST_F(RegistryKeys, ChangesShowOnTheNextOpen) {
    RegistryKey key = nullptr;
    EXPECT_EQ(OpenRegistryKey(CurrentUserKey(), L"A", &key), kRegistryNotFound);
    ASSERT_EQ(OpenRegistryKey(CurrentUserKey(), L"", &key), 0);  // the root always exists
    CloseRegistryKey(key);
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
