// The MDAC and JET pages, and switching between pages.
#include "unit/window_fixture.h"

#include "platform/text_ids.h"

namespace {

using namespace ctl;
const wchar_t kDataAccess[] = L"Software\\Microsoft\\DataAccess";

TEST_F(WindowTest, MdacPageShowsTheInstalledVersionAndHidesTheRowOnlyForANewerOne) {
    struct Case {
        const char* installed;  // nullptr: no key
        bool rowShown;
    };
    const Case cases[] = {{"2.81.1117.0", false}, {"6.0.6001.18000", false}, {"2.80.1022.3", true},
                          {"2.71.9030.0", true},  {"2.8", true},             {"10.0.19041.1", false},
                          {nullptr, true}};
    for (const Case& c : cases) {
        fakes::FakeRegistry reg;
        if (c.installed) reg.PutText(os::kHKeyLocalMachine, kDataAccess, L"FullInstallVer", 1, std::string(c.installed) + '\0');
        os::Services s{texts, system, reg, versions, folders, shell, modules};
        fakes::FakeForm f(app::Layout());
        app::frmLumoraRepair w(s, f);
        w.Form_Load();
        const std::string name = c.installed ? c.installed : "(none)";
        EXPECT_EQ(f[Label8].caption, std::wstring(name.begin(), name.end()) == L"(none)" ? L"" : std::wstring(name.begin(), name.end()));
        EXPECT_EQ(f[Label19].visible, c.rowShown) << name;
        EXPECT_EQ(f[Label21].visible, c.rowShown) << name;
        EXPECT_EQ(f[Label19].caption, c.rowShown ? English(IDS_MDAC_AVAILABLE_VERSION) : L"M") << name;
        EXPECT_EQ(f[Label21].caption, L"2.80.1022.3");
        EXPECT_EQ(f[Label7].caption, English(IDS_MDAC_INSTALLED_VERSION));
        EXPECT_EQ(f[Command1].caption, L"Re-register MDAC");
        EXPECT_TRUE(f[Command1].visible);
        EXPECT_EQ(f[Label20].caption, English(IDS_MDAC_AVAILABLE_VERSION));
        EXPECT_FALSE(f[Label20].visible);
        EXPECT_EQ(f[Label22].caption, L"Available MDAC System files:");
    }
}

TEST_F(WindowTest, HiddenAvailableRowStaysHiddenWhenTheRegistryChanges) {
    registry.PutText(os::kHKeyLocalMachine, kDataAccess, L"FullInstallVer", 1, std::string("2.81.1117.0", 12));
    Load();
    ASSERT_FALSE(form[Label19].visible);
    registry.PutText(os::kHKeyLocalMachine, kDataAccess, L"FullInstallVer", 1, std::string("2.50.4403.12", 13));
    window.ShowMDACPage();
    EXPECT_EQ(form[Label8].caption, L"2.50.4403.12");
    EXPECT_FALSE(form[Label19].visible);
    EXPECT_FALSE(form[Label21].visible);
}

TEST_F(WindowTest, JetPageShowsTheEngineVersionAndItsList) {
    versions.AddVersion(L"C:\\WINDOWS\\system32\\msjet40.dll", 4, 0, 9511, 0);
    texts.language = fakes::FakeTexts::German;
    Load();
    window.ShowJetPage();
    EXPECT_EQ(form[Label25].caption, German(IDS_JET_INSTALLED_VERSION));
    EXPECT_EQ(form[Label23].caption, German(IDS_JET_AVAILABLE_VERSION));
    EXPECT_EQ(form[Label24].caption, L"4.0.9511");
    EXPECT_EQ(form[Label10].caption, L"4.0.8618");
    EXPECT_EQ(form[Label9].caption, German(IDS_JET_FILES));
    EXPECT_EQ(form[Command3].caption, L"MS Jet 4.0 neu registrieren");
    EXPECT_EQ(form[lvwJetFiles].ItemCount(), 6);

    versions.files.clear();
    window.ShowJetPage();
    EXPECT_EQ(form[Label24].caption, L"Nicht vorhanden");
    EXPECT_EQ(form[lvwJetFiles].ItemText(0, 1), L"N/A");
    EXPECT_EQ(form[lvwJetFiles].ItemText(0, 2), L"Not found");
}

class NavigationTest : public WindowTest {
protected:
    // What the tab strip holds after the user picks tab `index` (from 1).
    void Pick(int index) { form[TabStrip1].SelectTab(index); }
    int FrontPage() {
        int best = 0;
        for (int id : {picMDAC, picJET, picWindows, picComponents})
            if (form[id].visible && (best == 0 || form[id].z > form[best].z)) best = id;
        return best;
    }
};

TEST_F(NavigationTest, SwitchShowsFillsAndFocusesExit) {
    MarkProductInstalled();
    Load();
    const int mdacFills = form[lvwMDACFiles].timesCleared;
    form.focus = 0;

    window.TabStrip1_Click();  // the MDAC tab again: nothing happens
    EXPECT_EQ(form[lvwMDACFiles].timesCleared, mdacFills);
    EXPECT_EQ(form.focus, 0);

    Pick(2);
    window.TabStrip1_Click();
    EXPECT_EQ(FrontPage(), picJET);
    EXPECT_FALSE(form[picMDAC].visible);
    EXPECT_EQ(form[lvwJetFiles].ItemCount(), 6);
    EXPECT_EQ(form.focus, cmdQuit);
    EXPECT_EQ(window.LastTabFocus, 1);

    Pick(1);
    window.TabStrip1_Click();
    EXPECT_EQ(FrontPage(), picMDAC);
    EXPECT_EQ(form[lvwMDACFiles].timesCleared, mdacFills + 1);

    Pick(3);
    window.TabStrip1_Click();
    EXPECT_EQ(FrontPage(), picWindows);
    EXPECT_EQ(form[Label1].caption, L"Windows version:");

    Pick(4);
    window.TabStrip1_Click();
    EXPECT_EQ(FrontPage(), picComponents);
    EXPECT_FALSE(form[picWindows].visible);
    EXPECT_EQ(form[Label18].caption, L"Visual Basic 6 Runtime:");
}

TEST_F(NavigationTest, MousePressRunsTheSwitchOnceThroughTheTimer) {
    Load();
    window.OnEvent(TabStrip1, ui::Event::MouseDown, 0);
    EXPECT_TRUE(form[TabTimer].enabled);
    // The press changed nothing: the timer fires once, stops, and the switch stops early.
    form.focus = 0;
    window.OnEvent(TabTimer, ui::Event::Timer, 0);
    EXPECT_FALSE(form[TabTimer].enabled);
    EXPECT_EQ(form.focus, 0);

    // A press that changes the tab: click and timer both arrive, the page is filled once.
    window.OnEvent(TabStrip1, ui::Event::MouseDown, 0);
    Pick(2);
    window.OnEvent(TabStrip1, ui::Event::Click, 0);
    const int fills = form[lvwJetFiles].timesCleared;
    window.OnEvent(TabTimer, ui::Event::Timer, 0);
    EXPECT_EQ(form[lvwJetFiles].timesCleared, fills);
    EXPECT_FALSE(form[TabTimer].enabled);
    EXPECT_EQ(FrontPage(), picJET);
}

TEST_F(NavigationTest, WithoutTheProductThereAreThreeTabsAndNoComponentsPage) {
    Load();
    ASSERT_EQ(form[TabStrip1].TabCount(), 3);
    for (int tab : {2, 3, 1, 3}) {
        Pick(tab);
        window.TabStrip1_Click();
        EXPECT_NE(FrontPage(), picComponents);
    }
    EXPECT_EQ(form[Frame3].caption, L"M");
}

}  // namespace
