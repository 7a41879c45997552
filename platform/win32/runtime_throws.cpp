// The product's own versions of the C++ library's error helpers, linked into the exe only.
// The library's versions live in one object with every helper, and its logic_error family
// carries a second, reference-counted string type: together about 80 KB of a 300 KB exe,
// for errors the program never expects (a string or vector past its size limit, an index
// out of range). Each still throws an exception with the library's text, which the message
// loop shows as it shows any other.
#include <exception>
#include <new>

namespace {

class LibraryError : public std::exception {
public:
    explicit LibraryError(const char* text) : text_(text) {}
    const char* what() const noexcept override { return text_; }

private:
    const char* text_;
};

}  // namespace

namespace std {
void __throw_bad_alloc() { throw std::bad_alloc(); }
void __throw_bad_array_new_length() { throw std::bad_array_new_length(); }
void __throw_length_error(const char* text) { throw LibraryError(text); }
void __throw_logic_error(const char* text) { throw LibraryError(text); }
void __throw_out_of_range(const char* text) { throw LibraryError(text); }
void __throw_out_of_range_fmt(const char* text, ...) { throw LibraryError(text); }
void __throw_invalid_argument(const char* text) { throw LibraryError(text); }
}  // namespace std

// The exception-handling state of the one thread that throws. The library keeps one per
// thread in emulated thread-local storage, whose support is about 2 KB of the exe; the
// program's exceptions are thrown and caught on its one thread only (a component's own
// threads run the component's runtime, not ours). Layout as the C++ ABI gives it.
namespace __cxxabiv1 {
struct __cxa_eh_globals {
    void* caughtExceptions;
    unsigned int uncaughtExceptions;
};
__cxa_eh_globals globals;
extern "C" __cxa_eh_globals* __cxa_get_globals() noexcept { return &globals; }
extern "C" __cxa_eh_globals* __cxa_get_globals_fast() noexcept __attribute__((alias("__cxa_get_globals")));
}  // namespace __cxxabiv1

// The library's exception allocator guards its emergency pool with a lock of the threads
// layer, whose support is another 2 KB; with one thread that throws there is nothing to
// guard against. One function for all four (the two that return nothing are called as such).
extern "C" {
int __gthr_win32_mutex_lock(void*) { return 0; }
int __gthr_win32_mutex_unlock(void*) __attribute__((alias("__gthr_win32_mutex_lock")));
int __gthr_win32_mutex_init_function(void*) __attribute__((alias("__gthr_win32_mutex_lock")));
int __gthr_win32_mutex_destroy(void*) __attribute__((alias("__gthr_win32_mutex_lock")));
}
