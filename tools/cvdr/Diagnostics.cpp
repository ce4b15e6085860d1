#include "Diagnostics.h"

#include <iostream>

namespace cvdr {

void ReportError(const std::string& message) { std::cerr << "cvdr: " << message << std::endl; }

}  // namespace cvdr
