#include "view/ViewPage.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <stdexcept>
#include <string>

#include "formats/NumberText.h"
#include "formats/json/DumpWriter.h"
#include "view/PageAssets.h"

namespace cvdr::view {
namespace {

std::string HtmlText(std::string_view text) {
    std::string escaped;
    for (char ch : text) {
        switch (ch) {
            case '&': escaped += "&amp;"; break;
            case '<': escaped += "&lt;"; break;
            case '>': escaped += "&gt;"; break;
            case '"': escaped += "&quot;"; break;
            default: escaped += ch;
        }
    }
    return escaped;
}

void AppendOptional(std::string& out, const std::optional<double>& value) {
    if (value) {
        AppendNumber(out, *value);
    } else {
        out += "null";
    }
}

void WriteOverview(const host::Record& record, std::ostream& out) {
    const uint32_t bucket = (record.sampleCount + kEnvelopeBuckets - 1) / kEnvelopeBuckets;
    out << "{\"record\":";
    {
        ScriptTextBuffer filter(out);
        std::ostream json(&filter);
        WriteDump(record, DumpOptions{false}, json);
    }
    out << ",\"bucket\":" << bucket << ",\"analog\":[";
    std::string text;
    for (size_t i = 0; i < record.analog.size(); ++i) {
        const Envelope envelope = EnvelopeOf(record.analog[i], bucket);
        text = i == 0 ? "{\"low\":[" : ",{\"low\":[";
        for (size_t k = 0; k < envelope.low.size(); ++k) {
            if (k > 0) text += ',';
            AppendOptional(text, envelope.low[k]);
        }
        text += "],\"high\":[";
        for (size_t k = 0; k < envelope.high.size(); ++k) {
            if (k > 0) text += ',';
            AppendOptional(text, envelope.high[k]);
        }
        text += "]}";
        out << text;
    }
    out << "]}";
}

void WriteRecord(const host::Record& record, std::ostream& out) {
    ScriptTextBuffer filter(out);
    std::ostream json(&filter);
    WriteDump(record, DumpOptions{true}, json);
}

void WritePart(std::string_view marker, const host::Record& record, std::ostream& out) {
    if (marker == "TITLE") {
        out << HtmlText(record.description.empty() ? record.fileName : record.description);
    } else if (marker == "CHART_STYLE") {
        out << ChartStyle();
    } else if (marker == "PAGE_STYLE") {
        out << PageStyle();
    } else if (marker == "CHART_LIBRARY") {
        out << ChartLibrary();
    } else if (marker == "PAGE_SCRIPT") {
        out << PageScript();
    } else if (marker == "RECORD") {
        WriteRecord(record, out);
    } else if (marker == "ENVELOPE") {
        if (record.sampleCount > kEnvelopeThreshold) {
            WriteOverview(record, out);
        } else {
            out << "null";
        }
    } else {
        throw std::logic_error("page template: unknown part " + std::string(marker));
    }
}

}  // namespace

std::string_view WithoutSourceMap(std::string_view text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == '\0')) {
        text.remove_suffix(1);
    }
    const size_t lineStart = text.rfind('\n') == std::string_view::npos ? 0 : text.rfind('\n') + 1;
    const std::string_view last = text.substr(lineStart);
    if (last.find("# sourceMappingURL=") != std::string_view::npos) text = text.substr(0, lineStart);
    return text;
}

void WritePage(const host::Record& record, std::ostream& out) {
    // The template's parts are named between "@@" pairs.
    std::string_view page = PageTemplate();
    for (size_t open = page.find("@@"); open != std::string_view::npos; open = page.find("@@")) {
        const size_t close = page.find("@@", open + 2);
        if (close == std::string_view::npos) break;
        out << page.substr(0, open);
        WritePart(page.substr(open + 2, close - open - 2), record, out);
        page.remove_prefix(close + 2);
    }
    out << page;
}

Envelope EnvelopeOf(const host::AnalogChannel& channel, uint32_t bucket) {
    Envelope envelope;
    envelope.bucket = std::max<uint32_t>(bucket, 1);
    const size_t count = std::min(channel.values.size(), channel.valid.size());
    for (size_t first = 0; first < count; first += envelope.bucket) {
        std::optional<double> low;
        std::optional<double> high;
        const size_t end = std::min<size_t>(count, first + envelope.bucket);
        for (size_t i = first; i < end; ++i) {
            const double value = channel.values[i];
            if (channel.valid[i] == 0 || !std::isfinite(value)) continue;
            if (!low || value < *low) low = value;
            if (!high || value > *high) high = value;
        }
        envelope.low.push_back(low);
        envelope.high.push_back(high);
    }
    return envelope;
}

void ScriptTextBuffer::Put(std::string_view text) {
    m_target.write(text.data(), static_cast<std::streamsize>(text.size()));
}

void ScriptTextBuffer::Flush() {
    if (m_heldAngle) Put("<");
    m_heldAngle = false;
}

ScriptTextBuffer::int_type ScriptTextBuffer::overflow(int_type ch) {
    if (traits_type::eq_int_type(ch, traits_type::eof())) return traits_type::not_eof(ch);
    const char text = traits_type::to_char_type(ch);
    xsputn(&text, 1);
    return ch;
}

std::streamsize ScriptTextBuffer::xsputn(const char* text, std::streamsize count) {
    std::string_view rest(text, static_cast<size_t>(count));
    while (!rest.empty()) {
        if (m_heldAngle) {
            m_heldAngle = false;
            if (rest.front() == '/') {
                Put("<\\/");
                rest.remove_prefix(1);
                continue;
            }
            if (rest.front() == '!') {
                Put("<\\u0021");
                rest.remove_prefix(1);
                continue;
            }
            Put("<");
        }
        const size_t angle = rest.find('<');
        if (angle == std::string_view::npos) {
            Put(rest);
            break;
        }
        Put(rest.substr(0, angle));
        m_heldAngle = true;
        rest.remove_prefix(angle + 1);
    }
    return m_target ? count : 0;
}

}  // namespace cvdr::view
