#include "fakes/fake_ui.h"

#include <algorithm>

namespace fakes {

FakeControl::FakeControl(const ui::ControlSpec& s)
    : design(s), visible(!(s.look & ui::kHidden)), underline((s.look & ui::kUnderline) != 0) {
    const std::wstring text = s.caption ? s.caption : L"";
    for (const auto& row : ui::CaptionRows(text)) {
        if (s.kind == ui::Kind::TabStrip) tabCaptions.push_back(row[0]);
        if (s.kind == ui::Kind::ListView) columns.push_back(row.at(1));
    }
    if (s.kind != ui::Kind::TabStrip && s.kind != ui::Kind::ListView) caption = text;
}

void FakeControl::Sort() {
    if (!sorted) return;
    const auto column = static_cast<std::size_t>(sortKey);
    std::stable_sort(items.begin(), items.end(), [column](const auto& a, const auto& b) {
        return ui::CompareItemText(column < a.size() ? a[column] : L"", column < b.size() ? b[column] : L"") < 0;
    });
}

FakeForm::FakeForm(std::span<const ui::ControlSpec> layout) {
    for (const auto& design : layout) {
        controls.push_back(std::make_unique<FakeControl>(design));
        controls.back()->zCounter = &zCounter;
        controls.back()->focusOwner = &focus;
        byId[design.id] = controls.back().get();
    }
    // As the real toolkit lays them: earlier pages in front of later ones.
    for (auto it = controls.rbegin(); it != controls.rend(); ++it)
        if ((*it)->design.kind == ui::Kind::Page) (*it)->BringToFront();
}

std::vector<ui::Control*> FakeForm::Controls() {
    std::vector<ui::Control*> all;
    for (auto& c : controls) all.push_back(c.get());
    return all;
}

}  // namespace fakes
