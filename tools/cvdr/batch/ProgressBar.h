// A one-line progress bar on standard error for commands that work through
// many records: "[#######.............]  7/20  name". It is drawn only when
// standard error is a terminal; elsewhere every call does nothing.
#ifndef CVDR_BATCH_PROGRESS_BAR_H
#define CVDR_BATCH_PROGRESS_BAR_H

#include <cstddef>
#include <string>
#include <string_view>

namespace cvdr {

class ProgressBar {
public:
    explicit ProgressBar(size_t total);
    ~ProgressBar() { Clear(); }
    ProgressBar(const ProgressBar&) = delete;
    ProgressBar& operator=(const ProgressBar&) = delete;

    // Shows that `done` of the records are finished and `label` is next.
    void Show(size_t done, std::string_view label);
    // Erases the bar, so that a message can take the line; the next Show
    // draws it again.
    void Clear();

    // The bar's line for a terminal `width` columns wide, without the
    // carriage return; made public for the tests.
    static std::string Line(size_t done, size_t total, std::string_view label, size_t width);

private:
    size_t m_total;
    bool m_enabled;
    bool m_shown = false;
};

}  // namespace cvdr

#endif
