// The file lists' copy and the report of every page.
#include "unit/window_fixture.h"

#include <sstream>

#include "platform/text_ids.h"

namespace {

using namespace ctl;

std::vector<std::wstring> Lines(const std::wstring& text) {
    std::vector<std::wstring> lines;
    std::wstringstream in(text);
    for (std::wstring line; std::getline(in, line);) {
        EXPECT_FALSE(line.empty() || line.back() != L'\r') << "lines end in CR LF";
        if (!line.empty()) line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

TEST_F(WindowTest, CopyPutsTheSelectedRowsUnderTheHeadersAndTheMenuOffersAllThree) {
    versions.AddVersion(L"C:\\WINDOWS\\system32\\msjet40.dll", 4, 0, 8618, 0);
    Load();
    window.ShowJetPage();
    form[lvwJetFiles].items[2].selected = true;
    form[lvwJetFiles].items[0].selected = true;
    window.OnEvent(lvwJetFiles, ui::Event::Copy, 0);
    EXPECT_EQ(form.clipboard,
              L"File Name\tFile Version\tPath\r\nmsjet40.dll\t4.0.8618\tC:\\WINDOWS\\system32\\msjet40.dll\r\n"
              L"msjetoledb40.dll\tN/A\tNot found\r\n");
    window.OnEvent(lvwMDACFiles, ui::Event::SelectAll, 0);
    window.OnEvent(lvwMDACFiles, ui::Event::Copy, 0);
    EXPECT_EQ(Lines(form.clipboard).size(), 29u);
    // The context menu: Copy, Select all, Copy report, in the user's language.
    texts.language = fakes::FakeTexts::German;
    form.menuChoice = 2;
    window.OnEvent(lvwJetFiles, ui::Event::ContextMenu, 0);
    ASSERT_EQ(form.menus.size(), 1u);
    EXPECT_EQ(form.menus[0], (std::vector<std::wstring>{L"Kopieren", L"Alles ausw\u00e4hlen", L"Bericht kopieren"}));
    EXPECT_EQ(Lines(form.clipboard).at(0), L"LumoraRepair 1.10.0.48");
    // A clipboard that cannot be had is said, not passed over.
    form.clipboardFails = true;
    window.OnEvent(Form, ui::Event::SystemMenu, app::frmLumoraRepair::kCopyReportCommand);
    ASSERT_EQ(form.messages.size(), 1u);
    EXPECT_EQ(form.messages[0].text, German(IDS_CLIPBOARD_FAILED));
}

TEST_F(WindowTest, ReportHoldsEveryPageInTabOrderWithoutSwitchingThePage) {
    MarkProductInstalled();
    registry.PutText(os::kHKeyLocalMachine, L"Software\\Microsoft\\DataAccess", L"FullInstallVer", 1,
                     std::string("2.81.1117.0", 12));
    versions.AddVersion(L"C:\\WINDOWS\\system32\\MSVBVM60.DLL", 6, 0, 98, 2);
    Load();
    ASSERT_EQ(form.systemMenu.size(), 1u);
    EXPECT_EQ(form.systemMenu[0].second, L"Copy report");
    window.OnEvent(Form, ui::Event::SystemMenu, form.systemMenu[0].first);
    const auto lines = Lines(form.clipboard);
    ASSERT_GT(lines.size(), 60u);
    EXPECT_EQ(lines[1], L"Created: 07.12.2026 06:30:00");
    auto at = [&lines](const std::wstring& line) {
        return std::find(lines.begin(), lines.end(), line) - lines.begin();
    };
    // Headings in tab order, each page's own lines under it; a hidden row is left out.
    EXPECT_LT(at(L"[MDAC]"), at(L"[JET]"));
    EXPECT_LT(at(L"[JET]"), at(L"[Windows Settings]"));
    EXPECT_LT(at(L"[Windows Settings]"), at(L"[Other Components]"));
    EXPECT_EQ(at(L"Installed MDAC Version according to Registry: 2.81.1117.0"), at(L"[MDAC]") + 1);
    EXPECT_EQ(lines.at(at(L"[MDAC]") + 2), L"Available MDAC System files:");
    EXPECT_EQ(lines.at(at(L"[MDAC]") + 4), L"MSADO15.DLL\tN/A\tNot found");
    EXPECT_EQ(lines.at(at(L"[JET]") + 2), L"Currently at Microsoft available version for MS Jet 4.0: 4.0.8618");
    EXPECT_LT(at(L"Windows version: Windows XP"), at(L"System Folder Settings"));
    EXPECT_LT(at(L"[Other Components]"), at(L"Visual Basic 6 Runtime: 6.0.98"));
    EXPECT_TRUE(form[picMDAC].visible);
    EXPECT_FALSE(form[picJET].visible);
    EXPECT_FALSE(form[picWindows].visible);
}

TEST_F(WindowTest, GermanReportWithoutTheProductHasThreePages) {
    texts.language = fakes::FakeTexts::German;
    Load();
    window.CopyReport();
    const auto lines = Lines(form.clipboard);
    EXPECT_EQ(lines[1], L"Erstellt: 07.12.2026 06:30:00");
    EXPECT_NE(std::find(lines.begin(), lines.end(), L"[Windows-Einstellungen]"), lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), L"Dateiname\tDateiversion\tPfad"), lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), L"Windows-Version: Windows XP"), lines.end());
    EXPECT_EQ(std::find(lines.begin(), lines.end(), L"[Weitere Komponenten]"), lines.end());
}

}  // namespace
