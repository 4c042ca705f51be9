#include "search/item_texts.h"

#include <bit>
#include <cstring>
#include <stdexcept>

#include "text/text_summary.h"

namespace tessera {

// The cache file: a header (magic, version, flags, payload size, payload checksum) and the
// payload, the arrays of ItemTexts one after the other, each preceded by its length, all numbers
// little-endian:
//   documents: count and file name ends, file names; count and summary ends, summaries;
//              count and stamps (size, time: 64 bits each)
//   words: count and word ends, words; count and posting list ends, posting lists
// The texts are read in place. A reader trusts nothing: a wrong checksum, length, end or order
// throws the whole cache away.

namespace {

constexpr char kMagic[8] = {'T', 'e', 's', 's', 'S', 'r', 'c', 'h'};
constexpr std::uint32_t kVersion = 1;
constexpr std::size_t kHeaderSize = 8 + 4 + 4 + 8 + 8;

// A 64-bit hash of the payload, eight bytes at a time: damage anywhere changes it.
std::uint64_t Checksum(std::string_view bytes) {
    std::uint64_t h = 0x9E3779B97F4A7C15ull ^ bytes.size();
    std::size_t i = 0;
    for (; i + 8 <= bytes.size(); i += 8) {
        std::uint64_t word;
        std::memcpy(&word, bytes.data() + i, 8);
        if constexpr (std::endian::native == std::endian::big) word = __builtin_bswap64(word);
        h = (h ^ word) * 0xFF51AFD7ED558CCDull;
        h ^= h >> 29;
    }
    for (; i < bytes.size(); ++i) h = (h ^ static_cast<unsigned char>(bytes[i])) * 0xC4CEB9FE1A85EC53ull;
    return h ^ (h >> 32);
}

template <class T>
void PutNumber(std::string& out, T value) {
    for (std::size_t i = 0; i < sizeof(T); ++i) out += static_cast<char>(static_cast<std::uint64_t>(value) >> (8 * i));
}

template <class T>
T LoadNumber(const char* at) {
    std::uint64_t v = 0;
    for (std::size_t i = 0; i < sizeof(T); ++i) v |= static_cast<std::uint64_t>(static_cast<unsigned char>(at[i])) << (8 * i);
    return static_cast<T>(v);
}

void PutBytes(std::string& out, std::string_view bytes) {
    if (bytes.size() > 0xFFFFFFF0u) throw std::length_error("search cache");
    PutNumber(out, static_cast<std::uint32_t>(bytes.size()));
    out.append(bytes);
}

// Pieces written back to back, with the array of their ends written before them.
class Pieces {
public:
    void Add(std::string_view piece) {
        bytes_.append(piece);
        if (bytes_.size() > 0xFFFFFFF0u) throw std::length_error("search cache");
        PutNumber(ends_, static_cast<std::uint32_t>(bytes_.size()));
        ++count_;
    }
    void WriteTo(std::string& out) const {
        PutNumber(out, count_);
        out.append(ends_);
        PutBytes(out, bytes_);
    }

private:
    std::string ends_;
    std::string bytes_;
    std::uint32_t count_ = 0;
};

// Reads the payload in place.
class Reader {
public:
    explicit Reader(std::string_view bytes) : rest_(bytes) {}

    bool Count(std::uint32_t& count) {
        if (rest_.size() < 4) return false;
        count = LoadNumber<std::uint32_t>(rest_.data());
        rest_.remove_prefix(4);
        return true;
    }
    // `count` records of `size` bytes, checked against the bytes left.
    bool Records(std::uint32_t count, std::size_t size, const char*& at) {
        if (rest_.size() / size < count) return false;
        at = rest_.data();
        rest_.remove_prefix(count * size);
        return true;
    }
    bool Bytes(std::string_view& bytes) {
        std::uint32_t size = 0;
        if (!Count(size) || rest_.size() < size) return false;
        bytes = rest_.substr(0, size);
        rest_.remove_prefix(size);
        return true;
    }
    // Ends and the pieces they end, the ends never decreasing and the last one closing the bytes.
    bool Pieces(std::uint32_t& count, const char*& ends, std::string_view& bytes) {
        if (!Count(count) || !Records(count, 4, ends) || !Bytes(bytes)) return false;
        std::uint32_t previous = 0;
        for (std::uint32_t i = 0; i < count; ++i) {
            const std::uint32_t end = LoadEnd(ends, i);
            if (end < previous) return false;
            previous = end;
        }
        return previous == bytes.size();
    }
    bool AtEnd() const { return rest_.empty(); }

private:
    std::string_view rest_;
};

std::string EmptyPayload() {
    std::string payload;
    for (int array = 0; array < 2; ++array) Pieces().WriteTo(payload);
    PutNumber(payload, std::uint32_t{0});
    for (int array = 0; array < 2; ++array) Pieces().WriteTo(payload);
    return payload;
}

}  // namespace

ItemTexts::ItemTexts() : bytes_(std::make_unique<const std::string>(SealSearchCachePayload(EmptyPayload()))) { Index(); }

FileStamp ItemTexts::Stamp(std::size_t doc) const noexcept {
    const char* at = stamps_ + 16 * doc;
    return FileStamp{LoadNumber<std::uint64_t>(at), LoadNumber<std::int64_t>(at + 8)};
}

bool ItemTexts::Index() {
    Reader in(std::string_view(*bytes_).substr(kHeaderSize));
    std::uint32_t names = 0;
    std::uint32_t summaries = 0;
    std::uint32_t stamps = 0;
    FrozenWords::Arrays words;
    std::uint32_t wordCount = 0;
    std::uint32_t postingCount = 0;
    if (!in.Pieces(names, fileNameEnds_, fileNames_) || !in.Pieces(summaries, summaryEnds_, summaries_) ||
        !in.Count(stamps) || names != summaries || names != stamps || !in.Records(stamps, 16, stamps_) ||
        !in.Pieces(wordCount, words.wordEnds, words.chars) || !in.Pieces(postingCount, words.postingEnds, words.postings) ||
        wordCount != postingCount || !in.AtEnd())
        return false;
    count_ = names;
    words.count = wordCount;
    words_ = FrozenWords(words);
    return words_.IsWellFormed();
}

ItemTextsWriter::ItemTextsWriter(const ItemTexts* base) : base_(base), dropped_(base ? base->Count() : 0, false) {}

void ItemTextsWriter::Drop(std::size_t doc) {
    if (doc < dropped_.size()) dropped_[doc] = true;
}

namespace {

void AppendSlice(std::string& bytes, std::vector<std::uint32_t>& ends, std::string_view text) {
    if (bytes.size() + text.size() > 0xFFFFFFF0u) throw std::length_error("search texts");
    bytes.append(text);
    ends.push_back(static_cast<std::uint32_t>(bytes.size()));
}

std::string_view Piece(const std::string& bytes, const std::vector<std::uint32_t>& ends, std::size_t i) {
    const std::uint32_t begin = i == 0 ? 0 : ends[i - 1];
    return std::string_view(bytes).substr(begin, ends[i] - begin);
}

void WriteArrays(std::string& out, const FrozenWords& words) {
    const FrozenWords::Arrays& a = words.Data();
    for (const auto& [ends, bytes] : {std::pair{a.wordEnds, a.chars}, std::pair{a.postingEnds, a.postings}}) {
        PutNumber(out, static_cast<std::uint32_t>(a.count));
        if (a.count > 0) out.append(ends, 4 * a.count);
        PutBytes(out, bytes);
    }
}

}  // namespace

void ItemTextsWriter::Add(std::string_view fileName, const FileStamp& stamp, std::string_view text) {
    const auto doc = static_cast<std::uint32_t>(dropped_.size() + stamps_.size());
    words_.AddText(text, doc);
    AppendSlice(fileNames_, fileNameEnds_, fileName);
    AppendSlice(summaries_, summaryEnds_, SummaryLine(text));
    stamps_.push_back(stamp);
}

ItemTexts ItemTextsWriter::Finish() const {
    static const FrozenWords kNoWords;
    const std::size_t baseCount = dropped_.size();
    std::vector<std::uint32_t> renumber;
    bool anyDropped = false;
    for (const bool d : dropped_) anyDropped = anyDropped || d;
    if (anyDropped) {
        renumber.resize(baseCount + stamps_.size());
        std::uint32_t next = 0;
        for (std::size_t doc = 0; doc < renumber.size(); ++doc)
            renumber[doc] = doc < baseCount && dropped_[doc] ? kDroppedDoc : next++;
    }
    const FrozenWords words = MergeWords(base_ ? base_->Words() : kNoWords, words_, renumber);

    Pieces names;
    Pieces summaries;
    std::string stamps;
    const auto addStamp = [&stamps](const FileStamp& stamp) {
        PutNumber(stamps, stamp.size);
        PutNumber(stamps, stamp.time);
    };
    for (std::size_t doc = 0; doc < baseCount; ++doc) {
        if (dropped_[doc]) continue;
        names.Add(base_->FileName(doc));
        summaries.Add(base_->Summary(doc));
        addStamp(base_->Stamp(doc));
    }
    for (std::size_t i = 0; i < stamps_.size(); ++i) {
        names.Add(Piece(fileNames_, fileNameEnds_, i));
        summaries.Add(Piece(summaries_, summaryEnds_, i));
        addStamp(stamps_[i]);
    }
    std::string payload;
    payload.reserve(words.Data().chars.size() + words.Data().postings.size() + 8 * words.WordCount() + stamps.size() * 3);
    names.WriteTo(payload);
    summaries.WriteTo(payload);
    PutNumber(payload, static_cast<std::uint32_t>(stamps.size() / 16));
    payload += stamps;
    WriteArrays(payload, words);

    ItemTexts texts;
    texts.bytes_ = std::make_unique<const std::string>(SealSearchCachePayload(payload));
    if (!texts.Index()) throw std::logic_error("search texts made unreadable");
    return texts;
}

std::string SealSearchCachePayload(std::string_view payload) {
    std::string out(kMagic, sizeof kMagic);
    out.reserve(kHeaderSize + payload.size());
    PutNumber(out, kVersion);
    PutNumber(out, std::uint32_t{0});
    PutNumber(out, static_cast<std::uint64_t>(payload.size()));
    PutNumber(out, Checksum(payload));
    out += payload;
    return out;
}

std::optional<ItemTexts> DecodeSearchCache(std::string bytes) {
    if (bytes.size() < kHeaderSize || std::memcmp(bytes.data(), kMagic, sizeof kMagic) != 0) return std::nullopt;
    const char* header = bytes.data() + sizeof kMagic;
    const std::string_view payload = std::string_view(bytes).substr(kHeaderSize);
    if (LoadNumber<std::uint32_t>(header) != kVersion || LoadNumber<std::uint32_t>(header + 4) != 0 ||
        LoadNumber<std::uint64_t>(header + 8) != payload.size() || LoadNumber<std::uint64_t>(header + 16) != Checksum(payload))
        return std::nullopt;
    ItemTexts texts;
    texts.bytes_ = std::make_unique<const std::string>(std::move(bytes));
    if (!texts.Index()) return std::nullopt;
    return texts;
}

}  // namespace tessera
