#pragma once
// The number part of a new item's file name.
#include <string>
#include <string_view>

#include "store/clip_index.h"

namespace tessera {

// "_" and one more than the greatest number among the file names of rows 0..itemCount-1 that
// begin with `prefix`, at least three digits: "_001", "_012", "_1000".
std::string NextNumberSuffix(const ClipIndex& index, int itemCount, std::string_view prefix);

}  // namespace tessera
