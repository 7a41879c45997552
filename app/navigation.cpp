// Page navigation: a tab selection brings its page to the front and fills it afresh.
#include "app/control_ids.h"
#include "app/frmLumoraRepair.h"

namespace app {

void frmLumoraRepair::TabStrip1_Click() {
    ui::Control& tabs = form_[ctl::TabStrip1];
    // The focused tab, not the selected one, tells whether this switch already happened:
    // a mouse press raises the switch twice (click and timer) and only one may act.
    const int focused = tabs.FocusedTab();
    if (focused == LastTabFocus) return;
    LastTabFocus = focused;

    auto show = [this](int page) {
        form_[page].SetVisible(true);
        form_[page].BringToFront();
    };
    auto hide = [this](int page) { form_[page].SetVisible(false); };
    switch (tabs.SelectedTab()) {
        case 1:
            show(ctl::picMDAC);
            hide(ctl::picJET), hide(ctl::picWindows), hide(ctl::picComponents);
            ShowMDACPage();
            break;
        case 2:
            show(ctl::picJET);
            hide(ctl::picMDAC), hide(ctl::picWindows), hide(ctl::picComponents);
            ShowJetPage();
            break;
        case 3:
            show(ctl::picWindows);
            hide(ctl::picJET), hide(ctl::picMDAC), hide(ctl::picComponents);
            ShowWindowsPage();
            break;
        case 4:
            show(ctl::picComponents);
            hide(ctl::picWindows), hide(ctl::picJET), hide(ctl::picMDAC);
            ShowComponentsPage();
            break;
        default:
            break;
    }
    form_[ctl::cmdQuit].SetFocus();  // whatever the tab was, even one without a page
}

void frmLumoraRepair::TabStrip1_MouseDown() { form_[ctl::TabTimer].SetEnabled(true); }

void frmLumoraRepair::TabTimer_Timer() {
    form_[ctl::TabTimer].SetEnabled(false);
    TabStrip1_Click();
}

}  // namespace app
