// What any decoder of a record must do at the least, for the load benchmark's
// floor programs: parse the record text in place with pugixml and convert
// every sample of every trace into an integer array sized once from the
// declared sample count.
#ifndef DR_MVQ4_BENCH_LOAD_FLOOR_H
#define DR_MVQ4_BENCH_LOAD_FLOOR_H

#include <cstddef>
#include <cstdint>

namespace bench {

// Parses the `size` bytes at `text` in place and converts the samples;
// returns their number, or -1 when the text is no record. `checksum` sums a
// sparse selection of them.
int64_t ParseAndConvert(char* text, size_t size, int64_t& checksum);

}  // namespace bench

#endif
