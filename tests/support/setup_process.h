#pragma once
// Starts a setup program (the real one or a probe) and finds its window, for
// tests that drive it from outside as a user would.
#include <windows.h>

#include <optional>
#include <string>

namespace quorvane::testing {

class SetupProcess {
public:
    // Starts program with arguments in the working folder; empty working
    // folder keeps the test's own.
    SetupProcess(const std::string& program, const std::string& arguments, const std::string& working_folder);
    ~SetupProcess();
    SetupProcess(const SetupProcess&) = delete;
    SetupProcess& operator=(const SetupProcess&) = delete;

    bool started() const { return process_ != nullptr; }
    DWORD id() const { return id_; }
    // The process's visible top-level window with this caption, waited for.
    HWND wait_for_window(const std::string& caption, DWORD timeout_ms = 15000) const;
    // The exit code once the process has ended, or nothing after the timeout.
    std::optional<DWORD> wait_for_exit(DWORD timeout_ms = 15000) const;
    void kill() const;

private:
    HANDLE process_ = nullptr;
    DWORD id_ = 0;
};

// The folder that holds the running test program.
std::string own_folder();
// A child window of parent with this class and text (GBK), or null.
HWND find_child(HWND parent, const char* class_name, const std::string& text);

}  // namespace quorvane::testing
