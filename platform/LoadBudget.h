// What one load of a record may allocate for its large items together: the
// record text (the file, or a container's inflated record entry) and its
// document tree, every byte inflated from a container or a compressed model
// file, the device-model and language texts, the analog sample stores and
// the large texts taken from the record. One object per load, created by the
// load and handed down by reference; whoever is about to allocate such an
// item asks for its bytes first, from the counts the file declares, and does
// not allocate when the budget refuses.
//
// Inflating also spends a second allowance, a quarter of the budget, that is
// never given back: bytes inflated count whether they are kept or not (a text
// stops at its first NUL byte, an entry may fail its check), so the work of
// inflating is bounded as well (inflating runs at about 250 MB/s here; no
// real container inflates to more than a few megabytes). The memory of an
// entry that fails is given back, so a device model that inflates past the
// budget counts as missing and leaves the record its room.
//
// The default is 1 GiB where pointers are 64 bits wide. A 32-bit build (the
// Windows DLL) runs in the viewer's 2 GB address space, beside the viewer's
// own data, its copies of the channels it shows and the other plug-ins, and
// large blocks are hard to find in a space that fragmented: there the default
// is 768 MiB. No real record comes near either: a 1 GiB budget holds 64
// analog channels of 4 million samples beside a 100 MB record text.
//
// One thread at a time.
#ifndef DR_MVQ4_PLATFORM_LOAD_BUDGET_H
#define DR_MVQ4_PLATFORM_LOAD_BUDGET_H

#include <cstdint>
#include <string_view>

namespace platform {

// The most that parsing `text` into a document tree can take: a node for
// each '<' and a text node after it, an attribute for each '=', at the sizes
// an XML parser's node (8 pointers) and attribute (5 pointers) have. A real
// record's tags are few beside its values; a file of nothing but tiny
// elements would take many times its size.
uint64_t ParsedXmlBytes(std::string_view text);

class LoadBudget {
public:
    static constexpr uint64_t kDefaultBytes = sizeof(void*) < 8 ? uint64_t{768} << 20 : uint64_t{1} << 30;

    explicit LoadBudget(uint64_t bytes = kDefaultBytes) : m_remaining(bytes), m_inflateLeft(bytes / 4) {}
    LoadBudget(const LoadBudget&) = delete;
    LoadBudget& operator=(const LoadBudget&) = delete;

    // Takes `bytes` from the budget: false, and nothing taken, when fewer are
    // left.
    bool Reserve(uint64_t bytes) { return Take(m_remaining, bytes); }
    // Reserve for `count` items of `size` bytes each, the product checked for
    // overflow.
    bool Reserve(uint64_t count, uint64_t size) {
        if (size == 0 || count <= m_remaining / size) return Reserve(count * size);
        m_refused = true;
        return false;
    }
    // Reserve for the document tree that parsing `text` may build
    // (ParsedXmlBytes).
    bool ReserveDocument(std::string_view text) { return Reserve(ParsedXmlBytes(text)); }
    // Gives back bytes reserved before, once what they paid for is freed.
    void Release(uint64_t bytes) { m_remaining += bytes; }
    uint64_t Remaining() const { return m_remaining; }
    // Whether a reservation or inflation was refused: the load went over the
    // budget.
    bool Refused() const { return m_refused; }

    // Spends `bytes` of inflating: false, and nothing spent, when fewer are left.
    bool Inflate(uint64_t bytes) { return Take(m_inflateLeft, bytes); }
    // The bytes a load may still inflate and keep.
    uint64_t InflateRemaining() const { return m_inflateLeft < m_remaining ? m_inflateLeft : m_remaining; }

private:
    // Takes `bytes` from `left`, or marks the load refused.
    bool Take(uint64_t& left, uint64_t bytes) {
        if (bytes > left) {
            m_refused = true;
            return false;
        }
        left -= bytes;
        return true;
    }

    uint64_t m_remaining;
    uint64_t m_inflateLeft;
    bool m_refused = false;
};

}  // namespace platform

#endif
