#include "lang/multi_lang.h"

namespace tessera {
namespace {

// Sorting is off while items are renamed (a sorted list would move them under the walk) and
// comes back as it was, also when a rule throws.
class SortingOff {
public:
    explicit SortingOff(TranslatableComponent& c) : c_(c), was_(c.Sorted()) { c_.SetSorted(false); }
    ~SortingOff() {
        try {
            c_.SetSorted(was_);
        } catch (...) {
        }
    }
    SortingOff(const SortingOff&) = delete;
    SortingOff& operator=(const SortingOff&) = delete;

private:
    TranslatableComponent& c_;
    bool was_;
};

}  // namespace

// The first row goes to item 0 whatever its key; further items follow continuation rows.
// Items left without a row are emptied. An empty list, or no entry for the language at the
// cursor, leaves the items as they are.
template <typename SetItem>
void TMultiLang::ItemListRule(std::size_t& cursor, std::size_t count, SetItem set) {
    if (count == 0 || !HasEntry(cursor)) return;
    std::size_t item = 0;
    std::string text;
    while (item < count && TakeRow(cursor, text)) {
        set(item++, text);
        if (!IsContinuation(cursor)) break;
    }
    for (; item < count; ++item) set(item, std::string());
}

template <typename SetItem>
void TMultiLang::CollectionRule(std::size_t& cursor, std::size_t count, SetItem set) {
    std::string text;
    for (std::size_t item = 0; item < count && TakeRow(cursor, text);) {
        set(item++, text);
        if (!IsContinuation(cursor)) break;
    }
}

// Columns first, then items (caption, then sub-items). Once the rows of the list view have
// ended, neither items nor sub-items start on the next component's key row.
void TMultiLang::ListViewRule(TranslatableComponent& c, std::size_t& cursor) {
    const std::size_t start = cursor;
    CollectionRule(cursor, c.ColumnCount(), [&](std::size_t i, const std::string& t) { c.SetColumn(i, t); });
    SortingOff sorting(c);
    std::string text;
    for (std::size_t item = 0; item < c.ItemCount(); ++item) {
        if (cursor != start && !IsContinuation(cursor)) break;
        if (!TakeRow(cursor, text)) break;
        c.SetItem(item, text);
        if (IsContinuation(cursor))
            ItemListRule(cursor, c.SubItemCount(item),
                         [&](std::size_t sub, const std::string& t) { c.SetSubItem(item, sub, t); });
    }
}

void TMultiLang::TranslateComponent(TranslatableComponent& c, std::size_t& cursor) {
    ApplyPositions(c, false);
    const std::size_t start = cursor;
    auto setItem = [&c](std::size_t i, const std::string& t) { c.SetItem(i, t); };
    std::string text;
    switch (c.Kind()) {
    case ComponentKind::ItemList: ItemListRule(cursor, c.ItemCount(), setItem); break;
    case ComponentKind::ComboBox: {
        const int selected = c.ItemIndex();
        ItemListRule(cursor, c.ItemCount(), setItem);
        c.SetItemIndex(selected);
        break;
    }
    case ComponentKind::RadioGroup:
        if (TakeRow(cursor, text)) c.SetCaption(text);
        // The items start only on a continuation row, so a group without item rows leaves
        // the next component's row alone.
        if (IsContinuation(cursor)) ItemListRule(cursor, c.ItemCount(), setItem);
        break;
    case ComponentKind::StatusBar:
        if (TakeRow(cursor, text)) c.SetText(text);
        for (std::size_t panel = 0; panel < c.ItemCount() && IsContinuation(cursor) && TakeRow(cursor, text);)
            c.SetItem(panel++, text);
        break;
    case ComponentKind::Collection: {
        SortingOff sorting(c);
        CollectionRule(cursor, c.ItemCount(), setItem);
        break;
    }
    case ComponentKind::ListView: ListViewRule(c, cursor); break;
    case ComponentKind::MenuItem:
    case ComponentKind::OwnedForm:
        if (TakeRow(cursor, text)) c.SetCaption(text);
        break;
    case ComponentKind::Default:
        if (c.HasCaption() && TakeRow(cursor, text)) c.SetCaption(text);
        if (c.HasText() && TakeRow(cursor, text)) c.SetText(text);
        break;
    }
    if (c.HasHint()) {
        if (cursor == start) TakeRow(cursor, text);  // the key row, its text unused
        // An empty hint text leaves the hint as it was.
        if (IsHintRow(cursor) && TakeRow(cursor, text) && !text.empty()) c.SetHint(text);
    }
}

}  // namespace tessera
