#pragma once
// What a link label opens: its URL, or its caption when the URL is blank; empty when both are blank.
#include <string>

namespace tessera {

std::string LinkTarget(const std::string& url, const std::string& caption);

}  // namespace tessera
