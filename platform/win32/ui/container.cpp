#include "platform/win32/ui/container.h"

namespace win32 {
namespace {
constexpr wchar_t kContainerClass[] = L"LumoraRepairContainer";
}  // namespace

void Container::RegisterWindowClass(HINSTANCE instance) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = WindowProc;
    wc.cbWndExtra = sizeof(LONG_PTR);  // the host; the user data holds the control
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kContainerClass;
    RegisterClassExW(&wc);
}

void Container::Create(HWND parent) {
    // A frame paints its own background under the group box, which is transparent inside:
    // so no WS_CLIPCHILDREN there.
    hwnd_ = MakeWindow(WS_EX_CONTROLPARENT, kContainerClass, L"", IsPage() ? WS_CLIPCHILDREN : 0, parent,
                       static_cast<ControlHost*>(&host_));
    if (hwnd_ && !IsPage()) {
        // The group box is drawn by a child, so the frame still holds its labels; it lies
        // beneath them (the form puts it there) and never paints over them.
        RECT r{};
        GetClientRect(hwnd_, &r);
        box_ = CreateWindowExW(0, L"BUTTON", CurrentCaption().c_str(),
                               WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | BS_GROUPBOX, 0, 0, r.right, r.bottom,
                               hwnd_, nullptr, host_.Instance(), nullptr);
    }
    Attach();
}

// What the controls inside send (commands, notifications, colours, cursors) goes to the
// form's routing, which hands it to the control that sent it.
LRESULT CALLBACK Container::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        auto* made = static_cast<ControlHost*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        SetWindowLongPtrW(hwnd, 0, reinterpret_cast<LONG_PTR>(made));
    }
    auto* host = reinterpret_cast<ControlHost*>(GetWindowLongPtrW(hwnd, 0));
    LRESULT result = 0;
    if (host && host->Route(hwnd, msg, wParam, lParam, &result)) return result;
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

void Container::OnMouseMove() {
    if (IsPage()) host_.Raise(Id(), ui::Event::MouseMove, 0);
}

// A page's controls are made the first time it is shown.
void Container::SetVisible(bool on) {
    if (on && IsPage()) host_.RealizePage(Id());
    Control::SetVisible(on);
}

void Container::BringToFront() {
    if (IsPage()) host_.RealizePage(Id());
    Control::BringToFront();
}

// Pages lie over the tab strip.
Control::Layer Container::StackLayer() const { return IsPage() ? Layer::OverTabs : Layer::AsMade; }

void Container::OnFont(HFONT font) {
    if (box_) SendMessageW(box_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

}  // namespace win32
