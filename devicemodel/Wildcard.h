// Wildcard comparison of element names and attribute names with the segments
// and names a lookup is given. In a pattern:
//   "*"       any run of bytes, also an empty one;
//   "?"       exactly one byte;
//   "[set]"   one byte of the set; "[!set]" one byte not in it. "a-z" inside
//             a set is a range; "]" right after "[" or "[!" and "-" at either
//             end of a set are literal. A "[" without a closing "]" is literal.
// Every other byte matches itself (case-sensitive). The whole text must match.
// Work is bounded by pattern length times text length; nothing recurses.
#ifndef DR_MVQ4_DEVICEMODEL_WILDCARD_H
#define DR_MVQ4_DEVICEMODEL_WILDCARD_H

#include <string_view>

namespace devicemodel {

bool WildcardMatch(std::string_view pattern, std::string_view text);

// True when `pattern` contains a byte that may act as a wildcard; a pattern
// without one matches exactly its own text.
bool HasWildcard(std::string_view pattern);

}  // namespace devicemodel

#endif
