// What the user sees on the fakes, against the snapshots the real window is held to as well:
// every page, each list sorted, the report, in both product forms and languages; and here
// alone, the About text and the re-register runs (the line beside the bar, the warning after).
#include <gtest/gtest.h>

#include <functional>

#include "app/control_ids.h"
#include "app/layout.h"
#include "fakes/fake_texts.h"
#include "fakes/fake_ui.h"
#include "snapshots/snapshots.h"

namespace {

using namespace ctl;

// A re-register command from its page: the screen at its first file, each step that changed
// the bar or the line beside it, the screen after it, the warning.
// meanwhile: what changes on the machine after the page was shown.
std::wstring RunOf(app::frmLumoraRepair& window, const snapshots::Screen& screen, int tab, ui::ButtonId button,
                   ui::ProgressBarId bar, int name, const std::function<void()>& meanwhile = [] {}) {
    auto& form = static_cast<fakes::FakeForm&>(screen.form);
    form[TabStrip1].SelectTab(tab);
    window.OnEvent(TabStrip1, ui::Event::Click, 0);
    meanwhile();
    const auto state = [&] {
        const bool busy = form.pointer == ui::Pointer::Hourglass;
        const std::wstring focus = snapshots::ControlName(form.focus);
        const std::wstring pointer = busy ? L"hourglass" : L"arrow";
        return snapshots::Render(screen) + L"pointer: " + pointer + L"\nfocus: " + focus + L"\n";
    };
    std::wstring out = L"== " + form[button].caption + L"\n";
    std::wstring last;
    form.onDoEvents = [&] {
        if (last.empty() && form[bar].progressValue == 1) out += L"-- at its first file\n" + state();
        std::wstring now = std::to_wstring(form[bar].progressValue) + L" of " + std::to_wstring(form[bar].progressMax);
        if (name) now += L": " + form[name].caption;
        if (now != last && form[bar].progressMax) out += L"progress " + now + L"\n";
        if (form[bar].progressMax) last = now;
    };
    window.OnEvent(button, ui::Event::Click, 0);
    out += L"-- after it\n" + state();
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
                snapshots::Expect(name, snapshots::Tour(window, {form}));
                if (state != snapshots::State::Mixed) continue;
                window.OnEvent(cmdAbout, ui::Event::Click, 0);
                std::wstring runs = L"== about\n" + snapshots::AsLines(form.messages.at(0));
                // A listed file gone since the page was shown, one that cannot be opened either.
                const auto gone = [&] {
                    const std::wstring ado = L"C:\\Program Files\\Common Files\\System\\ado";
                    machine.versions.files.erase(ado + L"\\MSADO15.DLL");
                    machine.versions.files.erase(ado + L"\\MSADOR15.DLL");
                    machine.system.openErrors[ado + L"\\MSADOR15.DLL"] = static_cast<std::int32_t>(0x80070020u);
                };
                runs += RunOf(window, {form}, 1, Command1, ProgressBar1, Label11, gone);
                runs += RunOf(window, {form}, 2, Command3, ProgressBar3, 0);
                if (product) runs += RunOf(window, {form}, 4, Command2, ProgressBar2, Label12);
                snapshots::Expect(name + "-runs", runs);
            }
}

}  // namespace
