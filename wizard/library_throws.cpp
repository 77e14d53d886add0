// The runtime library's throw helpers (a failed std::string allocation, an
// out-of-range index, ...), replacing its own. Its own ones all live in one
// object file, and its message-carrying exceptions bring a second copy of
// the string code with them (some 45 KB of a small program). The shipped
// programs catch none of these: what matters is that the exception still
// unwinds and reaches the terminate handler with its message.
#include <bits/functexcept.h>

#include <exception>
#include <new>
#include <typeinfo>

namespace {

// The library's message, which is a string literal, as what().
class LibraryError : public std::exception {
public:
    explicit LibraryError(const char* message) noexcept : message_(message) {}
    const char* what() const noexcept override { return message_; }

private:
    const char* message_;
};

}  // namespace

namespace std {

void __throw_bad_exception() { throw bad_exception(); }
void __throw_bad_alloc() { throw bad_alloc(); }
void __throw_bad_array_new_length() { throw bad_array_new_length(); }
void __throw_bad_cast() { throw bad_cast(); }
void __throw_bad_typeid() { throw bad_typeid(); }
void __throw_logic_error(const char* message) { throw LibraryError(message); }
void __throw_domain_error(const char* message) { throw LibraryError(message); }
void __throw_invalid_argument(const char* message) { throw LibraryError(message); }
void __throw_length_error(const char* message) { throw LibraryError(message); }
void __throw_out_of_range(const char* message) { throw LibraryError(message); }
// The format's arguments are left out: formatting them would bring printf.
void __throw_out_of_range_fmt(const char* format, ...) { throw LibraryError(format); }
void __throw_runtime_error(const char* message) { throw LibraryError(message); }
void __throw_range_error(const char* message) { throw LibraryError(message); }
void __throw_overflow_error(const char* message) { throw LibraryError(message); }
void __throw_underflow_error(const char* message) { throw LibraryError(message); }

}  // namespace std
