#include "controls/icon_list.h"

#include <stdexcept>
#include <utility>

namespace tessera {

TIcon::~TIcon() { FreeHandle(); }

void TIcon::SetImage(std::vector<std::uint8_t> image) {
    FreeHandle();
    image_ = std::move(image);
    if (OnChange) OnChange();
}

IconHandle TIcon::Handle() const {
    // Made once per image: a failed attempt is not repeated on every frame.
    if (!made_ && maker_ && !image_.empty()) {
        handle_ = maker_->Make(image_);
        made_ = true;
    }
    return handle_;
}

void TIcon::FreeHandle() const {
    if (handle_ && maker_) maker_->Free(handle_);
    handle_ = 0;
    made_ = false;
}

void TIconList::EndUpdate() {
    if (updateDepth_ > 0 && --updateDepth_ == 0 && changedInBracket_) {
        changedInBracket_ = false;
        if (OnChange) OnChange();
    }
}

void TIconList::Changed() {
    if (updateDepth_ > 0) {
        changedInBracket_ = true;
        return;
    }
    if (OnChange) OnChange();
}

TIcon& TIconList::AddEntry() {
    auto icon = std::make_unique<TIcon>(maker_);
    // Changes made to an entry count as changes of the list.
    icon->OnChange = [this] { Changed(); };
    items_.push_back(std::move(icon));
    return *items_.back();
}

void TIconList::Clear() {
    items_.clear();
    Changed();
}

void TIconList::Add(const TIcon& icon) {
    BeginUpdate();
    AddEntry().Assign(icon);
    EndUpdate();
}

void TIconList::AddEmpty() {
    AddEntry();
    Changed();
}

void TIconList::Assign(const TIconList& other) {
    if (&other == this) return;
    BeginUpdate();
    Clear();
    for (const auto& icon : other.items_) Add(*icon);
    EndUpdate();
}

void TIconList::Assign(const TIcon& icon) {
    BeginUpdate();
    Clear();
    Add(icon);
    EndUpdate();
}

namespace {

void PutInt32(std::vector<std::uint8_t>& out, std::int32_t value) {
    const auto u = static_cast<std::uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<std::uint8_t>(u >> shift));
}

class Reader {
public:
    explicit Reader(std::span<const std::uint8_t> data) : data_(data) {}
    std::size_t Left() const noexcept { return data_.size() - at_; }
    std::int32_t Int32() {
        auto bytes = Bytes(4);
        std::uint32_t u = 0;
        for (int i = 3; i >= 0; --i) u = (u << 8) | bytes[static_cast<std::size_t>(i)];
        return static_cast<std::int32_t>(u);
    }
    std::span<const std::uint8_t> Bytes(std::size_t n) {
        if (n > Left()) throw std::runtime_error("Icons: données tronquées");
        auto part = data_.subspan(at_, n);
        at_ += n;
        return part;
    }

private:
    std::span<const std::uint8_t> data_;
    std::size_t at_ = 0;
};

}  // namespace

std::vector<std::uint8_t> TIconList::WriteData() const {
    std::vector<std::uint8_t> out;
    PutInt32(out, Count());
    for (const auto& icon : items_) {
        PutInt32(out, static_cast<std::int32_t>(icon->Image().size()));
        out.insert(out.end(), icon->Image().begin(), icon->Image().end());
    }
    return out;
}

void TIconList::ReadData(std::span<const std::uint8_t> data) {
    // Everything is read before the list changes, so damaged data leaves it untouched.
    Reader in(data);
    const std::int32_t count = in.Int32();
    // Each entry takes at least its 4-byte size: a larger count cannot be genuine.
    if (count < 0 || static_cast<std::size_t>(count) > in.Left() / 4)
        throw std::runtime_error("Icons: nombre d'icônes invalide");
    std::vector<std::vector<std::uint8_t>> images;
    images.reserve(static_cast<std::size_t>(count));
    for (std::int32_t i = 0; i < count; ++i) {
        const std::int32_t size = in.Int32();
        if (size <= 0) {
            images.emplace_back();
            continue;
        }
        auto bytes = in.Bytes(static_cast<std::size_t>(size));
        images.emplace_back(bytes.begin(), bytes.end());
    }
    BeginUpdate();
    items_.clear();
    changedInBracket_ = true;
    for (auto& image : images) {
        TIcon& entry = AddEntry();
        entry.SetImage(std::move(image));
    }
    EndUpdate();
}

}  // namespace tessera
