#include "registry/cRegistry.h"

#include <array>
#include <cstring>
#include <span>
#include <utility>

#include "platform/strings.h"

namespace {

// A value that keeps growing between our queries is given up on after this many reads.
constexpr int kFetchAttempts = 8;
// The most characters the platform's environment expansion takes, its terminating zero included.
constexpr std::size_t kExpandLimit = 32768;

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

bool cRegistry::ReadData(os::KeyHandle key, std::uint32_t& type, std::vector<std::uint8_t>& data) {
    for (int attempt = 0; attempt < kFetchAttempts; ++attempt) {
        std::uint32_t size = 0;
        auto status = registry_.QueryValue(key, valueKey_, type, {}, size);
        if (status != os::kErrorSuccess && status != os::kErrorMoreData) return false;
        data.assign(size, 0);
        if (size == 0) return true;
        // The platform is told exactly 'size' bytes and says how many it wrote.
        std::uint32_t found = 0;
        std::uint32_t reported = 0;
        status = registry_.QueryValue(key, valueKey_, found, data, reported);
        if (status == os::kErrorSuccess && found == type && reported <= size) {
            data.resize(reported);
            return true;
        }
        // Gone since the size was asked: nothing to read.
        if (status != os::kErrorMoreData && status != os::kErrorSuccess) return false;
        // Grown, or rewritten with another type, in between: ask again from the start.
    }
    // Still changing: better nothing than data the platform did not give.
    return false;
}

TaggedValue cRegistry::Value() {
    OpenedKey key(registry_);
    // Without the key there is no value: the caller gets Default, as for a missing value.
    if (key.Open(classKey_, sectionKey_, os::kKeyQueryValue | readView_) != os::kErrorSuccess) return default_;

    std::uint32_t type = 0;
    std::vector<std::uint8_t> data;
    if (!ReadData(key.handle(), type, data)) return default_;
    valueType_ = static_cast<std::int32_t>(type);

    switch (type) {
        case os::regtype::kSz:
        case os::regtype::kMultiSz:
        case os::regtype::kExpandSz: {
            // The terminating zero is left out, and only a zero: installers store texts
            // without it, and those keep their last character. A list of strings thus keeps
            // the zero after each string but not the list's final one.
            std::size_t length = data.size();
            if (length > 0 && data[length - 1] == 0) --length;
            const std::wstring text = registry_.FromAnsi(std::span(data.data(), length));
            return type == os::regtype::kExpandSz ? ExpandEnvStr(text) : text;
        }
        case os::regtype::kDword:
        case os::regtype::kDwordBigEndian: {
            // Up to 4 bytes fill a number that starts at 0; longer data reads as 0.
            std::int32_t number = 0;
            if (!data.empty() && data.size() <= sizeof number) std::memcpy(&number, data.data(), data.size());
            return type == os::regtype::kDwordBigEndian ? SwapEndian(number) : number;
        }
        default: {
            // Exactly the stored bytes, indices from 0: written back, the value is unchanged.
            ByteArray array;
            array.bytes = std::move(data);
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
            // Data starts at element 0; an empty array is no bytes, as it was read.
            if (!array.bytes.empty() && !array.HasIndex(0)) Raise(kErrorSubscriptOutOfRange, L"Subscript out of range");
            // Every element, lower to upper bound: nothing of the caller's array is left out.
            status = registry_.SetValue(key.handle(), valueKey_, os::regtype::kBinary, array.bytes);
            break;
        }
        case os::regtype::kDword:
        case os::regtype::kDwordBigEndian: {
            // Anything but an integer cannot be stored as one: a failed write, not a quiet one.
            const bool isNumber = vValue.kind() == TaggedValue::Kind::Int16 || vValue.kind() == TaggedValue::Kind::Int32;
            if (!isNumber) Raise(kErrorWriteFailed, WriteFailureText(vValue));
            const std::int32_t number = vValue.kind() == TaggedValue::Kind::Int16 ? vValue.Int16() : vValue.Int32();
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
    // Without a reference there is nothing to expand. The platform expands at most 32K
    // characters and answers anything beyond that with nonsense (an empty text under Wine):
    // such a text is kept as stored rather than lost.
    if (sText.find(L'%') == std::wstring::npos || sText.size() >= kExpandLimit) return sText;
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
