// The form's message loop, DoEvents, handlers and the deferred close.
#include <exception>
#include <string>

#include "platform/win32/ui/form.h"

namespace win32 {

int Form::Run() {
    Pump(false);
    return 0;
}

// With untilEmpty it returns as soon as the queue is empty.
void Form::Pump(bool untilEmpty) {
    MSG msg;
    for (;;) {
        if (untilEmpty) {
            if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) return;
        } else if (GetMessageW(&msg, nullptr, 0, 0) <= 0) {
            return;
        }
        if (msg.message == WM_QUIT) {
            quitSeen_ = true;
            PostQuitMessage(static_cast<int>(msg.wParam));  // for the outer loop
            return;
        }
        if (PreTranslate(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void Form::DoEvents() {
    if (!quitSeen_) Pump(true);
}

void Form::Raise(int id, ui::Event event, int column) {
    if (sink_) RunHandler([&] { sink_->OnEvent(id, event, column); });
}

void Form::ShowException(const std::exception& e) {
    const std::string what = e.what();
    ShowBox(std::wstring(what.begin(), what.end()), L"LumoraRepair", MB_OK | MB_ICONERROR);
}

void Form::EndHandler() {
    --handlerDepth_;
    if (handlerDepth_ == 0 && closePending_ && hwnd_) DestroyWindow(hwnd_);
}

// Closing inside a handler (during DoEvents) waits until the handler is done.
void Form::Close() {
    if (!hwnd_) return;
    if (handlerDepth_ > 0) closePending_ = true;
    else DestroyWindow(hwnd_);
}

void Form::Unload() { Close(); }

bool Form::UnloadPending() const { return closePending_ || quitSeen_ || !hwnd_; }

}  // namespace win32
