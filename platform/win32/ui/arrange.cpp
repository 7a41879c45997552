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
// before it. Each control of the container says what it is to the others, then places itself.
void Form::Arrange(const Control& changed) {
    if (!lookApplied_ || arranging_) return;
    arranging_ = true;  // moving a control does not arrange again
    const int container = changed.Design().container;
    Arrangement around{{}, dpiX_ / 24, {}};  // gap: 60 twips
    GetClientRect(container ? Find(container)->Hwnd() : hwnd_, &around.room);
    std::vector<Control*> here;
    for (auto& c : controls_)
        if (c->Hwnd() && c->Design().container == container) here.push_back(c.get());
    for (Control* c : here) c->JoinArrangement(around);
    for (Control* c : here) c->Rearrange(around);
    arranging_ = false;
}

void Label::JoinArrangement(Arrangement& around) const { around.labels.push_back(this); }

void Label::Rearrange(const Arrangement& around) {
    const RECT laid = LaidOut(), now = Current(hwnd_);
    const int width = now.right - now.left;
    int left = laid.left, top = laid.top;
    for (const Label* other : around.labels) {
        if (other == this) break;
        const RECT r = Current(other->Hwnd()), b = other->LaidOut();
        if (SameRow(b, laid)) {
            if (b.left < laid.left) left = std::max<int>(left, r.right + around.gap);
        } else if (r.top < laid.top && r.left < laid.left + width && r.right > laid.left) {
            top = std::max<int>(top, r.top + other->LineHeight());
        }
    }
    left = std::max<int>(laid.left, std::min<int>(left, around.room.right - width));
    Place(hwnd_, RECT{left, top, left + width, top + now.bottom - now.top});
}

void Button::Rearrange(const Arrangement& around) {
    const RECT laid = LaidOut();
    const int needs = TextRoom();
    int left = laid.left;
    for (const Label* other : around.labels) {
        const RECT r = Current(other->Hwnd());
        if (r.top < laid.bottom && laid.top < r.bottom && r.left < laid.left)
            left = std::max<int>(left, r.right + around.gap);
    }
    const int right = std::max<int>(laid.right, std::min<int>(around.room.right, laid.left + needs));
    left = std::min<int>(left, std::max<int>(laid.left, right - needs));
    Place(hwnd_, RECT{left, laid.top, right, laid.bottom});
}

}  // namespace win32
