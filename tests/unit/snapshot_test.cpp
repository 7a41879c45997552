// What the user sees on the fakes, against the snapshots the real window is held to as well:
// every page, each list sorted, the report, in both product forms and languages; and here
// alone, the About text and the re-register runs (the line beside the bar, the warning after).
#include <gtest/gtest.h>

#include "app/control_ids.h"
#include "app/layout.h"
#include "fakes/fake_texts.h"
#include "fakes/fake_ui.h"
#include "snapshots/snapshots.h"

namespace {

using namespace ctl;

// Each step of a run that changed what the bar or the line beside it shows.
std::wstring RunOf(app::frmLumoraRepair& window, fakes::FakeForm& form, int button, int bar, int name) {
    std::wstring out = L"== " + form[button].caption + L"\n";
    std::wstring last;
    form.onDoEvents = [&] {
        const std::wstring now = std::to_wstring(form[bar].progressValue) + L" of " +
                                 std::to_wstring(form[bar].progressMax) + (name ? L": " + form[name].caption : L"");
        if (now != last) out += L"progress " + now + L"\n";
        last = now;
    };
    window.OnEvent(button, ui::Event::Click, 0);
    for (const std::wstring& warning : form.warnings) out += L"warning:\n" + snapshots::AsLines(warning);
    form.warnings.clear();
    return out;
}

TEST(Snapshots, EveryPageTheListsAndTheReport) {
    for (const bool product : {false, true})
        for (const bool german : {false, true})
            for (const snapshots::State state : snapshots::kStates) {
                const std::string name = snapshots::Name(state, product, german);
                SCOPED_TRACE(name);
                fakes::TableTexts texts(LR_SOURCE_DIR, german);
                snapshots::Machine machine(state, product, texts);
                fakes::FakeForm form(app::Layout());
                app::frmLumoraRepair window(machine.services, form);
                window.Form_Load();
                const auto front = [&] {
                    int page = 0;
                    for (const int id : {picMDAC, picJET, picWindows, picComponents})
                        if (form[id].visible && (!page || form[id].z > form[page].z)) page = id;
                    return page;
                };
                snapshots::Expect(name, snapshots::Tour(window, {form, front}));
                if (state != snapshots::State::Mixed) continue;
                window.OnEvent(cmdAbout, ui::Event::Click, 0);
                std::wstring runs = L"== about\n" + snapshots::AsLines(form.messages.at(0));
                runs += RunOf(window, form, Command1, ProgressBar1, Label11);
                runs += RunOf(window, form, Command3, ProgressBar3, 0);
                snapshots::Expect(name + "-runs", runs);
            }
}

}  // namespace
