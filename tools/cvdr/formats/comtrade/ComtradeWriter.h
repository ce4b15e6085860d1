// Writes one record as COMTRADE files: STEM.cfg, STEM.hdr and STEM.dat, or
// for a combined file one STEM.cff holding the same texts and data in its
// CFG, INF (empty), HDR and DAT sections.
#ifndef CVDR_FORMATS_COMTRADE_COMTRADE_WRITER_H
#define CVDR_FORMATS_COMTRADE_COMTRADE_WRITER_H

#include <string>
#include <vector>

#include "formats/comtrade/ComtradeFormat.h"
#include "host/AnalogSampleReader.h"
#include "host/Record.h"

namespace cvdr::comtrade {

struct ComtradeTarget {
    std::string folder;      // exists
    std::string stem;        // file name without extension
    std::string sourceName;  // the record's file name, for the header text
};

// Returns the paths written. Throws std::runtime_error when a file cannot be
// written; what was written for the record until then is removed.
std::vector<std::string> WriteComtrade(const host::Record& record, const host::AnalogSampleReader& samples,
                                       const ExportFormat& format, const ComtradeTarget& target);

}  // namespace cvdr::comtrade

#endif
