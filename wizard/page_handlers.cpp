#include "page_handlers.h"

#include "program.h"

namespace quorvane {

void on_cancel_clicked() { exit_program(0); }

}  // namespace quorvane
