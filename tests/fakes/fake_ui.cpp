#include "fakes/fake_ui.h"

#include <algorithm>
#include <stdexcept>

namespace fakes {

FakeControl::FakeControl(const ui::ControlSpec& s)
    : design(s), visible(!(s.look & ui::kHidden)), underline((s.look & ui::kUnderline) != 0) {
    const std::wstring text = s.caption ? s.caption : L"";
    if (s.kind == ui::Kind::TabStrip) {
        for (const auto& row : ui::CaptionRows(text)) {
            tabCaptions.push_back(row[0]);
            tabKeys.push_back(row.size() > 1 ? row[1] : L"");
        }
    } else if (s.kind == ui::Kind::ListView) {
        for (const auto& row : ui::CaptionRows(text)) columns.push_back(row.size() > 1 ? row[1] : L"");
    } else {
        caption = text;
    }
}

bool FakeControl::SetFontName(const std::wstring& face) {
    if (design.kind == ui::Kind::Timer || refusesFont) return false;
    fontName = face;
    return true;
}

void FakeControl::BringToFront() {
    if (zCounter) z = ++*zCounter;
}

void FakeControl::SetFocus() {
    if (focusOwner) *focusOwner = design.id;
}

void FakeControl::RemoveTab(int index) {
    tabCaptions.erase(tabCaptions.begin() + (index - 1));
    tabKeys.erase(tabKeys.begin() + (index - 1));
}

void FakeControl::AddItem(const std::wstring& key, const std::wstring& text) {
    for (const auto& item : items)
        if (item.key == key) throw std::logic_error("duplicate list view key");
    items.push_back({key, {text}});
}

void FakeControl::SetLastItemSubItem(int sub, const std::wstring& text) {
    auto& texts = items.back().texts;
    if (texts.size() <= static_cast<std::size_t>(sub)) texts.resize(static_cast<std::size_t>(sub) + 1);
    texts[static_cast<std::size_t>(sub)] = text;
}

std::wstring FakeControl::ItemText(int item, int column) const {
    const auto& texts = items.at(static_cast<std::size_t>(item)).texts;
    return static_cast<std::size_t>(column) < texts.size() ? texts[static_cast<std::size_t>(column)] : L"";
}

void FakeControl::Sort() {
    if (!sorted) return;
    const auto column = static_cast<std::size_t>(sortKey);
    std::stable_sort(items.begin(), items.end(), [column](const FakeItem& a, const FakeItem& b) {
        const std::wstring& ta = column < a.texts.size() ? a.texts[column] : L"";
        const std::wstring& tb = column < b.texts.size() ? b.texts[column] : L"";
        return ui::CompareItemText(ta, tb) < 0;
    });
}

FakeForm::FakeForm(std::span<const ui::ControlSpec> layout) {
    for (const auto& design : layout) {
        auto control = std::make_unique<FakeControl>(design);
        control->zCounter = &zCounter;
        control->focusOwner = &focus;
        byId[design.id] = control.get();
        controls.push_back(std::move(control));
    }
    // As laid out: earlier pages in front of later ones.
    for (auto it = controls.rbegin(); it != controls.rend(); ++it)
        if ((*it)->design.kind == ui::Kind::Page) (*it)->BringToFront();
}

std::vector<ui::Control*> FakeForm::Controls() {
    std::vector<ui::Control*> all;
    for (auto& c : controls) all.push_back(c.get());
    return all;
}

}  // namespace fakes
