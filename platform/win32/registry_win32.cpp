#include "platform/win32/registry_win32.h"

#include <windows.h>

#include <limits>
#include <string>

#include "platform/win32/ansi.h"

namespace win32 {
namespace {

// Root numbers are the low 32 bits of the predefined handles; on a 64-bit build the handle
// is their sign extension (HKEY_CLASSES_ROOT is 0xFFFFFFFF80000000 there).
HKEY RootHandle(std::int32_t root) {
    return reinterpret_cast<HKEY>(static_cast<LONG_PTR>(root));
}

HKEY Handle(os::KeyHandle key) { return reinterpret_cast<HKEY>(key); }

os::KeyHandle Opaque(HKEY key) { return reinterpret_cast<os::KeyHandle>(key); }

// Sizes beyond a DWORD cannot be told to the platform; such a buffer is told less.
DWORD ToldSize(std::size_t size) {
    return size > std::numeric_limits<DWORD>::max() ? std::numeric_limits<DWORD>::max()
                                                    : static_cast<DWORD>(size);
}

}  // namespace

std::int32_t Registry::OpenKey(std::int32_t root, const std::wstring& subKey, std::uint32_t access,
                               os::KeyHandle& key) {
    HKEY opened = nullptr;
    const LONG status = ::RegOpenKeyExA(RootHandle(root), win32::ToAnsi(subKey).c_str(), 0, access, &opened);
    if (status == ERROR_SUCCESS) key = Opaque(opened);
    return status;
}

std::int32_t Registry::CreateKey(std::int32_t root, const std::wstring& subKey, std::uint32_t access,
                                 os::KeyHandle& key) {
    SECURITY_ATTRIBUTES security{};
    security.nLength = sizeof security;
    security.lpSecurityDescriptor = nullptr;
    security.bInheritHandle = FALSE;
    char keyClass[] = "";
    HKEY created = nullptr;
    DWORD disposition = 0;
    const LONG status = ::RegCreateKeyExA(RootHandle(root), win32::ToAnsi(subKey).c_str(), 0, keyClass,
                                          REG_OPTION_NON_VOLATILE, access, &security, &created, &disposition);
    if (status == ERROR_SUCCESS) key = Opaque(created);
    return status;
}

std::int32_t Registry::QueryValue(os::KeyHandle key, const std::wstring& name, std::uint32_t& type,
                                  std::span<std::uint8_t> data, std::uint32_t& size) {
    DWORD foundType = 0;
    DWORD foundSize = data.data() == nullptr ? 0 : ToldSize(data.size());
    const LONG status = ::RegQueryValueExA(Handle(key), win32::ToAnsi(name).c_str(), nullptr, &foundType,
                                           data.data(), &foundSize);
    type = foundType;
    size = foundSize;
    return status;
}

std::int32_t Registry::SetValue(os::KeyHandle key, const std::wstring& name, std::uint32_t type,
                                std::span<const std::uint8_t> data) {
    return ::RegSetValueExA(Handle(key), win32::ToAnsi(name).c_str(), 0, type, data.data(),
                            ToldSize(data.size()));
}

std::int32_t Registry::DeleteKey(std::int32_t root, const std::wstring& subKey) {
    return ::RegDeleteKeyA(RootHandle(root), win32::ToAnsi(subKey).c_str());
}

std::int32_t Registry::DeleteValue(os::KeyHandle key, const std::wstring& name) {
    return ::RegDeleteValueA(Handle(key), win32::ToAnsi(name).c_str());
}

std::int32_t Registry::CloseKey(os::KeyHandle key) { return ::RegCloseKey(Handle(key)); }

std::uint32_t Registry::ExpandEnvironment(const std::wstring& source,
                                                 std::span<std::uint8_t> destination) {
    char* buffer = reinterpret_cast<char*>(destination.data());
    const DWORD told = buffer == nullptr ? 0 : ToldSize(destination.size());
    return ::ExpandEnvironmentStringsA(win32::ToAnsi(source).c_str(), buffer, told);
}

std::string Registry::ToAnsi(const std::wstring& text) { return win32::ToAnsi(text); }

std::wstring Registry::FromAnsi(std::span<const std::uint8_t> bytes) {
    return win32::FromAnsi(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

Registry::~Registry() {
    for (Watch* watch : {&machine_, &user_}) {
        if (watch->key) ::RegCloseKey(static_cast<HKEY>(watch->key));
        if (watch->changed) ::CloseHandle(watch->changed);
    }
}

// Asks to be told of the next change below the first of `names` that opens (a user may have
// no class registrations of his own: then his whole software tree is watched).
bool Registry::Arm(Watch& watch, std::int32_t root, const char* const* names) {
    for (; !watch.key && *names; ++names) {
        HKEY key = nullptr;
        // The machine's whole tree, the 32-bit programs' view below it included.
        if (::RegOpenKeyExA(RootHandle(root), *names, 0, KEY_NOTIFY | KEY_WOW64_64KEY, &key) == ERROR_SUCCESS)
            watch.key = key;
    }
    if (!watch.changed) watch.changed = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!watch.key || !watch.changed) return false;
    ::ResetEvent(watch.changed);
    constexpr DWORD kWhat = REG_NOTIFY_CHANGE_NAME | REG_NOTIFY_CHANGE_LAST_SET;
    return ::RegNotifyChangeKeyValue(static_cast<HKEY>(watch.key), TRUE, kWhat, watch.changed, TRUE) == ERROR_SUCCESS;
}

bool Registry::ClassesMayHaveChanged() {
    bool changed = !watching_;
    for (Watch* watch : {&machine_, &user_})
        changed = changed || !watch->changed || ::WaitForSingleObject(watch->changed, 0) != WAIT_TIMEOUT;
    if (!changed) return false;
    // Watched again before the caller reads, so that a change while it reads is told next time.
    static const char* const kMachine[] = {"SOFTWARE\\Classes", nullptr};
    static const char* const kUser[] = {"Software\\Classes", "Software", nullptr};
    const bool machine = Arm(machine_, static_cast<std::int32_t>(0x80000002u), kMachine);
    const bool user = Arm(user_, static_cast<std::int32_t>(0x80000001u), kUser);
    watching_ = machine && user;
    return true;
}

}  // namespace win32
