#pragma once
// Control ids of the window. They are also the Win32 control ids (GetDlgCtrlID), through
// which the end-to-end driver finds a control; docs/testing.md lists them for that use.

namespace ctl {

enum Id : int {
    Form = 0,  // the window itself, for its own events
    // Window level
    TabStrip1 = 1001, picMDAC, picJET, picWindows, picComponents, lblLumoraAd, lblLumoraAdLink,
    cmdQuit, cmdAbout, ShellExecuteTimer, TabTimer,
    // MDAC page
    Label7 = 1101, Label8, Label19, Label21, Label22, lvwMDACFiles, Command1, Label11, ProgressBar1,
    // JET page
    Label25 = 1201, Label24, Label23, Label10, Label9, lvwJetFiles, Command3, ProgressBar3,
    // Windows settings page
    Frame1 = 1301, Label1, Label2, Label3, Label4, Label6, Label5, Label14, Label13,
    Frame2, Label28, Label29, Label31, Label30, Label33, Label32, Label26, Label27,
    // Other components page
    Frame3 = 1401, Label18, Label17, Label15, Label16, Label35, Label34, Label37, Label36,
    Label39, Label38, Command2, ProgressBar2, Label20, Label12,
};

}  // namespace ctl
