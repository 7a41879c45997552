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
