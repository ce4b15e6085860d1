// Device containers: verification with its own rules and messages, and the
// model and language texts they hand out.
#include <gtest/gtest.h>

#include "container/DeviceContainer.h"
#include "platform/MessageBox.h"
#include "support/DeviceContainerFixture.h"

namespace {

using fixture::DeviceContainerBuilder;

// Opens a container written from `builder`, capturing the messages shown.
struct Opened {
    fixture::TempDir folder;
    container::DeviceContainer device;
    std::vector<std::string> messages;
    bool open = false;
    explicit Opened(const DeviceContainerBuilder& builder) {
        const std::string path = builder.Write(folder, "dev_V1.0.DeCon");
        platform::MessageSink previous =
            platform::SetMessageSink([this](const std::string& text) { messages.push_back(text); });
        open = device.Open(fixture::Wide(path));
        platform::SetMessageSink(previous);
    }
};

TEST(DeviceContainer, VerifiesAndHandsOutTexts) {
    DeviceContainerBuilder builder("<Model a=\"1\"/>");
    builder.Language("ENG", "<E/>").Language("deu", "<D/>").Language("DEU", "<D2/>").VersionSyntax("2");
    builder.Entry("readme.txt", "not covered");
    Opened opened(builder);
    ASSERT_TRUE(opened.open);
    EXPECT_TRUE(opened.messages.empty());
    std::string text = "unchanged";
    opened.device.ReadDeviceModel(text);
    EXPECT_EQ(text, "<Model a=\"1\"/>");
    EXPECT_TRUE(opened.device.ReadLanguageTexts(L"eng", text));
    EXPECT_EQ(text, "<E/>");
    EXPECT_TRUE(opened.device.ReadLanguageTexts(L"DEU", text));
    EXPECT_EQ(text, "<D/>");  // the earlier of two entries of one code
    text = "unchanged";
    EXPECT_FALSE(opened.device.ReadLanguageTexts(L"FRA", text));
    EXPECT_EQ(text, "unchanged");
}

TEST(DeviceContainer, FailuresAreShownOnce) {
    const struct {
        DeviceContainerBuilder builder;
        const char* details;
    } cases[] = {
        {DeviceContainerBuilder().Checksum(std::string(32, 'a')), "Invalid container data checksum!"},
        {DeviceContainerBuilder().WithoutMetaData(), "Can not find meta data!"},
        {DeviceContainerBuilder().VersionSyntax("3"), "Syntax format '3' not supported."},
        {DeviceContainerBuilder().VersionSyntax(""), "Unknown"},
    };
    for (const auto& test : cases) {
        Opened opened(test.builder);
        EXPECT_FALSE(opened.open);
        ASSERT_EQ(opened.messages.size(), 1u);
        EXPECT_EQ(opened.messages[0].rfind("Internal Error from DeviceContainer!\nFile: ", 0), 0u);
        EXPECT_NE(opened.messages[0].find("dev_V1.0.DeCon\nError Details: " + std::string(test.details)),
                  std::string::npos)
            << opened.messages[0];
    }
}

TEST(DeviceContainer, NoArchiveIsQuiet) {
    fixture::TempDir folder;
    container::DeviceContainer device;
    std::vector<std::string> messages;
    platform::MessageSink previous = platform::SetMessageSink([&](const std::string& t) { messages.push_back(t); });
    EXPECT_FALSE(device.Open(fixture::Wide(folder.Write("x.DeCon", "PK but no archive"))));
    platform::SetMessageSink(previous);
    EXPECT_TRUE(messages.empty());
}

TEST(DeviceContainer, OnlyExactNamesAreCovered) {
    // Names that differ in case, or other entries, are not checksummed: the
    // container still verifies with a checksum over the exact names only.
    DeviceContainerBuilder builder("<M/>");
    builder.Entry("devicemodel", "<Other/>").Entry("SLVPX", "x").Entry("DeviceModel_l_ENGX", "x");
    Opened opened(builder);
    ASSERT_TRUE(opened.open);
    std::string text;
    opened.device.ReadDeviceModel(text);
    EXPECT_EQ(text, "<M/>");
    EXPECT_FALSE(opened.device.ReadLanguageTexts(L"NGX", text));
}

}  // namespace
