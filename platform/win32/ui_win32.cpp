#include "platform/win32/ui_win32.h"

#include <commctrl.h>

#include <algorithm>
#include <exception>
#include <functional>
#include <string>

namespace win32 {
namespace {

constexpr wchar_t kFormClass[] = L"LumoraRepair";
constexpr wchar_t kContainerClass[] = L"LumoraRepairContainer";
constexpr COLORREF kLinkBlue = RGB(0, 0, 255);
constexpr UINT_PTR kSubclassId = 1;

// The whole text of a window, however long.
std::wstring WindowText(HWND hwnd) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
    return text;
}

class Icon : public ui::Picture {
public:
    explicit Icon(HICON icon) : icon_(icon) {}
    ~Icon() override { DestroyIcon(icon_); }
    HICON Handle() const { return icon_; }

private:
    HICON icon_;
};

}  // namespace

// One control of any kind. Pages and frames are containers of our own class, so the
// messages of what they hold come back to the form.
class Form::Ctl : public ui::Control {
public:
    Ctl(Form& form, const ui::ControlSpec& design) : form_(form), spec_(design) {
        font_.lfHeight = -MulDiv(825, form.dpiY_, 7200);  // 8.25 point
        font_.lfWeight = (design.look & ui::kBold) ? FW_BOLD : FW_NORMAL;
        font_.lfUnderline = (design.look & ui::kUnderline) ? TRUE : FALSE;
        font_.lfCharSet = DEFAULT_CHARSET;
        lstrcpynW(font_.lfFaceName, L"MS Sans Serif", LF_FACESIZE);
        visible_ = !(design.look & ui::kHidden);
    }
    ~Ctl() override {
        if (timerOn_) KillTimer(form_.hwnd_, static_cast<UINT_PTR>(spec_.id));
        if (font) DeleteObject(font);
    }

    void Create(HWND parent) {
        const auto& p = spec_.place;
        const int x = form_.Pixels(p.left, false), y = form_.Pixels(p.top, true);
        const int w = form_.Pixels(p.width, false), h = form_.Pixels(p.height, true);
        const DWORD visible = visible_ ? WS_VISIBLE : 0;
        const DWORD child = WS_CHILD | WS_CLIPSIBLINGS | visible;
        const std::wstring caption = spec_.caption ? spec_.caption : L"";
        const HMENU id = reinterpret_cast<HMENU>(static_cast<INT_PTR>(spec_.id));
        switch (spec_.kind) {
            case ui::Kind::Timer:
                return;  // a timer is a SetTimer on the form, made when enabled
            case ui::Kind::Label:
                hwnd = CreateWindowExW(0, L"STATIC", caption.c_str(), child | SS_LEFT | SS_NOTIFY | SS_NOPREFIX,
                                       x, y, w, h, parent, id, form_.instance_, nullptr);
                break;
            case ui::Kind::Button:
                hwnd = CreateWindowExW(0, L"BUTTON", caption.c_str(), child | WS_TABSTOP | BS_PUSHBUTTON,
                                       x, y, w, h, parent, id, form_.instance_, nullptr);
                break;
            case ui::Kind::Page:
            case ui::Kind::Frame:
                // A frame paints its own background under the group box, which is transparent
                // inside: so no WS_CLIPCHILDREN there.
                hwnd = CreateWindowExW(WS_EX_CONTROLPARENT, kContainerClass, L"",
                                       child | (spec_.kind == ui::Kind::Page ? WS_CLIPCHILDREN : 0), x, y, w, h,
                                       parent, id, form_.instance_, nullptr);
                if (spec_.kind == ui::Kind::Frame) {
                    // The group box is drawn by a child, so the frame still holds its labels; it
                    // lies beneath them (see the z-order at the end of Create) and never paints over them.
                    box = CreateWindowExW(0, L"BUTTON", caption.c_str(),
                                          WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | BS_GROUPBOX, 0, 0, w, h, hwnd,
                                          nullptr, form_.instance_, nullptr);
                }
                break;
            case ui::Kind::TabStrip:
                hwnd = CreateWindowExW(0, WC_TABCONTROLW, L"", child | WS_TABSTOP | TCS_FOCUSONBUTTONDOWN,
                                       x, y, w, h, parent, id, form_.instance_, nullptr);
                for (const auto& row : ui::CaptionRows(caption)) {
                    keys_.push_back(row.size() > 1 ? row[1] : L"");
                    InsertTab(static_cast<int>(keys_.size()) - 1, row[0]);
                }
                break;
            case ui::Kind::ListView: {
                hwnd = CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
                                       child | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS,
                                       x, y, w, h, parent, id, form_.instance_, nullptr);
                int column = 0;
                for (const auto& row : ui::CaptionRows(caption)) {
                    std::wstring header = row.size() > 1 ? row[1] : L"";
                    LVCOLUMNW col{};
                    col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
                    col.pszText = header.data();
                    col.cx = form_.Pixels(row.size() > 2 ? std::stoi(row[2]) : 1000, false);
                    col.iSubItem = column;
                    SendMessageW(hwnd, LVM_INSERTCOLUMNW, column++, reinterpret_cast<LPARAM>(&col));
                }
                break;
            }
            case ui::Kind::ProgressBar:
                hwnd = CreateWindowExW(0, PROGRESS_CLASSW, L"", child, x, y, w, h, parent, id,
                                       form_.instance_, nullptr);
                break;
        }
        if (!hwnd) return;
        SetWindowSubclass(hwnd, ControlSubclass, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
        ApplyFont();
        FitWidth();
    }

    Form& Owner() const { return form_; }
    const ui::ControlSpec& Design() const { return spec_; }
    int Id() const override { return spec_.id; }
    ui::Kind GetKind() const override { return spec_.kind; }
    bool IsLink() const { return (spec_.look & ui::kLink) != 0; }
    int TabOrder() const { return spec_.tabOrder; }

    std::wstring Caption() const override {
        HWND target = box ? box : hwnd;
        if (!target || spec_.kind == ui::Kind::TabStrip || spec_.kind == ui::Kind::ListView) return {};
        return WindowText(target);
    }
    void SetCaption(const std::wstring& text) override {
        HWND target = box ? box : hwnd;
        if (!target || spec_.kind == ui::Kind::TabStrip || spec_.kind == ui::Kind::ListView) return;
        SetWindowTextW(target, text.c_str());
        FitWidth();
    }
    bool Visible() const override { return visible_; }
    void SetVisible(bool on) override {
        visible_ = on;
        if (hwnd) ShowWindow(hwnd, on ? SW_SHOWNA : SW_HIDE);
    }
    std::wstring FontName() const override { return spec_.kind == ui::Kind::Timer ? L"" : font_.lfFaceName; }
    bool SetFontName(const std::wstring& face) override {
        if (spec_.kind == ui::Kind::Timer || face.size() >= LF_FACESIZE) return false;
        lstrcpynW(font_.lfFaceName, face.c_str(), LF_FACESIZE);
        return ApplyFont();
    }
    bool FontUnderline() const override { return font_.lfUnderline != 0; }
    void SetFontUnderline(bool on) override {
        if (spec_.kind == ui::Kind::Timer || (font_.lfUnderline != 0) == on) return;
        font_.lfUnderline = on ? TRUE : FALSE;
        ApplyFont();
    }
    void BringToFront() override {
        if (hwnd) SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    void SetFocus() override {
        if (hwnd) ::SetFocus(hwnd);
    }

    bool Enabled() const override { return timerOn_; }
    void SetEnabled(bool on) override {
        if (spec_.kind != ui::Kind::Timer || on == timerOn_) return;
        timerOn_ = on;
        const auto id = static_cast<UINT_PTR>(spec_.id);
        if (on) SetTimer(form_.hwnd_, id, static_cast<UINT>(spec_.interval), nullptr);
        else KillTimer(form_.hwnd_, id);
    }

    void SetProgressMax(int max) override {
        if (spec_.kind == ui::Kind::ProgressBar) SendMessageW(hwnd, PBM_SETRANGE32, 0, max);
    }
    void SetProgressValue(int value) override {
        if (spec_.kind == ui::Kind::ProgressBar) SendMessageW(hwnd, PBM_SETPOS, static_cast<WPARAM>(value), 0);
    }

    void SetButtonIcon(const ui::Picture& picture, int marginLeft, int marginTop) override {
        if (spec_.kind != ui::Kind::Button) return;
        // The image list lives as long as the window; the button only borrows it.
        HIMAGELIST list = ImageList_Create(16, 16, ILC_MASK | ILC_COLOR32, 1, 1);
        ImageList_AddIcon(list, static_cast<const Icon&>(picture).Handle());
        BUTTON_IMAGELIST images{};
        images.himl = list;
        images.margin = RECT{marginLeft, marginTop, 0, 0};
        images.uAlign = BUTTON_IMAGELIST_ALIGN_LEFT;
        SendMessageW(hwnd, BCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(&images));
    }

    int TabCount() const override { return static_cast<int>(keys_.size()); }
    std::wstring TabCaption(int index) const override {
        if (index < 1 || index > TabCount()) return {};
        wchar_t text[260] = {};
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = text;
        item.cchTextMax = 260;
        SendMessageW(hwnd, TCM_GETITEMW, static_cast<WPARAM>(index - 1), reinterpret_cast<LPARAM>(&item));
        return text;
    }
    void SetTabCaption(int index, const std::wstring& text) override {
        if (index < 1 || index > TabCount()) return;
        std::wstring copy = text;
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = copy.data();
        SendMessageW(hwnd, TCM_SETITEMW, static_cast<WPARAM>(index - 1), reinterpret_cast<LPARAM>(&item));
    }
    std::wstring TabKey(int index) const override {
        return index >= 1 && index <= TabCount() ? keys_[static_cast<std::size_t>(index - 1)] : L"";
    }
    void RemoveTab(int index) override {
        if (index < 1 || index > TabCount()) return;
        SendMessageW(hwnd, TCM_DELETEITEM, static_cast<WPARAM>(index - 1), 0);
        keys_.erase(keys_.begin() + (index - 1));
    }
    int SelectedTab() const override {
        return static_cast<int>(SendMessageW(hwnd, TCM_GETCURSEL, 0, 0)) + 1;
    }
    int FocusedTab() const override { return static_cast<int>(SendMessageW(hwnd, TCM_GETCURFOCUS, 0, 0)); }
    void SelectTab(int index) override {
        if (index < 1 || index > TabCount()) return;
        SendMessageW(hwnd, TCM_SETCURSEL, static_cast<WPARAM>(index - 1), 0);
        SendMessageW(hwnd, TCM_SETCURFOCUS, static_cast<WPARAM>(index - 1), 0);
    }

    unsigned ExtendedStyle() const override {
        return static_cast<unsigned>(SendMessageW(hwnd, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
    }
    void SetExtendedStyle(unsigned style) override {
        SendMessageW(hwnd, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, static_cast<LPARAM>(style));
    }
    int ColumnCount() const override {
        HWND header = reinterpret_cast<HWND>(SendMessageW(hwnd, LVM_GETHEADER, 0, 0));
        return header ? static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
    }
    std::wstring ColumnCaption(int column) const override {
        wchar_t text[260] = {};
        LVCOLUMNW col{};
        col.mask = LVCF_TEXT;
        col.pszText = text;
        col.cchTextMax = 260;
        if (!SendMessageW(hwnd, LVM_GETCOLUMNW, static_cast<WPARAM>(column - 1), reinterpret_cast<LPARAM>(&col)))
            return {};
        return text;
    }
    void SetColumnCaption(int column, const std::wstring& text) override {
        std::wstring copy = text;
        LVCOLUMNW col{};
        col.mask = LVCF_TEXT;
        col.pszText = copy.data();
        SendMessageW(hwnd, LVM_SETCOLUMNW, static_cast<WPARAM>(column - 1), reinterpret_cast<LPARAM>(&col));
    }
    void ClearItems() override {
        if (spec_.kind != ui::Kind::ListView) return;
        SendMessageW(hwnd, LVM_DELETEALLITEMS, 0, 0);
        rows_.clear();
    }
    void AddItem(const std::wstring& /*key*/, const std::wstring& text) override {
        if (spec_.kind != ui::Kind::ListView) return;
        // Each item carries its row in rows_ as its parameter: sorting compares those texts,
        // never item indexes, which move while the control sorts.
        std::wstring copy = text;
        LVITEMW item{};
        item.mask = LVIF_TEXT | LVIF_PARAM;
        item.iItem = ItemCount();
        item.pszText = copy.data();
        item.lParam = static_cast<LPARAM>(rows_.size());
        rows_.push_back({text});
        SendMessageW(hwnd, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
        if (updating_ == 0) SortIfSorted();
    }
    void SetLastItemSubItem(int sub, const std::wstring& text) override {
        if (spec_.kind != ui::Kind::ListView || rows_.empty() || sub < 1) return;
        LVFINDINFOW find{};
        find.flags = LVFI_PARAM;
        find.lParam = static_cast<LPARAM>(rows_.size() - 1);
        const auto index = SendMessageW(hwnd, LVM_FINDITEMW, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&find));
        auto& row = rows_.back();
        if (row.size() <= static_cast<std::size_t>(sub)) row.resize(static_cast<std::size_t>(sub) + 1);
        row[static_cast<std::size_t>(sub)] = text;
        std::wstring copy = text;
        LVITEMW item{};
        item.iSubItem = sub;
        item.pszText = copy.data();
        SendMessageW(hwnd, LVM_SETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
        if (updating_ == 0) SortIfSorted();
    }
    int ItemCount() const override {
        return spec_.kind == ui::Kind::ListView ? static_cast<int>(SendMessageW(hwnd, LVM_GETITEMCOUNT, 0, 0)) : 0;
    }
    std::wstring ItemText(int itemIndex, int column) const override {
        wchar_t text[1024] = {};
        LVITEMW item{};
        item.iSubItem = column;
        item.pszText = text;
        item.cchTextMax = 1024;
        SendMessageW(hwnd, LVM_GETITEMTEXTW, static_cast<WPARAM>(itemIndex), reinterpret_cast<LPARAM>(&item));
        return text;
    }
    int SortKey() const override { return sortKey_; }
    void SetSortKey(int key) override {
        sortKey_ = key;
        SortIfSorted();
    }
    bool Sorted() const override { return sorted_; }
    void SetSorted(bool on) override {
        sorted_ = on;
        SortIfSorted();
    }
    void BeginUpdate() override {
        if (updating_++ == 0 && hwnd) SendMessageW(hwnd, WM_SETREDRAW, FALSE, 0);
    }
    void EndUpdate() override {
        if (updating_ == 0 || --updating_ != 0 || !hwnd) return;
        SortIfSorted();
        SendMessageW(hwnd, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(hwnd, nullptr, TRUE);
    }

    HWND hwnd = nullptr;
    HWND box = nullptr;  // a frame's group box
    HFONT font = nullptr;

private:
    void InsertTab(int index, const std::wstring& text) {
        std::wstring copy = text;
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = copy.data();
        SendMessageW(hwnd, TCM_INSERTITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    }

    bool ApplyFont() {
        if (!hwnd) return true;  // recorded; used when made
        HFONT made = CreateFontIndirectW(&font_);
        if (!made) return false;
        SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(made), TRUE);
        if (box) SendMessageW(box, WM_SETFONT, reinterpret_cast<WPARAM>(made), TRUE);
        if (font) DeleteObject(font);
        font = made;
        FitWidth();
        return true;
    }

    // A link label is as wide as its text, so only the text reacts to the mouse.
    // Labels never hide text, their own or a neighbour's. A label is only as wide as its
    // text, so its background does not cover the end of a longer caption beside it; a
    // one-line label whose text is wider than laid out grows to the right (a German caption,
    // a version with its build number); a label laid out for several lines wraps as laid out;
    // a link label that keeps a fixed width keeps it.
    void FitWidth() {
        if (!hwnd || spec_.kind != ui::Kind::Label) return;
        const std::wstring text = Caption();
        HDC dc = GetDC(hwnd);
        HGDIOBJ old = SelectObject(dc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
        // Measured the way the control draws, plus a little room: the control's own text
        // layout may round differently, and a cut last digit is worse than a wider label.
        RECT measured{0, 0, 0, 0};
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &measured,
                  DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX | DT_EXPANDTABS);
        TEXTMETRICW metrics{};
        GetTextMetricsW(dc, &metrics);
        SelectObject(dc, old);
        ReleaseDC(hwnd, dc);
        const int laidOut = form_.Pixels(spec_.place.width, false);
        const int textWidth = static_cast<int>(measured.right) + metrics.tmAveCharWidth / 2 + 2;
        const bool severalLines = form_.Pixels(spec_.place.height, true) >= 2 * metrics.tmHeight;
        int width = textWidth;
        if (!(spec_.look & ui::kAutoWidth)) {
            if (IsLink() || (textWidth > laidOut && severalLines)) width = laidOut;
        }
        RECT r{};
        GetClientRect(hwnd, &r);
        if (width != r.right)
            SetWindowPos(hwnd, nullptr, 0, 0, width, r.bottom, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }

    const std::wstring& RowText(LPARAM row, int column) const {
        static const std::wstring none;
        const auto& texts = rows_.at(static_cast<std::size_t>(row));
        return static_cast<std::size_t>(column) < texts.size() ? texts[static_cast<std::size_t>(column)] : none;
    }
    static int CALLBACK CompareItems(LPARAM a, LPARAM b, LPARAM self) {
        const auto* me = reinterpret_cast<const Ctl*>(self);
        return ui::CompareItemText(me->RowText(a, me->sortKey_), me->RowText(b, me->sortKey_));
    }
    void SortIfSorted() {
        if (sorted_ && hwnd && spec_.kind == ui::Kind::ListView)
            SendMessageW(hwnd, LVM_SORTITEMS, reinterpret_cast<WPARAM>(this), reinterpret_cast<LPARAM>(CompareItems));
    }

    Form& form_;
    const ui::ControlSpec& spec_;
    LOGFONTW font_{};
    bool visible_ = true;
    bool timerOn_ = false;
    std::vector<std::wstring> keys_;
    std::vector<std::vector<std::wstring>> rows_;  // item texts by item parameter
    int sortKey_ = 0;
    bool sorted_ = false;
    int updating_ = 0;
};

Form::Form(HINSTANCE instance, std::span<const ui::ControlSpec> layout, int iconId, int handCursorId)
    : instance_(instance), layout_(layout), iconId_(iconId), handCursorId_(handCursorId) {}

Form::~Form() {
    controls_.clear();
    if (hwnd_ && IsWindow(hwnd_)) DestroyWindow(hwnd_);
}

void Form::InitCommonControls() { ::InitCommonControls(); }

int Form::Pixels(int twips, bool vertical) const { return MulDiv(twips, vertical ? dpiY_ : dpiX_, 1440); }

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
    wc.lpfnWndProc = ContainerProc;
    wc.hIcon = wc.hIconSm = nullptr;
    wc.lpszClassName = kContainerClass;
    RegisterClassExW(&wc);

    // Fixed size: no sizing border, no minimise or maximise box.
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    RECT r{0, 0, Pixels(clientWidthTwips, false), Pixels(clientHeightTwips, true)};
    AdjustWindowRectEx(&r, style, FALSE, WS_EX_CONTROLPARENT);
    hwnd_ = CreateWindowExW(WS_EX_CONTROLPARENT, kFormClass, L"", style, CW_USEDEFAULT, CW_USEDEFAULT,
                            r.right - r.left, r.bottom - r.top, nullptr, nullptr, instance_, this);
    if (!hwnd_) return false;

    for (const auto& design : layout_) {
        auto ctl = std::make_unique<Ctl>(*this, design);
        HWND parent = hwnd_;
        if (design.container != 0) {
            Ctl* container = byId_.at(design.container);
            parent = container->hwnd;
        }
        ctl->Create(parent);
        if (ctl->hwnd) SetWindowLongPtrW(ctl->hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(ctl.get()));
        byId_[design.id] = ctl.get();
        controls_.push_back(std::move(ctl));
    }
    // Pages lie over the tab strip; later pages under earlier ones, the first on top.
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it)
        if ((*it)->GetKind() == ui::Kind::Page) (*it)->BringToFront();
    // Z-order from the bottom: group boxes (transparent inside, beneath their labels), then
    // labels from left to right, so a caption grown past its width runs under the value
    // beside it instead of hiding it; everything else above, as created.
    std::vector<Ctl*> labels;
    for (auto& c : controls_)
        if (c->GetKind() == ui::Kind::Label) labels.push_back(c.get());
    std::stable_sort(labels.begin(), labels.end(),
                     [](Ctl* a, Ctl* b) { return a->Design().place.left > b->Design().place.left; });
    auto toBottom = [](HWND h) { SetWindowPos(h, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE); };
    for (Ctl* label : labels) toBottom(label->hwnd);
    for (auto& c : controls_)
        if (c->box) toBottom(c->box);
    return true;
}

void Form::Show() {
    RECT r{};
    GetWindowRect(hwnd_, &r);
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const int w = r.right - r.left, h = r.bottom - r.top;
    SetWindowPos(hwnd_, nullptr, work.left + (work.right - work.left - w) / 2,
                 work.top + (work.bottom - work.top - h) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    ShowWindow(hwnd_, SW_SHOW);
    UpdateWindow(hwnd_);
    Ctl* first = nullptr;
    for (auto& c : controls_)
        if (c->TabOrder() >= 0 && c->hwnd && IsWindowVisible(c->hwnd) && (!first || c->TabOrder() < first->TabOrder()))
            first = c.get();
    if (first) first->SetFocus();
}

int Form::Run() {
    Pump(false);
    return 0;
}

// The message loop; with untilEmpty it returns as soon as the queue is empty.
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

// Keys that belong to the window rather than to the control that has the focus.
bool Form::PreTranslate(MSG& msg) {
    if (msg.message != WM_KEYDOWN || !hwnd_ || (msg.hwnd != hwnd_ && !IsChild(hwnd_, msg.hwnd))) return false;
    const bool ctrl = GetKeyState(VK_CONTROL) < 0, shift = GetKeyState(VK_SHIFT) < 0;
    switch (msg.wParam) {
        case VK_TAB:
            if (ctrl) {
                // Ctrl+Tab moves between tabs, as in every tabbed Windows window.
                for (auto& c : controls_) {
                    if (c->GetKind() != ui::Kind::TabStrip || c->TabCount() == 0) continue;
                    const int count = c->TabCount();
                    const int next = (c->SelectedTab() - 1 + (shift ? count - 1 : 1)) % count + 1;
                    c->SelectTab(next);
                    Raise(c->Id(), ui::Event::Click);
                    return true;
                }
                return false;
            }
            MoveFocus(shift);
            return true;
        case VK_ESCAPE:
            RunHandler([this] { sink_->OnCancel(); });
            return true;
        case VK_RETURN: {
            Ctl* c = FromHwnd(GetFocus());
            if (c && c->GetKind() == ui::Kind::Button) {
                SendMessageW(c->hwnd, BM_CLICK, 0, 0);
                return true;
            }
            return false;
        }
        default:
            return false;
    }
}

// Tab walks the controls by the layout's tab order, whatever container they sit in.
void Form::MoveFocus(bool backwards) {
    std::vector<Ctl*> order;
    for (auto& c : controls_)
        if (c->TabOrder() >= 0 && c->hwnd && IsWindowVisible(c->hwnd) && IsWindowEnabled(c->hwnd))
            order.push_back(c.get());
    if (order.empty()) return;
    std::sort(order.begin(), order.end(), [](Ctl* a, Ctl* b) { return a->TabOrder() < b->TabOrder(); });
    Ctl* current = FromHwnd(GetFocus());
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

Form::Ctl* Form::FromHwnd(HWND hwnd) const {
    for (HWND h = hwnd; h && h != hwnd_; h = GetParent(h)) {
        for (auto& c : controls_)
            if (c->hwnd == h) return c.get();
    }
    return nullptr;
}

void Form::Raise(int id, ui::Event event, int column) {
    if (sink_) RunHandler([&] { sink_->OnEvent(id, event, column); });
}

void Form::RunHandler(const std::function<void()>& handler) {
    ++handlerDepth_;
    try {
        handler();
    } catch (const std::exception& e) {
        // Never let an exception unwind through the system's window procedures.
        std::string what = e.what();
        MessageBoxW(hwnd_, std::wstring(what.begin(), what.end()).c_str(), L"LumoraRepair", MB_OK | MB_ICONERROR);
    }
    --handlerDepth_;
    if (handlerDepth_ == 0 && closePending_ && hwnd_) DestroyWindow(hwnd_);
}

LRESULT CALLBACK Form::FormProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        auto* form = static_cast<Form*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
    }
    auto* form = reinterpret_cast<Form*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (form) {
        bool handled = false;
        const LRESULT result = form->HandleMessage(hwnd, msg, wParam, lParam, &handled);
        if (handled) return result;
        if (msg == WM_NCDESTROY) {
            form->hwnd_ = nullptr;
            PostQuitMessage(0);
        }
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

// Pages and frames: what their controls send goes to the form, as if they sat on it.
LRESULT CALLBACK Form::ContainerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    HWND top = GetAncestor(hwnd, GA_ROOT);
    auto* form = top ? reinterpret_cast<Form*>(GetWindowLongPtrW(top, GWLP_USERDATA)) : nullptr;
    if (form && form->hwnd_ == top) {
        bool handled = false;
        const LRESULT result = form->HandleMessage(hwnd, msg, wParam, lParam, &handled);
        if (handled) return result;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK Form::ControlSubclass(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                       DWORD_PTR data) {
    auto* ctl = reinterpret_cast<Ctl*>(data);
    switch (msg) {
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
            if (ctl->GetKind() == ui::Kind::TabStrip) ctl->Owner().Raise(ctl->Id(), ui::Event::MouseDown);
            break;
        case WM_MOUSEMOVE:
            if (ctl->GetKind() == ui::Kind::Label) ctl->Owner().Raise(ctl->Id(), ui::Event::MouseMove);
            break;
        case WM_NCDESTROY:
            RemoveWindowSubclass(hwnd, ControlSubclass, kSubclassId);
            break;
        default:
            break;
    }
    return DefSubclassProc(hwnd, msg, wParam, lParam);
}

LRESULT Form::HandleMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, bool* handled) {
    *handled = true;
    switch (msg) {
        case WM_COMMAND: {
            const int code = HIWORD(wParam);
            Ctl* c = FromHwnd(reinterpret_cast<HWND>(lParam));
            if (c && ((c->GetKind() == ui::Kind::Button && code == BN_CLICKED) ||
                      (c->GetKind() == ui::Kind::Label && code == STN_CLICKED)))
                Raise(c->Id(), ui::Event::Click);
            return 0;
        }
        case WM_NOTIFY: {
            const auto* header = reinterpret_cast<const NMHDR*>(lParam);
            Ctl* c = FromHwnd(header->hwndFrom);
            if (!c) break;
            if (c->GetKind() == ui::Kind::TabStrip && header->code == static_cast<UINT>(TCN_SELCHANGE))
                Raise(c->Id(), ui::Event::Click);
            else if (c->GetKind() == ui::Kind::ListView && header->code == static_cast<UINT>(LVN_COLUMNCLICK))
                Raise(c->Id(), ui::Event::ColumnClick, reinterpret_cast<const NMLISTVIEW*>(lParam)->iSubItem);
            return 0;
        }
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN: {
            HDC dc = reinterpret_cast<HDC>(wParam);
            Ctl* c = FromHwnd(reinterpret_cast<HWND>(lParam));
            SetBkMode(dc, TRANSPARENT);
            SetTextColor(dc, c && c->IsLink() ? kLinkBlue : GetSysColor(COLOR_BTNTEXT));
            return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
        }
        case WM_SETCURSOR: {
            if (pointer_ == ui::Pointer::Hourglass) {
                SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32514)));  // IDC_WAIT
                return TRUE;
            }
            Ctl* c = FromHwnd(reinterpret_cast<HWND>(wParam));
            if (c && c->IsLink() && handCursor_) {
                SetCursor(handCursor_);
                return TRUE;
            }
            break;
        }
        case WM_MOUSEMOVE:
            if (hwnd == hwnd_) {
                Raise(0, ui::Event::MouseMove);
            } else if (Ctl* c = FromHwnd(hwnd); c && c->GetKind() == ui::Kind::Page) {
                Raise(c->Id(), ui::Event::MouseMove);
            }
            return 0;
        case WM_TIMER:
            if (hwnd == hwnd_) Raise(static_cast<int>(wParam), ui::Event::Timer);
            return 0;
        case WM_CLOSE:
            if (hwnd != hwnd_) break;
            // Closing inside a handler (during DoEvents) waits until the handler is done.
            if (handlerDepth_ > 0) closePending_ = true;
            else DestroyWindow(hwnd_);
            return 0;
        default:
            break;
    }
    *handled = false;
    return 0;
}

ui::Control& Form::operator[](int id) { return *byId_.at(id); }

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

void Form::ShowMessage(const std::wstring& text, const std::wstring& title) {
    MessageBoxW(hwnd_, text.c_str(), title.c_str(), MB_OK);
}

void Form::Unload() {
    if (!hwnd_) return;
    if (handlerDepth_ > 0) closePending_ = true;
    else DestroyWindow(hwnd_);
}

std::unique_ptr<ui::Picture> Form::LoadIconResource(const wchar_t* name) {
    HICON icon = static_cast<HICON>(LoadImageW(instance_, name, IMAGE_ICON, 16, 16, 0));
    if (!icon) return nullptr;
    return std::make_unique<Icon>(icon);
}

}  // namespace win32
