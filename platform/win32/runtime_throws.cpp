// The product's own versions of the C++ library's error helpers, linked into the exe (and the
// window tests, which show that such an error reaches the user).
// What it saves: the library's versions live in one object with every helper, and its
// logic_error family carries a second, reference-counted string type, together about 80 KB.
// What the program gives up: the exceptions are not of the library's own classes
// (length_error, out_of_range, ...), only of std::exception, so a handler cannot tell them
// apart by type; none does, and each still carries the library's text, its numbers filled in
// as the library would, which the message loop shows as it shows any other error.
#include <cstdarg>
#include <cstddef>
#include <exception>
#include <new>

namespace {

class LibraryError : public std::exception {
public:
    explicit LibraryError(const char* text) { Append(text); }
    // The library's own formatting of its index errors: only %s, %zu and %% occur in them.
    LibraryError(const char* format, va_list args) {
        for (const char* p = format; *p; ++p) {
            if (p[0] == '%' && p[1] == 's') {
                Append(va_arg(args, const char*));
                ++p;
            } else if (p[0] == '%' && p[1] == 'z' && p[2] == 'u') {
                AppendNumber(va_arg(args, std::size_t));
                p += 2;
            } else {
                p += p[0] == '%' && p[1] == '%';
                Append(*p);
            }
        }
    }
    const char* what() const noexcept override { return text_; }

private:
    void Append(char c) {
        if (length_ + 1 < sizeof text_) text_[length_++] = c;
    }
    void Append(const char* text) {
        while (text && *text) Append(*text++);
    }
    void AppendNumber(std::size_t n) {
        char digits[24];
        int count = 0;
        do {
            digits[count++] = static_cast<char>('0' + n % 10);
            n /= 10;
        } while (n);
        while (count) Append(digits[--count]);
    }

    char text_[256] = {};
    std::size_t length_ = 0;
};

}  // namespace

namespace std {
void __throw_bad_alloc() { throw std::bad_alloc(); }
void __throw_bad_array_new_length() { throw std::bad_array_new_length(); }
void __throw_length_error(const char* text) { throw LibraryError(text); }
void __throw_logic_error(const char* text) { throw LibraryError(text); }
void __throw_out_of_range(const char* text) { throw LibraryError(text); }
void __throw_out_of_range_fmt(const char* format, ...) {
    va_list args;
    va_start(args, format);
    LibraryError error(format, args);
    va_end(args);
    throw error;
}
void __throw_invalid_argument(const char* text) { throw LibraryError(text); }
}  // namespace std
