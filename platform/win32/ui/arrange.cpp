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

#include "platform/win32/ui/button.h"
#include "platform/win32/ui/label.h"

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

// Placed in layout order, which lists a row's labels from left to right, rows from the top
// down and a button after the labels beside it: whatever a control keeps clear of is placed
// before it.
void Form::Arrange(const Control& changed) {
    if (!lookApplied_ || arranging_) return;
    arranging_ = true;  // moving a control does not arrange again
    const int container = changed.Design().container;
    RECT room{};
    GetClientRect(container ? Find(container)->Hwnd() : hwnd_, &room);
    const int gap = dpiX_ / 24;  // 60 twips
    const auto labelHere = [container](const Control* c) {
        return c->Hwnd() && c->Design().container == container && c->GetKind() == ui::Kind::Label;
    };
    for (auto& c : controls_) {
        const bool button = c->GetKind() == ui::Kind::Button;
        if (!(labelHere(c.get()) || (button && c->Hwnd() && c->Design().container == container))) continue;
        const RECT laid = c->LaidOut(), now = Current(c->Hwnd());
        const int needs = button ? static_cast<const Button&>(*c).TextRoom() : 0;
        const int width = button ? 0 : now.right - now.left;
        int left = laid.left, top = laid.top;
        for (auto& other : controls_) {
            if (!button && other == c) break;
            if (!labelHere(other.get())) continue;
            const RECT r = Current(other->Hwnd()), b = other->LaidOut();
            if (button) {
                if (r.top < laid.bottom && laid.top < r.bottom && r.left < laid.left) left = std::max<int>(left, r.right + gap);
            } else if (SameRow(b, laid)) {
                if (b.left < laid.left) left = std::max<int>(left, r.right + gap);
            } else if (r.top < laid.top && r.left < laid.left + width && r.right > laid.left) {
                top = std::max<int>(top, r.top + static_cast<const Label&>(*other).LineHeight());
            }
        }
        if (button) {
            const int right = std::max<int>(laid.right, std::min<int>(room.right, laid.left + needs));
            left = std::min<int>(left, std::max<int>(laid.left, right - needs));
            Place(c->Hwnd(), RECT{left, laid.top, right, laid.bottom});
        } else {
            left = std::max<int>(laid.left, std::min<int>(left, room.right - width));
            Place(c->Hwnd(), RECT{left, top, left + width, top + now.bottom - now.top});
        }
    }
    arranging_ = false;
}

}  // namespace win32
