// Start-up of the window in both product forms, and switching between its pages.
#include "unit/window_fixture.h"

namespace {

using namespace ctl;

TEST_F(WindowTest, BothProductFormsAndTheOpeningState) {
    for (const bool product : {false, true}) {
        SCOPED_TRACE(product);
        fakes::FakeForm f(app::Layout());
        app::frmLumoraRepair w(services, f);
        if (product) registry.AddKey(os::kHKeyClassesRoot, L".lma");
        texts.language = product ? fakes::FakeTexts::German : fakes::FakeTexts::English;
        w.Form_Load();
        EXPECT_EQ(w.ProductInstalled, product);
        EXPECT_EQ(f.Caption(), Text(product ? IDS_CAPTION_INSTALLED : IDS_CAPTION_NOT_INSTALLED));
        EXPECT_EQ(f[lblLumoraAd].visible, !product);
        EXPECT_EQ(f[lblLumoraAd].caption, product ? L"" : Text(IDS_AD_LINE));
        EXPECT_EQ(f[lblLumoraAdLink].caption, product ? L"" : Text(IDS_AD_DOWNLOAD));
        std::vector<std::wstring> tabs{L"MDAC", L"JET", Text(IDS_TAB_WINDOWS)};
        if (product) tabs.push_back(Text(IDS_TAB_COMPONENTS));
        EXPECT_EQ(f[TabStrip1].tabCaptions, tabs);
        EXPECT_EQ(f[cmdQuit].caption, Text(IDS_EXIT));
        EXPECT_EQ(f[cmdAbout].caption, Text(IDS_ABOUT));
        // The MDAC page in front and filled; the others keep their layout captions.
        EXPECT_TRUE(f[picMDAC].visible);
        EXPECT_FALSE(f[picJET].visible || f[picWindows].visible);
        EXPECT_GT(f[picMDAC].z, f[picComponents].z);
        EXPECT_EQ(f[lvwMDACFiles].ItemCount(), 28);
        for (int id : {lvwMDACFiles, lvwJetFiles}) {
            EXPECT_EQ(f[id].extendedStyle & 0x4020u, 0x4020u);
            EXPECT_EQ(f[id].columns, (std::vector{Text(IDS_COLUMN_FILE_NAME), Text(IDS_COLUMN_FILE_VERSION),
                                                  Text(IDS_COLUMN_PATH)}));
        }
    }
}

TEST_F(WindowTest, FontIconsAndSystemDirectory) {
    // Tahoma when the icon-title face begins with it; a control that refuses keeps its own.
    for (const auto& [face, tahoma] : {std::pair{L"Tahoma Bold", true}, std::pair{L"Tahom", false},
                                       std::pair{L"tahoma", false}}) {
        fakes::FakeForm f(app::Layout());
        f[Label7].refusesFont = true;
        system.iconTitleFace = face;
        app::frmLumoraRepair(services, f).Form_Load();
        EXPECT_EQ(f[cmdQuit].fontName == L"Tahoma", tahoma) << face;
        EXPECT_EQ(f[Label7].fontName, L"MS Sans Serif");
    }
    // Icons on the re-register buttons from Windows XP on.
    for (const auto& [version, icons] : {std::pair{os::OsVersion{1, 4, 90, 0}, false},
                                         std::pair{os::OsVersion{2, 5, 0, 0}, false},
                                         std::pair{os::OsVersion{2, 5, 1, 0}, true}}) {
        modAPI::ResetWindowsVersionCacheForTests();
        system.version = version;
        fakes::FakeForm f(app::Layout());
        app::frmLumoraRepair(services, f).Form_Load();
        EXPECT_EQ(f[Command1].iconMargins[0], icons ? 1 : -1) << version.minor;
        EXPECT_EQ(f[Command3].iconMargins[1], icons ? 1 : -1) << version.minor;
        EXPECT_EQ(f[Command2].iconMargins[0], -1);
    }
    system.systemDirectory = L"D:\\WIN\\system32";
    Load();
    EXPECT_EQ(window.SystemDirectory, L"D:\\WIN\\system32");
    window.OnCancel();  // Esc
    EXPECT_TRUE(form.unloaded);
}

// Each switch shows its page in front, hides the others, fills it afresh and focuses cmdQuit;
// the focused tab tells whether the switch already happened (a mouse press raises it twice).
TEST_F(WindowTest, SwitchingPages) {
    registry.AddKey(os::kHKeyClassesRoot, L".lma");
    Load();
    const int pages[] = {picMDAC, picJET, picWindows, picComponents};
    for (const int tab : {2, 3, 4, 1, 3}) {
        form.focus = 0;
        Pick(tab);
        const int page = pages[tab - 1];
        for (int p : pages) EXPECT_EQ(form[p].visible, p == page) << tab;
        for (int p : pages) EXPECT_TRUE(p == page || form[p].z < form[page].z) << tab;
        EXPECT_EQ(form.focus, cmdQuit);
    }
    EXPECT_EQ(form[Label1].caption, Text(IDS_WINDOWS_VERSION));
    form[Label1].caption.clear();
    window.OnEvent(TabStrip1, ui::Event::Click, 0);  // no change of tab: nothing happens
    EXPECT_EQ(form[Label1].caption, L"");

    // A mouse press: the timer runs the switch once and stops; the click came first.
    window.OnEvent(TabStrip1, ui::Event::MouseDown, 0);
    EXPECT_TRUE(form[TabTimer].enabled);
    Pick(2);
    const int fills = form[lvwJetFiles].timesCleared;
    window.OnEvent(TabTimer, ui::Event::Timer, 0);
    EXPECT_FALSE(form[TabTimer].enabled);
    EXPECT_EQ(form[lvwJetFiles].timesCleared, fills);
}

}  // namespace
