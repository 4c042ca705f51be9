#pragma once
// TBaseMultiLang: a form's language switcher (its table, the switch, free texts by key).
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "lang/language_dialogs.h"
#include "lang/translatable_component.h"

namespace tessera {

enum class TSwitchPositions { spNone, spControlsOnly, spFormAndControls };

class TBaseMultiLang {
public:
    using TBeforeLanguageChange = std::function<void(TBaseMultiLang& sender, uint8_t newLanguage, bool& allowIt)>;
    using TAfterLanguageChanged = std::function<void(TBaseMultiLang& sender, uint8_t newLanguage)>;
    using TIdNotFoundError = std::function<void(TBaseMultiLang& sender, const std::string& id, std::string& res)>;

    // Joins the unit-wide switcher list; `owner` and `dialogs` must outlive the switcher.
    TBaseMultiLang(ComponentTree& owner, LanguageDialogs& dialogs);
    virtual ~TBaseMultiLang();
    TBaseMultiLang(const TBaseMultiLang&) = delete;
    TBaseMultiLang& operator=(const TBaseMultiLang&) = delete;

    TBeforeLanguageChange BeforeLanguageChange;
    TAfterLanguageChanged AfterLanguageChanged;
    TIdNotFoundError IdNotFoundError;

    // Rows of Languages + 1 entries: key, then one text per language.
    std::vector<std::string> Words;
    // "key,L.T.W.H,L.T.W.H" per control.
    std::vector<std::string> Positions;
    // "font name,character set" per language.
    std::vector<std::string> CharSets;

    uint8_t ActiveLanguage() const noexcept { return activeLanguage_; }
    void SetActiveLanguage(uint8_t n);
    uint8_t DefaultLanguage() const noexcept { return defaultLanguage_; }
    void SetDefaultLanguage(uint8_t n);
    bool DefaultEnabled() const noexcept { return defaultEnabled_; }
    void SetDefaultEnabled(bool on);
    uint8_t Languages() const noexcept { return languages_; }
    void SetLanguages(uint8_t n);
    TSwitchPositions SwitchPositions() const noexcept { return switchPositions_; }
    void SetSwitchPositions(TSwitchPositions v);

    // Stored values are being read: the Languages setter asks nothing until Loaded.
    void BeginLoading() noexcept { loading_ = true; }
    // After the stored values: switches to the current language (a full switch).
    virtual void Loaded();

    // The active language's text of the row keyed `id` (case-sensitive), else `id` or what
    // IdNotFoundError makes of it.
    std::string GetWord(std::string_view id);

    void SaveCharSet();
    void ApplyCharSet();
    void SavePositions(TranslatableComponent& control, bool asForm);
    void ApplyPositions(TranslatableComponent& control, bool asForm);

protected:
    // Applies the rows of `component` from its key row at `cursor`; leaves `cursor` after them.
    virtual void TranslateComponent(TranslatableComponent& component, std::size_t& cursor) = 0;

    // Takes the row at `cursor` (moving it on by a row) when it has an entry for the active
    // language; returns false and leaves `cursor` otherwise.
    bool TakeRow(std::size_t& cursor, std::string& text) const;
    bool RowExists(std::size_t cursor) const noexcept { return cursor < Words.size(); }
    bool HasEntry(std::size_t cursor) const noexcept { return cursor + activeLanguage_ + 1 < Words.size(); }
    bool IsContinuation(std::size_t cursor) const { return RowExists(cursor) && Words[cursor] == "\""; }
    bool IsHintRow(std::size_t cursor) const;
    std::size_t RowSize() const noexcept { return std::size_t{languages_} + 1; }

    ComponentTree& owner_;

private:
    void Switch(uint8_t n);
    void Walk();
    std::size_t SkipComponentRows(std::size_t keyRow) const;
    bool PositionsApply(bool asForm) const noexcept;
    void OutOfRange();
    bool DropPositionsAsked(std::size_t from, std::size_t to, std::string_view question);

    LanguageDialogs& dialogs_;
    uint8_t activeLanguage_ = 0;
    uint8_t defaultLanguage_ = 0;
    bool defaultEnabled_ = false;
    uint8_t languages_ = 2;
    TSwitchPositions switchPositions_ = TSwitchPositions::spNone;
    bool loading_ = false;
};

// Switches every switcher that has language `n`, then makes `n` the current language.
void SetAllLanguages(uint8_t n);
// The language new forms switch to when they are loaded (0 at start).
uint8_t CurrentLanguage() noexcept;

}  // namespace tessera
