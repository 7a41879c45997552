#include "fakes/fake_registry.h"

#include <algorithm>
#include <cstring>

namespace fakes {
namespace {

std::wstring Lower(std::wstring s) {
    for (wchar_t& c : s)
        if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
    return s;
}

bool IsRoot(std::int32_t root) { return static_cast<std::uint32_t>(root) - 0x80000000u <= 6; }

}  // namespace

// "root\part\part", lower case, empty parts dropped; each parent is its own prefix.
std::wstring FakeRegistry::KeyId(std::int32_t root, const std::wstring& path) {
    std::wstring id = std::to_wstring(static_cast<std::uint32_t>(root)), part;
    for (const wchar_t c : path + L'\\') {
        if (c != L'\\') part += c;
        else if (!part.empty()) id += L'\\' + Lower(part), part.clear();
    }
    return id;
}

std::int32_t FakeRegistry::Failure(Op op) const { return failures.count(op) ? failures.at(op) : 0; }

void FakeRegistry::AddKey(std::int32_t root, const std::wstring& path) {
    const std::wstring id = KeyId(root, path);
    for (std::size_t at = id.find(L'\\'); at != std::wstring::npos; at = id.find(L'\\', at + 1)) keys_[id.substr(0, at)];
    keys_[id];
}

void FakeRegistry::Put(std::int32_t root, const std::wstring& path, const std::wstring& name, std::uint32_t type,
                       std::vector<std::uint8_t> data) {
    AddKey(root, path);
    keys_[KeyId(root, path)][Lower(name)] = {type, std::move(data)};
}

bool FakeRegistry::HasKey(std::int32_t root, const std::wstring& path) const {
    return keys_.count(KeyId(root, path)) != 0 || path.empty();
}

std::optional<FakeRegistry::StoredValue> FakeRegistry::Find(std::int32_t root, const std::wstring& path,
                                                            const std::wstring& name) const {
    const auto key = keys_.find(KeyId(root, path));
    if (key == keys_.end() || key->second.count(Lower(name)) == 0) return std::nullopt;
    return key->second.at(Lower(name));
}

std::int32_t FakeRegistry::OpenKey(std::int32_t root, const std::wstring& subKey, std::uint32_t access,
                                   os::KeyHandle& key) {
    accessAsked.push_back(access);
    if (const auto f = Failure(Op::Open)) return f;
    if (!IsRoot(root)) return os::kErrorInvalidHandle;
    if (!HasKey(root, subKey)) return os::kErrorFileNotFound;
    handles_[key = nextHandle_++] = {KeyId(root, subKey), access};
    openHandles.insert(key);
    return os::kErrorSuccess;
}

std::int32_t FakeRegistry::CreateKey(std::int32_t root, const std::wstring& subKey, std::uint32_t access,
                                     os::KeyHandle& key) {
    accessAsked.push_back(access);
    if (const auto f = Failure(Op::Create)) return f;
    if (!IsRoot(root)) return os::kErrorInvalidHandle;
    AddKey(root, subKey);
    handles_[key = nextHandle_++] = {KeyId(root, subKey), access};
    openHandles.insert(key);
    return os::kErrorSuccess;
}

std::int32_t FakeRegistry::QueryValue(os::KeyHandle key, const std::wstring& name, std::uint32_t& type,
                                      std::span<std::uint8_t> data, std::uint32_t& size) {
    if (const auto f = Failure(Op::Query)) return f;
    if (auto hook = data.data() ? std::move(beforeQueryData) : nullptr) beforeQueryData = nullptr, hook();
    const auto handle = handles_.find(key);
    if (handle == handles_.end()) return os::kErrorInvalidHandle;
    if (!(handle->second.second & os::kKeyQueryValue)) return os::kErrorAccessDenied;
    const auto& values = keys_[handle->second.first];
    const auto value = values.find(Lower(name));
    if (value == values.end()) return os::kErrorFileNotFound;
    type = value->second.type;
    size = static_cast<std::uint32_t>(value->second.data.size());
    if (!data.data()) {
        size = static_cast<std::uint32_t>(std::max<std::int64_t>(0, std::int64_t{size} + sizeSlack));
        return os::kErrorSuccess;
    }
    // Like the platform: data that does not fit is not copied at all.
    if (data.size() < size) return os::kErrorMoreData;
    if (size) std::memcpy(data.data(), value->second.data.data(), size);
    return os::kErrorSuccess;
}

std::int32_t FakeRegistry::SetValue(os::KeyHandle key, const std::wstring& name, std::uint32_t type,
                                    std::span<const std::uint8_t> data) {
    if (const auto f = Failure(Op::Set)) return f;
    const auto handle = handles_.find(key);
    if (handle == handles_.end() || !(handle->second.second & os::kKeySetValue)) return os::kErrorAccessDenied;
    keys_[handle->second.first][Lower(name)] = {type, {data.begin(), data.end()}};
    return os::kErrorSuccess;
}

std::int32_t FakeRegistry::DeleteKey(std::int32_t root, const std::wstring& subKey) {
    if (const auto f = Failure(Op::DeleteKey)) return f;
    return keys_.erase(KeyId(root, subKey)) ? os::kErrorSuccess : os::kErrorFileNotFound;
}

std::int32_t FakeRegistry::DeleteValue(os::KeyHandle key, const std::wstring& name) {
    if (const auto f = Failure(Op::DeleteValue)) return f;
    const auto handle = handles_.find(key);
    if (handle == handles_.end() || !keys_[handle->second.first].erase(Lower(name))) return os::kErrorFileNotFound;
    return os::kErrorSuccess;
}

std::int32_t FakeRegistry::CloseKey(os::KeyHandle key) {
    openHandles.erase(key);
    return handles_.erase(key) ? os::kErrorSuccess : os::kErrorInvalidHandle;
}

std::uint32_t FakeRegistry::ExpandEnvironment(const std::wstring& source, std::span<std::uint8_t> destination) {
    if (Failure(Op::Expand)) return 0;
    std::wstring text = source;
    for (const auto& [name, value] : environment)
        for (std::size_t at; (at = Lower(text).find(L'%' + Lower(name) + L'%')) != std::wstring::npos;)
            text.replace(at, name.size() + 2, value);
    const std::string bytes = ToAnsi(text);
    if (destination.size() > bytes.size()) std::memcpy(destination.data(), bytes.c_str(), bytes.size() + 1);
    return static_cast<std::uint32_t>(bytes.size() + 1);
}

std::string FakeRegistry::ToAnsi(const std::wstring& text) {
    std::string out;
    for (const wchar_t c : text) out += static_cast<unsigned>(c) <= 0xFF ? static_cast<char>(c) : '?';
    return out;
}

std::wstring FakeRegistry::FromAnsi(std::span<const std::uint8_t> bytes) { return {bytes.begin(), bytes.end()}; }

}  // namespace fakes
