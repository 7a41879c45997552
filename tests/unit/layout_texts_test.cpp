// The window's make-up against its design (every control, its container, its place, the
// keyboard's tab order), and the two text tables the resources hold.
#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "app/control_ids.h"
#include "app/layout.h"
#include "fakes/fake_texts.h"

namespace {

// Transcribed from the design tables, independently of app/layout.cpp: name, container
// ("" for the window), left, top, width, height (width 0 follows the text).
const std::string kDesign =
    "TabStrip1  90 150 7785 4815;picMDAC  105 480 7725 4440;picJET  105 480 7725 4440;"
    "picWindows  105 480 7725 4440;picComponents  105 480 7725 4440;lblLumoraAd  270 5040 5175 210;"
    "lblLumoraAdLink  270 5265 0 195;cmdQuit  5430 5115 1170 360;cmdAbout  6705 5115 1170 360;"
    "ShellExecuteTimer  0 0 0 0;TabTimer  0 0 0 0;Label7 picMDAC 144 144 3948 204;"
    "Label8 picMDAC 4320 144 1596 204;Label19 picMDAC 150 390 570 195;Label21 picMDAC 4320 384 1596 204;"
    "Label22 picMDAC 150 690 2940 210;lvwMDACFiles picMDAC 150 915 7425 2745;Command1 picMDAC 144 3795 2500 360;"
    "Label11 picMDAC 192 3888 1836 204;ProgressBar1 picMDAC 2010 3885 1740 210;Label25 picJET 144 144 4092 204;"
    "Label24 picJET 4368 144 1596 204;Label23 picJET 150 390 45 195;Label10 picJET 4368 384 1596 204;"
    "Label9 picJET 90 690 2940 210;lvwJetFiles picJET 150 915 7425 2745;Command3 picJET 144 3792 2500 360;"
    "ProgressBar3 picJET 2580 3885 1740 210;Frame1 picWindows 150 144 7425 1500;Label1 Frame1 192 288 2412 204;"
    "Label2 Frame1 2688 288 1596 204;Label3 Frame1 192 576 2412 204;Label4 Frame1 2688 576 1596 204;"
    "Label6 Frame1 192 864 2412 204;Label5 Frame1 2688 864 1596 204;Label14 Frame1 192 1152 2412 204;"
    "Label13 Frame1 2688 1152 1596 204;Frame2 picWindows 150 1776 7425 2412;Label28 Frame2 192 288 2412 204;"
    "Label29 Frame2 192 480 5580 204;Label31 Frame2 192 768 2412 204;Label30 Frame2 192 960 5532 204;"
    "Label33 Frame2 192 1248 2412 204;Label32 Frame2 195 1440 7065 210;Label26 Frame2 192 1728 2412 204;"
    "Label27 Frame2 195 1920 7035 345;Frame3 picComponents 150 150 7425 3540;Label18 Frame3 192 288 2412 204;"
    "Label17 Frame3 2688 288 1596 204;Label15 Frame3 192 576 2412 204;Label16 Frame3 2688 576 1596 204;"
    "Label35 Frame3 192 864 2412 204;Label34 Frame3 2688 864 1596 204;Label37 Frame3 192 1152 2412 204;"
    "Label36 Frame3 2688 1152 1596 204;Label39 Frame3 192 1440 2412 204;Label38 Frame3 2688 1440 1596 204;"
    "Command2 Frame3 192 2880 2010 360;ProgressBar2 Frame3 3504 2976 1692 156;Label20 Frame3 2388 2976 2076 216;"
    "Label12 Frame3 2685 990 1695 210;";

TEST(Layout, EveryDesignedControlInItsContainerAtItsPlaceAndTheTabOrder) {
    std::map<int, std::string> names, tabOrder;
    std::ostringstream made;
    for (const auto& c : app::Layout()) {
        EXPECT_TRUE(names.emplace(c.id, c.name).second) << c.name << ": its id taken twice";
        if (c.tabOrder >= 0) tabOrder[c.tabOrder] += c.name;  // a place taken twice shows in the order
        // at(): a container is made before what it holds.
        made << c.name << ' ' << (c.container ? names.at(c.container) : "") << ' ' << c.place.left << ' ' << c.place.top
             << ' ' << c.place.width << ' ' << c.place.height << ';';
    }
    EXPECT_EQ(made.str(), kDesign);
    std::string order;
    for (const auto& [position, name] : tabOrder) order += name + " ";
    EXPECT_EQ(order, "cmdQuit TabStrip1 Label19 lvwMDACFiles Command1 Label23 lvwJetFiles Command3 Command2 "
                     "lblLumoraAdLink cmdAbout ");
}

// A kind's own operations are handed out for an id of that kind alone.
template <typename Id>
concept NamesAList = requires(ui::Form& form, Id id) { form.ListOf(id); };
static_assert(NamesAList<decltype(ctl::lvwMDACFiles)>);
static_assert(!NamesAList<decltype(ctl::Label21)>);
static_assert(!NamesAList<decltype(ctl::ProgressBar1)>);

// Every text in both tables, and no German one left as its English one.
TEST(TextTables, BothLanguagesHoldEveryTextEachInItsOwn) {
    const fakes::TableTexts english(LR_SOURCE_DIR, false);
    const fakes::TableTexts german(LR_SOURCE_DIR, true);
    ASSERT_EQ(english.texts.size(), 68u);
    EXPECT_EQ(german.texts.size(), 68u);
    for (const auto& [id, text] : english.texts) EXPECT_NE(german.Text(id), text) << id;
}

}  // namespace
