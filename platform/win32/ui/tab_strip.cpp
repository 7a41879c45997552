#include "platform/win32/ui/tab_strip.h"

#include <commctrl.h>

namespace win32 {

void TabStrip::Create(HWND parent) {
    hwnd_ = MakeWindow(0, WC_TABCONTROLW, L"", WS_TABSTOP | TCS_FOCUSONBUTTONDOWN, parent);
    if (hwnd_) {
        for (const auto& row : ui::CaptionRows(LaidOutCaption())) {
            std::wstring text = row[0];
            TCITEMW item{};
            item.mask = TCIF_TEXT;
            item.pszText = text.data();
            SendMessageW(hwnd_, TCM_INSERTITEMW, static_cast<WPARAM>(TabCount()), reinterpret_cast<LPARAM>(&item));
        }
    }
    Attach();
}

LRESULT TabStrip::OnNotify(const NMHDR& header) {
    if (header.code == static_cast<UINT>(TCN_SELCHANGE)) host_.Raise(Id(), ui::Event::Click, 0);
    return 0;
}

void TabStrip::OnMouseDown() { host_.Raise(Id(), ui::Event::MouseDown, 0); }

// Ctrl+Tab moves between tabs, as in every tabbed Windows window.
bool TabStrip::StepTab(bool backwards) {
    const int count = TabCount();
    if (count == 0) return false;
    SelectTab((SelectedTab() - 1 + (backwards ? count - 1 : 1)) % count + 1);
    host_.Raise(Id(), ui::Event::Click, 0);
    return true;
}

std::wstring TabStrip::TabCaption(int index) const {
    if (!Has(index)) return {};
    wchar_t text[260] = {};
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = 260;
    SendMessageW(hwnd_, TCM_GETITEMW, static_cast<WPARAM>(index - 1), reinterpret_cast<LPARAM>(&item));
    return text;
}

void TabStrip::SetTabCaption(int index, const std::wstring& text) {
    if (!Has(index)) return;
    std::wstring copy = text;
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = copy.data();
    SendMessageW(hwnd_, TCM_SETITEMW, static_cast<WPARAM>(index - 1), reinterpret_cast<LPARAM>(&item));
}

int TabStrip::TabCount() const { return hwnd_ ? static_cast<int>(SendMessageW(hwnd_, TCM_GETITEMCOUNT, 0, 0)) : 0; }

void TabStrip::RemoveTab(int index) {
    if (!Has(index)) return;
    SendMessageW(hwnd_, TCM_DELETEITEM, static_cast<WPARAM>(index - 1), 0);
}

int TabStrip::SelectedTab() const { return static_cast<int>(SendMessageW(hwnd_, TCM_GETCURSEL, 0, 0)) + 1; }

int TabStrip::FocusedTab() const { return static_cast<int>(SendMessageW(hwnd_, TCM_GETCURFOCUS, 0, 0)); }

void TabStrip::SelectTab(int index) {
    if (!Has(index)) return;
    SendMessageW(hwnd_, TCM_SETCURSEL, static_cast<WPARAM>(index - 1), 0);
    SendMessageW(hwnd_, TCM_SETCURFOCUS, static_cast<WPARAM>(index - 1), 0);
}

}  // namespace win32
