#include "app/registration_check.h"

#include <algorithm>

#include "platform/registry.h"
#include "platform/strings.h"
#include "platform/system.h"
#include "platform/ui.h"
#include "registry/cRegistry.h"

namespace app {

// The names Microsoft's ADO, ADOX and JRO references give for CreateObject, and the
// provider names of its OLE DB provider references (the Provider= of a connection string),
// each with the file that MDAC or Jet 4.0 installs as that class's server.
const CreatedClass kCreatedClasses[9] = {
    {L"ADODB.Connection", L"MSADO15.DLL"},  // ADO: Connection object
    {L"ADODB.Recordset", L"MSADO15.DLL"},   // ADO: Recordset object
    {L"ADOR.Recordset", L"MSADOR15.DLL"},   // ADO: the client-side Recordset library
    {L"ADOX.Catalog", L"MSADOX.DLL"},       // ADOX: Catalog object
    {L"JRO.JetEngine", L"MSJRO.DLL"},       // JRO: JetEngine object
    {L"MSDataShape", L"MSADDS.DLL"},        // Data Shaping Service for OLE DB
    {L"MSDASQL", L"MSDASQL.DLL"},           // OLE DB Provider for ODBC
    {L"MSDAORA", L"MSDAORA.DLL"},           // OLE DB Provider for Oracle
    {L"Microsoft.Jet.OLEDB.4.0", L"msjetoledb40.dll"},  // OLE DB Provider for Jet 4.0
};

namespace {

constexpr wchar_t kNotFound[] = L"Not found";

bool SameText(const std::wstring& a, const std::wstring& b) { return ui::CompareItemText(a, b) == 0; }

// A value's text as COM takes it: up to its first NUL; empty when missing.
std::wstring DefaultText(cRegistry& reader, const std::wstring& key) {
    reader.SetSectionKey(key);
    return os::BeforeFirstNul(TextForm(reader.Value()));
}

// A key name read from data is one key below the one asked for, never a path elsewhere.
bool OneKey(const std::wstring& name) { return !name.empty() && name.find(L'\\') == std::wstring::npos; }

// The class's server as the registry names it; empty when the name or the class is not
// registered.
std::wstring ServerOf(cRegistry& reader, const std::wstring& name) {
    std::wstring clsid;
    const std::wstring current = DefaultText(reader, name + L"\\CurVer");
    if (OneKey(current)) clsid = DefaultText(reader, current + L"\\CLSID");
    if (!OneKey(clsid)) clsid = DefaultText(reader, name + L"\\CLSID");
    if (!OneKey(clsid)) return {};
    std::wstring server = DefaultText(reader, L"CLSID\\" + clsid + L"\\InprocServer32");
    // Registrations may quote a path with blanks.
    if (server.size() >= 2 && server.front() == L'"' && server.back() == L'"') server = server.substr(1, server.size() - 2);
    return server;
}

// The long form of a path; for a file that is gone, its folder's long form and its name.
std::wstring LongForm(os::System& system, const std::wstring& path) {
    const std::wstring full = system.LongPathName(path);
    if (!full.empty()) return full;
    const std::size_t slash = path.rfind(L'\\');
    if (slash == std::wstring::npos) return path;
    const std::wstring folder = system.LongPathName(path.substr(0, slash));
    return folder.empty() ? path : folder + path.substr(slash);
}

Reach Verdict(os::System& system, const FileEntry& entry, const std::wstring& server) {
    if (server.empty()) return Reach::NotRegistered;
    // Equal texts need no look at the disk; other forms of the same path do.
    const bool same = SameText(entry.ListedPath, server) ||
                      SameText(LongForm(system, entry.ListedPath), LongForm(system, server));
    if (!same) return Reach::OtherFile;
    const bool present = entry.FilePath != kNotFound || !system.LongPathName(entry.ListedPath).empty();
    return present ? Reach::ThisFile : Reach::FileMissing;
}

}  // namespace

std::vector<ClassReach> CheckReach(os::Registry& registry, os::System& system, const std::wstring& systemFolder,
                                   std::vector<FileEntry>& list) {
    cRegistry reader(registry, system);
    reader.SetClassKey(os::kHKeyClassesRoot);
    reader.SetReadView(os::kKeyWow64_32Key);
    reader.SetDefault(std::wstring());
    std::vector<ClassReach> checked;
    for (const CreatedClass& created : kCreatedClasses) {
        const auto entry = std::find_if(list.begin(), list.end(),
                                        [&](const FileEntry& e) { return SameText(e.FileName, created.file); });
        if (entry == list.end()) continue;
        ClassReach found;
        found.name = created.name;
        found.file = entry->FileName;
        found.registered = ServerOf(reader, created.name);
        if (!found.registered.empty() && found.registered.find(L'\\') == std::wstring::npos)
            found.registered = systemFolder + L"\\" + found.registered;
        found.verdict = Verdict(system, *entry, found.registered);
        checked.push_back(std::move(found));
    }
    ShowReach(checked, list);
    return checked;
}

void ShowReach(const std::vector<ClassReach>& checked, std::vector<FileEntry>& list) {
    for (FileEntry& entry : list) {
        entry.Reached = Reach::None;
        for (const ClassReach& one : checked)
            if (SameText(one.file, entry.FileName)) entry.Reached = std::max(entry.Reached, one.verdict);
    }
}

}  // namespace app
