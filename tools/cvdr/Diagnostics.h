// Exit statuses of cvdr and its one-line error reports on standard error.
#ifndef CVDR_DIAGNOSTICS_H
#define CVDR_DIAGNOSTICS_H

#include <string>

namespace cvdr {

enum ExitStatus : int {
    kExitSuccess = 0,
    kExitFailure = 1,  // record not loaded, plug-in not loaded, output not written
    kExitUsage = 2,    // wrong command line
};

// Writes "cvdr: <message>" and a line feed to standard error.
void ReportError(const std::string& message);

// Null texts from the plug-in read as empty.
inline const char* Text(const char* text) { return text != nullptr ? text : ""; }

}  // namespace cvdr

#endif
