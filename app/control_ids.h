#pragma once
// Control ids of the window. They are also the Win32 control ids (GetDlgCtrlID), through
// which the end-to-end driver finds a control; docs/testing.md lists them for that use.
// The kinds with operations of their own have ids of their own type (platform/ui.h).
#include "platform/ui.h"

namespace ctl {

enum Id : int {
    Form = 0,  // the window itself, for its own events
    // Window level
    picMDAC = 1002, picJET, picWindows, picComponents, lblLumoraAd, lblLumoraAdLink,
    // MDAC page
    Label7 = 1101, Label8, Label19, Label21, Label22, Label11 = 1108,
    // JET page
    Label25 = 1201, Label24, Label23, Label10, Label9,
    // Windows settings page
    Frame1 = 1301, Label1, Label2, Label3, Label4, Label6, Label5, Label14, Label13,
    Frame2, Label28, Label29, Label31, Label30, Label33, Label32, Label26, Label27,
    // Other components page
    Frame3 = 1401, Label18, Label17, Label15, Label16, Label35, Label34, Label37, Label36,
    Label39, Label38, Label20 = 1414, Label12,
};

inline constexpr ui::TabStripId TabStrip1{1001};
inline constexpr ui::ButtonId cmdQuit{1008};
inline constexpr ui::ButtonId cmdAbout{1009};
inline constexpr ui::TimerId ShellExecuteTimer{1010};
inline constexpr ui::TimerId TabTimer{1011};

inline constexpr ui::ListViewId lvwMDACFiles{1106};
inline constexpr ui::ButtonId Command1{1107};
inline constexpr ui::ProgressBarId ProgressBar1{1109};

inline constexpr ui::ListViewId lvwJetFiles{1206};
inline constexpr ui::ButtonId Command3{1207};
inline constexpr ui::ProgressBarId ProgressBar3{1208};

inline constexpr ui::ButtonId Command2{1412};
inline constexpr ui::ProgressBarId ProgressBar2{1413};

}  // namespace ctl
