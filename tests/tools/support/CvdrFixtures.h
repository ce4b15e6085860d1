// A small record and helpers shared by the tests of cvdr's commands: cvdr
// with either plug-in, and a record read through the host library.
#ifndef DR_MVQ4_TESTS_TOOLS_SUPPORT_CVDR_FIXTURES_H
#define DR_MVQ4_TESTS_TOOLS_SUPPORT_CVDR_FIXTURES_H

#include <string>
#include <vector>

#include "host/Record.h"
#include "support/RecordFixture.h"
#include "tools/support/CvdrProcess.h"

namespace cvdrtest {

// Eight samples (numbers 1000 to 1007), trigger at 1002, zone +1 h:
//   IL1 [A]  scaled 0.1, invalid at samples 3 and 4
//   VN       -5 0 5 10 -10 3 1 2
//   K        constant 7
//   BI1      one-bit digital, high from sample 3
//   LS1      four-bit logical: 2, then 3 from sample 1, unknown from 4, 6 from 6
fixture::RecordBuilder SmallRecord();

// The record as the real plug-in reports it, read in this process.
host::Record Load(const std::string& path);

// Runs cvdr with the real plug-in (or the stub when `stub`).
cvdrtest::Result Cvdr(std::vector<std::string> arguments, bool stub = false);

}  // namespace cvdrtest

#endif
