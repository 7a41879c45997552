#pragma once
// Registry values and keys of the prefix as the scenarios set, read and put back: the driver
// does all of a scenario's registry work in one Wine start (each start of reg.exe costs a
// quarter of a second or more). A value's state is one word, so the shell can keep it:
//   "nokey:<KEY>"  the key is missing; <KEY> is the top-most key missing on the way to it
//   "novalue"      the key exists, the value does not
//   "<type>:<hex>" the value's type (decimal) and its bytes, exactly
#include <windows.h>

#include <cwchar>
#include <string>
#include <vector>

#include "remote.h"

namespace lrdriver {

class RegistryKeyPath {
public:
    // KEY begins with the root's short or long name, as for reg.exe: HKLM\Software\...
    explicit RegistryKeyPath(const std::wstring& key) : text_(key) {
        static const struct {
            const wchar_t* name;
            HKEY root;
        } kRoots[] = {
            {L"HKLM", HKEY_LOCAL_MACHINE}, {L"HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE},
            {L"HKCU", HKEY_CURRENT_USER},  {L"HKEY_CURRENT_USER", HKEY_CURRENT_USER},
            {L"HKCR", HKEY_CLASSES_ROOT},  {L"HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT},
        };
        const std::size_t slash = key.find(L'\\');
        for (const auto& r : kRoots)
            if (_wcsicmp(key.substr(0, slash).c_str(), r.name) == 0) root_ = r.root;
        // A root alone is never a key the scenarios may make or remove.
        if (!root_ || slash == std::wstring::npos || slash + 1 >= key.size())
            throw Failure{L"not a key below HKLM, HKCU or HKCR: " + key};
        subkey_ = key.substr(slash + 1);
        rootLength_ = slash;
    }

    HKEY Root() const { return root_; }
    const std::wstring& Subkey() const { return subkey_; }
    const std::wstring& Text() const { return text_; }
    bool Exists() const {
        HKEY key = nullptr;
        if (RegOpenKeyExW(root_, subkey_.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
        RegCloseKey(key);
        return true;
    }
    // The top-most missing key on the way to this one (this one when only it is missing).
    std::wstring TopMissing() const {
        for (std::size_t end = subkey_.find(L'\\'); end != std::wstring::npos; end = subkey_.find(L'\\', end + 1)) {
            if (!RegistryKeyPath(text_.substr(0, rootLength_ + 1 + end)).Exists())
                return text_.substr(0, rootLength_ + 1 + end);
        }
        return text_;
    }
    // Whether other is this key or one below it: what a put-back may remove.
    bool Contains(const RegistryKeyPath& other) const {
        if (root_ != other.root_) return false;
        const std::wstring mine = subkey_ + L"\\", theirs = other.subkey_ + L"\\";
        return theirs.size() >= mine.size() && _wcsnicmp(theirs.c_str(), mine.c_str(), mine.size()) == 0;
    }

private:
    std::wstring text_;
    HKEY root_ = nullptr;
    std::wstring subkey_;
    std::size_t rootLength_ = 0;
};

inline std::wstring RegistryError(const std::wstring& what, LONG status) {
    return what + L" (error " + std::to_wstring(status) + L")";
}

inline std::wstring ValueState(const RegistryKeyPath& path, const std::wstring& name) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(path.Root(), path.Subkey().c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return L"nokey:" + path.TopMissing();
    DWORD type = 0, size = 0;
    LONG status = RegQueryValueExW(key, name.c_str(), nullptr, &type, nullptr, &size);
    std::vector<BYTE> data(size);
    if (status == ERROR_SUCCESS && size)
        status = RegQueryValueExW(key, name.c_str(), nullptr, &type, data.data(), &size);
    RegCloseKey(key);
    if (status == ERROR_FILE_NOT_FOUND) return L"novalue";
    if (status != ERROR_SUCCESS) throw Failure{RegistryError(L"cannot read " + path.Text() + L" value " + name, status)};
    std::wstring state = std::to_wstring(type) + L":";
    for (DWORD i = 0; i < size; ++i) {
        wchar_t hex[3];
        swprintf(hex, 3, L"%02X", data[i]);
        state += hex;
    }
    return state;
}

inline void DeleteKeyTree(const RegistryKeyPath& path) {
    LONG status = RegDeleteTreeW(path.Root(), path.Subkey().c_str());
    if (status == ERROR_SUCCESS) status = RegDeleteKeyW(path.Root(), path.Subkey().c_str());
    if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND)
        throw Failure{RegistryError(L"cannot remove " + path.Text(), status)};
    if (path.Exists()) throw Failure{L"cannot remove " + path.Text()};
}

inline void WriteValue(const RegistryKeyPath& path, const std::wstring& name, DWORD type, const BYTE* data,
                       DWORD size) {
    HKEY key = nullptr;
    LONG status = RegCreateKeyExW(path.Root(), path.Subkey().c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                                  nullptr);
    if (status == ERROR_SUCCESS) {
        status = RegSetValueExW(key, name.c_str(), 0, type, data, size);
        RegCloseKey(key);
    }
    if (status != ERROR_SUCCESS) throw Failure{RegistryError(L"cannot set " + path.Text() + L" value " + name, status)};
}

inline void DeleteValue(const RegistryKeyPath& path, const std::wstring& name) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(path.Root(), path.Subkey().c_str(), 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
    const LONG status = RegDeleteValueW(key, name.c_str());
    RegCloseKey(key);
    if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND)
        throw Failure{RegistryError(L"cannot remove " + path.Text() + L" value " + name, status)};
}

// Makes the value's state what ValueState gave earlier.
inline void PutValueState(const RegistryKeyPath& path, const std::wstring& name, const std::wstring& state) {
    if (state.rfind(L"nokey:", 0) == 0) {
        const RegistryKeyPath top(state.substr(6));
        if (!top.Contains(path)) throw Failure{L"refusing to remove " + top.Text() + L": it does not hold " + path.Text()};
        DeleteKeyTree(top);
    } else if (state == L"novalue") {
        DeleteValue(path, name);
    } else {
        const std::size_t colon = state.find(L':');
        const std::wstring hex = colon == std::wstring::npos ? L"" : state.substr(colon + 1);
        if (colon == std::wstring::npos || colon == 0 || hex.size() % 2)
            throw Failure{L"not a value state: " + state};
        std::vector<BYTE> data;
        for (std::size_t i = 0; i < hex.size(); i += 2)
            data.push_back(static_cast<BYTE>(std::wcstoul(hex.substr(i, 2).c_str(), nullptr, 16)));
        WriteValue(path, name, static_cast<DWORD>(std::wcstoul(state.substr(0, colon).c_str(), nullptr, 10)),
                   data.data(), static_cast<DWORD>(data.size()));
    }
    if (ValueState(path, name) != state && state.rfind(L"nokey:", 0) != 0)
        throw Failure{L"cannot put back " + path.Text() + L" value " + name};
}

// The state a REG_SZ value of this text has.
inline std::wstring TextValueState(const std::wstring& text) {
    std::wstring state = std::to_wstring(REG_SZ) + L":";
    for (wchar_t c : text + L'\0') {
        wchar_t hex[5];
        swprintf(hex, 5, L"%02X%02X", static_cast<unsigned>(c) & 0xFF, (static_cast<unsigned>(c) >> 8) & 0xFF);
        state += hex;
    }
    return state;
}

}  // namespace lrdriver
