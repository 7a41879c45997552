#include "app/frmLumoraRepair.h"

#include <algorithm>
#include <iterator>

#include "app/control_ids.h"
#include "app/file_lists.h"
#include "app/layout.h"
#include "app/pages.h"
#include "platform/text_ids.h"
#include "platform/registry.h"
#include "platform/strings.h"
#include "platform/system.h"
#include "platform/texts.h"
#include "probes/modAPI.h"
#include "registry/cRegistry.h"

namespace app {
namespace {

// Which handler a control's event reaches, under the handlers' own names.
struct Route {
    int control;
    ui::Event event;
    void (frmLumoraRepair::*handler)();
};

constexpr Route kRoutes[] = {
    {ctl::cmdQuit, ui::Event::Click, &frmLumoraRepair::cmdQuit_Click},
    {ctl::TabStrip1, ui::Event::Click, &frmLumoraRepair::TabStrip1_Click},
    {ctl::TabStrip1, ui::Event::MouseDown, &frmLumoraRepair::TabStrip1_MouseDown},
    {ctl::TabTimer, ui::Event::Timer, &frmLumoraRepair::TabTimer_Timer},
    {ctl::cmdAbout, ui::Event::Click, &frmLumoraRepair::cmdAbout_Click},
    {ctl::Command1, ui::Event::Click, &frmLumoraRepair::Command1_Click},
    {ctl::Command3, ui::Event::Click, &frmLumoraRepair::Command3_Click},
    {ctl::Command2, ui::Event::Click, &frmLumoraRepair::Command2_Click},
    {ctl::Label19, ui::Event::Click, &frmLumoraRepair::Label19_Click},
    {ctl::Label23, ui::Event::Click, &frmLumoraRepair::Label23_Click},
    {ctl::lblLumoraAdLink, ui::Event::Click, &frmLumoraRepair::lblLumoraAdLink_Click},
    {ctl::ShellExecuteTimer, ui::Event::Timer, &frmLumoraRepair::ShellExecuteTimer_Timer},
    {ctl::Label19, ui::Event::MouseMove, &frmLumoraRepair::Label19_MouseMove},
    {ctl::Label23, ui::Event::MouseMove, &frmLumoraRepair::Label23_MouseMove},
    {ctl::lblLumoraAdLink, ui::Event::MouseMove, &frmLumoraRepair::lblLumoraAdLink_MouseMove},
    {ctl::Form, ui::Event::MouseMove, &frmLumoraRepair::Form_MouseMove},
    {ctl::picMDAC, ui::Event::MouseMove, &frmLumoraRepair::picMDAC_MouseMove},
    {ctl::picJET, ui::Event::MouseMove, &frmLumoraRepair::picJET_MouseMove},
};

constexpr wchar_t kProductDocumentType[] = L".lma";

}  // namespace

frmLumoraRepair::frmLumoraRepair(os::Services& os, ui::Form& form) : shown_(Layout().size()), os_(os), form_(form) {
    for (std::size_t i = 0; i < shown_.size(); ++i) shown_[i].text = Layout()[i].caption;
}

std::wstring frmLumoraRepair::Text(unsigned id) const { return os_.texts.Text(id); }

cRegistry frmLumoraRepair::MachineTextReader(const wchar_t* section, const wchar_t* valueName) const {
    cRegistry registry(os_.registry, os_.system);
    registry.SetClassKey(os::kHKeyLocalMachine);
    registry.SetSectionKey(section);
    registry.SetValueType(os::regtype::kSz);
    registry.SetValueKey(valueName);
    registry.SetDefault(TaggedValue(std::wstring()));
    return registry;
}

void frmLumoraRepair::OnEvent(int controlId, ui::Event event, int column) {
    if (event == ui::Event::ColumnClick) {
        if (controlId == ctl::lvwMDACFiles) lvwMDACFiles_ColumnClick(column);
        if (controlId == ctl::lvwJetFiles) lvwJetFiles_ColumnClick(column);
        return;
    }
    if (controlId == ctl::lvwMDACFiles || controlId == ctl::lvwJetFiles) {
        const ui::ListViewId view{controlId};
        if (event == ui::Event::ContextMenu) FileList_ContextMenu(view);
        if (event == ui::Event::Copy) FileList_Copy(view);
        if (event == ui::Event::SelectAll) FileList_SelectAll(view);
        return;
    }
    if (event == ui::Event::SystemMenu && column == kCopyReportCommand) CopyReport();
    for (const auto& route : kRoutes)
        if (route.control == controlId && route.event == event) (this->*route.handler)();
}

void frmLumoraRepair::OnCancel() { cmdQuit_Click(); }

void frmLumoraRepair::Form_Initialize() { form_.InitCommonControls(); }

void frmLumoraRepair::Form_Load() {
    // 1. Take the system's icon-title font face for every control when it is Tahoma.
    const std::wstring face = os_.system.IconTitleFontFaceField().substr(0, 6);
    if (face == L"Tahoma") {
        for (ui::Control* control : form_.Controls()) control->SetFontName(L"Tahoma");  // refusals skipped
    }

    // 2. The system directory, the text before the first NUL of a 261-character buffer.
    SystemDirectory = os::BeforeFirstNul(os_.system.SystemDirectoryBuffer(261));

    // 3.
    WindowsVersion = modAPI::GetWindowsVersion(os_.system);

    // 4. Lumora is installed when its document type is registered.
    {
        cRegistry registry(os_.registry, os_.system);
        registry.SetClassKey(os::kHKeyClassesRoot);
        registry.SetSectionKey(kProductDocumentType);
        ProductInstalled = registry.KeyExists();
    }
    ui::TabStrip& tabs = form_.TabsOf(ctl::TabStrip1);
    if (ProductInstalled) {
        form_.SetCaption(Text(IDS_CAPTION_INSTALLED));
        form_[ctl::lblLumoraAd].SetVisible(false);
        form_[ctl::lblLumoraAdLink].SetVisible(false);
    } else {
        form_.SetCaption(Text(IDS_CAPTION_NOT_INSTALLED));
        form_[ctl::lblLumoraAd].SetCaption(Text(IDS_AD_LINE));
        form_[ctl::lblLumoraAdLink].SetCaption(Text(IDS_AD_DOWNLOAD));
    }
    // From the last tab: removing one keeps the numbers of those before it. A tab already
    // gone (a second load) is left alone.
    for (int tab = std::min(static_cast<int>(Pages().size()), tabs.TabCount()); tab >= 1; --tab) {
        const Page& page = Pages()[tab - 1];
        if (page.productOnly && !ProductInstalled) tabs.RemoveTab(tab);
        else if (page.tabText) tabs.SetTabCaption(tab, Text(page.tabText));
    }

    // 5.
    form_[ctl::cmdQuit].SetCaption(Text(IDS_EXIT));
    form_[ctl::cmdAbout].SetCaption(Text(IDS_ABOUT));

    // 6. Icons on the re-register buttons from Windows XP on.
    if (WindowsVersion >= 6) {
        // Loaded once: each button makes its own copy.
        if (auto icon = form_.LoadIconResource(L"ICON_REPAIR_16")) {
            for (const ui::ButtonId button : {ctl::Command1, ctl::Command3})
                form_.ButtonOf(button).SetButtonIcon(*icon, 1, 1);
        }
    }

    // 7. The two file list views.
    SetUpFileListView(form_.ListOf(ctl::lvwMDACFiles));
    SetUpFileListView(form_.ListOf(ctl::lvwJetFiles));

    // 8. The first page in front.
    BringPageToFront(Pages().front());

    // 9. Not for a report alone, which fills this page again at once: its versions and
    // classes are the costliest facts, read twice for nothing.
    if (!ReportFillsPages) (this->*Pages().front().fill)();

    // The report is there on every page, through the system menu.
    form_.AddSystemMenuItem(kCopyReportCommand, Text(IDS_MENU_COPY_REPORT));
}

void frmLumoraRepair::SetUpFileListView(ui::ListView& view) {
    constexpr unsigned kFullRowSelect = 0x20, kLabelTip = 0x4000;
    view.SetExtendedStyle(view.ExtendedStyle() | kFullRowSelect | kLabelTip);
    for (int column = 1; column <= static_cast<int>(std::size(kFileColumns)); ++column)
        view.SetColumnCaption(column, Text(kFileColumns[column - 1]));
}

auto frmLumoraRepair::Kept(int control) -> Shown& {
    std::size_t i = 0;
    while (Layout()[i].id != control) ++i;  // every control a fill shows is laid out
    return shown_[i];
}

void frmLumoraRepair::Show(int control, const std::wstring& text) {
    form_[control].SetCaption(text);
    Kept(control).text = text;
}

void frmLumoraRepair::Hide(int control) {
    form_[control].SetVisible(false);
    Kept(control).hidden = true;
}

void frmLumoraRepair::ShowFileList(ui::ListViewId view, std::vector<FileEntry>& list,
                                   std::vector<ClassReach>& classes) {
    if (CheckRegistrations) classes = CheckReach(os_.registry, os_.system, SystemDirectory, classServers_, list);
    else ShowReach(classes, list);
    FillFileListView(form_.ListOf(view), list, os_.texts);
}

void frmLumoraRepair::cmdQuit_Click() { form_.Unload(); }

}  // namespace app
