#include "formats/BlockPipeline.h"

#include <condition_variable>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>

namespace cvdr {
namespace {

constexpr size_t kSlots = 2;

// What the two threads tell each other, under one lock.
class Handoff {
public:
    // Wait until at least `blocks` blocks are filled (drained) or either side
    // has failed; false on failure.
    bool AwaitFilled(size_t blocks) { return Await(m_filled, blocks); }
    bool AwaitDrained(size_t blocks) { return Await(m_drained, blocks); }
    void Filled(size_t blocks) { Update(m_filled, blocks); }
    void Drained(size_t blocks) { Update(m_drained, blocks); }
    void Fail(std::exception_ptr error) {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            if (m_error == nullptr) m_error = error;
        }
        m_changed.notify_all();
    }
    // Call only once neither thread runs.
    void RethrowFailure() const {
        if (m_error != nullptr) std::rethrow_exception(m_error);
    }

private:
    bool Await(const size_t& counter, size_t blocks) {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_changed.wait(lock, [&] { return m_error != nullptr || counter >= blocks; });
        return m_error == nullptr;
    }
    void Update(size_t& counter, size_t blocks) {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            counter = blocks;
        }
        m_changed.notify_all();
    }

    std::mutex m_mutex;
    std::condition_variable m_changed;
    size_t m_filled = 0;   // blocks filled so far
    size_t m_drained = 0;  // blocks drained so far
    std::exception_ptr m_error;
};

}  // namespace

void RunBlockPipeline(size_t count, const std::function<void(size_t slot, size_t block)>& fill,
                      const std::function<void(size_t slot, size_t block)>& drain) {
    Handoff handoff;
    std::thread drainer;
    try {
        drainer = std::thread([&] {
            try {
                for (size_t block = 0; block < count; ++block) {
                    if (!handoff.AwaitFilled(block + 1)) return;
                    drain(block % kSlots, block);
                    handoff.Drained(block + 1);
                }
            } catch (...) {
                handoff.Fail(std::current_exception());
            }
        });
    } catch (const std::system_error&) {
        for (size_t block = 0; block < count; ++block) {
            fill(0, block);
            drain(0, block);
        }
        return;
    }
    try {
        for (size_t block = 0; block < count; ++block) {
            if (!handoff.AwaitDrained(block < kSlots ? 0 : block + 1 - kSlots)) break;
            fill(block % kSlots, block);
            handoff.Filled(block + 1);
        }
    } catch (...) {
        handoff.Fail(std::current_exception());
    }
    drainer.join();
    handoff.RethrowFailure();
}

}  // namespace cvdr
