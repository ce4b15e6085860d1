// Number formatting shared by the JSON dump and the readable summary.
#ifndef CVDR_FORMATS_NUMBER_TEXT_H
#define CVDR_FORMATS_NUMBER_TEXT_H

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace cvdr {

// Shortest decimal text that reads back to the same double ("0.1", "13",
// "1e-07"); "nan", "inf" or "-inf" for values that are not finite.
std::string NumberText(double value);

// Appends NumberText(value) to `out` without a string of its own, for writers
// that put millions of numbers into one buffer.
void AppendNumber(std::string& out, double value);

// Writes NumberText(value) at `out`, which has room for 24 bytes, and
// returns the end of the text.
char* PutNumber(char* out, double value);

// NumberText for a stream of numbers in which values recur, as the samples
// of a record's channels do: the texts of recent values are kept in a table
// indexed by the value's bits, so that a recurring value is copied, not
// formatted.
class NumberTextCache {
public:
    // Room a Put needs at `out`; it writes at most this many bytes there.
    static constexpr size_t kPutBytes = 32;

    NumberTextCache();
    // Writes NumberText(value) at `out`, possibly followed by bytes of no
    // meaning, and returns the end of the text.
    char* Put(char* out, double value);
    // Has the processor fetch where the text of `value` is kept, for a Put
    // of it a few values later: the table is larger than the nearest caches.
    void Prefetch(double value) { __builtin_prefetch(Pair(value)); }

private:
    // Longer texts are formatted each time; shorter ones include the
    // scaled values of 17 significant digits that channels are full of.
    static constexpr size_t kKeptBytes = 23;
    struct alignas(32) Entry {
        bool Holds(uint64_t valueBits) const { return bits == valueBits && length != 0; }
        uint64_t bits = 0;
        uint8_t length = 0;  // 0: empty entry
        char text[kKeptBytes] = {};
    };
    static constexpr int kPairBits = 15;  // 2^15 pairs of entries: 2 MiB

    // The two entries where the text of `value` may be kept.
    Entry* Pair(double value) {
        uint64_t bits = 0;
        std::memcpy(&bits, &value, sizeof bits);
        return &m_entries[2 * ((bits * 0x9E3779B97F4A7C15u) >> (64 - kPairBits))];
    }

    std::vector<Entry> m_entries;
};

// Windows COLORREF (0x00BBGGRR) as "#RRGGBB" in upper-case hexadecimal.
std::string ColorText(uint32_t colorRef);

}  // namespace cvdr

#endif
