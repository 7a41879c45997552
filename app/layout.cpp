#include "app/layout.h"

#include <iterator>

#include "app/control_ids.h"

namespace app {
namespace {

using ui::Kind;
using namespace ctl;
constexpr unsigned kLink = ui::kLink, kAuto = ui::kAutoWidth, kBold = ui::kBold,
                   kUnder = ui::kUnderline, kHidden = ui::kHidden;

// Containers come before what they hold. Tab strip captions are "caption|key" pairs; list
// view captions are "key|header|width" columns. Captions of tabs 3 and 4 and the column
// headers are German here and are replaced from the text table at start-up; "M" marks a
// value that its page fills.
constexpr ui::ControlSpec kLayout[] = {
    {TabStrip1, "TabStrip1", Kind::TabStrip, Form, {90, 150, 7785, 4815},
     L"MDAC|MDAC;JET|JET;Windows-Einstellungen|WINDOWS;Weitere Komponenten|VB", 0, 1},
    {picMDAC, "picMDAC", Kind::Page, Form, {105, 480, 7725, 4440}, L""},
    {picJET, "picJET", Kind::Page, Form, {105, 480, 7725, 4440}, L"", kHidden},
    {picWindows, "picWindows", Kind::Page, Form, {105, 480, 7725, 4440}, L"", kHidden},
    {picComponents, "picComponents", Kind::Page, Form, {105, 480, 7725, 4440}, L""},
    {lblLumoraAd, "lblLumoraAd", Kind::Label, Form, {270, 5040, 5175, 210}, L"", kBold},
    {lblLumoraAdLink, "lblLumoraAdLink", Kind::Label, Form, {270, 5265, 0, 195}, L"",
     kLink | kAuto | kBold | kUnder, 9},
    {cmdQuit, "cmdQuit", Kind::Button, Form, {5430, 5115, 1170, 360}, L"", 0, 0},
    {cmdAbout, "cmdAbout", Kind::Button, Form, {6705, 5115, 1170, 360}, L"", 0, 10},
    {ShellExecuteTimer, "ShellExecuteTimer", Kind::Timer, Form, {}, L"", 0, -1, 4},
    {TabTimer, "TabTimer", Kind::Timer, Form, {}, L"", 0, -1, 1},

    {Label7, "Label7", Kind::Label, picMDAC, {144, 144, 3948, 204}, L"M"},
    {Label8, "Label8", Kind::Label, picMDAC, {4320, 144, 1596, 204}, L"M"},
    {Label19, "Label19", Kind::Label, picMDAC, {150, 390, 570, 195}, L"M", kLink | kAuto, 2},
    {Label21, "Label21", Kind::Label, picMDAC, {4320, 384, 1596, 204}, L"2.80.1022.3"},
    {Label22, "Label22", Kind::Label, picMDAC, {150, 690, 2940, 210}, L"M"},
    {lvwMDACFiles, "lvwMDACFiles", Kind::ListView, picMDAC, {150, 915, 7425, 2745},
     L"FILENAME|Dateiname|1000;FILEVERSION|Dateiversion|900;REGISTRATION|Registrierung|1300;"
     L"FILEPATH|Pfad|4300", 0, 3},
    {Command1, "Command1", Kind::Button, picMDAC, {144, 3795, 2500, 360}, L"M", 0, 4},
    {Label11, "Label11", Kind::Label, picMDAC, {192, 3888, 1836, 204}, L""},
    {ProgressBar1, "ProgressBar1", Kind::ProgressBar, picMDAC, {2010, 3885, 1740, 210}, L"", kHidden},

    {Label25, "Label25", Kind::Label, picJET, {144, 144, 4092, 204}, L"M"},
    {Label24, "Label24", Kind::Label, picJET, {4368, 144, 1596, 204}, L"M"},
    {Label23, "Label23", Kind::Label, picJET, {150, 390, 45, 195}, L"M", kLink | kAuto, 5},
    {Label10, "Label10", Kind::Label, picJET, {4368, 384, 1596, 204}, L"4.0.8618"},
    {Label9, "Label9", Kind::Label, picJET, {90, 690, 2940, 210}, L""},
    {lvwJetFiles, "lvwJetFiles", Kind::ListView, picJET, {150, 915, 7425, 2745},
     L"FILENAME|Dateiname|1000;FILEVERSION|Dateiversion|900;REGISTRATION|Registrierung|1300;"
     L"FILEPATH|Pfad|4300", 0, 6},
    {Command3, "Command3", Kind::Button, picJET, {144, 3792, 2500, 360}, L"M", 0, 7},
    {ProgressBar3, "ProgressBar3", Kind::ProgressBar, picJET, {2580, 3885, 1740, 210}, L"", kHidden},

    {Frame1, "Frame1", Kind::Frame, picWindows, {150, 144, 7425, 1500}, L"M"},
    {Label1, "Label1", Kind::Label, Frame1, {192, 288, 2412, 204}, L"M"},
    {Label2, "Label2", Kind::Label, Frame1, {2688, 288, 1596, 204}, L"M"},
    {Label3, "Label3", Kind::Label, Frame1, {192, 576, 2412, 204}, L"M"},
    {Label4, "Label4", Kind::Label, Frame1, {2688, 576, 1596, 204}, L"M"},
    {Label6, "Label6", Kind::Label, Frame1, {192, 864, 2412, 204}, L"M"},
    {Label5, "Label5", Kind::Label, Frame1, {2688, 864, 1596, 204}, L"M"},
    {Label14, "Label14", Kind::Label, Frame1, {192, 1152, 2412, 204}, L"M"},
    {Label13, "Label13", Kind::Label, Frame1, {2688, 1152, 1596, 204}, L"M"},
    {Frame2, "Frame2", Kind::Frame, picWindows, {150, 1776, 7425, 2412}, L"M"},
    {Label28, "Label28", Kind::Label, Frame2, {192, 288, 2412, 204}, L"M"},
    {Label29, "Label29", Kind::Label, Frame2, {192, 480, 5580, 204}, L"M"},
    {Label31, "Label31", Kind::Label, Frame2, {192, 768, 2412, 204}, L"M"},
    {Label30, "Label30", Kind::Label, Frame2, {192, 960, 5532, 204}, L"M"},
    {Label33, "Label33", Kind::Label, Frame2, {192, 1248, 2412, 204}, L"M"},
    {Label32, "Label32", Kind::Label, Frame2, {195, 1440, 7065, 210}, L"M"},
    {Label26, "Label26", Kind::Label, Frame2, {192, 1728, 2412, 204}, L"M"},
    {Label27, "Label27", Kind::Label, Frame2, {195, 1920, 7035, 345}, L"M"},

    {Frame3, "Frame3", Kind::Frame, picComponents, {150, 150, 7425, 3540}, L"M"},
    {Label18, "Label18", Kind::Label, Frame3, {192, 288, 2412, 204}, L"M"},
    {Label17, "Label17", Kind::Label, Frame3, {2688, 288, 1596, 204}, L"M"},
    {Label15, "Label15", Kind::Label, Frame3, {192, 576, 2412, 204}, L"M"},
    {Label16, "Label16", Kind::Label, Frame3, {2688, 576, 1596, 204}, L"M"},
    {Label35, "Label35", Kind::Label, Frame3, {192, 864, 2412, 204}, L"ActiveBar2:"},
    {Label34, "Label34", Kind::Label, Frame3, {2688, 864, 1596, 204}, L"M"},
    {Label37, "Label37", Kind::Label, Frame3, {192, 1152, 2412, 204}, L"GridEx20:"},
    {Label36, "Label36", Kind::Label, Frame3, {2688, 1152, 1596, 204}, L"M"},
    {Label39, "Label39", Kind::Label, Frame3, {192, 1440, 2412, 204}, L"Microsoft XML-Bibliothek:"},
    {Label38, "Label38", Kind::Label, Frame3, {2688, 1440, 1596, 204}, L"M"},
    {Command2, "Command2", Kind::Button, Frame3, {192, 2880, 2010, 360}, L"M", kHidden, 8},
    {ProgressBar2, "ProgressBar2", Kind::ProgressBar, Frame3, {3504, 2976, 1692, 156}, L"", kHidden},
    {Label20, "Label20", Kind::Label, Frame3, {2388, 2976, 2076, 216}, L"", kLink | kHidden},
    {Label12, "Label12", Kind::Label, Frame3, {2685, 990, 1695, 210}, L""},
};

}  // namespace

std::span<const ui::ControlSpec> Layout() { return kLayout; }

}  // namespace app
