#pragma once
// What the user sees, as plain text: every page of the window after its tab was chosen, each
// file list after a click on its version header, and the report, read through the toolkit's
// interface, so that the fakes and the real window under Wine render the same lines from the
// same made-up machines. Compared with the .txt files beside this header; docs/testing.md says
// how to render them anew.
#include <functional>
#include <string>

#include "app/frmLumoraRepair.h"
#include "fakes/fake_services.h"

namespace snapshots {

// Every listed file there and reached by its classes; none of them; some, with a newer MDAC,
// classes served by other copies and registrations that fail.
enum class State { Every, None, Mixed };
inline constexpr State kStates[] = {State::Every, State::None, State::Mixed};

// The machine of a state, with the texts the caller reads (a table of the fakes, or the resources).
struct Machine : fakes::FakeServices {
    Machine(State state, bool product, os::Texts& texts);
};

// "installed-en-mixed": the file name of a snapshot.
std::string Name(State state, bool product, bool german);

// A form, and a step to let a real window's messages run.
struct Screen {
    ui::Form& form;
    std::function<void()> settle = [] {};
};

// A control's name in the window's code, by its id; "none" for no control.
std::wstring ControlName(int id);

// The controls a user sees (each shown, in shown containers: one page is shown at a time),
// in the layout's order.
std::wstring Render(const Screen& screen);

// The window started, then each tab in turn, each list by its version column, the report.
std::wstring Tour(app::frmLumoraRepair& window, const Screen& screen);

// Text as a file's lines: CRLF parts lines, any other CR, LF or tab is written as \r, \n, \t.
std::wstring AsLines(const std::wstring& text);

// Compared with tests/snapshots/NAME.txt; a difference fails, with what is shown now in
// NAME.txt.new beside it. LR_UPDATE_SNAPSHOTS=1 writes the file instead.
void Expect(const std::string& name, const std::wstring& text);

}  // namespace snapshots
