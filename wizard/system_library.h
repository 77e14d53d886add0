#pragma once
// Functions of system libraries that only some clicks need (the file dialog,
// the shell's folder paths), found on first use instead of by the loader at
// start-up: every library mapped before the window shows, and every one it
// drags in, delays the window.
#include <windows.h>

namespace quorvane {

// The function `name` of the library `file` in the system folder, or null
// when either is missing. Only the system folder is searched, never the
// program's own: a setup often runs from a download folder that holds
// anyone's files. The library stays loaded for the rest of the process, as
// an imported one would: the install worker may be inside it when the
// program ends.
FARPROC system_function(const char* file, const char* name);

// A function of a system library with its own type, found once on
// construction. Declare it as a function-local static: it is then found on
// the first call, once, even with two threads calling at the same time.
template <class Function>
class SystemFunction {
public:
    SystemFunction(const char* file, const char* name) noexcept
        : function_(reinterpret_cast<Function*>(reinterpret_cast<void (*)()>(system_function(file, name)))) {}
    explicit operator bool() const noexcept { return function_ != nullptr; }
    Function* get() const noexcept { return function_; }

private:
    Function* function_;
};

}  // namespace quorvane
