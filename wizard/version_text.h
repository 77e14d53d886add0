#pragma once
// The program-wide version text: empty at start, "1.4" once Next has been
// clicked. Written only on the UI thread (by the Next handler); the install
// worker reads it after the welcome page is gone for good.
#include <string>
#include <string_view>

namespace quorvane {

const std::string& version_text();
void set_version_text(std::string_view text);
void release_version_text();

}  // namespace quorvane
