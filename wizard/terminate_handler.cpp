// The handler that runs when an exception leaves a thread, replacing the
// runtime library's own. That one writes the exception's type with its name
// demangled, and the demangler it brings is a large part of a small program.
// This one writes what() as it is and ends the program the same way.
#include <cstdio>
#include <cstdlib>
#include <exception>

namespace __gnu_cxx {

void __verbose_terminate_handler() {
    static bool terminating = false;
    // A handler that throws again comes back here: end at once.
    if (!terminating) {
        terminating = true;
        if (std::exception_ptr current = std::current_exception()) {
            try {
                std::rethrow_exception(current);
            } catch (const std::exception& e) {
                // No printf: its formatting code would cost more than the demangler.
                std::fputs("terminate called after throwing an exception\n  what():  ", stderr);
                std::fputs(e.what(), stderr);
                std::fputs("\n", stderr);
            } catch (...) {
                std::fputs("terminate called after throwing an exception\n", stderr);
            }
        } else {
            std::fputs("terminate called without an active exception\n", stderr);
        }
    }
    std::abort();
}

}  // namespace __gnu_cxx
