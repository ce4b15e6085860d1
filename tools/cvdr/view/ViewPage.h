// The page of `cvdr view`: one HTML file that holds the chart library, the
// page's script and style, and the record, and loads nothing else.
//
// The record sits in <script type="application/json" id="record"> as the
// cvdr-dump/1 document `cvdr dump --json` writes for it, with "</" written
// "<\/" and "<!" written "<\u0021" (the same JSON value) so that the text
// cannot end the element or change how the browser reads it. A record longer
// than kEnvelopeThreshold samples also gets an overview, placed before the
// page's script and the record: <script type="application/json"
// id="envelope"> holding {"record": the dump without samples (--no-samples),
// "bucket": B, "analog": [{"low": [...], "high": [...]}, ...]} with the lowest
// and highest valid value of each run of B samples per analog channel. The
// page draws the whole record from that while the browser still reads the
// record element, and uses every sample where it is zoomed in.
#ifndef CVDR_VIEW_VIEW_PAGE_H
#define CVDR_VIEW_VIEW_PAGE_H

#include <cstdint>
#include <optional>
#include <ostream>
#include <streambuf>
#include <string_view>
#include <vector>

#include "host/Record.h"

namespace cvdr::view {

inline constexpr uint32_t kEnvelopeThreshold = 20000;
inline constexpr uint32_t kEnvelopeBuckets = 2000;

// Writes the page of `record` to `out`.
void WritePage(const host::Record& record, std::ostream& out);

// The lowest and highest valid, finite value of each run of `bucket` samples;
// none for a run without one.
struct Envelope {
    uint32_t bucket = 1;
    std::vector<std::optional<double>> low;
    std::vector<std::optional<double>> high;
};

Envelope EnvelopeOf(const host::AnalogChannel& channel, uint32_t bucket);

// Passes text on to `target` with "</" as "<\/" and "<!" as "<\u0021":
// for JSON inside a script element. Flush() (or destroy the buffer) before
// using `target` again.
class ScriptTextBuffer : public std::streambuf {
public:
    explicit ScriptTextBuffer(std::ostream& target) : m_target(target) {}
    ~ScriptTextBuffer() override { Flush(); }
    void Flush();

protected:
    int_type overflow(int_type ch) override;
    std::streamsize xsputn(const char* text, std::streamsize count) override;

private:
    void Put(std::string_view text);

    std::ostream& m_target;
    bool m_heldAngle = false;  // a '<' waits for the character after it
};

}  // namespace cvdr::view

#endif
