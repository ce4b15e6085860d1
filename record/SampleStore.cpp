#include "record/SampleStore.h"

#include <algorithm>

namespace record {

bool SampleStore::Charge(size_t capacity, size_t width) {
    if (m_budget == nullptr) return true;
    const uint64_t bytes = static_cast<uint64_t>(capacity) * width;
    if (bytes > m_charged && !m_budget->Reserve(bytes - m_charged)) {
        m_overBudget = true;
        return false;
    }
    m_charged = std::max(m_charged, bytes);
    return true;
}

void SampleStore::Reserve(size_t count) {
    const size_t room = std::min(count, m_kept);
    if (m_wide) {
        if (Charge(room, sizeof(double))) m_wideValues.reserve(room);
    } else {
        if (Charge(room, sizeof(int32_t))) m_narrow.reserve(room);
    }
}

bool SampleStore::Grow(size_t count) {
    if (m_overBudget) return false;
    const size_t capacity = m_wide ? m_wideValues.capacity() : m_narrow.capacity();
    if (count <= capacity) return true;
    const size_t room = std::max(count, std::min(m_kept, capacity * 2));
    Reserve(room);
    return !m_overBudget;
}

void SampleStore::AppendWide(double value) {
    if (m_overBudget) return;
    if (!m_wide) {
        // The doubles are reserved beside the integers, which are given back
        // once converted.
        const size_t room = std::max(m_narrow.capacity(), m_narrow.size() + 1);
        const uint64_t narrowBytes = m_charged;
        m_charged = 0;
        if (!Charge(room, sizeof(double))) return;
        m_wideValues.reserve(room);
        m_wideValues.assign(m_narrow.begin(), m_narrow.end());
        std::vector<int32_t>().swap(m_narrow);
        if (m_budget != nullptr) m_budget->Release(narrowBytes);
        m_wide = true;
    }
    if (m_wideValues.size() == m_wideValues.capacity() && !Grow(m_wideValues.size() + 1)) return;
    m_wideValues.push_back(value);
}

void SampleStore::AppendInvalid(size_t count) {
    if (count == 0) return;
    if (!m_invalid.empty() && m_invalid.back().end == m_size) {
        m_invalid.back().end += count;
    } else {
        m_invalid.push_back(Run{m_size, m_size + count});
    }
    const size_t stored = m_size >= m_kept ? 0 : std::min(count, m_kept - m_size);
    if (stored > 0 && !Grow(Stored() + stored)) {
        m_size += count;
        return;
    }
    if (m_wide) {
        m_wideValues.insert(m_wideValues.end(), stored, 0.0);
    } else {
        m_narrow.insert(m_narrow.end(), stored, 0);
    }
    m_size += count;
}

void SampleStore::Truncate(size_t size) {
    if (size >= m_size) return;
    m_size = size;
    const size_t stored = std::min(size, Stored());
    if (m_wide) {
        m_wideValues.resize(stored);
    } else {
        m_narrow.resize(stored);
    }
    while (!m_invalid.empty() && m_invalid.back().first >= size) m_invalid.pop_back();
    if (!m_invalid.empty() && m_invalid.back().end > size) m_invalid.back().end = size;
}

bool SampleStore::IsValid(size_t index) const {
    const auto run = std::upper_bound(m_invalid.begin(), m_invalid.end(), index,
                                      [](size_t value, const Run& candidate) { return value < candidate.end; });
    return run == m_invalid.end() || run->first > index;
}

void SampleStore::Bounds(size_t count, double& low, double& high) const {
    if (m_wide) {
        const auto [least, most] = std::minmax_element(m_wideValues.begin(), m_wideValues.begin() + count);
        low = *least, high = *most;
        return;
    }
    int32_t least = m_narrow[0], most = m_narrow[0];
    for (size_t i = 1; i < count; ++i) {
        least = std::min(least, m_narrow[i]);
        most = std::max(most, m_narrow[i]);
    }
    low = least, high = most;
}

}  // namespace record
