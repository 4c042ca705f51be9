#pragma once
// The number part of a new item's file name.
#include <cstdint>
#include <string>
#include <string_view>

#include "store/clip_index.h"

namespace tessera {

// One more than the greatest number among the file names of every row of `index` that begin
// with `prefix`; 1 when there is none.
std::int64_t NextNumber(const ClipIndex& index, std::string_view prefix);

// "_" and `number` in at least three digits: "_001", "_012", "_1000".
std::string NumberSuffix(std::int64_t number);

// NumberSuffix(NextNumber(index, prefix)).
std::string NextNumberSuffix(const ClipIndex& index, std::string_view prefix);

}  // namespace tessera
