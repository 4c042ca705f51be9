#include "lang/multi_lang_base.h"

#include <algorithm>
#include <charconv>

#include "text/ascii.h"

namespace tessera {
namespace {

// Every switcher alive, in creation order, and the language forms switch to when loaded. Only
// the GUI thread touches them.
std::vector<TBaseMultiLang*> switchers;
uint8_t currentLanguage = 0;

constexpr std::string_view kFormKey = "%Form%";
constexpr std::string_view kOutOfRange = "Value must not be higher than\rnumber of available languages.";

std::vector<std::string> Split(std::string_view s, char separator) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t at = s.find(separator, start);
        parts.emplace_back(s.substr(start, at == std::string_view::npos ? std::string_view::npos : at - start));
        if (at == std::string_view::npos) return parts;
        start = at + 1;
    }
}

std::string Join(const std::vector<std::string>& parts, char separator) {
    std::string out;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i) out += separator;
        out += parts[i];
    }
    return out;
}

std::optional<int> ReadInt(std::string_view s) {
    int value = 0;
    const auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (error != std::errc{} || end != s.data() + s.size()) return std::nullopt;
    return value;
}

std::string PositionKey(const TranslatableComponent& control, bool asForm) {
    return asForm ? std::string(kFormKey) : LowerAscii(control.Name());
}

// The last entry that begins with the key and a comma (later entries win, as they were added last).
std::optional<std::size_t> FindPosition(const std::vector<std::string>& positions, const std::string& key) {
    const std::string prefix = key + ",";
    for (std::size_t i = positions.size(); i-- > 0;)
        if (positions[i].starts_with(prefix)) return i;
    return std::nullopt;
}

// True when a position entry holds different values for its languages.
bool ValuesDiffer(const std::string& entry) {
    const std::vector<std::string> parts = Split(entry, ',');
    if (parts.size() < 3) return false;
    return std::any_of(parts.begin() + 1, parts.end(), [&](const std::string& v) { return v != parts[1]; });
}

}  // namespace

TBaseMultiLang::TBaseMultiLang(ComponentTree& owner, LanguageDialogs& dialogs) : owner_(owner), dialogs_(dialogs) {
    switchers.push_back(this);
}

TBaseMultiLang::~TBaseMultiLang() { std::erase(switchers, this); }

void SetAllLanguages(uint8_t n) {
    // By index: a switch may show a box, but never creates or destroys a switcher.
    for (std::size_t i = 0; i < switchers.size(); ++i)
        if (n < switchers[i]->Languages()) switchers[i]->SetActiveLanguage(n);
    currentLanguage = n;
}

uint8_t CurrentLanguage() noexcept { return currentLanguage; }

void TBaseMultiLang::Loaded() {
    loading_ = false;
    if (!owner_.Designing()) SetActiveLanguage(currentLanguage);
}

void TBaseMultiLang::OutOfRange() { dialogs_.Show(LanguageBox::InformationCancel, kOutOfRange); }

void TBaseMultiLang::SetActiveLanguage(uint8_t n) { Switch(n); }

void TBaseMultiLang::SetDefaultLanguage(uint8_t n) {
    if (n >= languages_) {
        OutOfRange();
        return;
    }
    if (n == defaultLanguage_) return;
    defaultLanguage_ = n;
    Switch(activeLanguage_);  // redraw with the new fallback
}

void TBaseMultiLang::SetDefaultEnabled(bool on) {
    if (on == defaultEnabled_) return;
    defaultEnabled_ = on;
    Switch(activeLanguage_);
}

// No short cut when `n` is already active: the whole table is applied again, which resets
// texts the program changed since.
void TBaseMultiLang::Switch(uint8_t n) {
    if (n >= languages_) {
        OutOfRange();
        return;
    }
    bool allowIt = true;
    if (BeforeLanguageChange) BeforeLanguageChange(*this, n, allowIt);
    if (!allowIt) return;
    SaveCharSet();
    SavePositions(owner_.Form(), true);
    for (std::size_t i = 0; i < owner_.ComponentCount(); ++i) SavePositions(owner_.Component(i), false);
    activeLanguage_ = n;
    ApplyCharSet();
    ApplyPositions(owner_.Form(), true);
    Walk();
    if (AfterLanguageChanged) AfterLanguageChanged(*this, activeLanguage_);
}

void TBaseMultiLang::Walk() {
    std::size_t cursor = 0;
    try {
        while (cursor < Words.size()) {
            const std::string& key = Words[cursor];
            if (key == kFormKey) {
                std::string text;
                std::size_t row = cursor;
                if (owner_.Form().HasCaption() && TakeRow(row, text)) owner_.Form().SetCaption(text);
                cursor += RowSize();
                continue;
            }
            TranslatableComponent* component = owner_.FindComponent(key);
            if (!component) {
                cursor += RowSize();  // free texts, stray continuation and hint rows
                continue;
            }
            const std::size_t keyRow = cursor;
            try {
                TranslateComponent(*component, cursor);
            } catch (...) {
                // One component's failure costs only its own rows.
                cursor = SkipComponentRows(keyRow);
            }
            // A component that took no row still moves the walk past its key row.
            if (cursor <= keyRow) cursor = keyRow + RowSize();
        }
    } catch (...) {
        // Reading or looking up a key failed: the walk ends, the switch still finishes.
    }
}

// The first row after the key row at `keyRow` that is neither a continuation nor a hint row.
std::size_t TBaseMultiLang::SkipComponentRows(std::size_t keyRow) const {
    std::size_t cursor = keyRow + RowSize();
    while (IsContinuation(cursor) || IsHintRow(cursor)) cursor += RowSize();
    return cursor;
}

bool TBaseMultiLang::IsHintRow(std::size_t cursor) const {
    return RowExists(cursor) && EqualsIgnoringCase(Words[cursor], "\".hint");
}

bool TBaseMultiLang::TakeRow(std::size_t& cursor, std::string& text) const {
    if (!HasEntry(cursor)) return false;
    text = Words[cursor + activeLanguage_ + 1];
    if (text.empty() && defaultEnabled_) {
        // The fallback is used even when it is empty too.
        const std::size_t fallback = cursor + defaultLanguage_ + 1;
        text = fallback < Words.size() ? Words[fallback] : std::string();
    }
    cursor += RowSize();
    return true;
}

std::string TBaseMultiLang::GetWord(std::string_view id) {
    for (std::size_t r = 0; r + languages_ < Words.size(); r += RowSize()) {
        if (Words[r] != id) continue;
        std::string res;
        std::size_t row = r;
        TakeRow(row, res);
        return res;
    }
    // The handler gets the id apart from the result it may change: clearing the result keeps the id.
    const std::string missing(id);
    std::string res = missing;
    if (IdNotFoundError) IdNotFoundError(*this, missing, res);
    return res;
}

void TBaseMultiLang::SaveCharSet() {
    TranslatableComponent& form = owner_.Form();
    if (!form.HasFont()) return;
    const std::string entry = form.FontName() + "," + std::to_string(form.FontCharSet());
    while (CharSets.size() < languages_) CharSets.push_back(entry);
    if (activeLanguage_ < CharSets.size()) CharSets[activeLanguage_] = entry;
}

// An entry without a comma names the font only; a character set that is not a number is left
// as it was.
void TBaseMultiLang::ApplyCharSet() {
    if (activeLanguage_ >= CharSets.size()) return;
    const std::string& entry = CharSets[activeLanguage_];
    const std::size_t comma = entry.find(',');
    const std::string name = entry.substr(0, comma);
    const std::optional<int> charSet =
        comma == std::string::npos ? std::nullopt : ReadInt(std::string_view(entry).substr(comma + 1));
    TranslatableComponent& form = owner_.Form();
    if (form.HasFont()) form.SetFont(name, charSet);
}

bool TBaseMultiLang::PositionsApply(bool asForm) const noexcept {
    if (switchPositions_ == TSwitchPositions::spNone) return false;
    return !asForm || switchPositions_ == TSwitchPositions::spFormAndControls;
}

void TBaseMultiLang::SavePositions(TranslatableComponent& control, bool asForm) {
    if (!PositionsApply(asForm)) return;
    const ComponentBounds bounds = control.Bounds();
    std::vector<std::string> values;
    for (const std::optional<int>& v : bounds) values.push_back(v ? std::to_string(*v) : std::string());
    const std::string value = Join(values, '.');
    if (value == "...") return;
    const std::string key = PositionKey(control, asForm);
    if (const auto at = FindPosition(Positions, key)) {
        std::vector<std::string> parts = Split(Positions[*at], ',');
        // The active language can be past the count: a count lowered while loading asks nothing.
        const std::size_t slot = std::size_t{activeLanguage_} + 1;
        while (parts.size() < std::max(RowSize(), slot + 1)) parts.emplace_back();
        parts[slot] = value;
        Positions[*at] = Join(parts, ',');
        return;
    }
    std::string entry = key;
    for (uint8_t i = 0; i < languages_; ++i) entry += "," + value;
    Positions.push_back(entry);
}

// A value that is not four dot-separated numbers moves nothing (an empty number stands for a
// property the control lacked when it was saved).
void TBaseMultiLang::ApplyPositions(TranslatableComponent& control, bool asForm) {
    if (!PositionsApply(asForm)) return;
    const auto at = FindPosition(Positions, PositionKey(control, asForm));
    if (!at) return;
    const std::vector<std::string> parts = Split(Positions[*at], ',');
    if (parts.size() <= std::size_t{activeLanguage_} + 1) return;
    const std::vector<std::string> numbers = Split(parts[std::size_t{activeLanguage_} + 1], '.');
    if (numbers.size() != 4) return;
    ComponentBounds bounds;
    for (std::size_t i = 0; i < 4; ++i) {
        if (numbers[i].empty()) continue;
        bounds[i] = ReadInt(numbers[i]);
        if (!bounds[i]) return;
    }
    const ComponentBounds has = control.Bounds();
    for (std::size_t i = 0; i < 4; ++i)
        if (!has[i]) bounds[i].reset();
    control.SetBounds(bounds);
}

void TBaseMultiLang::SetLanguages(uint8_t n) {
    const uint8_t m = languages_;
    if (n == m) return;
    if (n < m && !loading_) {
        if (n == 0) {
            dialogs_.Show(LanguageBox::InformationOk, "You have to provide at least 1 language.");
            return;
        }
        if (activeLanguage_ >= n) {
            if (!dialogs_.Show(LanguageBox::ConfirmationYesNo,
                               "You are decreasing the number of languages.\r"
                               "Entries for the removed language will be lost.\r"
                               "The currently displayed language will be deleted, too.\r\r"
                               "Do you really want to continue?"))
                return;
            Switch(0);
        } else if (!dialogs_.Show(LanguageBox::ConfirmationYesNo,
                                  "You are decreasing the number of languages.\r"
                                  "Entries for the removed language will be lost.\r\r"
                                  "Continue?")) {
            return;
        }
    }
    // Rebuilt row by row; a last, partial row is kept as it is.
    std::vector<std::string> rebuilt;
    const std::size_t oldRow = std::size_t{m} + 1;
    for (std::size_t r = 0; r < Words.size(); r += oldRow) {
        const std::size_t end = std::min(Words.size(), r + oldRow);
        if (end - r < oldRow) {
            rebuilt.insert(rebuilt.end(), Words.begin() + static_cast<std::ptrdiff_t>(r), Words.end());
            break;
        }
        const std::size_t keep = std::min(oldRow, std::size_t{n} + 1);
        rebuilt.insert(rebuilt.end(), Words.begin() + static_cast<std::ptrdiff_t>(r),
                       Words.begin() + static_cast<std::ptrdiff_t>(r + keep));
        for (std::size_t i = m; i < n; ++i) rebuilt.emplace_back("?");
    }
    Words = std::move(rebuilt);
    languages_ = n;
}

bool TBaseMultiLang::DropPositionsAsked(std::size_t from, std::size_t to, std::string_view question) {
    for (std::size_t i = to; i-- > from;) {
        if (!ValuesDiffer(Positions[i])) continue;
        if (!dialogs_.Show(LanguageBox::WarningYesNo, question)) {
            dialogs_.Show(LanguageBox::InformationOk, "Cancelled.");
            return false;
        }
    }
    return true;
}

void TBaseMultiLang::SetSwitchPositions(TSwitchPositions v) {
    if (v == switchPositions_) return;
    if (v == TSwitchPositions::spNone) {
        if (!DropPositionsAsked(0, Positions.size(),
                                "You are going to drop the positions.\r"
                                "Currently different values are stored for each language,\r"
                                "Do you want to drop these values?"))
            return;
        Positions.clear();
    } else if (v == TSwitchPositions::spControlsOnly && switchPositions_ == TSwitchPositions::spFormAndControls) {
        const auto form = std::find_if(Positions.begin(), Positions.end(),
                                       [](const std::string& e) { return e.starts_with("%Form%,"); });
        if (form != Positions.end()) {
            const std::size_t at = static_cast<std::size_t>(form - Positions.begin());
            if (!DropPositionsAsked(at, at + 1,
                                    "You are going to drop the positions for the form.\r"
                                    "Currently different values are stored for each language.\r"
                                    "Do you want to drop these values?"))
                return;
            Positions.erase(Positions.begin() + static_cast<std::ptrdiff_t>(at));
        }
    }
    switchPositions_ = v;
}

}  // namespace tessera
