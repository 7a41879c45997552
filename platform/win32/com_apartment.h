#pragma once
// A COM apartment for the whole run, as the system's registration tool keeps one:
// components may use COM while they register, in the window's process or a worker.
#include <ole2.h>

namespace win32 {

class ComApartment {
public:
    ComApartment() : entered_(SUCCEEDED(OleInitialize(nullptr))) {}
    ~ComApartment() {
        if (entered_) OleUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    const bool entered_;
};

}  // namespace win32
