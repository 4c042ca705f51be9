#include "text/rtf_text.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <utility>
#include <vector>

#include "text/text_tables.h"

namespace tessera {

namespace {

using text_tables::kCodePages;
using text_tables::kFirstCodePage;
using text_tables::kLastCodePage;

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// The characters of bytes 0x80 to 0xFF in `codePage`; code page 1252 for those without a table.
const char16_t* CodePageTable(int codePage) {
    if (codePage < kFirstCodePage || codePage > kLastCodePage) codePage = 1252;
    return kCodePages[codePage - kFirstCodePage];
}

// The code page of a font's character set (\fcharset), 0 for "the document's".
int CodePageOfCharset(int charset) {
    switch (charset) {
        case 161: return 1253;
        case 162: return 1254;
        case 163: return 1258;
        case 177: return 1255;
        case 178: return 1256;
        case 186: return 1257;
        case 204: return 1251;
        case 238: return 1250;
        default: return 0;
    }
}

// Cuts UTF-8 `text` to at most `maxBytes`, never inside a character.
void CutText(std::string& text, std::size_t maxBytes) {
    if (text.size() <= maxBytes) return;
    std::size_t cut = maxBytes;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
    text.resize(cut);
}

bool IsValidUtf8(std::string_view bytes) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* const end = p + bytes.size();
    while (p < end) {
        if (*p < 0x80) {
            ++p;
            continue;
        }
        int size = *p >= 0xF0 ? 4 : *p >= 0xE0 ? 3 : 2;
        if (*p < 0xC2 || *p > 0xF4 || end - p < size) return false;
        for (int i = 1; i < size; ++i)
            if ((p[i] & 0xC0) != 0x80) return false;
        if ((*p == 0xE0 && p[1] < 0xA0) || (*p == 0xED && p[1] >= 0xA0) || (*p == 0xF0 && p[1] < 0x90) ||
            (*p == 0xF4 && p[1] >= 0x90))
            return false;
        p += size;
    }
    return true;
}

std::string PlainText(std::string_view bytes, std::size_t maxBytes) {
    if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
    if (IsValidUtf8(bytes)) {
        if (bytes.size() > maxBytes) {
            std::size_t cut = maxBytes;
            while (cut > 0 && (static_cast<unsigned char>(bytes[cut]) & 0xC0) == 0x80) --cut;
            bytes = bytes.substr(0, cut);
        }
        return std::string(bytes);
    }
    const char16_t* table = CodePageTable(1252);
    std::string out;
    out.reserve(std::min(bytes.size() + bytes.size() / 8, maxBytes + 4));
    for (const char c : bytes) {
        if (out.size() >= maxBytes) break;
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x80)
            out += c;
        else
            AppendUtf8(out, table[b - 0x80]);
    }
    CutText(out, maxBytes);
    return out;
}

// What a control word does. Destinations are groups whose text is not the document's.
enum class Word : std::uint8_t {
    Ignored, Skip, LineBreak, Tab, Space, Char, Unicode, UnicodeSkip, Bin, AnsiCodePage, Font, FontCharset,
    FontCodePage, DefaultFont, Plain, FontTable,
};

struct KnownWord {
    std::string_view name;
    Word action;
    char32_t cp = 0;
};

// Sorted by name for the binary search.
constexpr KnownWord kKnownWords[] = {
    {"ansicpg", Word::AnsiCodePage},
    {"author", Word::Skip},
    {"bin", Word::Bin},
    {"bkmkend", Word::Skip},
    {"bkmkstart", Word::Skip},
    {"bullet", Word::Char, 0x2022},
    {"buptim", Word::Skip},
    {"cell", Word::Tab},
    {"colorschememapping", Word::Skip},
    {"colortbl", Word::Skip},
    {"comment", Word::Skip},
    {"cpg", Word::FontCodePage},
    {"creatim", Word::Skip},
    {"datastore", Word::Skip},
    {"deff", Word::DefaultFont},
    {"doccomm", Word::Skip},
    {"docvar", Word::Skip},
    {"emdash", Word::Char, 0x2014},
    {"emspace", Word::Space},
    {"endash", Word::Char, 0x2013},
    {"enspace", Word::Space},
    {"f", Word::Font},
    {"fcharset", Word::FontCharset},
    {"filetbl", Word::Skip},
    {"fldinst", Word::Skip},
    {"fonttbl", Word::FontTable},
    {"footer", Word::Skip},
    {"footerf", Word::Skip},
    {"footerl", Word::Skip},
    {"footerr", Word::Skip},
    {"generator", Word::Skip},
    {"header", Word::Skip},
    {"headerf", Word::Skip},
    {"headerl", Word::Skip},
    {"headerr", Word::Skip},
    {"info", Word::Skip},
    {"keywords", Word::Skip},
    {"latentstyles", Word::Skip},
    {"ldblquote", Word::Char, 0x201C},
    {"line", Word::LineBreak},
    {"listoverridetable", Word::Skip},
    {"listtable", Word::Skip},
    {"lquote", Word::Char, 0x2018},
    {"nestcell", Word::Tab},
    {"nestrow", Word::LineBreak},
    {"nonshppict", Word::Skip},
    {"objdata", Word::Skip},
    {"object", Word::Skip},
    {"operator", Word::Skip},
    {"page", Word::LineBreak},
    {"par", Word::LineBreak},
    {"pict", Word::Skip},
    {"plain", Word::Plain},
    {"pn", Word::Skip},
    {"printim", Word::Skip},
    {"private", Word::Skip},
    {"rdblquote", Word::Char, 0x201D},
    {"revtbl", Word::Skip},
    {"revtim", Word::Skip},
    {"row", Word::LineBreak},
    {"rquote", Word::Char, 0x2019},
    {"rsidtbl", Word::Skip},
    {"sect", Word::LineBreak},
    {"shpinst", Word::Skip},
    {"sp", Word::Skip},
    {"stylesheet", Word::Skip},
    {"subject", Word::Skip},
    {"tab", Word::Tab},
    {"tc", Word::Skip},
    {"template", Word::Skip},
    {"themedata", Word::Skip},
    {"title", Word::Skip},
    {"txe", Word::Skip},
    {"u", Word::Unicode},
    {"uc", Word::UnicodeSkip},
    {"userprops", Word::Skip},
    {"xe", Word::Skip},
    {"xmlnstbl", Word::Skip},
};

static_assert(std::is_sorted(std::begin(kKnownWords), std::end(kKnownWords),
                             [](const KnownWord& a, const KnownWord& b) { return a.name < b.name; }));

const KnownWord* FindWord(std::string_view name) {
    const auto it = std::lower_bound(std::begin(kKnownWords), std::end(kKnownWords), name,
                                     [](const KnownWord& w, std::string_view n) { return w.name < n; });
    return it != std::end(kKnownWords) && it->name == name ? it : nullptr;
}

// Bytes that end a run of plain text: the three RTF specials, line ends (not text in RTF),
// other controls and every byte above ASCII (decoded one at a time).
constexpr std::array<bool, 256> MakeRunEnds() {
    std::array<bool, 256> ends{};
    for (int b = 0; b < 256; ++b) ends[b] = b < 0x20 || b >= 0x80 || b == '\\' || b == '{' || b == '}';
    return ends;
}
constexpr std::array<bool, 256> kRunEnds = MakeRunEnds();

// The state a group inherits from its parent and loses at its end.
struct GroupState {
    bool skip = false;       // a destination whose text is not shown
    bool fontTable = false;  // inside \fonttbl: \f, \fcharset and \cpg describe fonts
    std::uint8_t fallback = 1;  // characters that stand for a \u character (\uc)
    int codePage = 0;           // of the current font; 0: the document's
};

// Deeper groups than this share their parent's state: no document needs so many, and a hostile
// file cannot make the reader's memory grow with its nesting.
constexpr std::size_t kMaxDepth = 512;
constexpr std::size_t kMaxFonts = 1024;

class RtfReader {
public:
    RtfReader(std::string_view bytes, std::size_t maxBytes)
        : p_(reinterpret_cast<const unsigned char*>(bytes.data())), end_(p_ + bytes.size()), maxBytes_(maxBytes) {
        out_.reserve(std::min(bytes.size() / 2 + 16, maxBytes + 4));
    }

    std::string Read() {
        while (p_ < end_ && out_.size() < maxBytes_) {
            const unsigned char c = *p_;
            if (c == '{') {
                ++p_;
                OpenGroup();
            } else if (c == '}') {
                ++p_;
                if (!CloseGroup()) break;  // the document's last group: what follows is not its text
            } else if (c == '\\') {
                ++p_;
                ControlWord();
            } else if (state_.skip) {
                while (p_ < end_ && *p_ != '\\' && *p_ != '{' && *p_ != '}') ++p_;
            } else if (skipChars_ > 0) {
                if (c >= 0x20 || c == '\t') --skipChars_;
                ++p_;
            } else if (c >= 0x80) {
                ++p_;
                Emit(CodePageTable(CodePage())[c - 0x80]);
            } else if (c == '\t') {
                ++p_;
                Emit('\t');
            } else if (c < 0x20 || c == 0x7F) {
                ++p_;  // line ends and controls are not text in RTF
            } else {
                const unsigned char* run = p_;
                const unsigned char* const stop = p_ + std::min(static_cast<std::size_t>(end_ - p_), maxBytes_ - out_.size());
                while (p_ < stop && !kRunEnds[*p_]) ++p_;
                FlushSurrogate();
                out_.append(reinterpret_cast<const char*>(run), static_cast<std::size_t>(p_ - run));
            }
        }
        FlushSurrogate();
        CutText(out_, maxBytes_);
        return std::move(out_);
    }

private:
    int CodePage() const { return state_.codePage ? state_.codePage : documentCodePage_; }

    void OpenGroup() {
        skipChars_ = 0;
        if (stack_.size() >= kMaxDepth) {
            ++overflow_;
            return;
        }
        stack_.push_back(state_);
    }

    // False when the group closed is the outermost one.
    bool CloseGroup() {
        skipChars_ = 0;
        if (overflow_ > 0) {
            --overflow_;
            return true;
        }
        if (stack_.empty()) return false;
        state_ = stack_.back();
        stack_.pop_back();
        return !stack_.empty() || !started_;
    }

    void Emit(char32_t cp) {
        if (skipChars_ > 0) {
            --skipChars_;
            return;
        }
        if (state_.skip) return;
        if (cp >= 0xDC00 && cp < 0xE000 && highSurrogate_) {
            const char32_t full = 0x10000 + ((highSurrogate_ - 0xD800) << 10) + (cp - 0xDC00);
            highSurrogate_ = 0;
            AppendUtf8(out_, full);
            return;
        }
        FlushSurrogate();
        if (cp >= 0xD800 && cp < 0xDC00) {
            highSurrogate_ = cp;
            return;
        }
        if (cp >= 0xDC00 && cp < 0xE000) return;  // a low surrogate alone stands for nothing
        if (cp == 0) return;
        AppendUtf8(out_, cp);
    }

    // A high surrogate not followed by its low one stands for nothing.
    void FlushSurrogate() { highSurrogate_ = 0; }

    // A number after a control word: optional '-', digits; clamped to 32 bits.
    static bool ReadNumber(const unsigned char*& p, const unsigned char* end, long long& value) {
        bool negative = false;
        if (p < end && *p == '-' && p + 1 < end && p[1] >= '0' && p[1] <= '9') {
            negative = true;
            ++p;
        }
        if (p == end || *p < '0' || *p > '9') return false;
        long long v = 0;
        for (; p < end && *p >= '0' && *p <= '9'; ++p)
            if (v < 10'000'000'000LL) v = v * 10 + (*p - '0');
        value = negative ? -v : v;
        return true;
    }

    static int HexValue(unsigned char c) {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        return -1;
    }

    void ControlWord() {
        if (p_ == end_) return;
        const unsigned char c = *p_;
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'))) {
            ++p_;
            ControlSymbol(c);
            return;
        }
        const unsigned char* name = p_;
        while (p_ < end_ && ((*p_ >= 'a' && *p_ <= 'z') || (*p_ >= 'A' && *p_ <= 'Z'))) ++p_;
        const std::string_view word(reinterpret_cast<const char*>(name), static_cast<std::size_t>(p_ - name));
        long long value = 0;
        const bool hasValue = ReadNumber(p_, end_, value);
        if (p_ < end_ && *p_ == ' ') ++p_;

        const KnownWord* known = word.size() <= 20 ? FindWord(word) : nullptr;
        const Word action = known ? known->action : Word::Ignored;
        if (action == Word::Bin) {  // raw bytes, whatever they are
            const auto size = static_cast<std::size_t>(end_ - p_);
            p_ += hasValue && value > 0 ? std::min(static_cast<std::size_t>(std::min<long long>(value, INT32_MAX)), size) : 0;
            return;
        }
        if (skipChars_ > 0 && action != Word::UnicodeSkip) {  // a control word stands in for one character
            --skipChars_;
            return;
        }
        switch (action) {
            case Word::Ignored: return;
            case Word::Skip: state_.skip = true; return;
            case Word::LineBreak: Emit('\n'); return;
            case Word::Tab: Emit('\t'); return;
            case Word::Space: Emit(' '); return;
            case Word::Char: Emit(known->cp); return;
            case Word::Unicode:
                if (!hasValue) return;
                Emit(static_cast<char32_t>(value < 0 ? (value + 65536) & 0xFFFF : value & 0xFFFF));
                if (!state_.skip) skipChars_ = state_.fallback;
                return;
            case Word::UnicodeSkip:
                if (hasValue) state_.fallback = static_cast<std::uint8_t>(std::clamp<long long>(value, 0, 255));
                return;
            case Word::AnsiCodePage:
                if (hasValue) documentCodePage_ = static_cast<int>(std::clamp<long long>(value, 0, 65535));
                return;
            case Word::Font:
                if (!hasValue) return;
                if (state_.fontTable)
                    definingFont_ = static_cast<int>(std::clamp<long long>(value, -1, INT32_MAX));
                else
                    state_.codePage = FontCodePage(static_cast<int>(std::clamp<long long>(value, -1, INT32_MAX)));
                return;
            case Word::FontCharset:
                if (hasValue && state_.fontTable) DefineFont(CodePageOfCharset(static_cast<int>(value)));
                return;
            case Word::FontCodePage:
                if (hasValue && state_.fontTable) DefineFont(static_cast<int>(std::clamp<long long>(value, 0, 65535)));
                return;
            case Word::DefaultFont:
                if (hasValue) defaultFont_ = static_cast<int>(std::clamp<long long>(value, -1, INT32_MAX));
                return;
            case Word::Plain:
                if (!state_.fontTable) state_.codePage = FontCodePage(defaultFont_);
                return;
            case Word::FontTable:
                state_.skip = true;
                state_.fontTable = true;
                return;
            case Word::Bin: return;
        }
    }

    void ControlSymbol(unsigned char c) {
        if (c == '\'') {
            if (end_ - p_ >= 2 && HexValue(p_[0]) >= 0 && HexValue(p_[1]) >= 0) {
                const int b = HexValue(p_[0]) * 16 + HexValue(p_[1]);
                p_ += 2;
                if (b >= 0x80)
                    Emit(CodePageTable(CodePage())[b - 0x80]);
                else if (b == '\t')
                    Emit('\t');
                else if (b >= 0x20)
                    Emit(static_cast<char32_t>(b));
                else if (skipChars_ > 0)
                    --skipChars_;
            } else if (p_ < end_ && HexValue(*p_) >= 0) {
                ++p_;  // half a byte: nothing
            }
            return;
        }
        switch (c) {
            case '\\': case '{': case '}': Emit(c); return;
            case '~': Emit(' '); return;       // no-break space
            case '_': Emit('-'); return;       // no-break hyphen
            case '\r': case '\n': Emit('\n'); return;
            case '*': if (skipChars_ == 0) state_.skip = true; else --skipChars_; return;
            default: if (skipChars_ > 0) --skipChars_; return;  // \- (optional hyphen) and others
        }
    }

    int FontCodePage(int font) const {
        for (const auto& [number, codePage] : fonts_)
            if (number == font) return codePage;
        return 0;
    }

    void DefineFont(int codePage) {
        for (auto& [number, page] : fonts_)
            if (number == definingFont_) {
                page = codePage;
                return;
            }
        if (fonts_.size() < kMaxFonts) fonts_.emplace_back(definingFont_, codePage);
    }

public:
    // The document's first group, opened before the loop: "{\rtf" has been checked.
    void Start() {
        ++p_;
        stack_.push_back(state_);
        started_ = true;
    }

private:
    const unsigned char* p_;
    const unsigned char* end_;
    std::size_t maxBytes_;
    std::string out_;
    GroupState state_;
    std::vector<GroupState> stack_;
    std::size_t overflow_ = 0;
    bool started_ = false;
    int documentCodePage_ = 1252;
    int defaultFont_ = 0;
    int definingFont_ = 0;
    std::vector<std::pair<int, int>> fonts_;
    unsigned skipChars_ = 0;  // fallback characters still to pass over after a \u
    char32_t highSurrogate_ = 0;
};

}  // namespace

std::string RtfToText(std::string_view bytes, std::size_t maxBytes) {
    if (!bytes.starts_with("{\\rtf")) return PlainText(bytes, maxBytes);
    RtfReader reader(bytes, maxBytes);
    reader.Start();
    return reader.Read();
}

}  // namespace tessera
