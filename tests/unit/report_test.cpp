// The file lists' copy and the report of every page.
#include "unit/window_fixture.h"

#include <algorithm>
#include <sstream>

namespace {

using namespace ctl;

std::vector<std::wstring> Lines(const std::wstring& text) {
    std::vector<std::wstring> lines;
    std::wstringstream in(text);
    for (std::wstring line; std::getline(in, line);) {
        EXPECT_EQ(line.back(), L'\r') << "lines end in CR LF";
        line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

TEST_F(WindowTest, CopyPutsTheSelectedRowsUnderTheHeadersAndTheMenuOffersAllThree) {
    versions.AddVersion(L"C:\\WINDOWS\\system32\\msjet40.dll", 4, 0, 8618, 0);
    Load();
    window.ShowJetPage();
    window.OnEvent(lvwJetFiles, ui::Event::Copy, 0);
    EXPECT_EQ(form.clipboard, L"") << "nothing selected, nothing copied";
    form[lvwJetFiles].selected = {2, 0};
    window.OnEvent(lvwJetFiles, ui::Event::Copy, 0);
    EXPECT_EQ(form.clipboard, L"en 137\ten 138\ten 139\r\nmsjet40.dll\t4.0.8618\tC:\\WINDOWS\\system32\\msjet40.dll\r\n"
                              L"msjetoledb40.dll\tN/A\tNot found\r\n");
    window.OnEvent(lvwMDACFiles, ui::Event::SelectAll, 0);
    window.OnEvent(lvwMDACFiles, ui::Event::Copy, 0);
    EXPECT_EQ(Lines(form.clipboard).size(), 29u);

    form.menuChoice = 2;
    window.OnEvent(lvwJetFiles, ui::Event::ContextMenu, 0);
    EXPECT_EQ(form.menus, (std::vector<std::vector<std::wstring>>{{L"en 200", L"en 201", L"en 202"}}));
    EXPECT_EQ(Lines(form.clipboard).at(0), L"LumoraRepair 1.10.0.48");
    // A clipboard that cannot be had is said, not passed over.
    form.clipboardFails = true;
    ASSERT_EQ(form.systemMenu, (std::vector<std::pair<int, std::wstring>>{{0x100, L"en 202"}}));
    window.OnEvent(Form, ui::Event::SystemMenu, 0x100);
    EXPECT_EQ(form.messages, std::vector<std::wstring>{L"en 204|LumoraRepair"});
}

// Every page the window has, in tab order, filled afresh; the page on view stays.
TEST_F(WindowTest, ReportHoldsEveryPageInTabOrderWithoutSwitchingThePage) {
    for (bool installed : {true, false}) {
        if (installed) registry.AddKey(os::kHKeyClassesRoot, L".lma");
        else registry.DeleteKey(os::kHKeyClassesRoot, L".lma");
        PutText(L"Software\\Microsoft\\DataAccess", L"FullInstallVer", "2.81.1117.0");
        versions.AddVersion(L"C:\\WINDOWS\\system32\\MSVBVM60.DLL", 6, 0, 98, 2);
        texts.language = installed ? fakes::FakeTexts::English : fakes::FakeTexts::German;
        fakes::FakeForm f(app::Layout());
        app::frmLumoraRepair w(services, f);
        w.Form_Load();
        w.CopyReport();
        const auto lines = Lines(f.clipboard);
        auto at = [&lines](const std::wstring& line) { return std::find(lines.begin(), lines.end(), line) - lines.begin(); };
        const std::wstring l = installed ? L"en " : L"de ";
        EXPECT_EQ(lines.at(1), l + L"203 07.12.2026 06:30");
        EXPECT_LT(at(L"[MDAC]"), at(L"[JET]"));
        EXPECT_LT(at(L"[JET]"), at(L"[" + l + L"130]"));
        EXPECT_EQ(at(l + L"107 2.81.1117.0"), at(L"[MDAC]") + 1);
        EXPECT_EQ(lines.at(at(L"[MDAC]") + 2), l + L"120") << "the hidden available-version row is left out";
        EXPECT_EQ(lines.at(at(L"[MDAC]") + 4), L"MSADO15.DLL\tN/A\tNot found");
        EXPECT_EQ(lines.at(at(L"[JET]") + 2), l + L"122 4.0.8618");
        EXPECT_LT(at(l + L"101 Windows XP"), at(l + L"124"));
        EXPECT_EQ(at(l + L"113 6.0.98") < static_cast<long>(lines.size()), installed);
        EXPECT_TRUE(f[picMDAC].visible);
        EXPECT_FALSE(f[picJET].visible || f[picWindows].visible);
    }
}

}  // namespace
