// The option string in command-line syntax and the four load options; the
// user's reserve, scale and full-name settings as the decoder reads them from
// the registry file.
#include <gtest/gtest.h>

#include "platform/Registry.h"
#include "settings/CCmdLineParser.h"
#include "settings/LoadOptions.h"
#include "settings/RegistrySettings.h"
#include "support/RegistryFixture.h"
#include "support/RecordFixture.h"

namespace {

// The values of `keys` in `commandLine` as "key=value" items; "key?" when
// absent. (The module parses without regard to case only.)
std::wstring Values(const wchar_t* commandLine, std::initializer_list<const wchar_t*> keys) {
    const CCmdLineParser parser(commandLine);
    std::wstring text;
    for (const wchar_t* key : keys) {
        const std::wstring* value = parser.GetValue(key);
        text += (text.empty() ? L"" : L" ") + std::wstring(key) + (value ? L"=" + *value : L"?");
    }
    return text;
}

// The first occurrence of a key wins; a switch inside an unquoted value
// starts no key.
TEST(CmdLineParser, KeysValuesAndEdgesOfTheSyntax) {
    EXPECT_EQ(Values(L"-a -b: /c:1 -d:\"two words\" -e:open\"quote -Key:1 -key:2",
                     {L"a", L"b", L"C", L"d", L"e", L"key", L"z"}),
              L"a= b= C=1 d=two words e=open\"quote key=1 z?");
    EXPECT_EQ(Values(L"-x:\"unterminated value -last:tail", {L"x", L"last"}),
              L"x=unterminated value -last:tail last?");
    EXPECT_EQ(Values(L"-last:tail", {L"last"}), L"last=tail");
    EXPECT_EQ(Values(L"plain text : without switches", {L"plain"}), L"plain?");
    EXPECT_EQ(Values(L"-:value -", {L""}), L"?");
    EXPECT_EQ(Values(L"-a:x-b:y", {L"a", L"b"}), L"a=x-b:y b?");
}

TEST(LoadOptions, TheFourOptions) {
    const settings::LoadOptions options = settings::ParseLoadOptions(
        L"-DeviceModelFolder:\"C:\\Models With Space\\\" /displayansidevicenumbers:1 -COMPANYNAME:Acme "
        L"-productFamily:P4");
    EXPECT_EQ(options.deviceModelFolder, L"C:\\Models With Space\\");
    EXPECT_TRUE(options.displayAnsiDeviceNumbers);
    EXPECT_EQ(options.companyName, L"Acme");
    EXPECT_EQ(options.productFamily, L"P4");
    for (const wchar_t* text : {L"-DisplayAnsiDeviceNumbers:true", L"-DisplayAnsiDeviceNumbers:01",
                                L"-DisplayAnsiDeviceNumbers", L"", L"-other:1"}) {
        EXPECT_FALSE(settings::ParseLoadOptions(text).displayAnsiDeviceNumbers) << text;
    }
    EXPECT_FALSE(settings::ParseLoadOptions(nullptr).displayAnsiDeviceNumbers);
}

// The three settings read with `body` under `key`, as "reserve scale fullname"
// flags, e.g. "010", then "Prot/Group/IL1", "IL1" and "Prot/" as names show them.
std::string Settings(
    const std::string& body,
    const std::string& key = "HKEY_CURRENT_USER\\Software\\Pelvar\\Tracedesk\\Scopora\\Settings") {
    fixture::ScopedRegistry registry;
    registry.Write("Windows Registry Editor Version 5.00\r\n\r\n[" + key + "]\r\n" + body);
    return std::string() + (settings::IsReserveShown() ? '1' : '0') +
           (settings::IsScaleEnabled() ? '1' : '0') + (settings::IsFullNameShown() ? '1' : '0') + " " +
           settings::ShortenChannelName("Prot/Group/IL1") + "|" + settings::ShortenChannelName("IL1") + "|" +
           settings::ShortenChannelName("Prot/");
}

TEST(RegistrySettings, FirstOrFallbackValueMatchesExactly) {
    EXPECT_EQ(Settings("\"reserve\"=\"YES\"\r\n", "HKEY_CURRENT_USER\\Software\\Elsewhere"), "010 IL1|IL1|");
    EXPECT_EQ(Settings("\"reserve\"=\"no\"\r\n\"RESERVE_TMP\"=\"YES\"\r\n\"SCALE_TMP\"="
                       "\"NO\"\r\n\"fullname\"=\"YES\"\r\n"),
              "101 Prot/Group/IL1|IL1|Prot/");
    // Lower case does not match; a number's bytes are not the text.
    EXPECT_EQ(Settings("\"reserve\"=\"yes\"\r\n\"scale\"=dword:00004f4e\r\n\"fullname\"=\"YES \"\r\n"),
              "010 IL1|IL1|");
    // A value too long for the buffer counts as absent.
    EXPECT_EQ(Settings("\"reserve\"=\"" + std::string(120, 'Y') + "\"\r\n\"RESERVE_TMP\"=\"YES\"\r\n"),
              "110 IL1|IL1|");
}

#ifndef _WIN32
// Within a snapshot scope (a load holds one) the file is read at most once:
// a change made meanwhile is seen only after the scope.
TEST(RegistrySettings, ReadOncePerSnapshotScope) {
    const std::string header = "Windows Registry Editor Version 5.00\r\n\r\n";
    const std::string section = "[HKEY_CURRENT_USER\\Software\\Pelvar\\Tracedesk\\Scopora\\Settings]\r\n";
    fixture::ScopedRegistry registry;
    registry.Write(header + section + "\"reserve\"=\"YES\"\r\n");
    {
        const platform::RegistrySnapshotScope outer;
        {
            const platform::RegistrySnapshotScope inner;  // scopes nest: the outermost ends the snapshot
            EXPECT_TRUE(settings::IsReserveShown());
        }
        registry.Write(header + section + "\"fullname\"=\"YES\"\r\n");
        EXPECT_TRUE(settings::IsReserveShown());
        EXPECT_FALSE(settings::IsFullNameShown());
    }
    EXPECT_FALSE(settings::IsReserveShown());
    EXPECT_TRUE(settings::IsFullNameShown());
}
#endif

}  // namespace
