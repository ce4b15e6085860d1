// The data (.dat) file of a record: one data record per sample
// (DataRecordEncoder.h), the values read block by block as it is written.
#ifndef CVDR_FORMATS_COMTRADE_DATA_FILE_H
#define CVDR_FORMATS_COMTRADE_DATA_FILE_H

#include "formats/OutputFile.h"
#include "formats/comtrade/ChannelPlan.h"
#include "formats/comtrade/DataRecordEncoder.h"
#include "host/AnalogSampleReader.h"
#include "host/Record.h"

namespace cvdr::comtrade {

// Writes the data records of every sample to `out`, 64 KiB at a time.
void WriteDataRecords(const host::Record& record, const host::AnalogSampleReader& samples,
                      const ChannelPlan& plan, const DataRecordEncoder& encoder, OutputFile& out);

}  // namespace cvdr::comtrade

#endif
