// Start-up of the window: the two forms, fonts, system directory, icons, keyboard.
#include "unit/window_fixture.h"

#include "platform/text_ids.h"

namespace {

using namespace ctl;

TEST_F(WindowTest, NotInstalledFormHasAdvertisingAndThreeTabs) {
    Load();
    EXPECT_FALSE(window.ProductInstalled);
    EXPECT_EQ(form.Caption(), L"MDAC and Microsoft JET Analysis and Repair Utility");
    EXPECT_TRUE(form[lblLumoraAd].visible);
    EXPECT_EQ(form[lblLumoraAd].caption, L"Lumora - for better researches on the Web!");
    EXPECT_TRUE(form[lblLumoraAdLink].visible);
    EXPECT_EQ(form[lblLumoraAdLink].caption, English(IDS_AD_DOWNLOAD));
    EXPECT_EQ(form[TabStrip1].tabCaptions, (std::vector<std::wstring>{L"MDAC", L"JET", L"Windows Settings"}));
    EXPECT_EQ(form[TabStrip1].tabKeys, (std::vector<std::wstring>{L"MDAC", L"JET", L"WINDOWS"}));
    EXPECT_EQ(form[cmdQuit].caption, L"Exit");
    EXPECT_EQ(form[cmdAbout].caption, L"About");
    EXPECT_EQ(form.initCommonControlsCalls, 1);
}

TEST_F(WindowTest, InstalledFormHidesAdvertisingAndKeepsFourTabsInGerman) {
    texts.language = fakes::FakeTexts::German;
    MarkProductInstalled();
    Load();
    EXPECT_TRUE(window.ProductInstalled);
    EXPECT_EQ(form.Caption(), L"Analyse und Problembereinigung f\u00fcr Lumora");
    EXPECT_FALSE(form[lblLumoraAd].visible);
    EXPECT_FALSE(form[lblLumoraAdLink].visible);
    EXPECT_EQ(form[TabStrip1].tabCaptions,
              (std::vector<std::wstring>{L"MDAC", L"JET", German(IDS_TAB_WINDOWS), German(IDS_TAB_COMPONENTS)}));
    EXPECT_EQ(form[TabStrip1].tabKeys, (std::vector<std::wstring>{L"MDAC", L"JET", L"WINDOWS", L"VB"}));
    EXPECT_EQ(form[cmdQuit].caption, L"Beenden");
    EXPECT_EQ(form[cmdAbout].caption, L"Info");
}

TEST_F(WindowTest, ProductKeyThatCannotBeOpenedCountsAsAbsent) {
    MarkProductInstalled();
    registry.failures[fakes::FakeRegistry::Op::Open] = 5;  // access denied
    Load();
    EXPECT_FALSE(window.ProductInstalled);
    EXPECT_EQ(form[TabStrip1].TabCount(), 3);
}

TEST_F(WindowTest, TahomaIconTitleFontSwitchesEveryControlThatTakesIt) {
    system.iconTitleFace = L"Tahoma Bold";
    form[Label7].refusesFont = true;
    Load();
    for (auto& control : form.controls) {
        if (control->design.kind == ui::Kind::Timer || control->refusesFont) {
            EXPECT_NE(control->FontName(), L"Tahoma") << control->design.name;
        } else {
            EXPECT_EQ(control->FontName(), L"Tahoma") << control->design.name;
        }
    }
}

TEST_F(WindowTest, OtherIconTitleFontsChangeNothing) {
    for (const wchar_t* face : {L"tahoma", L"Arial", L"", L"Tahom"}) {
        fakes::FakeForm fresh(app::Layout());
        app::frmLumoraRepair w(services, fresh);
        system.iconTitleFace = face;
        w.Form_Initialize();
        w.Form_Load();
        for (auto& control : fresh.controls) EXPECT_NE(control->fontName, L"Tahoma") << face;
    }
}

TEST_F(WindowTest, SystemDirectoryIsTheTextBeforeTheFirstNul) {
    Load();
    EXPECT_EQ(window.SystemDirectory, L"C:\\WINDOWS\\system32");

    fakes::FakeForm fresh(app::Layout());
    app::frmLumoraRepair w(services, fresh);
    system.systemDirectoryFails = true;
    w.Form_Load();
    EXPECT_EQ(w.SystemDirectory, L"");
}

TEST_F(WindowTest, ReRegisterButtonsCarryTheIconFromWindowsXPOn) {
    struct Case {
        os::OsVersion version;
        int code;
    };
    const Case cases[] = {{{2, 5, 0, 0}, 4}, {{1, 4, 90, 0}, 5}, {{2, 3, 51, 0}, 0},
                          {{2, 5, 1, 0}, 6}, {{2, 5, 2, 0}, 7}, {{2, 6, 0, 0}, 8}};
    for (const Case& c : cases) {
        modAPI::ResetWindowsVersionCacheForTests();
        system.version = c.version;
        fakes::FakeForm fresh(app::Layout());
        app::frmLumoraRepair w(services, fresh);
        w.Form_Load();
        EXPECT_EQ(w.WindowsVersion, c.code);
        const bool icons = c.code >= 6;
        EXPECT_EQ(fresh[Command1].buttonIconMargins[0], icons ? 1 : -1) << c.code;
        EXPECT_EQ(fresh[Command1].buttonIconMargins[1], icons ? 1 : -1) << c.code;
        EXPECT_EQ(fresh[Command3].buttonIconMargins[0], icons ? 1 : -1) << c.code;
        EXPECT_EQ(fresh[Command2].buttonIconMargins[0], -1) << c.code;
        EXPECT_EQ(fresh.iconsLoaded.size(), icons ? 2u : 0u) << c.code;
    }
}

TEST_F(WindowTest, OpensOnTheFilledMdacPageWithProgressHidden) {
    Load();
    EXPECT_TRUE(form[picMDAC].visible);
    EXPECT_FALSE(form[picJET].visible);
    EXPECT_FALSE(form[picWindows].visible);
    EXPECT_GT(form[picMDAC].z, form[picComponents].z);
    EXPECT_EQ(form[lvwMDACFiles].ItemCount(), 28);
    for (int id : {Command2, Label20, ProgressBar1, ProgressBar2, ProgressBar3}) EXPECT_FALSE(form[id].visible);
    // The other pages keep their layout captions until first shown.
    EXPECT_EQ(form[Label25].caption, L"M");
    EXPECT_EQ(form[Label2].caption, L"M");
    // Both list views: extended styles added to what they had, headers from the table.
    for (int id : {lvwMDACFiles, lvwJetFiles}) {
        EXPECT_EQ(form[id].extendedStyle & 0x4020u, 0x4020u);
        EXPECT_EQ(form[id].columns, (std::vector<std::wstring>{L"File Name", L"File Version", L"Path"}));
    }
}

TEST_F(WindowTest, EscAndExitUnloadTheWindow) {
    Load();
    window.OnCancel();
    EXPECT_TRUE(form.unloaded);
    fakes::FakeForm fresh(app::Layout());
    app::frmLumoraRepair w(services, fresh);
    w.OnEvent(cmdQuit, ui::Event::Click, 0);
    EXPECT_TRUE(fresh.unloaded);
}

}  // namespace
