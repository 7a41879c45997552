#include "platform/win32/ui/control.h"

#include <commctrl.h>

namespace win32 {
namespace {
constexpr UINT_PTR kSubclassId = 1;
// The window property that leads from a window to its control. A property of our own name
// cannot be mistaken for another window's data (the user data of the form and of common
// controls' inner windows means something else), and GetWindowSubclass is missing from the
// 64-bit import library.
constexpr wchar_t kControlProperty[] = L"LumoraRepair.Control";
}  // namespace

std::wstring WindowText(HWND hwnd) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
    return text;
}

Control::Control(ControlHost& host, const ui::ControlSpec& design) : host_(host), spec_(design) {
    font_.lfHeight = -MulDiv(825, host.Dpi(true), 7200);  // 8.25 point
    font_.lfWeight = (design.look & ui::kBold) ? FW_BOLD : FW_NORMAL;
    font_.lfUnderline = (design.look & ui::kUnderline) ? TRUE : FALSE;
    font_.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(font_.lfFaceName, L"MS Sans Serif", LF_FACESIZE);
    visible_ = !(design.look & ui::kHidden);
}

Control::~Control() {
    // A window that outlives its control must not call into it any more.
    if (hwnd_ && IsWindow(hwnd_)) {
        RemoveWindowSubclass(hwnd_, Subclass, kSubclassId);
        RemovePropW(hwnd_, kControlProperty);
    }
    if (hfont_) DeleteObject(hfont_);
}

Control* Control::FromHwnd(HWND hwnd) {
    for (HWND h = hwnd; h; h = (GetWindowLongPtrW(h, GWL_STYLE) & WS_CHILD) ? GetParent(h) : nullptr) {
        if (HANDLE control = GetPropW(h, kControlProperty)) return static_cast<Control*>(control);
    }
    return nullptr;
}

HWND Control::MakeWindow(DWORD exStyle, const wchar_t* windowClass, const wchar_t* text, DWORD style, HWND parent,
                         void* createParam) {
    const auto& p = spec_.place;
    style |= WS_CHILD | WS_CLIPSIBLINGS | (visible_ ? WS_VISIBLE : 0);
    return CreateWindowExW(exStyle, windowClass, text, style, Pixels(p.left, false), Pixels(p.top, true),
                           Pixels(p.width, false), Pixels(p.height, true), parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(spec_.id)), host_.Instance(), createParam);
}

void Control::Attach() {
    if (!hwnd_) return;
    SetWindowSubclass(hwnd_, Subclass, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
    SetPropW(hwnd_, kControlProperty, this);
    ApplyFont();
    Fit();
}

LRESULT CALLBACK Control::Subclass(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
    auto* self = reinterpret_cast<Control*>(data);
    switch (msg) {
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
            self->OnMouseDown();
            break;
        case WM_MOUSEMOVE:
            self->OnMouseMove();
            break;
        case WM_NCDESTROY:
            RemoveWindowSubclass(hwnd, Subclass, kSubclassId);
            RemovePropW(hwnd, kControlProperty);
            break;
        default:
            if (LRESULT result = 0; self->OnMessage(msg, wParam, lParam, result)) return result;
            break;
    }
    return DefSubclassProc(hwnd, msg, wParam, lParam);
}

LRESULT Control::Default(UINT msg, WPARAM wParam, LPARAM lParam) {
    return DefSubclassProc(hwnd_, msg, wParam, lParam);
}

HBRUSH Control::OnCtlColor(HDC dc) {
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    return GetSysColorBrush(COLOR_BTNFACE);
}

std::wstring Control::Caption() const {
    HWND target = CaptionWindow();
    return target ? WindowText(target) : std::wstring();
}

void Control::SetCaption(const std::wstring& text) {
    HWND target = CaptionWindow();
    if (!target) return;
    SetWindowTextW(target, text.c_str());
    Fit();
}

void Control::SetVisible(bool on) {
    visible_ = on;
    if (hwnd_) ShowWindow(hwnd_, on ? SW_SHOWNA : SW_HIDE);
}

bool Control::SetFontName(const std::wstring& face) {
    if (face.size() >= LF_FACESIZE) return false;
    lstrcpynW(font_.lfFaceName, face.c_str(), LF_FACESIZE);
    return ApplyFont();
}

void Control::SetFontUnderline(bool on) {
    if ((font_.lfUnderline != 0) == on) return;
    font_.lfUnderline = on ? TRUE : FALSE;
    ApplyFont();
}

void Control::BringToFront() {
    if (hwnd_) SetWindowPos(hwnd_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void Control::SetFocus() {
    if (hwnd_) ::SetFocus(hwnd_);
}

bool Control::ApplyFont() {
    if (!hwnd_) return true;  // recorded; used when made
    HFONT made = CreateFontIndirectW(&font_);
    if (!made) return false;
    SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(made), TRUE);
    OnFont(made);
    if (hfont_) DeleteObject(hfont_);
    hfont_ = made;
    Fit();
    return true;
}

}  // namespace win32
