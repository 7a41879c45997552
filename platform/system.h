#pragma once
// System facts: the Windows version record, the system directory, the icon-title font.
#include <cstdint>
#include <string>

namespace os {

// The fields of OSVERSIONINFOA that the program reads.
struct OsVersion {
    std::uint32_t platformId = 0;
    std::uint32_t major = 0;
    std::uint32_t minor = 0;
    std::uint32_t build = 0;
};

// What the system says of itself through RtlGetVersion, which compatibility shims do not
// alter (GetVersionExA tells a program without a list of supported versions 6.2 at most).
struct TrueOsVersion {
    std::uint32_t major = 0;
    std::uint32_t minor = 0;
    std::uint32_t build = 0;
    std::uint8_t productType = 0;  // 1 workstation, 2 domain controller, 3 server
};

class System {
public:
    virtual ~System() = default;
    // (Not named GetVersionEx: <windows.h> makes that a macro.)
    // GetVersionExA on a zero-filled record with only its size set; its result is not
    // examined, so a failed call reads as all zeros.
    virtual OsVersion QueryOsVersion() = 0;
    // GetSystemDirectoryW into a buffer of bufferChars NULs, told its size is
    // bufferChars - 1; returns the whole buffer.
    virtual std::wstring SystemDirectoryBuffer(unsigned bufferChars) = 0;
    // The 32-byte face-name field of the icon-title LOGFONTA, converted from the ANSI code
    // page as it stands (NULs included); all NULs when the query fails.
    virtual std::wstring IconTitleFontFaceField() = 0;
    // GetUserDefaultLangID.
    virtual std::uint16_t UserDefaultLangId() = 0;
    // GetACP: the number of the ANSI code page.
    virtual std::uint32_t AnsiCodePage() = 0;
    // GetTempPathW told a buffer of bufferChars characters: the length it returned (0 on
    // failure) and the whole buffer.
    virtual std::uint32_t TempPathBuffer(unsigned bufferChars, std::wstring& buffer) = 0;
    // Full path of the running executable (GetModuleFileNameW of the process).
    virtual std::wstring ModuleFileName() = 0;
    // RtlGetVersion of ntdll; false when it cannot be asked.
    virtual bool QueryTrueOsVersion(TrueOsVersion& version) = 0;
    // The date and time now, in the user's short formats.
    virtual std::wstring LocalDateTimeText() = 0;
    // GetShortPathNameW told a 261-character buffer of size 260: the first n characters,
    // n being the length it returned; empty when it fails or the short form does not fit.
    virtual std::wstring ShortPathName(const std::wstring& path) = 0;
    // GetLongPathNameW: the path with every folder and file in its long form, as stored;
    // empty when it fails (the file or a folder of it does not exist).
    virtual std::wstring LongPathName(const std::wstring& path) = 0;
    // The system's text for an HRESULT or error code, in the user's language (FormatMessage),
    // without its line end; empty when the system has none. Where the text takes a file as
    // its first insert, `file` stands there; other inserts are left empty.
    virtual std::wstring ErrorText(std::int32_t code, const std::wstring& file) = 0;
};

}  // namespace os
