#pragma once
// The registry as cRegistry uses it: the ANSI registry functions of advapi32 at byte level,
// plus the environment expansion of REG_EXPAND_SZ data and the ANSI code page conversion
// of the texts stored in values. Real one: platform/win32/registry_win32.h; fake:
// tests/fakes/fake_registry.h.
#include <cstdint>
#include <span>
#include <string>

namespace os {

// Predefined root keys, as the registry functions take them: 32-bit numbers with the top bit
// set, sign-extended where a handle is wider.
inline constexpr std::int32_t kHKeyClassesRoot = static_cast<std::int32_t>(0x80000000u);
inline constexpr std::int32_t kHKeyCurrentUser = static_cast<std::int32_t>(0x80000001u);
inline constexpr std::int32_t kHKeyLocalMachine = static_cast<std::int32_t>(0x80000002u);
inline constexpr std::int32_t kHKeyUsers = static_cast<std::int32_t>(0x80000003u);

// Value type numbers as stored with each value.
namespace regtype {
inline constexpr std::uint32_t kNone = 0;
inline constexpr std::uint32_t kSz = 1;
inline constexpr std::uint32_t kExpandSz = 2;
inline constexpr std::uint32_t kBinary = 3;
inline constexpr std::uint32_t kDword = 4;
inline constexpr std::uint32_t kDwordBigEndian = 5;
inline constexpr std::uint32_t kLink = 6;
inline constexpr std::uint32_t kMultiSz = 7;
}  // namespace regtype

// Access rights of an opened key.
inline constexpr std::uint32_t kKeyQueryValue = 0x0001;
inline constexpr std::uint32_t kKeySetValue = 0x0002;
// Query, set, create subkey, enumerate, notify, create link: the six rights of a key itself,
// none of the standard ones.
inline constexpr std::uint32_t kKeyAllKeyRights = 0x003F;
// Added to an open's access: the registry view a 32-bit program sees, also from a 64-bit
// build (XP x64 and later take it; 32-bit Windows ignores it).
inline constexpr std::uint32_t kKeyWow64_32Key = 0x0200;

// Status codes the logic tells apart (Win32 error numbers).
inline constexpr std::int32_t kErrorSuccess = 0;
inline constexpr std::int32_t kErrorFileNotFound = 2;
inline constexpr std::int32_t kErrorAccessDenied = 5;
inline constexpr std::int32_t kErrorInvalidHandle = 6;
inline constexpr std::int32_t kErrorMoreData = 234;

// An opened key, opaque to the logic; pointer-sized because it is a handle.
using KeyHandle = std::uintptr_t;

class Registry {
public:
    virtual ~Registry() = default;

    // Opens root\subKey with the given access. On success 'key' must be closed with CloseKey.
    virtual std::int32_t OpenKey(std::int32_t root, const std::wstring& subKey, std::uint32_t access,
                                 KeyHandle& key) = 0;
    // Creates root\subKey (with every missing parent) or opens it if it exists: non-volatile,
    // with class "", the given access, and security attributes without a descriptor that are
    // not inherited. Whether it was created or opened is not reported.
    virtual std::int32_t CreateKey(std::int32_t root, const std::wstring& subKey, std::uint32_t access,
                                   KeyHandle& key) = 0;
    // Type and data of a value. 'data' is the whole buffer the platform may write, and its
    // size is the size the platform is told, so nothing beyond it can ever be written. A
    // span without storage (data() == nullptr) asks for type and size only. 'type' and
    // 'size' receive what the platform reports: on success and on kErrorMoreData, size is the
    // stored data's size in bytes (text data counted in the ANSI code page).
    virtual std::int32_t QueryValue(KeyHandle key, const std::wstring& name, std::uint32_t& type,
                                    std::span<std::uint8_t> data, std::uint32_t& size) = 0;
    virtual std::int32_t SetValue(KeyHandle key, const std::wstring& name, std::uint32_t type,
                                  std::span<const std::uint8_t> data) = 0;
    virtual std::int32_t DeleteKey(std::int32_t root, const std::wstring& subKey) = 0;
    virtual std::int32_t DeleteValue(KeyHandle key, const std::wstring& name) = 0;
    virtual std::int32_t CloseKey(KeyHandle key) = 0;

    // Expands the %NAME% references of 'source' into 'destination' (ANSI bytes), told exactly
    // destination.size(); a span without storage only asks. Returns the size the expansion
    // needs including its terminating zero, or 0 when the platform fails.
    virtual std::uint32_t ExpandEnvironment(const std::wstring& source,
                                                   std::span<std::uint8_t> destination) = 0;

    // Text data of values travels in the system's ANSI code page; these convert it. Lengths
    // are explicit: zero bytes and zero characters pass through as they are.
    virtual std::string ToAnsi(const std::wstring& text) = 0;
    virtual std::wstring FromAnsi(std::span<const std::uint8_t> bytes) = 0;
};

}  // namespace os
