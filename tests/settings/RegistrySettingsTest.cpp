// The user's reserve, scale and full-name settings as the decoder reads them
// from the registry file.
#include <gtest/gtest.h>

#include <cstdlib>

#include "settings/RegistrySettings.h"
#include "support/RecordFixture.h"

namespace {

// Points the registry stand-in at a file with `body` under the settings key.
class RegistryFile {
public:
    explicit RegistryFile(const std::string& body, const std::string& key =
                                                       "HKEY_CURRENT_USER\\Software\\Pelvar\\Tracedesk\\Scopora\\Settings") {
        const char* old = std::getenv("DR_MVQ4_REGISTRY");
        m_previous = old ? old : "";
        const std::string text = "Windows Registry Editor Version 5.00\r\n\r\n[" + key + "]\r\n" + body;
        setenv("DR_MVQ4_REGISTRY", m_folder.Write("settings.reg", text).c_str(), 1);
    }
    ~RegistryFile() { setenv("DR_MVQ4_REGISTRY", m_previous.c_str(), 1); }

private:
    fixture::TempDir m_folder;
    std::string m_previous;
};

TEST(RegistrySettings, DefaultsWithoutKey) {
    RegistryFile file("\"reserve\"=\"YES\"\r\n", "HKEY_CURRENT_USER\\Software\\Elsewhere");
    EXPECT_FALSE(settings::IsReserveShown());
    EXPECT_TRUE(settings::IsScaleEnabled());
    EXPECT_FALSE(settings::IsFullNameShown());
    EXPECT_EQ(settings::ShortenChannelName("Prot/Group/IL1"), "IL1");
    EXPECT_EQ(settings::ShortenChannelName("IL1"), "IL1");
    EXPECT_EQ(settings::ShortenChannelName("Prot/"), "");
}

TEST(RegistrySettings, FirstOrFallbackValueMatches) {
    RegistryFile file("\"reserve\"=\"no\"\r\n\"RESERVE_TMP\"=\"YES\"\r\n\"SCALE_TMP\"=\"NO\"\r\n\"fullname\"=\"YES\"\r\n");
    EXPECT_TRUE(settings::IsReserveShown());
    EXPECT_FALSE(settings::IsScaleEnabled());
    EXPECT_TRUE(settings::IsFullNameShown());
    EXPECT_EQ(settings::ShortenChannelName("Prot/Group/IL1"), "Prot/Group/IL1");
}

TEST(RegistrySettings, ComparisonIsExact) {
    // Lower case does not match; a number's bytes are not the text.
    RegistryFile file("\"reserve\"=\"yes\"\r\n\"scale\"=dword:00004f4e\r\n\"fullname\"=\"YES \"\r\n");
    EXPECT_FALSE(settings::IsReserveShown());
    EXPECT_TRUE(settings::IsScaleEnabled());
    EXPECT_FALSE(settings::IsFullNameShown());
}

TEST(RegistrySettings, OverlongValueCountsAsAbsent) {
    RegistryFile file("\"reserve\"=\"" + std::string(120, 'Y') + "\"\r\n\"RESERVE_TMP\"=\"YES\"\r\n");
    EXPECT_TRUE(settings::IsReserveShown());
}

}  // namespace
