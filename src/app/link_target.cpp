#include "app/link_target.h"

namespace tessera {
namespace {

bool IsBlank(const std::string& s) {
    // Blanks are the control characters and the space, as a trim removes them.
    for (const char c : s)
        if (static_cast<unsigned char>(c) > ' ') return false;
    return true;
}

}  // namespace

// The target is handed on as written, blanks included: only the test for "nothing to open"
// trims it.
std::string LinkTarget(const std::string& url, const std::string& caption) {
    const std::string& target = IsBlank(url) ? caption : url;
    return IsBlank(target) ? std::string() : target;
}

}  // namespace tessera
