#include "platform/win32/ui/control.h"

namespace win32 {

// A control's window has our procedure in place of its own (kept in original_) and the
// control in its user data; each kind keeps its own state in its class's extra bytes, our
// containers included. So a message reaches its control, and a window leads to its control,
// without a window property: under Wine every property lookup is a round trip to the
// server, and comctl32's SetWindowSubclass makes two of them for every message.

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
    caption_ = LaidOutCaption();
}

Control::~Control() {
    // A window that outlives its control must not call into it any more.
    if (hwnd_ && IsWindow(hwnd_) && GetWindowLongPtrW(hwnd_, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&WindowProc)) {
        SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original_));
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    }
}

Control* Control::FromHwnd(HWND hwnd) {
    for (HWND h = hwnd; h; h = (GetWindowLongPtrW(h, GWL_STYLE) & WS_CHILD) ? GetParent(h) : nullptr) {
        if (GetWindowLongPtrW(h, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&WindowProc))
            return reinterpret_cast<Control*>(GetWindowLongPtrW(h, GWLP_USERDATA));
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

RECT Control::LaidOut() const {
    const auto& p = spec_.place;
    const int twips[] = {p.left, p.top, p.width, p.height};
    int pixels[4];
    for (int i = 0; i < 4; ++i) pixels[i] = Pixels(twips[i], i % 2 != 0);  // as MakeWindow places it
    return RECT{pixels[0], pixels[1], pixels[0] + pixels[2], pixels[1] + pixels[3]};
}

int Control::CaptionWidth(TEXTMETRICW* metrics) const {
    const std::wstring text = Caption();
    HDC dc = GetDC(hwnd_);
    HGDIOBJ old = SelectObject(dc, hfont_ ? static_cast<HGDIOBJ>(hfont_) : GetStockObject(DEFAULT_GUI_FONT));
    RECT measured{0, 0, 0, 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &measured,
              DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX | DT_EXPANDTABS);
    if (metrics) GetTextMetricsW(dc, metrics);
    SelectObject(dc, old);
    ReleaseDC(hwnd_, dc);
    return measured.right;
}

void Control::Attach() {
    if (!hwnd_) return;
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    original_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WindowProc)));
    if (!ApplyFont()) Fit();
}

void Control::ApplyLook() {
    if (!hwnd_) return;
    if (hfont_) {
        SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(hfont_), FALSE);
        OnFont(hfont_);
    }
    Fit();
}

LRESULT CALLBACK Control::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<Control*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    const WNDPROC original = self->original_;
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
            SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
            break;
        default:
            if (LRESULT result = 0; self->OnMessage(msg, wParam, lParam, result)) return result;
            break;
    }
    return CallWindowProcW(original, hwnd, msg, wParam, lParam);
}

LRESULT Control::Default(UINT msg, WPARAM wParam, LPARAM lParam) {
    return CallWindowProcW(original_, hwnd_, msg, wParam, lParam);
}

HBRUSH Control::OnCtlColor(HDC dc) {
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    return GetSysColorBrush(COLOR_BTNFACE);
}

std::wstring Control::Caption() const {
    HWND target = CaptionWindow();
    return target ? WindowText(target) : caption_;
}

void Control::SetCaption(const std::wstring& text) {
    HWND target = CaptionWindow();
    caption_ = text;
    // The same text again changes nothing on screen; setting it would repaint the control.
    if (!target || WindowText(target) == text) return;
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
    HFONT font = host_.SharedFont(font_);
    if (!font) return false;
    hfont_ = font;
    if (!host_.LookApplied()) return true;  // the form applies it when it shows
    SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    OnFont(font);
    Fit();
    return true;
}

}  // namespace win32
