#include "container/ZipArchive.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <stdexcept>
#include <vector>

#include "container/ZipFileOpen.h"
#include "platform/AsciiCase.h"

namespace container {
namespace {

// Inflation proceeds in chunks of this size.
constexpr unsigned kChunkSize = 64 * 1024;

// The bytes of a local header before its name and extra field.
constexpr uint64_t kLocalHeaderSize = 30;

// Reads the open entry to its end into `text` (up to the first NUL byte),
// requesting at most one byte more than the budget has left so that an entry
// of exactly that size passes and any longer one stops there.
bool InflateOpenEntry(unzFile archive, std::string& text, platform::LoadBudget& budget, uint64_t& reserved) {
    std::vector<char> chunk(kChunkSize);
    bool cut = false;
    for (;;) {
        const uint64_t remaining = budget.InflateRemaining();
        const unsigned request = remaining < kChunkSize ? static_cast<unsigned>(remaining) + 1 : kChunkSize;
        const int got = unzReadCurrentFile(archive, chunk.data(), request);
        if (got < 0) return false;
        if (got == 0) return true;
        if (!budget.Inflate(static_cast<uint64_t>(got)) || !budget.Reserve(static_cast<uint64_t>(got))) return false;
        reserved += static_cast<uint64_t>(got);
        if (cut) continue;
        const void* nul = std::memchr(chunk.data(), '\0', static_cast<size_t>(got));
        const size_t keep = nul ? static_cast<size_t>(static_cast<const char*>(nul) - chunk.data())
                                : static_cast<size_t>(got);
        text.append(chunk.data(), keep);
        cut = nul != nullptr;
    }
}

// Makes room in `text` for the size the directory states for the entry
// positioned on, so that the text is allocated once. The stated size is only
// a hint: it is held to `limit` (what the budget has left) and to what the
// entry's compressed bytes can inflate to, and a failure to allocate leaves
// `text` to grow as it reads.
void ReserveStatedSize(unzFile archive, uint64_t limit, std::string& text) {
    constexpr uint64_t kLargestDeflateRatio = 1032;
    unz_file_info64 info{};
    if (unzGetCurrentFileInfo64(archive, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK) return;
    uint64_t size = std::min<uint64_t>(info.uncompressed_size, limit);
    if (info.compressed_size < size / kLargestDeflateRatio) size = info.compressed_size * kLargestDeflateRatio;
    try {
        text.reserve(static_cast<size_t>(std::min<uint64_t>(size, text.max_size())));
    } catch (const std::bad_alloc&) {
    } catch (const std::length_error&) {
    }
}

}  // namespace

ZipArchive::~ZipArchive() { Close(); }

bool ZipArchive::Open(const std::wstring& path) {
    Close();
    m_archive = OpenZipFile(path);
    if (m_archive != nullptr && !EntriesApart()) Close();
    return m_archive != nullptr;
}

// Each entry occupies its local header, name, extra field and compressed
// data; no two may share a byte. Entries whose local header cannot be read
// are left out: they cannot be extracted either.
bool ZipArchive::EntriesApart() {
    std::vector<std::pair<uint64_t, uint64_t>> spans;  // first byte, end
    ForEachEntry([&](const std::string&, uint64_t) {
        unz_file_info64 info{};
        if (unzGetCurrentFileInfo64(m_archive, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK ||
            unzOpenCurrentFile(m_archive) != UNZ_OK) {
            return;
        }
        const uint64_t data = static_cast<uint64_t>(unzGetCurrentFileZStreamPos64(m_archive));
        const int extra = unzGetLocalExtrafield(m_archive, nullptr, 0);
        unzCloseCurrentFile(m_archive);
        const uint64_t header = kLocalHeaderSize + info.size_filename + static_cast<uint64_t>(std::max(extra, 0));
        const uint64_t end = data + std::min<uint64_t>(info.compressed_size, ~uint64_t{0} - data);
        spans.emplace_back(data >= header ? data - header : 0, end);
    });
    std::sort(spans.begin(), spans.end());
    for (size_t i = 1; i < spans.size(); ++i) {
        if (spans[i].first < spans[i - 1].second) return false;
    }
    return true;
}

bool ZipArchive::Close() {
    m_index.clear();
    m_indexed = false;
    if (m_archive == nullptr) return false;
    const bool clean = unzClose(m_archive) == UNZ_OK;
    m_archive = nullptr;
    return clean;
}

bool ZipArchive::EntryCount(uint64_t& count) const {
    unz_global_info64 info{};
    if (m_archive == nullptr || unzGetGlobalInfo64(m_archive, &info) != UNZ_OK) return false;
    count = info.number_entry;
    return true;
}

bool ZipArchive::GoToFirstEntry() { return m_archive != nullptr && unzGoToFirstFile(m_archive) == UNZ_OK; }

bool ZipArchive::GoToNextEntry() { return m_archive != nullptr && unzGoToNextFile(m_archive) == UNZ_OK; }

bool ZipArchive::CurrentEntryName(std::string& name) {
    unz_file_info64 info{};
    if (m_archive == nullptr ||
        unzGetCurrentFileInfo64(m_archive, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK) {
        return false;
    }
    std::string bytes(info.size_filename, '\0');
    if (!bytes.empty() && unzGetCurrentFileInfo64(m_archive, nullptr, &bytes[0], static_cast<uLong>(bytes.size()),
                                                  nullptr, 0, nullptr, 0) != UNZ_OK) {
        return false;
    }
    name.swap(bytes);
    return true;
}

bool ZipArchive::ExtractCurrentEntry(std::string& text, platform::LoadBudget& budget) {
    if (m_archive == nullptr || unzOpenCurrentFile(m_archive) != UNZ_OK) return false;
    std::string content;
    ReserveStatedSize(m_archive, budget.InflateRemaining(), content);
    uint64_t reserved = 0;
    const bool complete = InflateOpenEntry(m_archive, content, budget, reserved);
    if (content.capacity() / 2 > content.size() + kChunkSize) content.shrink_to_fit();  // cut short by a NUL byte
    // Closing reports a CRC mismatch once the entry was read to its end.
    const bool intact = unzCloseCurrentFile(m_archive) == UNZ_OK;
    // The memory of what is not kept goes back to the budget; the inflating stays spent.
    const bool kept = complete && intact;
    budget.Release(kept ? reserved - content.size() : reserved);
    if (!kept) return false;
    text.swap(content);
    return true;
}

// One walk over the directory; of names equal but for case the first wins.
void ZipArchive::BuildIndex() {
    m_indexed = true;
    ForEachEntry([this](const std::string& name, uint64_t) {
        unz64_file_pos position{};
        if (unzGetFilePos64(m_archive, &position) == UNZ_OK) m_index.emplace(platform::AsciiUpper(name), position);
    });
}

bool ZipArchive::Locate(std::string_view name) {
    if (m_archive == nullptr) return false;
    if (!m_indexed) BuildIndex();
    const auto found = m_index.find(platform::AsciiUpper(name));
    return found != m_index.end() && unzGoToFilePos64(m_archive, &found->second) == UNZ_OK;
}

bool ZipArchive::ReadEntry(std::string_view name, std::string& text, platform::LoadBudget& budget) {
    return Locate(name) && ExtractCurrentEntry(text, budget);
}

}  // namespace container
