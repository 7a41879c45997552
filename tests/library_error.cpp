// A window linked as the exe is, with its stand-ins for the C++ library's error helpers. Its
// About handler hits a library error (a string read past its end); the message box that the
// user gets is read from inside its own loop, its text written to standard output, and closed.
#include <windows.h>

#include <cstddef>
#include <cstdio>
#include <string>

#include "app/control_ids.h"
#include "app/layout.h"
#include "app/resources/resource_ids.h"
#include "platform/win32/ui/control.h"
#include "platform/win32/ui/form.h"

namespace {

struct Failing : ui::EventSink {
    void OnEvent(int id, ui::Event, int) override {
        if (id == ctl::cmdAbout) index = text.at(index);
    }
    void OnCancel() override {}
    std::wstring text = L"ab";
    std::size_t index = 5;
};

void CALLBACK WriteBox(HWND, UINT, UINT_PTR timer, DWORD) {
    const HWND box = FindWindowW(L"#32770", nullptr);  // the test runs alone
    if (!box) return;
    KillTimer(nullptr, timer);
    const std::wstring shown = win32::WindowText(GetDlgItem(box, 0xFFFF));
    std::fputs(std::string(shown.begin(), shown.end()).c_str(), stdout);
    std::fflush(stdout);  // at once, whatever ends the process after the box
    PostMessageW(box, WM_CLOSE, 0, 0);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    Failing sink;
    win32::Form form(instance, app::Layout(), IDI_APPLICATION_ICON, IDC_HAND_LINK);
    if (!form.Create(sink, app::kClientWidth, app::kClientHeight)) return 1;
    form.Show();
    SetTimer(nullptr, 0, 50, WriteBox);
    SendMessageW(static_cast<win32::Control&>(form[ctl::cmdAbout]).Hwnd(), BM_CLICK, 0, 0);
    return 0;
}
