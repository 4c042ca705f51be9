#include "search_store.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

#include "store/clip_index.h"
#include "store/index_file.h"
#include "text/rtf_text.h"
#include "text/text_tables.h"

namespace tessera::bench {

namespace {

namespace fsys = std::filesystem;

std::vector<std::string> ReadWords(const char* path) {
    std::ifstream in(path);
    if (!in) throw std::runtime_error(std::string("cannot read ") + path + " (apt-get install wfrench wamerican)");
    std::vector<std::string> words;
    for (std::string line; std::getline(in, line);)
        if (!line.empty()) words.push_back(line);
    return words;
}

// Code points of UTF-8 text known to be valid (the word lists).
std::vector<char32_t> CodePoints(const std::string& text) {
    std::vector<char32_t> cps;
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        const int size = c < 0x80 ? 1 : c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : 2;
        char32_t cp = size == 1 ? c : c & (0x3F >> (size - 1));
        for (int k = 1; k < size && i + k < text.size(); ++k) cp = cp << 6 | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        cps.push_back(cp);
        i += size;
    }
    return cps;
}

// The byte of `cp` in code page 1252, 0 when it has none.
unsigned char Byte1252(char32_t cp) {
    if (cp < 0x80) return static_cast<unsigned char>(cp);
    const char16_t* table = text_tables::kCodePages[1252 - text_tables::kFirstCodePage];
    for (int b = 0; b < 128; ++b)
        if (table[b] == cp) return static_cast<unsigned char>(0x80 + b);
    return 0;
}

class Generator {
public:
    Generator(const StoreOptions& options) : options_(options), rng_(options.seed) {
        words_ = ReadWords("/usr/share/dict/french");
        const auto english = ReadWords("/usr/share/dict/american-english");
        words_.insert(words_.end(), english.begin(), english.end());
        std::shuffle(words_.begin(), words_.end(), rng_);
        // Zipf's law (exponent 1): the word of rank r comes with weight 1 / (r + 1), as in
        // ordinary prose, where a few hundred words make half of the text.
        cumulative_.resize(words_.size());
        double sum = 0;
        for (std::size_t r = 0; r < words_.size(); ++r) cumulative_[r] = sum += 1.0 / static_cast<double>(r + 1);
    }

    double Uniform() { return static_cast<double>(rng_() >> 11) * 0x1.0p-53; }
    const std::string& Word() {
        const double at = Uniform() * cumulative_.back();
        const auto it = std::upper_bound(cumulative_.begin(), cumulative_.end(), at);
        return words_[std::min<std::size_t>(static_cast<std::size_t>(it - cumulative_.begin()), words_.size() - 1)];
    }
    const std::string& CommonWord() { return words_[static_cast<std::size_t>(Uniform() * 20000)]; }

    // Half the texts under 80 characters, 90 % under 1,000, 99 % under 20,000, one in ten
    // thousand about a million; log-uniform within each band.
    std::size_t TextLength() {
        const double u = Uniform();
        const auto between = [this](double low, double high) {
            return static_cast<std::size_t>(std::exp(std::log(low) + Uniform() * (std::log(high) - std::log(low))));
        };
        if (u < 0.5) return between(8, 80);
        if (u < 0.9) return between(80, 1000);
        if (u < 0.99) return between(1000, 20000);
        if (u < 0.9999) return between(20000, 100000);
        return between(900000, 1100000);
    }

    // Sentences of prose, with now and then a phone number or an e-mail address.
    std::string Text(std::size_t length) {
        std::string text;
        while (text.size() < length) {
            const int words = 4 + static_cast<int>(Uniform() * 12);
            for (int w = 0; w < words && text.size() < length; ++w) {
                std::string word = Word();
                if (w == 0 && word[0] >= 'a' && word[0] <= 'z') word[0] = static_cast<char>(word[0] - 'a' + 'A');
                text += word;
                text += w + 1 < words ? (Uniform() < 0.08 ? ", " : " ") : ". ";
            }
            const double extra = Uniform();
            if (extra < 0.02) text += "Tél. 06 " + std::to_string(10 + static_cast<int>(Uniform() * 89)) + " 34 56 78. ";
            else if (extra < 0.04) text += CommonWord() + "@exemple.com ";
            if (Uniform() < 0.3) text += '\n';
        }
        return text;
    }

    // The text as the rich-edit control writes it: accents as \'hh in code page 1252, now and
    // then as \u with its fallback, characters beyond 1252 as \u alone.
    std::string Rtf(const std::string& text) {
        std::string rtf =
            "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1036{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}}\r\n"
            "{\\*\\generator Msftedit 5.41.21.2510;}\\viewkind4\\uc1\\pard\\f0\\fs20 ";
        char hex[24];
        for (const char32_t cp : CodePoints(text)) {
            if (cp == '\n') {
                rtf += "\\par\r\n";
            } else if (cp == '\\' || cp == '{' || cp == '}') {
                rtf += '\\';
                rtf += static_cast<char>(cp);
            } else if (cp < 0x80) {
                rtf += static_cast<char>(cp);
            } else if (const unsigned char b = Byte1252(cp)) {
                if (Uniform() < 0.05)
                    std::snprintf(hex, sizeof hex, "\\u%d\\'%02x", static_cast<int>(cp), b);
                else
                    std::snprintf(hex, sizeof hex, "\\'%02x", b);
                rtf += hex;
            } else {
                std::snprintf(hex, sizeof hex, "\\u%d?", static_cast<int>(cp > 0x7FFF ? static_cast<int>(cp) - 65536 : cp));
                rtf += hex;
            }
        }
        rtf += "\\par\r\n}\r\n";
        return rtf;
    }

    std::string NewName() {
        std::string name;
        const int words = 1 + static_cast<int>(Uniform() * 3);
        for (int w = 0; w < words; ++w) name += (w ? " " : "") + CommonWord();
        return name;
    }

    const StoreOptions& options_;
    std::mt19937_64 rng_;
    std::vector<std::string> words_;
    std::vector<double> cumulative_;
};

void WriteFile(const fsys::path& path, const std::string& bytes) {
    std::FILE* file = std::fopen(path.string().c_str(), "wb");
    if (!file || std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size() || std::fclose(file) != 0)
        throw std::runtime_error("cannot write " + path.string());
}

std::string To1252(const std::string& utf8) {
    std::string out;
    for (const char32_t cp : CodePoints(utf8)) {
        const unsigned char b = Byte1252(cp);
        out += b ? static_cast<char>(b) : '?';
    }
    return out;
}

// A 1 x 1 bitmap file, 24 bits.
std::string TinyBitmap() {
    const unsigned char bytes[58] = {'B', 'M', 58, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1, 0,
                                     24, 0, 0, 0, 0, 0, 4, 0, 0, 0, 0x13, 0x0B, 0, 0, 0x13, 0x0B, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                     0xFF, 0x80, 0x00, 0};
    return std::string(reinterpret_cast<const char*>(bytes), sizeof bytes);
}

}  // namespace

std::vector<StoreItem> MakeSearchStore(const std::string& dir, const StoreOptions& options) {
    Generator generator(options);
    const fsys::path store = fsys::path(dir) / "Clipboard";
    fsys::create_directories(store);
    std::vector<StoreItem> items;
    items.reserve(static_cast<std::size_t>(options.items));
    ClipIndex index;
    index.Reserve(static_cast<std::size_t>(options.items));
    char name[32];
    for (int i = 1; i <= options.items; ++i) {
        StoreItem item;
        item.text = generator.Uniform() >= options.pictureShare;
        std::snprintf(name, sizeof name, item.text ? "Texte_%06d" : "Image_%06d", i);
        item.fileName = std::string(name) + (item.text ? ".txt" : ".bmp");
        item.displayName = generator.Uniform() < options.renamedShare ? generator.NewName() : name;
        WriteFile(store / item.fileName, item.text ? generator.Rtf(generator.Text(generator.TextLength())) : TinyBitmap());
        index.AppendItem(To1252(item.displayName), item.fileName);
        items.push_back(std::move(item));
    }
    WriteFile(fsys::path(dir) / "Tessera.FIC", EncodeIndexFile(index));
    return items;
}

std::vector<StoreItem> ReadSearchStore(const std::string& dir) {
    std::ifstream in(fsys::path(dir) / "Tessera.FIC", std::ios::binary);
    if (!in) throw std::runtime_error("no Tessera.FIC in " + dir);
    std::stringstream bytes;
    bytes << in.rdbuf();
    ClipIndex index;
    DecodeIndexFile(bytes.str(), index);
    std::vector<StoreItem> items;
    for (const auto& row : index.StoredRows()) {
        const std::string& file = row.cells[ClipIndex::kFileNameColumn];
        // The names are in code page 1252: read as plain text, they come out in UTF-8.
        items.push_back(StoreItem{file, RtfToText(row.cells[ClipIndex::kDisplayNameColumn]),
                                  file.size() > 4 && file.compare(file.size() - 4, 4, ".txt") == 0});
    }
    return items;
}

}  // namespace tessera::bench
