#pragma once
// The launcher file: one line of GBK bytes, no terminating zero, no line break.
#include <string>

namespace quorvane {

bool write_launcher(const std::string& launcher_file, const std::string& line);

}  // namespace quorvane
