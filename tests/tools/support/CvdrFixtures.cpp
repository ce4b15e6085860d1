#include "tools/support/CvdrFixtures.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>

#include "host/RecordReader.h"

namespace cvdrtest {

fixture::RecordBuilder SmallRecord() {
    fixture::Analog current;
    current.id = "101";
    current.key = "IL1";
    current.unit = "A";
    current.scales = {fixture::Scale{"0.1", "0", ""}};
    current.blocks = {{"1000", "10 20 -35"}, {"1005", "50 3 7"}};
    fixture::RecordBuilder builder;
    builder.AddAnalog(current).AddAnalog("102", "VN", {-5, 0, 5, 10, -10, 3, 1, 2}, 1000);
    builder.AddAnalog("103", "K", {7, 7, 7, 7, 7, 7, 7, 7}, 1000).NumberOfSamples("8");
    builder.Trigger("1700000000000000", "250000", "1002").TimeZone("3600", "0");
    builder.AddDigital("10", "BI1").AddStateImage("10", "0");
    builder.AddDigital("30", "LS1", "4").AddStateImage("30", "2");
    builder.AddEventSet("1001", {{"30", "3", "2"}});
    builder.AddEventSet("1003", {{"10", "1", "0"}});
    builder.AddEventSet("1004", {{"30", "-1", "3"}});
    builder.AddEventSet("1006", {{"30", "6", "-1"}});
    return builder;
}

host::Record Load(const std::string& path) {
    std::string error;
    const std::shared_ptr<host::Plugin> plugin = host::Plugin::Load(kPlugin, error);
    EXPECT_TRUE(plugin) << error;
    std::optional<host::Record> record = plugin ? host::LoadRecord(*plugin, {path, "ENG", ""}) : std::nullopt;
    EXPECT_TRUE(record) << path;
    return record.value_or(host::Record());
}

Result Cvdr(std::vector<std::string> arguments, bool stub) {
    arguments.insert(arguments.begin(), {"--plugin", stub ? kStubPlugin : kPlugin});
    return RunCvdr(arguments);
}

}  // namespace cvdrtest
