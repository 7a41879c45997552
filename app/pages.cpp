#include "app/pages.h"

#include "app/control_ids.h"
#include "platform/text_ids.h"

namespace app {
namespace {

using namespace ctl;
using Window = frmLumoraRepair;

const Page kPages[] = {
    {picMDAC, 0, false, &Window::ShowMDACPage, {{Label7, Label8}, {Label19, Label21}, {Label22, 0}},
     &Window::MDACFileList, &Window::MDACSortColumn, &Window::MDACClasses},
    {picJET, 0, false, &Window::ShowJetPage, {{Label25, Label24}, {Label23, Label10}, {Label9, 0}},
     &Window::JetFileList, &Window::JetSortColumn, &Window::JetClasses},
    {picWindows, IDS_TAB_WINDOWS, false, &Window::ShowWindowsPage,
     {{Frame1, 0}, {Label1, Label2}, {Label3, Label4}, {Label6, Label5}, {Label14, Label13},
      {Frame2, 0}, {Label28, Label29}, {Label31, Label30}, {Label33, Label32}, {Label26, Label27}},
     nullptr, nullptr, nullptr},
    {picComponents, IDS_TAB_COMPONENTS, true, &Window::ShowComponentsPage,
     {{Frame3, 0}, {Label18, Label17}, {Label15, Label16}, {Label35, Label34}, {Label37, Label36}, {Label39, Label38}},
     nullptr, nullptr, nullptr},
};

}  // namespace

std::span<const Page> Pages() { return kPages; }

}  // namespace app
