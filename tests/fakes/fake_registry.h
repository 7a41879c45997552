#pragma once
// An in-memory registry answering like the ANSI registry functions (sizes, ERROR_MORE_DATA),
// keeping the open handles and the access each open asked for. Its code page is Latin-1.
#include <algorithm>
#include <functional>
#include <map>
#include <optional>
#include <utility>
#include <vector>

#include "platform/registry.h"

namespace fakes {

class FakeRegistry : public os::Registry {
public:
    struct StoredValue {
        std::uint32_t type = 0;
        std::vector<std::uint8_t> data;
        bool operator==(const StoredValue&) const = default;
    };

    std::function<void()> beforeQueryData;  // runs once before the next data query
    // The size query answers this many bytes more than stored (fewer when negative), as
    // the ANSI functions may over-estimate a text, and a value may grow after the answer.
    std::int64_t sizeSlack = 0;
    std::map<std::wstring, std::wstring> environment;  // for %NAME% expansion
    std::map<os::KeyHandle, std::wstring> open;        // the key of each open handle
    std::vector<std::uint32_t> accessAsked;            // by each open and create, in order
    bool classesChanged = true;                        // what ClassesMayHaveChanged answers next

    void AddKey(std::int32_t root, const std::wstring& path) { keys_[Id(root, path)]; }
    void Put(std::int32_t root, const std::wstring& path, const std::wstring& name, std::uint32_t type,
             std::vector<std::uint8_t> data) {
        keys_[Id(root, path)][name] = {type, std::move(data)};
        classesChanged = true;
    }
    std::optional<StoredValue> Find(std::int32_t root, const std::wstring& path, const std::wstring& name) {
        const auto& values = keys_[Id(root, path)];
        return values.count(name) ? std::optional(values.at(name)) : std::nullopt;
    }

    std::int32_t OpenKey(std::int32_t root, const std::wstring& subKey, std::uint32_t access,
                         os::KeyHandle& key) override {
        accessAsked.push_back(access);
        return keys_.count(Id(root, subKey)) ? Opened(root, subKey, key) : os::kErrorFileNotFound;
    }
    std::int32_t CreateKey(std::int32_t root, const std::wstring& subKey, std::uint32_t access,
                           os::KeyHandle& key) override {
        accessAsked.push_back(access);
        AddKey(root, subKey);
        return Opened(root, subKey, key);
    }
    std::int32_t QueryValue(os::KeyHandle key, const std::wstring& name, std::uint32_t& type,
                            std::span<std::uint8_t> data, std::uint32_t& size) override {
        if (data.data() && beforeQueryData) std::exchange(beforeQueryData, nullptr)();
        const auto& values = keys_[open.at(key)];
        if (!values.count(name)) return os::kErrorFileNotFound;
        const StoredValue& value = values.at(name);
        type = value.type;
        size = static_cast<std::uint32_t>(value.data.size());
        if (!data.data()) {
            size = static_cast<std::uint32_t>(std::max<std::int64_t>(0, size + sizeSlack));
            return os::kErrorSuccess;
        }
        // Like the platform: data that does not fit is not copied at all.
        if (data.size() < size) return os::kErrorMoreData;
        std::copy_n(value.data.begin(), size, data.begin());
        return os::kErrorSuccess;
    }
    std::int32_t SetValue(os::KeyHandle key, const std::wstring& name, std::uint32_t type,
                          std::span<const std::uint8_t> data) override {
        keys_[open.at(key)][name] = {type, {data.begin(), data.end()}};
        classesChanged = true;
        return os::kErrorSuccess;
    }
    std::int32_t DeleteKey(std::int32_t root, const std::wstring& subKey) override {
        classesChanged = true;
        return keys_.erase(Id(root, subKey)) ? 0 : os::kErrorFileNotFound;
    }
    bool ClassesMayHaveChanged() override { return std::exchange(classesChanged, false); }
    std::int32_t DeleteValue(os::KeyHandle key, const std::wstring& name) override {
        return keys_[open.at(key)].erase(name) ? 0 : os::kErrorFileNotFound;
    }
    std::int32_t CloseKey(os::KeyHandle key) override { return open.erase(key) ? 0 : os::kErrorInvalidHandle; }
    std::uint32_t ExpandEnvironment(const std::wstring& source, std::span<std::uint8_t> destination) override {
        std::wstring text = source;
        for (const auto& [name, value] : environment)
            for (std::size_t at; (at = text.find(L'%' + name + L'%')) != std::wstring::npos;)
                text.replace(at, name.size() + 2, value);
        const std::string bytes = ToAnsi(text);
        if (destination.size() > bytes.size()) std::copy_n(bytes.c_str(), bytes.size() + 1, destination.begin());
        return static_cast<std::uint32_t>(bytes.size() + 1);
    }
    std::string ToAnsi(const std::wstring& text) override { return {text.begin(), text.end()}; }
    std::wstring FromAnsi(std::span<const std::uint8_t> bytes) override { return {bytes.begin(), bytes.end()}; }

private:
    static std::wstring Id(std::int32_t root, const std::wstring& path) {
        return std::to_wstring(static_cast<std::uint32_t>(root)) + L'\\' + path;
    }
    std::int32_t Opened(std::int32_t root, const std::wstring& subKey, os::KeyHandle& key) {
        open[key = next_++] = Id(root, subKey);
        return os::kErrorSuccess;
    }

    std::map<std::wstring, std::map<std::wstring, StoredValue>> keys_;  // values by name
    os::KeyHandle next_ = 0x1000;
};

}  // namespace fakes
