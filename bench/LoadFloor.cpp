#include "LoadFloor.h"

#include <pugixml.hpp>

#include <cstdlib>
#include <memory>

namespace bench {
namespace {

// Appends the blank-separated decimal integers of `values` at `out`.
int32_t* Convert(const char* values, int32_t* out, const int32_t* end) {
    const char* p = values;
    for (;;) {
        while (*p == ' ') ++p;
        if (*p == '\0' || out == end) return out;
        const bool negative = *p == '-';
        if (negative || *p == '+') ++p;
        int64_t value = 0;
        while (*p >= '0' && *p <= '9') value = value * 10 + (*p++ - '0');
        *out++ = static_cast<int32_t>(negative ? -value : value);
        while (*p != ' ' && *p != '\0') ++p;
    }
}

}  // namespace

int64_t ParseAndConvert(char* text, size_t size, int64_t& checksum) {
    pugi::xml_document document;
    if (!document.load_buffer_inplace(text, size, pugi::parse_default, pugi::encoding_utf8)) return -1;
    const pugi::xml_node traces = document.document_element().child("DistData").child("Traces");
    size_t count = 0;
    for (pugi::xml_node trace : traces.children("Trace")) {
        count += static_cast<size_t>(std::strtoull(trace.child("TGeneral").attribute("numberOfSample").value(),
                                                   nullptr, 10));
    }
    const std::unique_ptr<int32_t[]> samples(new int32_t[count]);
    int32_t* out = samples.get();
    for (pugi::xml_node trace : traces.children("Trace")) {
        for (pugi::xml_node data : trace.children("Data")) {
            out = Convert(data.attribute("values").value(), out, samples.get() + count);
        }
    }
    // Every 4096th sample is read back, so that no store can be left out.
    checksum = 0;
    for (const int32_t* p = samples.get(); p < out; p += 4096) checksum += *p;
    return out - samples.get();
}

}  // namespace bench
