// Page navigation: a tab's choice brings its page to the front and fills it afresh.
#include "app/control_ids.h"
#include "app/frmLumoraRepair.h"
#include "app/pages.h"

namespace app {

void frmLumoraRepair::TabStrip1_Click() {
    ui::TabStrip& tabs = form_.TabsOf(ctl::TabStrip1);
    // The focused tab, not the selected one, tells whether this switch already happened:
    // a mouse press raises the switch twice (click and timer) and only one may act.
    const int focused = tabs.FocusedTab();
    if (focused == LastTabFocus) return;
    LastTabFocus = focused;

    const int tab = tabs.SelectedTab();
    if (tab >= 1 && tab <= static_cast<int>(Pages().size())) {
        const Page& chosen = Pages()[tab - 1];
        BringPageToFront(chosen);
        (this->*chosen.fill)();
    }
    form_[ctl::cmdQuit].SetFocus();  // whatever the tab was, even one without a page
}

void frmLumoraRepair::BringPageToFront(const Page& chosen) {
    form_[chosen.container].SetVisible(true);
    form_[chosen.container].BringToFront();
    for (const Page& page : Pages())
        if (page.container != chosen.container) form_[page.container].SetVisible(false);
}

void frmLumoraRepair::TabStrip1_MouseDown() { form_.TimerOf(ctl::TabTimer).SetEnabled(true); }

void frmLumoraRepair::TabTimer_Timer() {
    form_.TimerOf(ctl::TabTimer).SetEnabled(false);
    TabStrip1_Click();
}

}  // namespace app
