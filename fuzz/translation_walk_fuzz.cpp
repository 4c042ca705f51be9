// Drives a language switcher over a form drawn from the input (components of every kind, with
// items, columns and sub-items) through a sequence of calls drawn from the input: random
// translation tables, positions and character sets, language switches, fewer or more languages.
// Besides the sanitizers' findings, a component checks that the walk only names items, columns
// and sub-items it has, and the libFuzzer timeout catches a walk that never ends.
#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "lang/fake_form.h"
#include "lang/multi_lang.h"

namespace {

using tessera::ComponentKind;
using tessera::TSwitchPositions;

void Check(bool ok) {
    if (!ok) std::abort();
}

struct StrictComponent : tessera::testing::FakeComponent {
    void SetItem(std::size_t i, const std::string& t) override {
        Check(i < items.size());
        items[i] = t;
    }
    void SetColumn(std::size_t i, const std::string& t) override {
        Check(i < columns.size());
        columns[i] = t;
    }
    void SetSubItem(std::size_t i, std::size_t j, const std::string& t) override {
        Check(i < items.size() && i < subItems.size() && j < subItems[i].size());
        subItems[i][j] = t;
    }
};

struct StrictForm : tessera::ComponentTree {
    tessera::testing::FakeComponent form;
    std::vector<std::unique_ptr<StrictComponent>> components;

    tessera::TranslatableComponent& Form() override { return form; }
    std::size_t ComponentCount() const override { return components.size(); }
    tessera::TranslatableComponent& Component(std::size_t i) override { return *components.at(i); }
};

// Few names, so that table keys often meet a component; the walk ignores their letter case.
const std::array<const char*, 6> kNames = {"Label1", "ListBox1", "Tree", "View", "Status", "Radio"};
const std::array<const char*, 9> kKeys = {"\"",       "\".hint", "\".Hint", "%Form%", "label1",
                                          "LISTBOX1", "Tree",    "view",    "@1"};

std::string Key(FuzzedDataProvider& in) {
    if (in.ConsumeBool()) return kKeys[in.ConsumeIntegralInRange<std::size_t>(0, kKeys.size() - 1)];
    if (in.ConsumeBool()) return kNames[in.ConsumeIntegralInRange<std::size_t>(0, kNames.size() - 1)];
    return in.ConsumeRandomLengthString(12);
}

std::vector<std::string> Strings(FuzzedDataProvider& in, std::size_t most, bool keys) {
    std::vector<std::string> out(in.ConsumeIntegralInRange<std::size_t>(0, most));
    for (auto& s : out) s = keys && in.ConsumeBool() ? Key(in) : in.ConsumeRandomLengthString(16);
    return out;
}

std::vector<std::string> Texts(FuzzedDataProvider& in, std::size_t most) { return Strings(in, most, false); }

void AddComponent(StrictForm& form, FuzzedDataProvider& in) {
    auto c = std::make_unique<StrictComponent>();
    c->name = kNames[in.ConsumeIntegralInRange<std::size_t>(0, kNames.size() - 1)];
    c->kind = static_cast<ComponentKind>(in.ConsumeIntegralInRange(0, static_cast<int>(ComponentKind::ListView)));
    c->hasCaption = in.ConsumeBool();
    c->hasText = in.ConsumeBool();
    c->hasHint = in.ConsumeBool();
    c->throwOnCaption = in.ConsumeIntegralInRange(0, 7) == 0;
    c->items = Texts(in, 4);
    c->columns = Texts(in, 3);
    c->subItems.resize(in.ConsumeIntegralInRange<std::size_t>(0, c->items.size()));
    for (auto& sub : c->subItems) sub = Texts(in, 3);
    c->itemIndex = in.ConsumeIntegralInRange(-1, 4);
    c->sorted = in.ConsumeBool();
    for (auto& b : c->bounds)
        if (in.ConsumeBool()) b = in.ConsumeIntegral<int>();
    form.components.push_back(std::move(c));
}

std::uint8_t Language(FuzzedDataProvider& in) { return in.ConsumeIntegralInRange<std::uint8_t>(0, 5); }

void Run(FuzzedDataProvider& in) {
    StrictForm form;
    form.form.name = "Form";
    form.form.hasFont = true;
    form.form.hasHint = false;
    for (int n = in.ConsumeIntegralInRange(0, 8); n > 0; --n) AddComponent(form, in);

    tessera::testing::FakeDialogs dialogs;
    tessera::TMultiLang ml(form, dialogs);
    for (int step = 0; step < 48 && in.remaining_bytes() > 0; ++step) {
        switch (in.ConsumeIntegralInRange(0, 12)) {
        case 0: ml.Words = Strings(in, 40, true); break;
        case 1: ml.SetActiveLanguage(Language(in)); break;
        case 2: ml.SetLanguages(Language(in)); break;
        case 3: ml.SetDefaultLanguage(Language(in)); break;
        case 4: ml.SetDefaultEnabled(in.ConsumeBool()); break;
        case 5: ml.SetSwitchPositions(static_cast<TSwitchPositions>(in.ConsumeIntegralInRange(0, 2))); break;
        case 6: ml.Positions = Strings(in, 6, true); break;
        case 7: ml.CharSets = Texts(in, 6); break;
        case 8: ml.GetWord(Key(in)); break;
        case 9:
            if (in.ConsumeBool())
                ml.BeginLoading();
            else
                ml.Loaded();
            break;
        case 10: tessera::SetAllLanguages(Language(in)); break;
        case 11: dialogs.answer = in.ConsumeBool(); break;
        case 12:
            // The program changes a list between switches.
            if (!form.components.empty()) {
                auto& c = *form.components[in.ConsumeIntegralInRange<std::size_t>(0, form.components.size() - 1)];
                c.items = Texts(in, 4);
                c.subItems.resize(std::min(c.subItems.size(), c.items.size()));
            }
            break;
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    Run(in);
    // The language forms start in is kept by the unit: every input starts from the first one.
    tessera::SetAllLanguages(0);
    return 0;
}
