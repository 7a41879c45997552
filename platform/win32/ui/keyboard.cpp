// Keys that belong to the window rather than to the control that has the focus: Tab and
// Shift+Tab in the layout's tab order across containers, Esc, Ctrl+Tab, Enter on a button.
#include <algorithm>

#include "platform/win32/ui/form.h"

namespace win32 {

bool Form::PreTranslate(MSG& msg) {
    if (msg.message != WM_KEYDOWN || !hwnd_ || (msg.hwnd != hwnd_ && !IsChild(hwnd_, msg.hwnd))) return false;
    const bool ctrl = GetKeyState(VK_CONTROL) < 0, shift = GetKeyState(VK_SHIFT) < 0;
    switch (msg.wParam) {
        case VK_TAB:
            if (ctrl) {
                for (auto& c : controls_)
                    if (c->StepTab(shift)) return true;
                return false;
            }
            MoveFocus(shift);
            return true;
        case VK_ESCAPE:
            RunHandler([this] { sink_->OnCancel(); });
            return true;
        case VK_RETURN: {
            Control* c = Control::FromHwnd(GetFocus());
            return c && c->Press();
        }
        default:
            return false;
    }
}

// The controls that take the focus, visible ones only, by the layout's tab order.
std::vector<Control*> Form::TabOrder(bool enabledOnly) const {
    std::vector<Control*> order;
    for (auto& c : controls_)
        if (c->TabOrder() >= 0 && c->Hwnd() && IsWindowVisible(c->Hwnd()) && (!enabledOnly || IsWindowEnabled(c->Hwnd())))
            order.push_back(c.get());
    SortStable(order, [](const Control* c) { return c->TabOrder(); });
    return order;
}

// Tab walks the controls by the layout's tab order, whatever container they sit in.
void Form::MoveFocus(bool backwards) {
    const auto order = TabOrder(true);
    if (order.empty()) return;
    Control* current = Control::FromHwnd(GetFocus());
    auto it = std::find(order.begin(), order.end(), current);
    std::size_t i = 0;
    if (it != order.end()) {
        const std::size_t at = static_cast<std::size_t>(it - order.begin());
        i = backwards ? (at + order.size() - 1) % order.size() : (at + 1) % order.size();
    } else if (backwards) {
        i = order.size() - 1;
    }
    SendMessageW(hwnd_, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
    order[i]->SetFocus();
}

}  // namespace win32
