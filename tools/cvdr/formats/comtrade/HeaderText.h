// The header (.hdr) text: what a reader of the COMTRADE files needs to know
// beyond the configuration, as plain lines for people: where the record came
// from, how missing and invalid samples are written, the runs of invalid
// samples of the status channels, the state texts behind coded logical
// channels, and every text that had to change to fit a field.
#ifndef CVDR_FORMATS_COMTRADE_HEADER_TEXT_H
#define CVDR_FORMATS_COMTRADE_HEADER_TEXT_H

#include <string>

#include "formats/comtrade/ChannelPlan.h"
#include "formats/comtrade/ComtradeFormat.h"
#include "formats/comtrade/ConfigFile.h"
#include "host/Record.h"

namespace cvdr::comtrade {

struct HeaderFacts {
    std::string sourceName;  // file name of the record
    bool triggerTimeKnown = true;
    bool timeZoneKnown = true;
};

// CR LF line ends, UTF-8.
std::string HeaderText(const host::Record& record, const ChannelPlan& plan, const ConfigFields& fields,
                       const ExportFormat& format, const HeaderFacts& facts);

}  // namespace cvdr::comtrade

#endif
