// Links, their hover underline, About. A click only notes the address and starts a 4 ms
// timer: the browser is started after the click's handler has returned, so a slow shell
// never holds up the window in the middle of a click.
#include <initializer_list>

#include "app/control_ids.h"
#include "app/frmLumoraRepair.h"
#include "platform/shell.h"
#include "platform/text_ids.h"
#include "platform/texts.h"

namespace app {
namespace {

// The maker's home page: the same in both languages, so not in the text table.
constexpr wchar_t kHomePage[] = L"http://www.lumora.com";
constexpr wchar_t kVersionLine[] = L"Version 1.1";
constexpr wchar_t kCopyrightLine[] = L"Copyright (C) 2026 Lumora Research GmbH";

// The About box separates its lines by a lone carriage return.
std::wstring JoinLines(std::initializer_list<std::wstring> lines) {
    std::wstring text;
    for (const std::wstring& line : lines) {
        if (&line != lines.begin()) text += L'\r';
        text += line;
    }
    return text;
}

}  // namespace

void frmLumoraRepair::OpenLink(ui::Control& label, const std::wstring& address, bool dropUnderline) {
    PendingURL = address;
    form_.TimerOf(ctl::ShellExecuteTimer).SetEnabled(true);
    form_.DoEvents();
    if (dropUnderline) label.SetFontUnderline(false);
}

void frmLumoraRepair::Label19_Click() { OpenLink(form_[ctl::Label19], Text(IDS_URL_MDAC_DOWNLOAD), true); }
void frmLumoraRepair::Label23_Click() { OpenLink(form_[ctl::Label23], Text(IDS_URL_COMPONENTS_DOWNLOAD), true); }
void frmLumoraRepair::lblLumoraAdLink_Click() { OpenLink(form_[ctl::lblLumoraAdLink], kHomePage, false); }

void frmLumoraRepair::ShellExecuteTimer_Timer() {
    form_.TimerOf(ctl::ShellExecuteTimer).SetEnabled(false);
    os_.shell.Open(PendingURL);
}

// lblLumoraAdLink is underlined as laid out, so it never becomes the hot label.
void frmLumoraRepair::HoverLink(ui::Control& label) {
    if (!label.FontUnderline()) {
        if (HotLinkLabel) HotLinkLabel->SetFontUnderline(false);
        HotLinkLabel = &label;
        label.SetFontUnderline(true);
    } else if (HotLinkLabel && HotLinkLabel != &label) {
        HotLinkLabel->SetFontUnderline(false);
        HotLinkLabel = nullptr;
    }
}

void frmLumoraRepair::LeaveLinks() {
    if (!HotLinkLabel) return;
    HotLinkLabel->SetFontUnderline(false);
    HotLinkLabel = nullptr;
}

void frmLumoraRepair::Label19_MouseMove() { HoverLink(form_[ctl::Label19]); }
void frmLumoraRepair::Label23_MouseMove() { HoverLink(form_[ctl::Label23]); }
void frmLumoraRepair::lblLumoraAdLink_MouseMove() { HoverLink(form_[ctl::lblLumoraAdLink]); }
void frmLumoraRepair::Form_MouseMove() { LeaveLinks(); }
void frmLumoraRepair::picMDAC_MouseMove() { LeaveLinks(); }
void frmLumoraRepair::picJET_MouseMove() { LeaveLinks(); }

void frmLumoraRepair::cmdAbout_Click() {
    const std::wstring text =
        ProductInstalled ? JoinLines({Text(IDS_CAPTION_INSTALLED), kVersionLine, L"", kCopyrightLine})
                         : JoinLines({Text(IDS_CAPTION_NOT_INSTALLED), kVersionLine, L"", kCopyrightLine, L"", L"",
                                      Text(IDS_AD_ABOUT), Text(IDS_AD_DOWNLOAD)});
    form_.ShowMessage(text, Text(IDS_ABOUT));
}

}  // namespace app
