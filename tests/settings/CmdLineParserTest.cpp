// The option string in command-line syntax and the four load options.
#include <gtest/gtest.h>

#include "settings/CCmdLineParser.h"
#include "settings/LoadOptions.h"

namespace {

std::wstring Value(const CCmdLineParser& parser, const wchar_t* key) {
    const std::wstring* value = parser.GetValue(key);
    return value == nullptr ? L"<absent>" : *value;
}

TEST(CmdLineParser, KeysAndValues) {
    CCmdLineParser parser;
    EXPECT_TRUE(parser.Parse(L"-a -b: /c:1 -d:\"two words\" -e:open\"quote -Key:1 -key:2"));
    EXPECT_EQ(Value(parser, L"a"), L"");
    EXPECT_EQ(Value(parser, L"b"), L"");
    EXPECT_EQ(Value(parser, L"C"), L"1");
    EXPECT_EQ(Value(parser, L"d"), L"two words");
    EXPECT_EQ(Value(parser, L"e"), L"open\"quote");
    EXPECT_EQ(Value(parser, L"key"), L"1");  // the first occurrence wins
    EXPECT_FALSE(parser.HasKey(L"z"));
    EXPECT_EQ(parser.GetValue(L"z"), nullptr);
}

TEST(CmdLineParser, EdgesOfTheSyntax) {
    CCmdLineParser parser;
    parser.Parse(L"-x:\"unterminated value");
    EXPECT_EQ(Value(parser, L"x"), L"unterminated value");
    parser.Parse(L"-last:tail");
    EXPECT_EQ(Value(parser, L"last"), L"tail");
    parser.Parse(L"plain text : without switches");
    EXPECT_FALSE(parser.HasKey(L"plain"));
    parser.Parse(L"-:value -");
    EXPECT_FALSE(parser.HasKey(L""));
    parser.Parse(L"-a:x-b:y");  // a switch inside an unquoted value starts a key
    EXPECT_EQ(Value(parser, L"a"), L"x-b:y");
    EXPECT_FALSE(parser.Parse(nullptr));
    EXPECT_FALSE(parser.HasKey(L"a"));
    CCmdLineParser sensitive(L"-Key:1", true);
    EXPECT_FALSE(sensitive.HasKey(L"key"));
    EXPECT_TRUE(sensitive.HasKey(L"Key"));
}

TEST(LoadOptions, TheFourOptions) {
    const settings::LoadOptions options = settings::ParseLoadOptions(
        L"-DeviceModelFolder:\"C:\\Models With Space\\\" /displayansidevicenumbers:1 -COMPANYNAME:Acme -productFamily:P4");
    EXPECT_EQ(options.deviceModelFolder, L"C:\\Models With Space\\");
    EXPECT_TRUE(options.displayAnsiDeviceNumbers);
    EXPECT_EQ(options.companyName, L"Acme");
    EXPECT_EQ(options.productFamily, L"P4");
    for (const wchar_t* text : {L"-DisplayAnsiDeviceNumbers:true", L"-DisplayAnsiDeviceNumbers:01",
                                L"-DisplayAnsiDeviceNumbers", L"", L"-other:1"}) {
        const settings::LoadOptions off = settings::ParseLoadOptions(text);
        EXPECT_FALSE(off.displayAnsiDeviceNumbers) << text;
        EXPECT_TRUE(off.deviceModelFolder.empty());
    }
    EXPECT_FALSE(settings::ParseLoadOptions(nullptr).displayAnsiDeviceNumbers);
}

}  // namespace
