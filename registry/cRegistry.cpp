#include "registry/cRegistry.h"

#include <array>
#include <cstring>
#include <span>
#include <utility>

#include "platform/strings.h"

namespace {

// A value that keeps growing between our queries is given up on after this many reads.
constexpr int kFetchAttempts = 8;

// A key opened for one operation, closed on every way out of it, errors included.
class OpenedKey {
public:
    explicit OpenedKey(os::Registry& registry) : registry_(registry) {}
    ~OpenedKey() {
        if (open_) registry_.CloseKey(key_);
    }
    OpenedKey(const OpenedKey&) = delete;
    OpenedKey& operator=(const OpenedKey&) = delete;

    std::int32_t Open(std::int32_t root, const std::wstring& subKey, std::uint32_t access) {
        return Took(registry_.OpenKey(root, subKey, access, key_));
    }
    std::int32_t Create(std::int32_t root, const std::wstring& subKey) {
        return Took(registry_.CreateKey(root, subKey, os::kKeyAllKeyRights, key_));
    }
    os::KeyHandle handle() const { return key_; }

private:
    std::int32_t Took(std::int32_t status) {
        open_ = status == os::kErrorSuccess;
        return status;
    }

    os::Registry& registry_;
    os::KeyHandle key_ = 0;
    bool open_ = false;
};

// A text is stored as REG_EXPAND_SZ when, after its first "%", there is a further "%" that
// does not directly follow it: "%%" stays a plain string, "%X%" does not.
bool HoldsEnvironmentReference(const std::wstring& text) {
    const auto first = text.find(L'%');
    return first != std::wstring::npos && text.find(L'%', first + 2) != std::wstring::npos;
}

std::span<const std::uint8_t> AsBytes(const std::string& s) {
    return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

}  // namespace

cRegistry::cRegistry(os::Registry& registry, os::System& system) : registry_(registry), system_(system) {}

bool cRegistry::KeyExists() {
    OpenedKey key(registry_);
    return key.Open(classKey_, sectionKey_, os::kKeyQueryValue) == os::kErrorSuccess;
}

bool cRegistry::CreateKey() {
    OpenedKey key(registry_);
    if (key.Create(classKey_, sectionKey_) != os::kErrorSuccess)
        Raise(kErrorRegistry, L"Failed to create registry Key: '" + sectionKey_);
    return true;
}

bool cRegistry::DeleteKey() {
    if (registry_.DeleteKey(classKey_, sectionKey_) != os::kErrorSuccess)
        Raise(kErrorRegistry, L"Failed to delete registry Key: '" + os::ToDecimal(classKey_) + L"',Section: '" +
                                  sectionKey_);
    return true;
}

bool cRegistry::DeleteValue() {
    OpenedKey key(registry_);
    if (key.Open(classKey_, sectionKey_, os::kKeyAllKeyRights) != os::kErrorSuccess)
        Raise(kErrorRegistry, L"Failed to open key '" + os::ToDecimal(classKey_) + L"',Section: '" + sectionKey_ +
                                  L"' for delete access");
    if (registry_.DeleteValue(key.handle(), valueKey_) != os::kErrorSuccess)
        Raise(kErrorRegistry, L"Failed to delete registry Key: '" + os::ToDecimal(classKey_) + L"',Section: '" +
                                  sectionKey_ + L"',Key: '" + valueKey_);
    return true;
}

std::vector<std::uint8_t> cRegistry::FetchData(os::KeyHandle key, std::uint32_t& size, std::size_t spare) {
    std::vector<std::uint8_t> buffer;
    for (int attempt = 0; attempt < kFetchAttempts; ++attempt) {
        buffer.assign(std::size_t{size} + spare, 0);
        std::uint32_t type = 0;
        std::uint32_t reported = 0;
        // The platform is told exactly 'size' bytes: the spare ones are not its to write.
        const auto status = registry_.QueryValue(key, valueKey_, type, std::span(buffer.data(), size), reported);
        if (status != os::kErrorMoreData || reported <= size) return buffer;
        size = reported;  // grown since the size was asked: read again with room for it
    }
    // Still growing: hand out zeros of the last size rather than a buffer the platform
    // declined to fill.
    buffer.assign(std::size_t{size} + spare, 0);
    return buffer;
}

TaggedValue cRegistry::Value() {
    OpenedKey key(registry_);
    // Without the key there is no value: the caller gets Default, as for a missing value.
    if (key.Open(classKey_, sectionKey_, os::kKeyQueryValue) != os::kErrorSuccess) return default_;

    std::uint32_t type = 0;
    std::uint32_t size = 0;
    const auto status = registry_.QueryValue(key.handle(), valueKey_, type, {}, size);
    if (status != os::kErrorSuccess && status != os::kErrorMoreData) return default_;
    valueType_ = static_cast<std::int32_t>(type);

    switch (type) {
        case os::regtype::kSz:
        case os::regtype::kMultiSz:
        case os::regtype::kExpandSz: {
            // The data's last byte, normally its terminating zero, is left out; a list of
            // strings thus keeps the zero after each string but not the list's final one.
            // Data of no bytes at all has nothing to leave out and reads as empty.
            std::wstring text;
            if (size > 0) {
                const auto data = FetchData(key.handle(), size, 0);
                text = registry_.FromAnsi(std::span(data.data(), size - 1));
            }
            return type == os::regtype::kExpandSz ? ExpandEnvStr(text) : text;
        }
        case os::regtype::kDword:
        case os::regtype::kDwordBigEndian: {
            // Always a 4-byte destination told 4 bytes, whatever size is stored: longer data
            // is declined by the platform and reads as 0.
            std::array<std::uint8_t, 4> data{};
            std::uint32_t ignoredType = 0;
            std::uint32_t ignoredSize = 0;
            if (registry_.QueryValue(key.handle(), valueKey_, ignoredType, data, ignoredSize) != os::kErrorSuccess)
                data = {};
            std::int32_t number = 0;
            std::memcpy(&number, data.data(), sizeof number);
            return type == os::regtype::kDwordBigEndian ? SwapEndian(number) : number;
        }
        default: {
            // Indices 0 to n for n bytes of data: the last element is always 0.
            ByteArray array;
            array.bytes = FetchData(key.handle(), size, 1);
            return array;
        }
    }
}

void cRegistry::SetValue(TaggedValue vValue) {
    OpenedKey key(registry_);
    if (key.Create(classKey_, sectionKey_) != os::kErrorSuccess) Raise(kErrorRegistry, WriteFailureText(vValue));

    std::int32_t status = os::kErrorSuccess;
    switch (valueType_) {
        case os::regtype::kSz:
        case os::regtype::kExpandSz: {
            const std::wstring text = TextForm(vValue);
            const auto type = HoldsEnvironmentReference(text) ? os::regtype::kExpandSz : os::regtype::kSz;
            std::string data = registry_.ToAnsi(text);
            data.push_back('\0');
            status = registry_.SetValue(key.handle(), valueKey_, type, AsBytes(data));
            break;
        }
        case os::regtype::kBinary: {
            // This refusal carries its number only.
            if (vValue.kind() != TaggedValue::Kind::Bytes) throw RegistryError(kErrorRegistry, L"", L"");
            const ByteArray& array = vValue.Bytes();
            if (!array.HasIndex(0)) Raise(kErrorSubscriptOutOfRange, L"Subscript out of range");
            // Every element, lower to upper bound: nothing of the caller's array is left out.
            status = registry_.SetValue(key.handle(), valueKey_, os::regtype::kBinary, array.bytes);
            break;
        }
        case os::regtype::kDword:
        case os::regtype::kDwordBigEndian: {
            // Anything but an integer is not written, and that is not an error.
            std::int32_t number = 0;
            if (vValue.kind() == TaggedValue::Kind::Int16)
                number = vValue.Int16();
            else if (vValue.kind() == TaggedValue::Kind::Int32)
                number = vValue.Int32();
            else
                return;
            // Machine byte order, as a plain REG_DWORD even when big-endian was asked for.
            std::array<std::uint8_t, 4> data{};
            std::memcpy(data.data(), &number, sizeof number);
            status = registry_.SetValue(key.handle(), valueKey_, os::regtype::kDword, data);
            break;
        }
        default:
            // No other type can be written; the key stays created.
            status = -1;
            break;
    }
    if (status != os::kErrorSuccess) Raise(kErrorWriteFailed, WriteFailureText(vValue));
}

void cRegistry::SetClassesValue(std::wstring sValue) {
    const std::int32_t classKey = classKey_;
    const std::wstring sectionKey = sectionKey_;
    try {
        classKey_ = os::kHKeyClassesRoot;
        SetValue(sValue);
        classKey_ = os::kHKeyLocalMachine;
        sectionKey_ = L"SOFTWARE\\Classes\\" + sectionKey;
        SetValue(sValue);
        sectionKey_ = sectionKey;
    } catch (...) {
        // An operation that raises leaves the object's fields as they were.
        classKey_ = classKey;
        sectionKey_ = sectionKey;
        throw;
    }
}

std::int32_t cRegistry::SwapEndian(std::int32_t x) {
    const auto u = static_cast<std::uint32_t>(x);
    return static_cast<std::int32_t>((u >> 24) | ((u >> 8) & 0x0000FF00u) | ((u << 8) & 0x00FF0000u) | (u << 24));
}

std::wstring cRegistry::ExpandEnvStr(const std::wstring& sText) {
    std::uint32_t needed = registry_.ExpandEnvironment(sText, {});
    for (int attempt = 0; attempt < kFetchAttempts && needed > 0; ++attempt) {
        // needed - 1 characters and the terminating zero.
        std::vector<std::uint8_t> buffer(needed, 0);
        const std::uint32_t again = registry_.ExpandEnvironment(sText, buffer);
        if (again == 0) break;
        if (again <= needed) return registry_.FromAnsi(std::span(buffer.data(), needed - 1));
        needed = again;  // the environment changed in between: ask with the new size
    }
    // The platform could not expand it: the text as stored is the best answer.
    return sText;
}

std::wstring cRegistry::ErrorSource() const {
    // The executable's file name without folder and extension.
    std::wstring name = system_.ModuleFileName();
    const auto slash = name.find_last_of(L"\\/:");
    if (slash != std::wstring::npos) name.erase(0, slash + 1);
    const auto dot = name.rfind(L'.');
    if (dot != std::wstring::npos) name.erase(dot);
    return name + L".cRegistry";
}

void cRegistry::Raise(std::int32_t number, std::wstring description) const {
    throw RegistryError(number, ErrorSource(), std::move(description));
}

std::wstring cRegistry::WriteFailureText(const TaggedValue& value) const {
    return L"Failed to set registry value Key: '" + os::ToDecimal(classKey_) + L"',Section: '" + sectionKey_ +
           L"',Key: '" + valueKey_ + L"' to value: '" + TextForm(value) + L"'";
}
