#include "platform/win32/ui/label.h"

#include <algorithm>

namespace win32 {
namespace {
constexpr COLORREF kLinkBlue = RGB(0, 0, 255);
}  // namespace

void Label::Create(HWND parent) {
    hwnd_ = MakeWindow(0, L"STATIC", CurrentCaption().c_str(), SS_LEFT | SS_NOTIFY | SS_NOPREFIX, parent);
    Attach();
}

void Label::OnCommand(int code) {
    if (code == STN_CLICKED) host_.Raise(Id(), ui::Event::Click, 0);
}

HBRUSH Label::OnCtlColor(HDC dc) {
    HBRUSH brush = Control::OnCtlColor(dc);
    if (IsLink()) SetTextColor(dc, kLinkBlue);
    return brush;
}

bool Label::OnSetCursor() {
    if (!IsLink() || !host_.HandCursor()) return false;
    SetCursor(host_.HandCursor());
    return true;
}

void Label::OnMouseMove() { host_.Raise(Id(), ui::Event::MouseMove, 0); }

bool Label::Press() {
    if (!IsLink()) return false;
    host_.Raise(Id(), ui::Event::Click, 0);
    return true;
}

bool Label::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (!IsLink()) return false;
    switch (msg) {
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            result = Default(msg, wParam, lParam);
            InvalidateRect(hwnd_, nullptr, TRUE);
            return true;
        case WM_PAINT:
            // The static control paints its text; the focus rectangle goes round it.
            result = Default(msg, wParam, lParam);
            if (GetFocus() == hwnd_) {
                RECT r{};
                GetClientRect(hwnd_, &r);
                HDC dc = GetDC(hwnd_);
                DrawFocusRect(dc, &r);
                ReleaseDC(hwnd_, dc);
            }
            return true;
        case WM_KEYDOWN:
            if (wParam != VK_SPACE) return false;
            Press();
            result = 0;
            return true;
        default:
            return false;
    }
}

// A link label is as wide as its text, so only the text reacts to the mouse.
// Labels never hide text, their own or a neighbour's. A label is only as wide as its
// text, so its background does not cover the end of a longer caption beside it; a
// one-line label whose text is wider than laid out grows to the right (a German caption,
// a version with its build number); a label laid out for several lines wraps as laid out;
// a link label that keeps a fixed width keeps it.
void Label::Fit() {
    if (!hwnd_ || !host_.LookApplied()) return;
    // Measured the way the control draws, plus a little room: the control's own text
    // layout may round differently, and a cut last digit is worse than a wider label.
    TEXTMETRICW metrics{};
    const int measured = CaptionWidth(&metrics);
    lineHeight_ = metrics.tmHeight;
    const int laidOut = Pixels(Design().place.width, false);
    const int textWidth = measured + metrics.tmAveCharWidth / 2 + 2;
    const int laidOutHeight = Pixels(Design().place.height, true);
    const bool severalLines = laidOutHeight >= 2 * metrics.tmHeight;
    int width = textWidth;
    if (!(Design().look & ui::kAutoWidth)) {
        if (IsLink() || (textWidth > laidOut && severalLines)) width = laidOut;
    }
    // A line taller than laid out (a larger DPI, a font with other sizes) is not cut at its foot.
    const int height = severalLines ? laidOutHeight : std::max<int>(laidOutHeight, metrics.tmHeight);
    RECT r{};
    GetClientRect(hwnd_, &r);
    if (width != r.right || height != r.bottom)
        SetWindowPos(hwnd_, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    host_.Arrange(*this);
}

}  // namespace win32
