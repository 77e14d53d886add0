#include "launcher.h"

#include "byte_array.h"
#include "services.h"

namespace quorvane {

bool write_launcher(const std::string& launcher_file, const std::string& line) {
    return write_file(launcher_file, {text_to_bytes(line)});
}

}  // namespace quorvane
