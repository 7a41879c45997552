#include "platform/win32/ui/button.h"

namespace win32 {

// The button does not free the image list it shows; the control does, when it goes.
Button::~Button() {
    if (images_) ImageList_Destroy(images_);
}

void Button::Create(HWND parent) {
    hwnd_ = MakeWindow(0, L"BUTTON", CurrentCaption().c_str(), WS_TABSTOP | BS_PUSHBUTTON, parent);
    Attach();
    if (images_) ShowImages();
}

void Button::ShowImages() {
    BUTTON_IMAGELIST images{};
    images.himl = images_;
    images.margin = margin_;
    images.uAlign = BUTTON_IMAGELIST_ALIGN_LEFT;
    SendMessageW(hwnd_, BCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(&images));
}

void Button::OnCommand(int code) {
    if (code == BN_CLICKED) host_.Raise(Id(), ui::Event::Click, 0);
}

bool Button::Press() {
    SendMessageW(hwnd_, BM_CLICK, 0, 0);
    return true;
}

void Button::SetButtonIcon(const ui::Picture& picture, int marginLeft, int marginTop) {
    HIMAGELIST list = ImageList_Create(16, 16, ILC_MASK | ILC_COLOR32, 1, 1);
    ImageList_AddIcon(list, static_cast<const Icon&>(picture).Handle());
    HIMAGELIST old = images_;
    images_ = list;
    margin_ = RECT{marginLeft, marginTop, 0, 0};
    if (hwnd_) ShowImages();  // else when it is made
    if (old) ImageList_Destroy(old);
    if (hwnd_ && host_.LookApplied()) host_.Arrange(*this);
}

// The caption is drawn centred on the whole button, the icon at its left: the caption
// clears the icon when it has the icon's room on both sides.
int Button::TextRoom() const {
    if (!hwnd_) return 0;
    const int border = 8;  // the button's edge and the room the system leaves inside it
    const int icon = images_ ? margin_.left + 16 + 2 : 0;
    return CaptionWidth() + 2 * (border + icon);
}

}  // namespace win32
