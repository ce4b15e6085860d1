// Writers that read a record block by block and turn each block into output
// keep two blocks in flight: the calling thread fills one, which is where
// every call into the plug-in is made, while a second thread drains the one
// before it (formats, encodes, writes). The two blocks alternate.
#ifndef CVDR_FORMATS_BLOCK_PIPELINE_H
#define CVDR_FORMATS_BLOCK_PIPELINE_H

#include <cstddef>
#include <functional>

namespace cvdr {

// Calls fill(slot, i) for blocks i = 0 to count - 1 in order on the calling
// thread, and drain(slot, i) for each filled block in order on a second
// thread; slot (i % 2) names which of two blocks block i is in. A slot is
// filled again only once it has been drained. The first exception either
// throws ends both and is rethrown here. When no thread can be started, the
// blocks are filled and drained in turn on the calling thread.
// The blocks of `blockSize` items that `total` items fill, the last one
// perhaps in part.
inline size_t BlockCount(size_t total, size_t blockSize) { return (total + blockSize - 1) / blockSize; }

void RunBlockPipeline(size_t count, const std::function<void(size_t slot, size_t block)>& fill,
                      const std::function<void(size_t slot, size_t block)>& drain);

}  // namespace cvdr

#endif
