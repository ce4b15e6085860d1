#include "formats/TextTable.h"

#include <algorithm>

#include "formats/Utf8Text.h"

namespace cvdr {

std::vector<size_t> TextTable::ColumnWidths() const {
    std::vector<size_t> widths;
    for (const Row& row : m_rows) {
        if (widths.size() < row.size()) widths.resize(row.size(), 0);
        for (size_t column = 0; column < row.size(); ++column) {
            widths[column] = std::max(widths[column], CodePointCount(row[column]));
        }
    }
    return widths;
}

void TextTable::Print(std::ostream& out) const {
    const std::vector<size_t> widths = ColumnWidths();
    for (const Row& row : m_rows) {
        std::string line;
        for (size_t column = 0; column < row.size(); ++column) {
            if (column > 0) line.append(2, ' ');
            line += row[column];
            line.append(widths[column] - CodePointCount(row[column]), ' ');
        }
        line.erase(line.find_last_not_of(' ') + 1);
        out << line << '\n';
    }
}

}  // namespace cvdr
