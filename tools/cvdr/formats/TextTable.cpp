#include "formats/TextTable.h"

#include <algorithm>

#include "formats/Utf8Text.h"

namespace cvdr {

namespace {

std::vector<size_t> ColumnWidths(const std::vector<TextTable::Row>& rows) {
    std::vector<size_t> widths;
    for (const TextTable::Row& row : rows) {
        if (widths.size() < row.size()) widths.resize(row.size(), 0);
        for (size_t column = 0; column < row.size(); ++column) {
            widths[column] = std::max(widths[column], CodePointCount(row[column]));
        }
    }
    return widths;
}

}  // namespace

void TextTable::Print(std::ostream& out) const {
    std::vector<Row> shown = m_rows;
    for (Row& row : shown) {
        for (std::string& cell : row) cell = PrintableText(cell);
    }
    const std::vector<size_t> widths = ColumnWidths(shown);
    for (const Row& row : shown) {
        std::string line;
        for (size_t column = 0; column < row.size(); ++column) {
            if (column > 0) line.append(2, ' ');
            line += row[column];
            if (column + 1 < row.size()) line.append(widths[column] - CodePointCount(row[column]), ' ');
        }
        line.erase(line.find_last_not_of(' ') + 1);
        out << line << '\n';
    }
}

}  // namespace cvdr
