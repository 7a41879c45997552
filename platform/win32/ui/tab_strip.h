#pragma once
// A tab strip: tabs from the laid-out caption ("caption|key;..."), counted from 1.
#include <string>

#include "platform/win32/ui/control.h"

namespace win32 {

class TabStrip : public Control, public ui::TabStrip {
public:
    using Control::Control;
    void Create(HWND parent) override;

    LRESULT OnNotify(const NMHDR& header) override;
    void OnMouseDown() override;
    bool StepTab(bool backwards) override;

    // The tabs are its captions; the strip has no text of its own.
    std::wstring Caption() const override { return {}; }
    void SetCaption(const std::wstring&) override {}

    int TabCount() const override;
    std::wstring TabCaption(int index) const override;
    void SetTabCaption(int index, const std::wstring& text) override;
    void RemoveTab(int index) override;
    int SelectedTab() const override;
    int FocusedTab() const override;
    void SelectTab(int index) override;

private:
    bool Has(int index) const { return index >= 1 && index <= TabCount(); }
};

}  // namespace win32
