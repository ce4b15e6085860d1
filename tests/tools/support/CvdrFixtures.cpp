#include "tools/support/CvdrFixtures.h"

#include <gtest/gtest.h>

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

cvdrtest::Result Cvdr(std::vector<std::string> arguments, bool stub) {
    arguments.insert(arguments.begin(), {"--plugin", stub ? cvdrtest::kStubPlugin : cvdrtest::kPlugin});
    return cvdrtest::RunCvdr(arguments);
}

nlohmann::json Dump(const std::string& path) {
    const cvdrtest::Result result = Cvdr({"dump", path, "--json"});
    EXPECT_EQ(result.status, 0) << result.err;
    return nlohmann::json::parse(result.out);
}

std::vector<std::optional<double>> AnalogValues(const nlohmann::json& channel) {
    std::vector<std::optional<double>> values;
    const std::string validity = channel["validity"];
    for (size_t i = 0; i < validity.size(); ++i) {
        const nlohmann::json& value = channel["values"][i];
        if (validity[i] != '1') {
            values.push_back(std::nullopt);
        } else if (value.is_string()) {  // "nan", "inf", "-inf"
            values.push_back(std::stod(value.get<std::string>()));
        } else {
            values.push_back(value.get<double>());
        }
    }
    return values;
}

template <typename State>
std::vector<State> States(const nlohmann::json& channel, size_t sampleCount, State none) {
    std::vector<State> states(sampleCount, none);
    for (const auto& transition : channel["transitions"]) {
        const size_t first = transition[1];
        for (size_t i = first; i < sampleCount; ++i) states[i] = transition[0].get<State>();
    }
    return states;
}

std::vector<int> DigitalStates(const nlohmann::json& channel, size_t sampleCount) {
    return States<int>(channel, sampleCount, 0);
}

std::vector<std::string> LogicalTexts(const nlohmann::json& channel, size_t sampleCount) {
    return States<std::string>(channel, sampleCount, "");
}

}  // namespace cvdrtest
