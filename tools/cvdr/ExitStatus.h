// Exit statuses of cvdr and its one-line error reports on standard error.
#ifndef CVDR_EXIT_STATUS_H
#define CVDR_EXIT_STATUS_H

#include <iostream>
#include <string>

namespace cvdr {

enum ExitStatus : int {
    kExitSuccess = 0,
    kExitFailure = 1,  // record not loaded, plug-in not loaded, output not written
    kExitUsage = 2,    // wrong command line
};

// Writes "cvdr: <message>" and a line feed to standard error.
inline void ReportError(const std::string& message) { std::cerr << "cvdr: " << message << std::endl; }

}  // namespace cvdr

#endif
