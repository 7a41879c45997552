#pragma once
// Whether applications reach the listed files through the classes they create by name: each
// class's registration read as COM resolves a name (the name's CLSID, its current version
// first, then that class's InprocServer32), in the registry view a 32-bit program sees, and
// compared with the file the list examines as the file system compares paths.
#include <string>
#include <vector>

#include "app/file_entry.h"

namespace os {
class Registry;
class System;
}  // namespace os

namespace app {

// A class applications create by name, and the listed file that must serve it.
struct CreatedClass {
    const wchar_t* name;
    const wchar_t* file;
};
extern const CreatedClass kCreatedClasses[9];

// One class checked.
struct ClassReach {
    std::wstring name;
    std::wstring file;        // the listed file's name
    Reach verdict = Reach::NotRegistered;
    std::wstring registered;  // the file the registry names, references expanded; empty for none
};

// Every class of the table whose file is in `list`, in table order; each entry's Reached is
// set to the worst of its classes' verdicts (None for a file with no class). A registered
// name without a folder is the file of that name in `systemFolder`, where the loader finds it.
std::vector<ClassReach> CheckReach(os::Registry& registry, os::System& system, const std::wstring& systemFolder,
                                   std::vector<FileEntry>& list);

// Each entry's Reached: the worst verdict of its classes among `checked`, None without one.
void ShowReach(const std::vector<ClassReach>& checked, std::vector<FileEntry>& list);

}  // namespace app
