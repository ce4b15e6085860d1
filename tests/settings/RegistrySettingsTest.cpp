// The user's reserve, scale and full-name settings as the decoder reads them
// from the registry.
#include <gtest/gtest.h>

#include "settings/RegistrySettings.h"
#include "support/RegistryFixture.h"

namespace {

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

}  // namespace
