// Records and helpers shared by the tests of cvdr's export, plot and batch
// commands.
#ifndef DR_MVQ4_TESTS_TOOLS_EXPORT_FIXTURES_H
#define DR_MVQ4_TESTS_TOOLS_EXPORT_FIXTURES_H

#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "CvdrProcess.h"
#include "support/RecordFixture.h"

namespace exporttest {

// Eight samples (numbers 1000 to 1007), trigger at 1002, zone +1 h:
//   IL1 [A]  scaled 0.1, invalid at samples 3 and 4
//   VN       -5 0 5 10 -10 3 1 2
//   K        constant 7
//   BI1      one-bit digital, high from sample 3
//   LS1      four-bit logical: 2, then 3 from sample 1, unknown from 4, 6 from 6
fixture::RecordBuilder SmallRecord();

// The record as `cvdr dump --json` reports it; the reference for the exports.
nlohmann::json Dump(const std::string& path);

// Runs cvdr with the real plug-in (or the stub when `stub`).
cvdrtest::Result Cvdr(std::vector<std::string> arguments, bool stub = false);

// Sample values of a dumped channel: the analog value, a digital channel's
// state (0 invalid, 1 low, 2 high) or a logical channel's text.
std::vector<std::optional<double>> AnalogValues(const nlohmann::json& channel);
std::vector<int> DigitalStates(const nlohmann::json& channel, size_t sampleCount);
std::vector<std::string> LogicalTexts(const nlohmann::json& channel, size_t sampleCount);

}  // namespace exporttest

#endif
