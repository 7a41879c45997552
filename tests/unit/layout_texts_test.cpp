// The window's make-up against its design (every control, its container, its place, the
// keyboard's tab order), and the two text tables the resources hold.
#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "app/control_ids.h"
#include "app/layout.h"
#include "fakes/fake_texts.h"
#include "snapshots/snapshots.h"

namespace {

// The make-up as designed, pinned in tests/snapshots/layout.txt: every control in its
// container at its place (twips; width 0 follows the text), and the keyboard's tab order.
TEST(Layout, EveryDesignedControlInItsContainerAtItsPlaceAndTheTabOrder) {
    std::map<int, std::string> names, tabOrder;
    std::ostringstream made;
    for (const auto& c : app::Layout()) {
        EXPECT_TRUE(names.emplace(c.id, c.name).second) << c.name << ": its id taken twice";
        if (c.tabOrder >= 0) tabOrder[c.tabOrder] += c.name;  // a place taken twice shows in the order
        // at(): a container is made before what it holds.
        made << c.name << " in " << (c.container ? names.at(c.container) : "the window") << " at " << c.place.left
             << ',' << c.place.top << " size " << c.place.width << 'x' << c.place.height << '\n';
    }
    made << "tab order:";
    for (const auto& [position, name] : tabOrder) made << ' ' << name;
    const std::string text = made.str() + '\n';
    snapshots::Expect("layout", std::wstring(text.begin(), text.end()));
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
