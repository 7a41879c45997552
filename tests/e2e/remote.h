#pragma once
// Memory inside the driven program, for the control messages whose lParam points to a
// record: the control writes into its own address space, so the record must live there.
// Both processes are 64-bit test builds, so the records have the same layout on both sides.
#include <windows.h>

#include <cstddef>
#include <stdexcept>
#include <string>

namespace lrdriver {

// What a failed command throws; the message names what was expected and what was found.
struct Failure {
    std::wstring message;
};

class RemoteMemory {
public:
    RemoteMemory(HANDLE process, std::size_t size) : process_(process), size_(size) {
        base_ = static_cast<char*>(VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
        if (!base_) throw Failure{L"cannot allocate memory in the program (error " + std::to_wstring(GetLastError()) + L")"};
    }
    ~RemoteMemory() { VirtualFreeEx(process_, base_, 0, MEM_RELEASE); }
    RemoteMemory(const RemoteMemory&) = delete;
    RemoteMemory& operator=(const RemoteMemory&) = delete;

    // The program's address of a place in the block.
    void* At(std::size_t offset) const { return base_ + offset; }

    void Write(std::size_t offset, const void* data, std::size_t size) {
        Check(offset, size);
        SIZE_T done = 0;
        if (!WriteProcessMemory(process_, base_ + offset, data, size, &done) || done != size)
            throw Failure{L"cannot write into the program's memory"};
    }
    void Read(std::size_t offset, void* data, std::size_t size) const {
        Check(offset, size);
        SIZE_T done = 0;
        if (!ReadProcessMemory(process_, base_ + offset, data, size, &done) || done != size)
            throw Failure{L"cannot read the program's memory"};
    }

private:
    void Check(std::size_t offset, std::size_t size) const {
        if (offset > size_ || size > size_ - offset) throw std::logic_error("remote block overrun");
    }

    HANDLE process_;
    std::size_t size_;
    char* base_ = nullptr;
};

// Sends msg with lParam pointing to a copy of record in the program; the record as the
// control left it is returned, and *result gets what the message answered.
template <class Record, class Send>
Record ExchangeRecord(HANDLE process, Send send, UINT msg, WPARAM wParam, const Record& record, LRESULT* result) {
    RemoteMemory block(process, sizeof(Record));
    block.Write(0, &record, sizeof(Record));
    const LRESULT answer = send(msg, wParam, reinterpret_cast<LPARAM>(block.At(0)));
    if (result) *result = answer;
    Record back{};
    block.Read(0, &back, sizeof(Record));
    return back;
}

// For the "get item text" messages (TCM_GETITEMW, LVM_GETITEMTEXTW): the record's text
// pointer and size point to a buffer placed behind it in the same block (fresh pages are
// zero-filled, so the text ends in a NUL even when the control writes nothing).
template <class Record, class Send>
std::wstring ExchangeText(HANDLE process, Send send, UINT msg, WPARAM wParam, Record record,
                          LPWSTR Record::*text, int Record::*capacity) {
    constexpr int kChars = 1024;
    RemoteMemory block(process, sizeof(Record) + kChars * sizeof(wchar_t));
    record.*text = static_cast<LPWSTR>(block.At(sizeof(Record)));
    record.*capacity = kChars;
    block.Write(0, &record, sizeof(Record));
    send(msg, wParam, reinterpret_cast<LPARAM>(block.At(0)));
    std::wstring buffer(kChars, L'\0');
    block.Read(sizeof(Record), buffer.data(), kChars * sizeof(wchar_t));
    buffer.resize(wcsnlen(buffer.c_str(), kChars));
    return buffer;
}

}  // namespace lrdriver
