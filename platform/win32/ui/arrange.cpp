// What keeps every text of the window readable in any font and at any screen scaling. Where a
// text fits at its laid-out place nothing moves; where it does not (a wider font, a longer
// translation, a larger DPI):
// - a label keeps a small gap after the label before it on its row (a value after its
//   caption), never left of its laid-out place and never past its container;
// - a label below another that reaches over its left end starts below the other's line;
// - a button to the right of a label makes room by giving up width at its left, down to
//   what its caption needs;
// - a button with an icon grows to the right until its centred caption clears the icon.
#include "platform/win32/ui/form.h"

#include <algorithm>

namespace win32 {
namespace {

// Two labels share a row when their laid-out tops differ by less than half a line.
bool SameRow(const RECT& a, const RECT& b) {
    return 2 * std::abs(a.top - b.top) < std::min(a.bottom - a.top, b.bottom - b.top);
}

RECT Current(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    MapWindowPoints(nullptr, GetParent(hwnd), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void Place(HWND hwnd, const RECT& want) {
    const RECT now = Current(hwnd);
    if (EqualRect(&now, &want)) return;
    SetWindowPos(hwnd, nullptr, want.left, want.top, want.right - want.left, want.bottom - want.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

void Form::Arrange(const Control& changed) {
    if (!lookApplied_ || arranging_) return;
    arranging_ = true;  // moving a control does not arrange again
    const int container = changed.Design().container;
    RECT room{};
    GetClientRect(container ? Find(container)->Hwnd() : hwnd_, &room);
    const int gap = Pixels(60, false);

    std::vector<Control*> labels, buttons;
    for (auto& c : controls_) {
        if (!c->Hwnd() || c->Design().container != container) continue;
        if (c->GetKind() == ui::Kind::Label) labels.push_back(c.get());
        if (c->GetKind() == ui::Kind::Button) buttons.push_back(c.get());
    }
    SortStable(labels, [](const Control* c) { return c->Design().place.left; });
    std::vector<RECT> placed;
    for (std::size_t i = 0; i < labels.size(); ++i) {
        const RECT laid = labels[i]->LaidOut(), now = Current(labels[i]->Hwnd());
        const int width = now.right - now.left;
        int left = laid.left;
        for (std::size_t j = 0; j < i; ++j)
            if (labels[j]->Design().place.left < labels[i]->Design().place.left && SameRow(labels[j]->LaidOut(), laid))
                left = std::max<int>(left, placed[j].right + gap);
        left = std::max<int>(laid.left, std::min<int>(left, room.right - width));
        int top = laid.top;
        for (std::size_t j = 0; j < i; ++j)
            if (placed[j].top < laid.top && placed[j].right > left && !SameRow(labels[j]->LaidOut(), laid))
                top = std::max<int>(top, placed[j].top + labels[j]->LineHeight());
        const RECT want{left, top, left + width, now.bottom - now.top + top};
        Place(labels[i]->Hwnd(), want);
        placed.push_back(want);
    }
    for (Control* button : buttons) {
        const RECT laid = button->LaidOut();
        const int needs = button->TextRoom();
        int left = laid.left;
        const int right = std::max<int>(laid.right, std::min<int>(room.right, laid.left + needs));
        for (const RECT& label : placed)
            if (label.top < laid.bottom && laid.top < label.bottom && label.left < laid.left)
                left = std::max<int>(left, label.right + gap);
        left = std::min<int>(left, std::max<int>(laid.left, right - needs));
        Place(button->Hwnd(), RECT{left, laid.top, right, laid.bottom});
    }
    arranging_ = false;
}

}  // namespace win32
