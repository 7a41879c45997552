#pragma once
// The operating-system groups that the logic reaches, handed to it at construction.
// Real ones live in platform/win32, fakes in tests/fakes.

namespace os {

class Texts;
class System;
class Registry;
class VersionResources;
class Folders;
class Shell;
class Modules;
class Workers;

struct Services {
    Texts& texts;
    System& system;
    Registry& registry;
    VersionResources& versions;
    Folders& folders;
    Shell& shell;
    Modules& modules;
    Workers& workers;
};

}  // namespace os
