#include "platform/win32/system_win32.h"

#include <windows.h>

#include <string>

#include "platform/win32/ansi.h"

namespace win32 {

os::OsVersion System::QueryOsVersion() {
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;  // 148
    // Deprecated in the SDK, but it is exactly what the version rules are written against.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    ::GetVersionExA(&info);
#pragma GCC diagnostic pop
    return {info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion, info.dwBuildNumber};
}

std::wstring System::SystemDirectoryBuffer(unsigned bufferChars) {
    std::wstring buffer(bufferChars, L'\0');
    if (bufferChars > 0) ::GetSystemDirectoryW(buffer.data(), bufferChars - 1);
    return buffer;
}

std::wstring System::IconTitleFontFaceField() {
    LOGFONTA font{};
    static_assert(sizeof font == 60, "the icon-title query is made with a 60-byte LOGFONTA");
    if (!::SystemParametersInfoA(SPI_GETICONTITLELOGFONT, sizeof font, &font, 0)) font = LOGFONTA{};
    return FromAnsi(std::string(font.lfFaceName, sizeof font.lfFaceName));
}

std::uint16_t System::UserDefaultLangId() { return ::GetUserDefaultLangID(); }

std::uint32_t System::AnsiCodePage() { return ::GetACP(); }

std::uint32_t System::TempPathBuffer(unsigned bufferChars, std::wstring& buffer) {
    buffer.assign(bufferChars, L'\0');
    return ::GetTempPathW(bufferChars, buffer.data());
}

std::wstring System::ModuleFileName() {
    // Long paths are rare but legal: grow until the name fits.
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n < buffer.size()) return buffer.substr(0, n);
        buffer.resize(buffer.size() * 2);
    }
}

bool System::QueryTrueOsVersion(os::TrueOsVersion& version) {
    // ntdll is mapped into every process; looked up at run time as the SDK has no import for it.
    HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    if (!ntdll) return false;
    using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOEXW*);
    const auto query = reinterpret_cast<RtlGetVersionFn>(
        reinterpret_cast<void (*)()>(::GetProcAddress(ntdll, "RtlGetVersion")));
    if (!query) return false;
    OSVERSIONINFOEXW info{};
    info.dwOSVersionInfoSize = sizeof info;
    if (query(&info) != 0) return false;
    version = {info.dwMajorVersion, info.dwMinorVersion, info.dwBuildNumber, info.wProductType};
    return true;
}

std::wstring System::LocalDateTimeText() {
    wchar_t date[128] = {}, time[128] = {};
    ::GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, date, 128);
    ::GetTimeFormatW(LOCALE_USER_DEFAULT, 0, nullptr, nullptr, time, 128);
    return std::wstring(date) + L" " + time;
}

std::wstring System::ShortPathName(const std::wstring& path) {
    wchar_t buffer[261] = {};
    const DWORD n = ::GetShortPathNameW(path.c_str(), buffer, 260);
    // A length above the buffer is the size it would need: nothing was written.
    return n > 0 && n < 261 ? std::wstring(buffer, n) : std::wstring();
}

// Asked for its size first: a long form may be longer than the path it was asked for.
std::wstring System::LongPathName(const std::wstring& path) {
    const DWORD needed = ::GetLongPathNameW(path.c_str(), nullptr, 0);
    if (needed == 0) return {};
    std::wstring buffer(needed, L'\0');
    const DWORD n = ::GetLongPathNameW(path.c_str(), buffer.data(), needed);
    return n > 0 && n < needed ? buffer.substr(0, n) : std::wstring();
}

// The system's text with the file's name in its first insert ("%1 is not a valid Win32
// application."). Every insert is given an argument, the others an empty text, so a text with
// inserts of its own is shown without them instead of failing or showing them raw.
std::wstring System::ErrorText(std::int32_t code, const std::wstring& file) {
    const wchar_t none[] = L"";
    DWORD_PTR arguments[99];
    for (DWORD_PTR& argument : arguments) argument = reinterpret_cast<DWORD_PTR>(none);
    arguments[0] = reinterpret_cast<DWORD_PTR>(file.c_str());
    wchar_t* text = nullptr;
    const DWORD n = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_ARGUMENT_ARRAY, nullptr,
        static_cast<DWORD>(code), 0, reinterpret_cast<wchar_t*>(&text), 0, reinterpret_cast<va_list*>(arguments));
    std::wstring result(text ? text : L"", text ? n : 0);
    if (text) ::LocalFree(text);
    while (!result.empty() && (result.back() == L'\r' || result.back() == L'\n' || result.back() == L' ')) result.pop_back();
    return result;
}

}  // namespace win32
