// Feeds any text to the settings file's number reading and checks it against a plain model:
// blanks, a sign, then all of a decimal number within 32 bits or "0x" and a 32-bit pattern.
// Then loads the three settings from values cut from the input, and saves and loads them back.
#include <fuzzer/FuzzedDataProvider.h>

#include <charconv>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "app/settings.h"
#include "keys/hot_key_text.h"

namespace {

using tessera::ProfileStore;

struct FakeProfile : ProfileStore {
    std::map<std::pair<std::string, std::string>, std::string> values;
    std::optional<std::string> ReadString(const std::string& section, const std::string& key) override {
        const auto it = values.find({section, key});
        return it == values.end() ? std::nullopt : std::optional(it->second);
    }
    bool WriteString(const std::string& section, const std::string& key, const std::string& value) override {
        values[{section, key}] = value;
        return true;
    }
    std::string Path() const override { return "C:\\Tessera\\TESSERA.INI"; }
};

void Check(bool ok) {
    if (!ok) std::abort();
}

std::optional<std::int32_t> ModelInteger(std::string_view text) {
    text.remove_prefix(std::min(text.find_first_not_of(" \t"), text.size()));
    bool negative = false;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    int base = 10;
    if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    // from_chars takes no sign for an unsigned type, so a second sign fails here as it should.
    std::uint64_t value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value, base);
    if (text.empty() || error != std::errc{} || stop != end) return std::nullopt;
    if (base == 16) {
        if (value > 0xFFFFFFFFu) return std::nullopt;
        const auto bits = static_cast<std::uint32_t>(value);
        return static_cast<std::int32_t>(negative ? 0u - bits : bits);
    }
    if (value > (negative ? 0x80000000u : 0x7FFFFFFFu)) return std::nullopt;
    return static_cast<std::int32_t>(negative ? -static_cast<std::int64_t>(value) : static_cast<std::int64_t>(value));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const std::string whole(reinterpret_cast<const char*>(data), size);
    Check(tessera::ParseProfileInteger(whole) == ModelInteger(whole));

    // A hot key read back from the text written for it is the same key.
    const tessera::KeyLayout& layout = tessera::LettersAndNamedKeysOnly();
    if (const auto keys = tessera::ParseHotKey(input.ConsumeRandomLengthString(32), layout))
        Check(tessera::ParseHotKey(tessera::HotKeyText(*keys, layout), layout) == keys);

    FakeProfile profile;
    const std::string winStart = input.ConsumeRandomLengthString(64);
    const std::string left = input.ConsumeRandomLengthString(64);
    const std::string top = input.ConsumeRandomLengthString();
    // An empty value stands for a missing key, so both ways of falling back are tried.
    if (!winStart.empty()) profile.values[{"Options", "WinStart"}] = winStart;
    if (!left.empty()) profile.values[{"MainW", "x"}] = left;
    if (!top.empty()) profile.values[{"MainW", "y"}] = top;

    const tessera::Settings loaded = tessera::LoadSettings(profile, -7, 9);
    Check(loaded.winStart == (ModelInteger(winStart).value_or(1) != 0));
    Check(loaded.left == ModelInteger(left).value_or(-7));
    const std::string_view seenTop = std::string_view(top).substr(0, tessera::kMaxProfileValueLength);
    Check(loaded.top == ModelInteger(seenTop).value_or(9));

    tessera::SaveSettings(profile, loaded);
    const tessera::Settings again = tessera::LoadSettings(profile, 1, 2);
    Check(again.winStart == loaded.winStart && again.left == loaded.left && again.top == loaded.top);
    return 0;
}
