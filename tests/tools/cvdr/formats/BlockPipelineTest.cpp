// Two blocks in flight between the thread that fills them and the one that
// drains them.
#include <gtest/gtest.h>

#include <stdexcept>
#include <thread>
#include <vector>

#include "formats/BlockPipeline.h"

namespace {

TEST(BlockPipelineTest, DrainsEveryBlockInOrderAndNeverRefillsAnUndrainedSlot) {
    for (const size_t count : {size_t{0}, size_t{1}, size_t{2}, size_t{1000}}) {
        size_t slots[2] = {};  // the block a slot holds, + 1; 0 once drained
        std::vector<size_t> drained;
        const std::thread::id caller = std::this_thread::get_id();
        bool filledElsewhere = false;
        cvdr::RunBlockPipeline(
            count,
            [&](size_t slot, size_t block) {
                filledElsewhere = filledElsewhere || std::this_thread::get_id() != caller;
                EXPECT_EQ(slot, block % 2);
                EXPECT_EQ(slots[slot], 0u) << "slot " << slot << " refilled before block " << block;
                slots[slot] = block + 1;
            },
            [&](size_t slot, size_t block) {
                EXPECT_EQ(slots[slot], block + 1);
                slots[slot] = 0;
                drained.push_back(block);
            });
        EXPECT_FALSE(filledElsewhere) << "every block is filled on the calling thread";
        ASSERT_EQ(drained.size(), count);
        for (size_t i = 0; i < count; ++i) EXPECT_EQ(drained[i], i);
    }
}

TEST(BlockPipelineTest, FirstFailureOfEitherSideEndsBothAndReachesTheCaller) {
    size_t filled = 0, drainedCount = 0;  // each counted on one thread, read after both end
    const auto fill = [&](size_t, size_t) { ++filled; };
    const auto drain = [&](size_t, size_t block) {
        if (block == 3) throw std::runtime_error("cannot write: disk full");
        ++drainedCount;
    };
    EXPECT_THROW(cvdr::RunBlockPipeline(100000, fill, drain), std::runtime_error);
    EXPECT_EQ(drainedCount, 3u);
    EXPECT_LE(filled, 5u) << "filling stops once a block cannot be drained";

    drainedCount = 0;
    const auto failingFill = [&](size_t, size_t block) {
        if (block == 2) throw std::bad_alloc();
    };
    EXPECT_THROW(cvdr::RunBlockPipeline(100000, failingFill, [&](size_t, size_t) { ++drainedCount; }),
                 std::bad_alloc);
    EXPECT_LE(drainedCount, 2u);
}

}  // namespace
