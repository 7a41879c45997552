#include "platform/win32/ui/form.h"

#include <commctrl.h>

#include <algorithm>

#include "platform/win32/ui/button.h"
#include "platform/win32/ui/container.h"
#include "platform/win32/ui/label.h"
#include "platform/win32/ui/list_view.h"
#include "platform/win32/ui/progress_bar.h"
#include "platform/win32/ui/tab_strip.h"
#include "platform/win32/ui/timer.h"

namespace win32 {
namespace {

constexpr wchar_t kFormClass[] = L"LumoraRepair";

// The one place that knows which class stands for which kind of layout row.
std::unique_ptr<Control> MakeControl(ControlHost& host, const ui::ControlSpec& design) {
    switch (design.kind) {
        case ui::Kind::Label: return std::make_unique<Label>(host, design);
        case ui::Kind::Button: return std::make_unique<Button>(host, design);
        case ui::Kind::Frame:
        case ui::Kind::Page: return std::make_unique<Container>(host, design);
        case ui::Kind::TabStrip: return std::make_unique<TabStrip>(host, design);
        case ui::Kind::ListView: return std::make_unique<ListView>(host, design);
        case ui::Kind::ProgressBar: return std::make_unique<ProgressBar>(host, design);
        case ui::Kind::Timer: return std::make_unique<Timer>(host, design);
    }
    return nullptr;
}

// What operator[] raises for an id the layout does not have, and a kind's accessor for an id of
// another kind: a fault of the program.
class NoSuchControl : public std::exception {
public:
    const char* what() const noexcept override { return "no control with this id"; }
};

void ToBottom(HWND hwnd) { SetWindowPos(hwnd, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE); }

}  // namespace

Form::Form(HINSTANCE instance, std::span<const ui::ControlSpec> layout, int iconId, int handCursorId)
    : instance_(instance), layout_(layout), iconId_(iconId), handCursorId_(handCursorId) {}

Form::~Form() {
    controls_.clear();
    if (hwnd_ && IsWindow(hwnd_)) DestroyWindow(hwnd_);
    for (const auto& font : fonts_) DeleteObject(font.second);
}

HFONT Form::SharedFont(const LOGFONTW& look) {
    for (const auto& [made, font] : fonts_)
        if (made.lfHeight == look.lfHeight && made.lfWeight == look.lfWeight && made.lfUnderline == look.lfUnderline &&
            made.lfCharSet == look.lfCharSet && lstrcmpW(made.lfFaceName, look.lfFaceName) == 0)
            return font;
    HFONT font = CreateFontIndirectW(&look);
    if (font) fonts_.emplace_back(look, font);
    return font;
}

void Form::InitCommonControls() { ::InitCommonControls(); }

bool Form::Create(ui::EventSink& sink, int clientWidthTwips, int clientHeightTwips) {
    sink_ = &sink;
    HDC screen = GetDC(nullptr);
    dpiX_ = GetDeviceCaps(screen, LOGPIXELSX);
    dpiY_ = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    handCursor_ = LoadCursorW(instance_, MAKEINTRESOURCEW(handCursorId_));

    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = FormProc;
    wc.hInstance = instance_;
    wc.hIcon = static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(iconId_), IMAGE_ICON, 32, 32, 0));
    wc.hIconSm = static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(iconId_), IMAGE_ICON, 16, 16, 0));
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kFormClass;
    RegisterClassExW(&wc);
    Container::RegisterWindowClass(instance_);

    // Fixed size: no sizing border, no minimise or maximise box.
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    RECT r{0, 0, Pixels(clientWidthTwips, false), Pixels(clientHeightTwips, true)};
    AdjustWindowRectEx(&r, style, FALSE, WS_EX_CONTROLPARENT);
    hwnd_ = CreateWindowExW(WS_EX_CONTROLPARENT, kFormClass, L"", style, CW_USEDEFAULT, CW_USEDEFAULT,
                            r.right - r.left, r.bottom - r.top, nullptr, nullptr, instance_, this);
    if (!hwnd_) return false;
    MakeControls();
    return true;
}

// Containers come before what they hold in the layout, so each parent is made first. What a
// page holds waits for the page to be shown (RealizePage): at start-up one page shows, and
// under Wine every window made costs several round trips to the server.
void Form::MakeControls() {
    std::vector<Control*> made;
    for (const auto& design : layout_) {
        auto control = MakeControl(*this, design);
        if (design.container != 0 && !Find(design.container)) throw NoSuchControl();
        const auto at = std::lower_bound(byId_.begin(), byId_.end(), design.id,
                                         [](const auto& entry, int id) { return entry.first < id; });
        byId_.insert(at, {design.id, control.get()});
        if (PageOf(design) == 0) {
            MakeWindow(*control);
            made.push_back(control.get());
        }
        controls_.push_back(std::move(control));
    }
    Stack(made);
}

void Form::MakeWindow(Control& control) {
    const int container = control.Design().container;
    control.Create(container != 0 ? Find(container)->Hwnd() : hwnd_);
}

// The page a control lies on, at any depth; 0 for the form's own controls and the pages.
int Form::PageOf(const ui::ControlSpec& design) const {
    for (int id = design.container; id != 0;) {
        const Control* c = Find(id);
        if (!c) return 0;
        if (c->GetKind() == ui::Kind::Page) return id;
        id = c->Design().container;
    }
    return 0;
}

void Form::RealizePage(int pageId) {
    if (neverShown_) return;
    std::vector<Control*> made;
    for (auto& c : controls_)
        if (!c->Hwnd() && c->GetKind() != ui::Kind::Timer && PageOf(c->Design()) == pageId) {
            MakeWindow(*c);
            made.push_back(c.get());
        }
    Stack(made);
}

Control* Form::Find(int id) const {
    const auto at = std::lower_bound(byId_.begin(), byId_.end(), id,
                                     [](const auto& entry, int key) { return entry.first < key; });
    return at != byId_.end() && at->first == id ? at->second : nullptr;
}

// Pages lie over the tab strip; later pages under earlier ones, the first on top. Then from
// the bottom: group boxes (transparent inside, beneath their labels), labels from left to
// right (and from top to bottom), so a caption grown past its width runs under the value
// beside it instead of hiding it; everything else above, as made. Each container's controls are made together, so the
// order holds for what was just made.
void Form::Stack(const std::vector<Control*>& made) {
    for (auto it = made.rbegin(); it != made.rend(); ++it)
        if ((*it)->StackLayer() == Control::Layer::OverTabs)
            SetWindowPos((*it)->Hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    std::vector<Control*> labels;
    for (Control* c : made)
        if (c->StackLayer() == Control::Layer::LeftToRight) labels.push_back(c);
    // A label below another at the same left lies over it, so neither's text is under the other.
    SortStable(labels, [](const Control* c) { return std::pair(-c->Design().place.left, -c->Design().place.top); });
    for (Control* label : labels) ToBottom(label->Hwnd());
    for (Control* c : made)
        if (HWND backdrop = c->Backdrop()) ToBottom(backdrop);
}

void Form::Show() {
    if (!lookApplied_) {
        lookApplied_ = true;
        for (auto& c : controls_) c->ApplyLook();
    }
    RECT r{};
    GetWindowRect(hwnd_, &r);
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const int w = r.right - r.left, h = r.bottom - r.top;
    SetWindowPos(hwnd_, nullptr, work.left + (work.right - work.left - w) / 2,
                 work.top + (work.bottom - work.top - h) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    ShowWindow(hwnd_, SW_SHOW);
    UpdateWindow(hwnd_);
    const auto order = TabOrder(false);
    if (!order.empty()) order.front()->SetFocus();
}

LRESULT CALLBACK Form::FormProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        auto* made = static_cast<Form*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(made));
    }
    auto* form = reinterpret_cast<Form*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (form) {
        LRESULT result = 0;
        if (form->Route(hwnd, msg, wParam, lParam, &result)) return result;
        if (msg == WM_NCDESTROY) {
            form->hwnd_ = nullptr;
            PostQuitMessage(0);
        }
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

// The form and its containers hand what a control sends back to that control.
bool Form::Route(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    *result = 0;
    switch (msg) {
        case WM_COMMAND:
            if (Control* c = Control::FromHwnd(reinterpret_cast<HWND>(lParam))) c->OnCommand(HIWORD(wParam));
            return true;
        case WM_NOTIFY: {
            const auto* header = reinterpret_cast<const NMHDR*>(lParam);
            Control* c = Control::FromHwnd(header->hwndFrom);
            if (!c) return false;
            *result = c->OnNotify(*header);
            return true;
        }
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN: {
            HDC dc = reinterpret_cast<HDC>(wParam);
            Control* c = Control::FromHwnd(reinterpret_cast<HWND>(lParam));
            HBRUSH brush = c ? c->OnCtlColor(dc) : nullptr;
            if (!c) {
                SetBkMode(dc, TRANSPARENT);
                SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
                brush = GetSysColorBrush(COLOR_BTNFACE);
            }
            *result = reinterpret_cast<LRESULT>(brush);
            return true;
        }
        case WM_SETCURSOR: {
            if (pointer_ == ui::Pointer::Hourglass) {
                SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32514)));  // IDC_WAIT
                *result = TRUE;
                return true;
            }
            Control* c = Control::FromHwnd(reinterpret_cast<HWND>(wParam));
            if (!c || !c->OnSetCursor()) return false;
            *result = TRUE;
            return true;
        }
        case WM_MOUSEMOVE:
            if (hwnd == hwnd_) Raise(0, ui::Event::MouseMove, 0);
            return true;
        case WM_TIMER:
            if (hwnd == hwnd_)
                if (Control* timer = Find(static_cast<int>(wParam))) timer->OnTimer();
            return true;
        case WM_ACTIVATE:
            // As a dialog does: the control that had the focus has it again when the window
            // comes back from a message box or another program.
            if (hwnd != hwnd_) return false;
            if (LOWORD(wParam) == WA_INACTIVE) {
                HWND focus = GetFocus();
                focusBeforeLeaving_ = focus && IsChild(hwnd_, focus) ? focus : nullptr;
                return false;
            }
            if (!focusBeforeLeaving_ || !IsWindow(focusBeforeLeaving_)) return false;
            ::SetFocus(focusBeforeLeaving_);
            return true;
        case WM_SYSCOMMAND:
            // The system keeps the low four bits of the command for itself.
            if (hwnd != hwnd_) return false;
            for (int command : systemCommands_)
                if (static_cast<int>(wParam & 0xFFF0) == command) {
                    Raise(0, ui::Event::SystemMenu, command);
                    return true;
                }
            return false;
        case WM_CLOSE:
            if (hwnd != hwnd_) return false;
            Close();
            return true;
        default:
            return false;
    }
}

Control& Form::At(int id, ui::Kind kind) const {
    Control* control = Find(id);
    if (!control || control->GetKind() != kind) throw NoSuchControl();
    return *control;
}

ui::Control& Form::operator[](int id) {
    Control* control = Find(id);
    if (!control) throw NoSuchControl();
    return *control;
}

ui::TabStrip& Form::TabsOf(ui::TabStripId id) { return static_cast<TabStrip&>(At(id, ui::Kind::TabStrip)); }
ui::ListView& Form::ListOf(ui::ListViewId id) { return static_cast<ListView&>(At(id, ui::Kind::ListView)); }
ui::ProgressBar& Form::BarOf(ui::ProgressBarId id) {
    return static_cast<ProgressBar&>(At(id, ui::Kind::ProgressBar));
}
ui::Button& Form::ButtonOf(ui::ButtonId id) { return static_cast<Button&>(At(id, ui::Kind::Button)); }
ui::Timer& Form::TimerOf(ui::TimerId id) { return static_cast<Timer&>(At(id, ui::Kind::Timer)); }

std::vector<ui::Control*> Form::Controls() {
    std::vector<ui::Control*> all;
    for (auto& c : controls_) all.push_back(c.get());
    return all;
}

std::wstring Form::Caption() const { return WindowText(hwnd_); }

void Form::SetCaption(const std::wstring& text) { SetWindowTextW(hwnd_, text.c_str()); }

void Form::SetPointer(ui::Pointer pointer) {
    pointer_ = pointer;
    POINT p{};
    GetCursorPos(&p);
    SetCursorPos(p.x, p.y);  // makes the system ask WM_SETCURSOR again now
}

int Form::ShowBox(const std::wstring& text, const std::wstring& title, UINT flags) {
    return MessageBoxW(hwnd_, text.c_str(), title.c_str(), flags);
}

void Form::ShowMessage(const std::wstring& text, const std::wstring& title) { ShowBox(text, title, MB_OK); }

void Form::ShowWarning(const std::wstring& text, const std::wstring& title) {
    ShowBox(text, title, MB_OK | MB_ICONWARNING);
}

void Form::Refresh() {
    // What changed has invalidated itself: painting that now shows every change, and the
    // rest of the window is not drawn again for nothing (a command refreshes per file).
    if (hwnd_) RedrawWindow(hwnd_, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

std::unique_ptr<ui::Picture> Form::LoadIconResource(const wchar_t* name) {
    HICON icon = static_cast<HICON>(LoadImageW(instance_, name, IMAGE_ICON, 16, 16, 0));
    if (!icon) return nullptr;
    return std::make_unique<Icon>(icon);
}

}  // namespace win32
