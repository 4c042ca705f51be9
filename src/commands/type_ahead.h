#pragma once
// Typing in a list: the selection goes to the next line that starts with the letters typed, as
// in a Windows list box.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace tessera {

class TypeAhead {
public:
    // Letters typed within this time of each other form one prefix.
    static constexpr std::uint32_t kPauseMs = 1000;

    // `character` (in the program's 8-bit code page) typed at `now` (milliseconds, a clock that
    // may wrap) over `count` lines, `current` selected (-1 for none), `line(i)` the text of line
    // i: the line to select, or nothing when no line starts with the prefix.
    std::optional<int> Type(char character, std::uint32_t now, int current, int count,
                            const std::function<const std::string&(int)>& line);

private:
    std::string prefix_;
    std::uint32_t last_ = 0;
    bool typed_ = false;
};

}  // namespace tessera
