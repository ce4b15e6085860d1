// The COMTRADE flavours cvdr writes: revision year, data file type and
// whether the files are combined into one, with what follows from them.
#ifndef CVDR_FORMATS_COMTRADE_COMTRADE_FORMAT_H
#define CVDR_FORMATS_COMTRADE_COMTRADE_FORMAT_H

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace cvdr::comtrade {

enum class Revision { k1999, k2013 };
enum class DataType { kAscii, kBinary, kBinary32, kFloat32 };

struct ExportFormat {
    Revision revision = Revision::k2013;
    DataType dataType = DataType::kBinary;
    bool combined = false;        // one .cff instead of .cfg, .hdr and .dat (2013 only)
    double lineFrequency = 50.0;  // Hz
};

// "1999" or "2013".
const char* RevisionYear(Revision revision);
// The file type word of the configuration: "ASCII", "BINARY", "BINARY32", "FLOAT32".
const char* DataTypeName(DataType type);

std::optional<Revision> ParseRevision(const std::string& text);
// Accepts the lower-case option words "ascii", "binary", "binary32", "float32".
std::optional<DataType> ParseDataType(const std::string& text);

// Why the combination cannot be written, or empty when it can: the 32-bit
// data types and the combined file exist from the 2013 revision on.
std::string FormatProblem(const ExportFormat& format);

// Largest magnitude of an integer data value; the one below the negative end
// (or 99999 in ASCII) is the missing value. 0 for FLOAT32.
int64_t IntegerLimit(DataType type);

// Bytes of one analog value in a binary data file (0 for ASCII).
size_t ValueBytes(DataType type);

}  // namespace cvdr::comtrade

#endif
