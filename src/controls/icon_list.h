#pragma once
// TIcon (an icon file image and its native handle) and TIconList (an ordered list of them, with an
// update bracket, a change notification and its stored-data format).
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <vector>

namespace tessera {

// A native icon handle as a plain number; 0 is no icon.
using IconHandle = std::uintptr_t;

// Turns icon file images into native icons and frees them.
class IconMaker {
public:
    virtual ~IconMaker() = default;
    virtual IconHandle Make(std::span<const std::uint8_t> image) = 0;
    virtual void Free(IconHandle handle) = 0;
};

class TIcon {
public:
    explicit TIcon(IconMaker* maker = nullptr) : maker_(maker) {}
    TIcon(const TIcon&) = delete;
    TIcon& operator=(const TIcon&) = delete;
    ~TIcon();

    // Called after each change of the image.
    std::function<void()> OnChange;

    bool Empty() const noexcept { return image_.empty(); }
    const std::vector<std::uint8_t>& Image() const noexcept { return image_; }
    void SetImage(std::vector<std::uint8_t> image);
    // Copies the other icon's image; keeps this icon's maker and notification.
    void Assign(const TIcon& other) { SetImage(other.image_); }
    // The native icon, made on first use; 0 when empty, without a maker, or when making failed.
    IconHandle Handle() const;

private:
    void FreeHandle() const;

    IconMaker* maker_;
    std::vector<std::uint8_t> image_;
    mutable IconHandle handle_ = 0;
    mutable bool made_ = false;
};

class TIconList {
public:
    explicit TIconList(IconMaker* maker = nullptr) : maker_(maker) {}
    TIconList(const TIconList&) = delete;
    TIconList& operator=(const TIconList&) = delete;

    // Called after each change, or once when the outermost update bracket closes.
    std::function<void()> OnChange;

    int Count() const noexcept { return static_cast<int>(items_.size()); }
    // The entry at `index` (0 ... Count() - 1); an empty entry is an empty icon.
    TIcon& Item(int index) { return *items_.at(static_cast<std::size_t>(index)); }
    const TIcon& Item(int index) const { return *items_.at(static_cast<std::size_t>(index)); }

    void BeginUpdate() noexcept { ++updateDepth_; }
    void EndUpdate();

    void Clear();
    // Adds a copy of `icon`; an empty icon makes an empty entry.
    void Add(const TIcon& icon);
    void AddEmpty();
    void Assign(const TIconList& other);
    void Assign(const TIcon& icon);

    // Stored data: count (32-bit signed), then per entry its size (32-bit signed) and, when the
    // size is positive, that many bytes of icon file image. Little-endian.
    std::vector<std::uint8_t> WriteData() const;
    // Replaces the list with the stored data; throws std::runtime_error on damaged data and then
    // leaves the list as it was.
    void ReadData(std::span<const std::uint8_t> data);

private:
    TIcon& AddEntry();
    void Changed();

    IconMaker* maker_;
    std::vector<std::unique_ptr<TIcon>> items_;
    int updateDepth_ = 0;
    bool changedInBracket_ = false;
};

}  // namespace tessera
