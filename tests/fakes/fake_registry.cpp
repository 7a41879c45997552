#include "fakes/fake_registry.h"

#include <algorithm>
#include <cstring>

namespace fakes {
namespace {

std::vector<std::wstring> Parts(const std::wstring& path) {
    std::vector<std::wstring> parts;
    std::wstring part;
    for (const wchar_t c : path) {
        if (c == L'\\') {
            if (!part.empty()) parts.push_back(part);
            part.clear();
        } else {
            part += c;
        }
    }
    if (!part.empty()) parts.push_back(part);
    return parts;
}

}  // namespace

FakeRegistry::FakeRegistry() {
    for (std::uint32_t r = 0x80000000u; r <= 0x80000006u; ++r) keys_[KeyId(static_cast<std::int32_t>(r), L"")];
}

bool FakeRegistry::IsRoot(std::int32_t root) {
    const auto r = static_cast<std::uint32_t>(root);
    return r >= 0x80000000u && r <= 0x80000006u;
}

std::wstring FakeRegistry::Lower(const std::wstring& s) {
    std::wstring out = s;
    for (wchar_t& c : out)
        if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
    return out;
}

std::wstring FakeRegistry::KeyId(std::int32_t root, const std::wstring& path) {
    std::wstring id = L"root" + std::to_wstring(static_cast<std::uint32_t>(root));
    for (const auto& part : Parts(path)) id += L"\\" + Lower(part);
    return id;
}

std::int32_t FakeRegistry::Record(Call call, std::int32_t status) {
    call.status = status;
    calls.push_back(std::move(call));
    return status;
}

std::int32_t FakeRegistry::Scripted(const Call& call) const {
    if (const auto f = failures.find(call.op); f != failures.end()) return f->second;
    return failIf ? failIf(call) : 0;
}

const FakeRegistry::Handle* FakeRegistry::Opened(os::KeyHandle key) const {
    const auto it = handles_.find(key);
    return it == handles_.end() ? nullptr : &it->second;
}

os::KeyHandle FakeRegistry::NewHandle(const std::wstring& keyId, std::uint32_t access) {
    const os::KeyHandle handle = nextHandle_;
    nextHandle_ += 4;
    handles_[handle] = {keyId, access};
    openHandles.insert(handle);
    ++opened;
    return handle;
}

void FakeRegistry::AddKey(std::int32_t root, const std::wstring& path) {
    std::wstring id = KeyId(root, L"");
    keys_[id];
    for (const auto& part : Parts(path)) {
        id += L"\\" + Lower(part);
        keys_[id];
    }
}

void FakeRegistry::Put(std::int32_t root, const std::wstring& path, const std::wstring& name,
                       std::uint32_t type, std::vector<std::uint8_t> data) {
    AddKey(root, path);
    keys_[KeyId(root, path)].values[Lower(name)] = {type, std::move(data)};
}

void FakeRegistry::PutText(std::int32_t root, const std::wstring& path, const std::wstring& name,
                           std::uint32_t type, const std::string& bytes) {
    Put(root, path, name, type, std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
}

bool FakeRegistry::HasKey(std::int32_t root, const std::wstring& path) const {
    return keys_.count(KeyId(root, path)) != 0;
}

std::optional<FakeRegistry::StoredValue> FakeRegistry::Find(std::int32_t root, const std::wstring& path,
                                                            const std::wstring& name) const {
    const auto key = keys_.find(KeyId(root, path));
    if (key == keys_.end()) return std::nullopt;
    const auto value = key->second.values.find(Lower(name));
    if (value == key->second.values.end()) return std::nullopt;
    return value->second;
}

std::size_t FakeRegistry::ValueCount(std::int32_t root, const std::wstring& path) const {
    const auto key = keys_.find(KeyId(root, path));
    return key == keys_.end() ? 0 : key->second.values.size();
}

int FakeRegistry::Count(Op op) const {
    return static_cast<int>(std::count_if(calls.begin(), calls.end(), [op](const Call& c) { return c.op == op; }));
}

std::vector<std::size_t> FakeRegistry::Told(Op op) const {
    std::vector<std::size_t> told;
    for (const auto& call : calls)
        if (call.op == op) told.push_back(call.told);
    return told;
}

std::int32_t FakeRegistry::OpenKey(std::int32_t root, const std::wstring& subKey, std::uint32_t access,
                                   os::KeyHandle& key) {
    Call call{Op::Open, root, subKey, L"", access};
    if (const auto f = Scripted(call)) return Record(call, f);
    if (!IsRoot(root)) return Record(call, os::kErrorInvalidHandle);
    const std::wstring id = KeyId(root, subKey);
    if (keys_.count(id) == 0) return Record(call, os::kErrorFileNotFound);
    key = NewHandle(id, access);
    return Record(call, os::kErrorSuccess);
}

std::int32_t FakeRegistry::CreateKey(std::int32_t root, const std::wstring& subKey, std::uint32_t access,
                                     os::KeyHandle& key) {
    Call call{Op::Create, root, subKey, L"", access};
    if (const auto f = Scripted(call)) return Record(call, f);
    if (!IsRoot(root)) return Record(call, os::kErrorInvalidHandle);
    AddKey(root, subKey);
    key = NewHandle(KeyId(root, subKey), access);
    return Record(call, os::kErrorSuccess);
}

std::int32_t FakeRegistry::QueryValue(os::KeyHandle key, const std::wstring& name, std::uint32_t& type,
                                      std::span<std::uint8_t> data, std::uint32_t& size) {
    const bool withData = data.data() != nullptr;
    Call call{withData ? Op::QueryData : Op::QuerySize};
    call.name = name;
    call.told = data.size();
    if (const Handle* h = Opened(key)) call.path = h->keyId;
    if (const auto f = Scripted(call)) return Record(call, f);
    if (withData && beforeQueryData) {
        auto hook = std::move(beforeQueryData);
        beforeQueryData = nullptr;
        hook();
    }
    const Handle* handle = Opened(key);
    if (handle == nullptr) return Record(call, os::kErrorInvalidHandle);
    if ((handle->access & os::kKeyQueryValue) == 0) return Record(call, os::kErrorAccessDenied);
    const auto& values = keys_[handle->keyId].values;
    const auto value = values.find(Lower(name));
    if (value == values.end()) return Record(call, os::kErrorFileNotFound);
    type = value->second.type;
    size = static_cast<std::uint32_t>(value->second.data.size());
    if (!withData) return Record(call, os::kErrorSuccess);
    // Like the platform: data that does not fit is not copied at all.
    if (data.size() < value->second.data.size()) return Record(call, os::kErrorMoreData);
    std::copy(value->second.data.begin(), value->second.data.end(), data.begin());
    return Record(call, os::kErrorSuccess);
}

std::int32_t FakeRegistry::SetValue(os::KeyHandle key, const std::wstring& name, std::uint32_t type,
                                    std::span<const std::uint8_t> data) {
    Call call{Op::Set};
    call.name = name;
    call.type = type;
    call.told = data.size();
    const Handle* handle = Opened(key);
    if (handle) call.path = handle->keyId;
    if (const auto f = Scripted(call)) return Record(call, f);
    if (handle == nullptr) return Record(call, os::kErrorInvalidHandle);
    if ((handle->access & os::kKeySetValue) == 0) return Record(call, os::kErrorAccessDenied);
    keys_[handle->keyId].values[Lower(name)] = {type, std::vector<std::uint8_t>(data.begin(), data.end())};
    return Record(call, os::kErrorSuccess);
}

std::int32_t FakeRegistry::DeleteKey(std::int32_t root, const std::wstring& subKey) {
    Call call{Op::DeleteKey, root, subKey};
    if (const auto f = Scripted(call)) return Record(call, f);
    if (!IsRoot(root)) return Record(call, os::kErrorInvalidHandle);
    const std::wstring id = KeyId(root, subKey);
    if (Parts(subKey).empty()) return Record(call, os::kErrorAccessDenied);  // a root itself
    const auto it = keys_.find(id);
    if (it == keys_.end()) return Record(call, os::kErrorFileNotFound);
    // Only a key without subkeys can be deleted.
    const std::wstring childPrefix = id + L"\\";
    const auto child = keys_.lower_bound(childPrefix);
    if (child != keys_.end() && child->first.compare(0, childPrefix.size(), childPrefix) == 0)
        return Record(call, os::kErrorAccessDenied);
    keys_.erase(it);
    return Record(call, os::kErrorSuccess);
}

std::int32_t FakeRegistry::DeleteValue(os::KeyHandle key, const std::wstring& name) {
    Call call{Op::DeleteValue};
    call.name = name;
    const Handle* handle = Opened(key);
    if (handle) call.path = handle->keyId;
    if (const auto f = Scripted(call)) return Record(call, f);
    if (handle == nullptr) return Record(call, os::kErrorInvalidHandle);
    if ((handle->access & os::kKeySetValue) == 0) return Record(call, os::kErrorAccessDenied);
    auto& values = keys_[handle->keyId].values;
    if (values.erase(Lower(name)) == 0) return Record(call, os::kErrorFileNotFound);
    return Record(call, os::kErrorSuccess);
}

std::int32_t FakeRegistry::CloseKey(os::KeyHandle key) {
    Call call{Op::Close};
    if (const Handle* h = Opened(key)) call.path = h->keyId;
    if (handles_.erase(key) == 0) {
        ++badCloses;
        return Record(call, os::kErrorInvalidHandle);
    }
    openHandles.erase(key);
    ++closed;
    // A close that reports failure has still released the handle, as on the platform.
    if (const auto f = Scripted(call)) return Record(call, f);
    return Record(call, os::kErrorSuccess);
}

std::uint32_t FakeRegistry::ExpandEnvironment(const std::wstring& source, std::span<std::uint8_t> destination) {
    const bool withBuffer = destination.data() != nullptr;
    Call call{Op::Expand};
    call.name = source;
    call.told = destination.size();
    if (Scripted(call)) return static_cast<std::uint32_t>(Record(call, 0));
    if (withBuffer && beforeExpandData) {
        auto hook = std::move(beforeExpandData);
        beforeExpandData = nullptr;
        hook();
    }
    // The platform reads the source as a zero-terminated string.
    const std::wstring text = source.substr(0, source.find(L'\0'));
    std::wstring expanded;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t close = text[i] == L'%' ? text.find(L'%', i + 1) : std::wstring::npos;
        if (close == std::wstring::npos) {
            expanded += text[i++];
            continue;
        }
        const std::wstring name = Lower(text.substr(i + 1, close - i - 1));
        const auto var = std::find_if(environment.begin(), environment.end(),
                                      [&](const auto& e) { return Lower(e.first) == name; });
        if (var != environment.end()) {
            expanded += var->second;
            i = close + 1;
        } else {
            // An unknown name stays as written; its closing "%" may open the next reference.
            expanded += text.substr(i, close - i);
            i = close;
        }
    }
    const std::string bytes = ToAnsi(expanded);
    const auto needed = static_cast<std::uint32_t>(bytes.size() + 1);
    if (withBuffer && destination.size() >= needed) {
        std::memcpy(destination.data(), bytes.data(), bytes.size());
        destination[bytes.size()] = 0;
    }
    return static_cast<std::uint32_t>(Record(call, static_cast<std::int32_t>(needed)));
}

std::string FakeRegistry::ToAnsi(const std::wstring& text) {
    std::string out;
    out.reserve(text.size());
    for (const wchar_t c : text) out += static_cast<unsigned>(c) <= 0xFF ? static_cast<char>(c) : '?';
    return out;
}

std::wstring FakeRegistry::FromAnsi(std::span<const std::uint8_t> bytes) {
    return std::wstring(bytes.begin(), bytes.end());
}

}  // namespace fakes
