// Links, their hover underline, and About.
#include "unit/window_fixture.h"

#include "platform/text_ids.h"

namespace {

using namespace ctl;

TEST_F(WindowTest, HoverUnderlinesOneLinkAtATimeAndTheSurfacesTakeItOff) {
    Load();
    ASSERT_FALSE(form[Label19].underline);
    ASSERT_TRUE(form[lblLumoraAdLink].underline);
    window.Label19_MouseMove();
    EXPECT_TRUE(form[Label19].underline);
    window.picMDAC_MouseMove();
    EXPECT_FALSE(form[Label19].underline);
    // A click takes the underline off; hovering again puts it back.
    window.Label19_MouseMove();
    window.Label19_Click();
    EXPECT_FALSE(form[Label19].underline);
    window.Label19_MouseMove();
    EXPECT_TRUE(form[Label19].underline);
    // From one link to the other: the first loses it, the second gains it.
    window.Label23_MouseMove();
    EXPECT_FALSE(form[Label19].underline);
    EXPECT_TRUE(form[Label23].underline);
    // The ad link is underlined as laid out: hovering it clears the hot link, never its own line.
    window.lblLumoraAdLink_MouseMove();
    EXPECT_FALSE(form[Label23].underline);
    EXPECT_TRUE(form[lblLumoraAdLink].underline);
    EXPECT_EQ(window.HotLinkLabel, nullptr);
    window.Form_MouseMove();
    window.lblLumoraAdLink_Click();
    EXPECT_TRUE(form[lblLumoraAdLink].underline);
    window.Label23_MouseMove();
    window.picJET_MouseMove();
    EXPECT_FALSE(form[Label23].underline);
}

TEST_F(WindowTest, LinksOpenTheirAddressOnlyFromTheTimerWithTheLastClick) {
    Load();
    // The shell is never called inside the click handler, even while it lets messages run.
    int pumped = 0;
    form.onDoEvents = [&] {
        ++pumped;
        EXPECT_TRUE(shell.opened.empty());
    };
    window.Label19_Click();
    window.lblLumoraAdLink_Click();
    EXPECT_TRUE(form[ShellExecuteTimer].enabled);
    EXPECT_EQ(pumped, 2);
    EXPECT_TRUE(shell.opened.empty());
    window.OnEvent(ShellExecuteTimer, ui::Event::Timer, 0);
    EXPECT_FALSE(form[ShellExecuteTimer].enabled);
    EXPECT_EQ(shell.opened, std::vector<std::wstring>{L"http://www.lumora.com"});
    form.onDoEvents = nullptr;

    for (auto language : {fakes::FakeTexts::English, fakes::FakeTexts::German}) {
        texts.language = language;
        shell.opened.clear();
        window.OnEvent(Label19, ui::Event::Click, 0);
        window.ShellExecuteTimer_Timer();
        window.OnEvent(Label23, ui::Event::Click, 0);
        window.ShellExecuteTimer_Timer();
        window.lblLumoraAdLink_Click();
        window.ShellExecuteTimer_Timer();
        // Fetched at the click, in the user's language; the home page is the same in both.
        EXPECT_EQ(shell.opened, (std::vector<std::wstring>{Text(IDS_URL_MDAC_DOWNLOAD), Text(IDS_URL_COMPONENTS_DOWNLOAD),
                                                           L"http://www.lumora.com"}));
    }
}

TEST_F(WindowTest, AboutTextInBothFormsAndLanguages) {
    const std::wstring copyright = L"Copyright (C) 2026 Lumora Research GmbH";
    for (bool installed : {true, false}) {
        for (auto language : {fakes::FakeTexts::English, fakes::FakeTexts::German}) {
            texts.language = language;
            window.ProductInstalled = installed;
            form.messages.clear();
            window.OnEvent(cmdAbout, ui::Event::Click, 0);
            const std::wstring expected =
                installed ? Text(100) + L"\rVersion 1.1\r\r" + copyright
                          : Text(133) + L"\rVersion 1.1\r\r" + copyright + L"\r\r\r" + Text(134) + L"\r" + Text(135);
            EXPECT_EQ(form.messages, std::vector<std::wstring>{expected + L"|" + Text(IDS_ABOUT)});
        }
    }
}

}  // namespace
