#pragma once
// Where the program's DLL loads look. A user may start it from a downloads folder holding
// a planted DLL, elevated: nothing is ever loaded by bare name from beside the exe or from
// the current folder. System DLLs that are not among the system's known DLLs are loaded at
// run time by their full path in the system folder instead of through the import table.

namespace win32 {

// At start, before anything is loaded at run time: takes the current folder off the search
// path and, where kernel32 offers SetDefaultDllDirectories, limits the default search to
// the system folder. True when that limit is in force.
bool RestrictDllSearch();

// True when LoadLibraryEx takes the LOAD_LIBRARY_SEARCH_ flags (the same systems that
// offer SetDefaultDllDirectories).
bool HasSearchFlags();

// A DLL of the system folder, loaded by its full path there and freed with the object;
// its procedures are null when it could not be loaded.
class SystemLibrary {
public:
    explicit SystemLibrary(const wchar_t* name);
    ~SystemLibrary();
    SystemLibrary(const SystemLibrary&) = delete;
    SystemLibrary& operator=(const SystemLibrary&) = delete;

    // The procedure as the declaration F of the SDK headers types it.
    template <class F>
    F Procedure(const char* name) const {
        return reinterpret_cast<F>(Find(name));
    }
    // The loaded file, for tests: empty when it was not loaded.
    const wchar_t* LoadedFrom() const;

private:
    using AnyProcedure = void (*)();
    AnyProcedure Find(const char* name) const;

    void* module_ = nullptr;
    wchar_t path_[260] = {};
};

}  // namespace win32
