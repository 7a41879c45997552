#pragma once
// Made-up component files: which paths load, what they export, and a log of what happened
// in order, so tests can tell a module was freed before an error reached them.
#include <cstdlib>
#include <map>
#include <vector>

#include "platform/modules.h"

namespace fakes {

class FakeModules : public os::Modules {
public:
    std::map<std::wstring, std::map<std::wstring, os::EntryPoint>> files;  // exports by path; others fail
    bool allocFails = false;
    std::vector<std::wstring> log;  // "load PATH", "free PATH", "alloc", "free object"
    int objectsAlive = 0;
    std::vector<std::wstring> loaded;  // every path loaded, in order; a handle is its place in it, from 1

    os::ModuleHandle Load(const std::wstring& path, std::uint32_t& error) override {
        if (!files.count(path)) {
            error = 2;  // ERROR_FILE_NOT_FOUND
            return 0;
        }
        log.push_back(L"load " + path);
        loaded.push_back(path);
        return loaded.size();
    }
    os::EntryPoint FindEntryPoint(os::ModuleHandle module, const std::wstring& name) override {
        const auto& exports = files.at(loaded.at(module - 1));
        return exports.count(name) ? exports.at(name) : nullptr;
    }
    void Free(os::ModuleHandle module) override { log.push_back(L"free " + loaded.at(module - 1)); }
    void* TaskMemAlloc(std::size_t bytes) override {
        if (allocFails) return nullptr;
        log.push_back(L"alloc");
        ++objectsAlive;
        return std::malloc(bytes);
    }
    void TaskMemFree(void* memory) override {
        log.push_back(L"free object");
        --objectsAlive;
        std::free(memory);
    }
};

}  // namespace fakes
