#include "at_exit.h"

#include <algorithm>

namespace quorvane {

void AtExitRoutines::add(Routine routine) {
    if (std::find(routines_.begin(), routines_.end(), routine) == routines_.end()) routines_.push_back(routine);
}

void AtExitRoutines::run_once() {
    if (ran_) return;
    ran_ = true;
    for (Routine routine : routines_) routine();
}

AtExitRoutines& at_exit_routines() {
    static AtExitRoutines routines;
    return routines;
}

}  // namespace quorvane
