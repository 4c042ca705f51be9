#include "search/item_texts.h"

#include <bit>
#include <cstring>
#include <stdexcept>

#include "text/text_summary.h"

namespace tessera {

std::size_t ItemTexts::MemoryBytes() const noexcept {
    return fileNames_.capacity() + summaries_.capacity() +
           (fileNameEnds_.capacity() + summaryEnds_.capacity()) * sizeof(std::uint32_t) +
           stamps_.capacity() * sizeof(FileStamp) + words_.MemoryBytes();
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
    ItemTexts out;
    out.words_ = MergeWords(base_ ? base_->Words() : kNoWords, words_, renumber);
    for (std::size_t doc = 0; doc < baseCount; ++doc) {
        if (dropped_[doc]) continue;
        AppendSlice(out.fileNames_, out.fileNameEnds_, base_->FileName(doc));
        AppendSlice(out.summaries_, out.summaryEnds_, base_->Summary(doc));
        out.stamps_.push_back(base_->Stamp(doc));
    }
    for (std::size_t i = 0; i < stamps_.size(); ++i) {
        const std::uint32_t begin = i == 0 ? 0 : fileNameEnds_[i - 1];
        AppendSlice(out.fileNames_, out.fileNameEnds_, std::string_view(fileNames_).substr(begin, fileNameEnds_[i] - begin));
        const std::uint32_t summaryBegin = i == 0 ? 0 : summaryEnds_[i - 1];
        AppendSlice(out.summaries_, out.summaryEnds_,
                    std::string_view(summaries_).substr(summaryBegin, summaryEnds_[i] - summaryBegin));
        out.stamps_.push_back(stamps_[i]);
    }
    return out;
}

// The cache file: a header (magic, version, payload size, payload checksum) and the payload, the
// arrays of ItemTexts one after the other, each array preceded by its length, all numbers
// little-endian:
//   documents: count; file name ends and bytes; summary ends and bytes; stamps (size, time)
//   words: count; word ends and bytes; posting list ends and bytes
// A reader trusts nothing: a wrong checksum, length or order throws the whole cache away.

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
void PutArray(std::string& out, const std::vector<T>& values) {
    PutNumber(out, static_cast<std::uint32_t>(values.size()));
    if constexpr (std::endian::native == std::endian::little) {
        if (!values.empty()) out.append(reinterpret_cast<const char*>(values.data()), values.size() * sizeof(T));
    } else {
        for (const T value : values) PutNumber(out, value);
    }
}

void PutBytes(std::string& out, const std::string& bytes) {
    PutNumber(out, static_cast<std::uint32_t>(bytes.size()));
    out.append(bytes);
}

class Reader {
public:
    explicit Reader(std::string_view bytes) : rest_(bytes) {}

    template <class T>
    bool Number(T& value) {
        if (rest_.size() < sizeof(T)) return false;
        std::uint64_t v = 0;
        for (std::size_t i = 0; i < sizeof(T); ++i) v |= static_cast<std::uint64_t>(static_cast<unsigned char>(rest_[i])) << (8 * i);
        value = static_cast<T>(v);
        rest_.remove_prefix(sizeof(T));
        return true;
    }
    // An array of 32-bit numbers, its length checked against the bytes left before anything is made.
    bool Array(std::vector<std::uint32_t>& values) {
        std::uint32_t count = 0;
        if (!Number(count) || rest_.size() / 4 < count) return false;
        values.resize(count);
        if constexpr (std::endian::native == std::endian::little) {
            if (count > 0) std::memcpy(values.data(), rest_.data(), count * std::size_t{4});
            rest_.remove_prefix(count * std::size_t{4});
        } else {
            for (auto& value : values) Number(value);
        }
        return true;
    }
    bool Bytes(std::string& bytes) {
        std::uint32_t size = 0;
        if (!Number(size) || rest_.size() < size) return false;
        bytes.assign(rest_.data(), size);
        rest_.remove_prefix(size);
        return true;
    }
    bool AtEnd() const { return rest_.empty(); }

private:
    std::string_view rest_;
};

// Ends that never decrease and close on the last byte.
bool EndsFit(const std::vector<std::uint32_t>& ends, const std::string& bytes) {
    std::uint32_t previous = 0;
    for (const std::uint32_t end : ends) {
        if (end < previous) return false;
        previous = end;
    }
    return previous == bytes.size();
}

}  // namespace

std::string EncodeSearchCache(const ItemTexts& texts) {
    std::string payload;
    payload.reserve(texts.MemoryBytes() + 64);
    PutArray(payload, texts.fileNameEnds_);
    PutBytes(payload, texts.fileNames_);
    PutArray(payload, texts.summaryEnds_);
    PutBytes(payload, texts.summaries_);
    PutNumber(payload, static_cast<std::uint32_t>(texts.stamps_.size()));
    for (const FileStamp& stamp : texts.stamps_) {
        PutNumber(payload, stamp.size);
        PutNumber(payload, stamp.time);
    }
    PutArray(payload, texts.words_.wordEnds_);
    PutBytes(payload, texts.words_.chars_);
    PutArray(payload, texts.words_.postingEnds_);
    PutBytes(payload, texts.words_.postings_);

    return SealSearchCachePayload(payload);
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

std::optional<ItemTexts> DecodeSearchCache(std::string_view bytes) {
    if (bytes.size() < kHeaderSize || std::memcmp(bytes.data(), kMagic, sizeof kMagic) != 0) return std::nullopt;
    Reader header(bytes.substr(sizeof kMagic, kHeaderSize - sizeof kMagic));
    std::uint32_t version = 0;
    std::uint32_t flags = 0;
    std::uint64_t size = 0;
    std::uint64_t checksum = 0;
    header.Number(version);
    header.Number(flags);
    header.Number(size);
    header.Number(checksum);
    const std::string_view payload = bytes.substr(kHeaderSize);
    if (version != kVersion || flags != 0 || size != payload.size() || Checksum(payload) != checksum) return std::nullopt;

    ItemTexts texts;
    Reader in(payload);
    std::uint32_t stampCount = 0;
    if (!in.Array(texts.fileNameEnds_) || !in.Bytes(texts.fileNames_) || !in.Array(texts.summaryEnds_) ||
        !in.Bytes(texts.summaries_) || !in.Number(stampCount) || stampCount != texts.fileNameEnds_.size() ||
        stampCount != texts.summaryEnds_.size() || payload.size() / 16 < stampCount)
        return std::nullopt;
    texts.stamps_.resize(stampCount);
    for (FileStamp& stamp : texts.stamps_)
        if (!in.Number(stamp.size) || !in.Number(stamp.time)) return std::nullopt;
    FrozenWords& words = texts.words_;
    if (!in.Array(words.wordEnds_) || !in.Bytes(words.chars_) || !in.Array(words.postingEnds_) ||
        !in.Bytes(words.postings_) || !in.AtEnd())
        return std::nullopt;
    if (!EndsFit(texts.fileNameEnds_, texts.fileNames_) || !EndsFit(texts.summaryEnds_, texts.summaries_) ||
        !words.IsWellFormed())
        return std::nullopt;
    return texts;
}

}  // namespace tessera
