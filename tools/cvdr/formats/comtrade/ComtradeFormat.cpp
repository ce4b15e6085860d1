#include "formats/comtrade/ComtradeFormat.h"

namespace cvdr::comtrade {

const char* RevisionYear(Revision revision) { return revision == Revision::k1999 ? "1999" : "2013"; }

const char* DataTypeName(DataType type) {
    switch (type) {
        case DataType::kAscii:
            return "ASCII";
        case DataType::kBinary:
            return "BINARY";
        case DataType::kBinary32:
            return "BINARY32";
        case DataType::kFloat32:
            return "FLOAT32";
    }
    return "";
}

std::optional<Revision> ParseRevision(const std::string& text) {
    if (text == "1999") return Revision::k1999;
    if (text == "2013") return Revision::k2013;
    return std::nullopt;
}

std::optional<DataType> ParseDataType(const std::string& text) {
    if (text == "ascii") return DataType::kAscii;
    if (text == "binary") return DataType::kBinary;
    if (text == "binary32") return DataType::kBinary32;
    if (text == "float32") return DataType::kFloat32;
    return std::nullopt;
}

std::string FormatProblem(const ExportFormat& format) {
    if (format.revision != Revision::k1999) return "";
    if (format.dataType == DataType::kBinary32 || format.dataType == DataType::kFloat32) {
        return std::string("--data ") + (format.dataType == DataType::kBinary32 ? "binary32" : "float32") +
               " needs --rev 2013";
    }
    if (format.combined) return "--cff needs --rev 2013";
    return "";
}

int64_t IntegerLimit(DataType type) {
    switch (type) {
        case DataType::kAscii:
            return 99998;
        case DataType::kBinary:
            return 32767;
        case DataType::kBinary32:
            return 2147483647;
        case DataType::kFloat32:
            return 0;
    }
    return 0;
}

size_t ValueBytes(DataType type) {
    switch (type) {
        case DataType::kAscii:
            return 0;
        case DataType::kBinary:
            return 2;
        case DataType::kBinary32:
        case DataType::kFloat32:
            return 4;
    }
    return 0;
}

}  // namespace cvdr::comtrade
