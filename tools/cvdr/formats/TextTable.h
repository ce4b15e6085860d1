// Plain-text table with columns padded to their widest cell, counted in code
// points so that UTF-8 channel names line up. Cells are printed with control
// characters escaped (PrintableText), as they may come from a record.
#ifndef CVDR_FORMATS_TEXT_TABLE_H
#define CVDR_FORMATS_TEXT_TABLE_H

#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace cvdr {

class TextTable {
public:
    using Row = std::vector<std::string>;

    explicit TextTable(Row header) { m_rows.push_back(std::move(header)); }

    void AddRow(Row row) { m_rows.push_back(std::move(row)); }
    // The header row first, then the rows as added.
    const std::vector<Row>& Rows() const { return m_rows; }

    // Header first, then the rows in insertion order; two blanks between
    // columns, no blanks at the end of a line.
    void Print(std::ostream& out) const;

private:
    std::vector<Row> m_rows;
};

}  // namespace cvdr

#endif
