#include "platform/win32/output_win32.h"

#include <windows.h>
#include <shellapi.h>

namespace win32 {
namespace {

bool WriteAll(HANDLE file, const void* data, DWORD size) {
    DWORD written = 0;
    return WriteFile(file, data, size, &written, nullptr) && written == size;
}

// A console gets the text as it is; a file or pipe it was redirected to gets it in the
// console's code page, as cmd's own output is.
bool WriteText(HANDLE out, const std::wstring& text) {
    if (!out || out == INVALID_HANDLE_VALUE) return false;
    DWORD mode = 0, written = 0;
    const auto length = static_cast<DWORD>(text.size());
    if (GetConsoleMode(out, &mode)) return WriteConsoleW(out, text.data(), length, &written, nullptr);
    UINT page = GetConsoleOutputCP();
    if (!page) page = GetOEMCP();
    const int size = WideCharToMultiByte(page, 0, text.data(), static_cast<int>(length), nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(page, 0, text.data(), static_cast<int>(length), bytes.data(), size, nullptr, nullptr);
    return WriteAll(out, bytes.data(), static_cast<DWORD>(size));
}

}  // namespace

std::vector<std::wstring> CommandLineArguments() {
    int count = 0;
    LPWSTR* words = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::wstring> args;
    for (int i = 1; words && i < count; ++i) args.emplace_back(words[i]);
    LocalFree(words);
    return args;
}

bool Output::ToConsole(const std::wstring& text) {
    // A GUI program has no console of its own: the one of the program that started it
    // (cmd, PowerShell), taken once; where none is, its output may still be redirected.
    if (!attachTried_) {
        attachTried_ = true;
        attached_ = AttachConsole(ATTACH_PARENT_PROCESS);
    }
    if (WriteText(GetStdHandle(STD_OUTPUT_HANDLE), text)) return true;
    if (!attached_) return false;
    HANDLE console = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                 OPEN_EXISTING, 0, nullptr);
    const bool written = WriteText(console, text);
    if (console != INVALID_HANDLE_VALUE) CloseHandle(console);
    return written;
}

std::uint32_t Output::WriteWhole(const std::wstring& path, const std::string& bytes, std::wstring& fullPath) {
    static wchar_t full[32768];
    wchar_t* name = nullptr;
    const DWORD length = GetFullPathNameW(path.c_str(), 32768, full, &name);
    if (!length || length >= 32768) return GetLastError() ? GetLastError() : ERROR_INVALID_NAME;
    fullPath = full;
    if (!name) return ERROR_INVALID_NAME;  // a folder's path, ending in a backslash
    // A temporary file beside it, moved over it once complete: a reader sees the old file
    // or the new one, never half of it, and a failure leaves the old one as it was.
    const std::wstring folder(full, name);
    static wchar_t temporary[32768];
    if (!GetTempFileNameW(folder.c_str(), L"lr", 0, temporary)) return GetLastError();
    HANDLE file = CreateFileW(temporary, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD error = file == INVALID_HANDLE_VALUE ? GetLastError() : 0;
    if (!error && !(WriteAll(file, bytes.data(), static_cast<DWORD>(bytes.size())) && FlushFileBuffers(file)))
        error = GetLastError();
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    if (!error && !MoveFileExW(temporary, full, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) error = GetLastError();
    if (error) DeleteFileW(temporary);
    return error;
}

void Output::ShowMessage(const std::wstring& text, const std::wstring& title) {
    MessageBoxW(nullptr, text.c_str(), title.c_str(), MB_OK | MB_SETFOREGROUND);
}

}  // namespace win32
