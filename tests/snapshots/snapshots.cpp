#include "snapshots/snapshots.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <vector>

#include "app/control_ids.h"
#include "app/file_lists.h"
#include "app/layout.h"
#include "probes/modAPI.h"

namespace snapshots {
namespace {

const std::wstring kCommon = L"C:\\Program Files\\Common Files";
const std::wstring kSys = L"C:\\WINDOWS\\system32";

std::int32_t LR_WINAPI Registers() { return 0; }
std::int32_t LR_WINAPI Denied() { return static_cast<std::int32_t>(0x80070005u); }

void PutText(fakes::FakeRegistry& registry, std::int32_t root, const std::wstring& key, const std::wstring& name,
             const std::wstring& text) {
    registry.Put(root, key, name, os::regtype::kSz, {text.begin(), text.end()});
}

// The path a class should be served from: its file's place in the MDAC or Jet table.
std::wstring ListedPath(const wchar_t* file) {
    for (const auto& row : app::kMDACFiles)
        if (!ui::CompareItemText(app::GetFile(row.suffix), file)) return kCommon + row.suffix;
    for (const auto& row : app::kJetFiles)
        if (!ui::CompareItemText(app::GetFile(row.suffix), file)) return kSys + row.suffix;
    return {};
}

// A file there, with a version; it loads by its short path and registers (or is refused).
void Place(Machine& m, const std::wstring& path, std::uint16_t major, std::uint16_t minor, bool refused = false) {
    m.versions.AddVersion(path, major, minor, 1022, 3);
    m.system.shortPaths[path] = L"~" + app::GetFile(path);
    m.modules.files[L"~" + app::GetFile(path)][L"DllRegisterServer"] = refused ? &Denied : &Registers;
}

std::wstring Escaped(const std::wstring& text) {
    std::wstring out;
    for (const wchar_t c : text) {
        const wchar_t* named = c == L'\r' ? L"\\r" : c == L'\n' ? L"\\n" : c == L'\t' ? L"\\t" : nullptr;
        out += named ? std::wstring(named) : std::wstring(1, c);
    }
    return out;
}

std::string Utf8(const std::wstring& text) {
    std::string out;
    for (const wchar_t w : text) {
        const auto c = static_cast<std::uint32_t>(w);
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | c >> 6);
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | c >> 12);
            out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

// A path of the source tree as this build's file functions take it.
std::string OnDisk(const std::string& path) {
#ifdef _WIN32
    return "Z:" + path;  // Wine maps the Unix root to drive Z:
#else
    return path;
#endif
}

}  // namespace

Machine::Machine(State state, bool product, os::Texts& texts) : FakeServices(texts) {
    modAPI::ResetWindowsVersionCacheForTests();
    folders.SetPath(modAPI::kFolderCommonFiles, kCommon);
    folders.SetPath(modAPI::kFolderMyDocuments, L"C:\\Data");
    folders.SetPath(modAPI::kFolderAppData, L"C:\\AppData");
    folders.SetPath(modAPI::kFolderCommonAppData, L"C:\\ProgramData");
    if (product) registry.AddKey(os::kHKeyClassesRoot, L".lma");
    if (state == State::None) return;
    const bool every = state == State::Every;
    const std::wstring mdac = every ? L"2.80.1022.3" : L"6.1.7601.17514";
    PutText(registry, os::kHKeyLocalMachine, L"Software\\Microsoft\\DataAccess", L"FullInstallVer", mdac);
    PutText(registry, os::kHKeyLocalMachine, L"Software\\Microsoft\\Internet Explorer", L"Version", L"8.0.6001.18702");
    folders.existing = {L"C:\\Data\\", L"C:\\TEMP\\", L"C:\\ProgramData\\Microsoft\\HTML Help\\"};
    if (every) folders.existing.insert(L"C:\\AppData\\");
    if (!every) system.trueVersion = {10, 0, 19045, 1};
    if (!every) system.version = {2, 6, 2, 9200};
    // Mixed: every other file there, msjtes40.dll refuses its registration.
    for (std::size_t i = 0; i < std::size(app::kMDACFiles); ++i)
        if (every || i % 2 == 0) Place(*this, kCommon + app::kMDACFiles[i].suffix, 2, 80);
    for (std::size_t i = 0; i < std::size(app::kJetFiles); ++i)
        if (every || i < 3) Place(*this, kSys + app::kJetFiles[i].suffix, 4, 0, !every && i == 1);
    // The components page's files; the mixed machine lacks gridex20.ocx.
    for (const wchar_t* file : {L"\\MSVBVM60.DLL", L"\\vbscript.DLL", L"\\actbar2.ocx", L"\\msxml.dll"})
        Place(*this, kSys + file, 6, 0);
    if (every) Place(*this, kSys + L"\\gridex20.ocx", 6, 0);
    for (const app::CreatedClass& created : app::kCreatedClasses) {
        const std::wstring name = created.name;
        PutText(registry, os::kHKeyClassesRoot, name + L"\\CLSID", L"", L"{" + name + L"}");
        const std::wstring key = L"CLSID\\{" + name + L"}\\InprocServer32";
        PutText(registry, os::kHKeyClassesRoot, key, L"", ListedPath(created.file));
    }
    if (every) return;
    // Mixed: each way a class names its server. The connection served by an application's own
    // copy; the recordset through its current version; one by a reference to expand, one by a
    // folder's short name, one in quotes, the provider without a folder (the system folder's);
    // the catalog's file is gone; data shaping not registered; a CLSID naming a key elsewhere.
    const auto server = [&](const std::wstring& name, const std::wstring& path, std::uint32_t type = os::regtype::kSz) {
        const std::wstring key = L"CLSID\\{" + name + L"}\\InprocServer32";
        registry.Put(os::kHKeyClassesRoot, key, L"", type, {path.begin(), path.end()});
    };
    server(L"ADODB.Connection", L"D:\\App\\msado15.dll");
    server(L"ADODB.Recordset", L"D:\\Old\\msado15.dll");
    PutText(registry, os::kHKeyClassesRoot, L"ADODB.Recordset\\CurVer", L"", L"ADODB.Recordset.6.0");
    PutText(registry, os::kHKeyClassesRoot, L"ADODB.Recordset.6.0\\CLSID", L"", L"{ADODB.Recordset.6.0}");
    server(L"ADODB.Recordset.6.0", ListedPath(L"MSADO15.DLL"));
    server(L"ADOR.Recordset", L"%CommonProgramFiles%\\System\\ado\\msador15.dll", os::regtype::kExpandSz);
    registry.environment[L"CommonProgramFiles"] = kCommon;
    server(L"JRO.JetEngine", L"C:\\PROGRA~1\\COMMON~1\\System\\ado\\MSJRO.DLL");
    system.longPaths[L"C:\\PROGRA~1\\COMMON~1\\System\\ado"] = kCommon + L"\\System\\ado";
    server(L"MSDAORA", L"\"" + ListedPath(L"MSDAORA.DLL") + L"\"");
    server(L"Microsoft.Jet.OLEDB.4.0", L"msjetoledb40.dll");
    registry.DeleteKey(os::kHKeyClassesRoot, L"MSDataShape\\CLSID");
    PutText(registry, os::kHKeyClassesRoot, L"MSDASQL\\CLSID", L"", L"{A}\\B");
    PutText(registry, os::kHKeyClassesRoot, L"CLSID\\{A}\\B\\InprocServer32", L"", ListedPath(L"MSDASQL.DLL"));
}

std::string Name(State state, bool product, bool german) {
    const char* states[] = {"every", "none", "mixed"};
    return std::string(product ? "installed-" : "not-installed-") + (german ? "de-" : "en-") +
           states[static_cast<int>(state)];
}

std::wstring ControlName(int id) {
    for (const ui::ControlSpec& design : app::Layout())
        if (design.id == id) return std::wstring(design.name, design.name + std::strlen(design.name));
    return L"none";
}

std::wstring Render(const Screen& screen) {
    ui::Form& form = screen.form;
    std::wstring out = L"window: " + form.Caption() + L"\n";
    std::vector<int> shown;  // the ids of the containers shown so far
    for (const ui::ControlSpec& design : app::Layout()) {
        ui::Control& c = form[design.id];
        const bool inShown =
            !design.container || std::find(shown.begin(), shown.end(), design.container) != shown.end();
        if (!c.Visible() || !inShown || design.kind == ui::Kind::Timer) continue;
        shown.push_back(design.id);
        const std::wstring name = ControlName(design.id) + L" ";
        switch (design.kind) {
            case ui::Kind::TabStrip: {
                ui::TabStrip& tabs = form.TabsOf(ui::TabStripId{design.id});
                for (int tab = 1; tab <= tabs.TabCount(); ++tab) {
                    const wchar_t* chosen = tab == tabs.SelectedTab() ? L" (chosen): " : L": ";
                    out += name + L"tab " + std::to_wstring(tab) + chosen + tabs.TabCaption(tab) + L"\n";
                }
                break;
            }
            case ui::Kind::ListView: {
                ui::ListView& list = form.ListOf(ui::ListViewId{design.id});
                for (int column = 1; column <= list.ColumnCount(); ++column)
                    out += name + L"column " + std::to_wstring(column) + L": " + list.ColumnCaption(column) + L"\n";
                if (list.Sorted()) out += name + L"sorted by column " + std::to_wstring(list.SortKey() + 1) + L"\n";
                for (int item = 0; item < list.ItemCount(); ++item) {
                    std::wstring row;
                    for (int column = 0; column < list.ColumnCount(); ++column)
                        row += L" | " + list.ItemText(item, column);
                    out += name + L"row " + std::to_wstring(item + 1) + L":" + row + L"\n";
                }
                break;
            }
            case ui::Kind::Page:
            case ui::Kind::ProgressBar:
                out += name + L"shown\n";
                break;
            default:
                out += name + L"caption: " + Escaped(c.Caption()) + L"\n";
                break;
        }
    }
    return out;
}

std::wstring AsLines(const std::wstring& text) {
    std::wstring out;
    for (std::size_t at = 0, end = 0; at < text.size(); at = end + 2) {
        end = std::min(text.find(L"\r\n", at), text.size());
        out += Escaped(text.substr(at, end - at)) + L"\n";
    }
    return out;
}

std::wstring Tour(app::frmLumoraRepair& window, const Screen& screen) {
    using namespace ctl;
    ui::Form& form = screen.form;
    std::wstring out = L"== started\n" + Render(screen);
    for (int tab = 1; tab <= form.TabsOf(TabStrip1).TabCount(); ++tab) {
        form.TabsOf(TabStrip1).SelectTab(tab);
        window.OnEvent(TabStrip1, ui::Event::Click, 0);
        screen.settle();
        out += L"== tab " + std::to_wstring(tab) + L" chosen\n" + Render(screen);
    }
    for (const auto& [tab, list] : {std::pair{1, lvwMDACFiles}, std::pair{2, lvwJetFiles}}) {
        form.TabsOf(TabStrip1).SelectTab(tab);
        window.OnEvent(TabStrip1, ui::Event::Click, 0);
        window.OnEvent(list, ui::Event::ColumnClick, 1);
        screen.settle();
        out += L"== tab " + std::to_wstring(tab) + L" sorted by version\n" + Render(screen);
    }
    // The report as Notepad shows it.
    return out + L"== report\n" + AsLines(window.ReportText());
}

void Expect(const std::string& name, const std::wstring& text) {
    const std::string path = std::string(LR_SOURCE_DIR) + "/tests/snapshots/" + name + ".txt";
    // What is shown now goes beside the file, for diff; or over it, when asked to.
    const std::string shown = std::getenv("LR_UPDATE_SNAPSHOTS") ? path : path + ".new";
    std::ifstream in(OnDisk(path), std::ios::binary);
    const std::string expected{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::remove(OnDisk(path + ".new").c_str());
    if (expected == Utf8(text)) return;
    std::ofstream(OnDisk(shown), std::ios::binary) << Utf8(text);
    if (shown != path) ADD_FAILURE() << "what is shown differs from its snapshot: diff -u " << path << ' ' << shown;
}

}  // namespace snapshots
