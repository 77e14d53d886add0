#pragma once
// The program's at-exit routines: each registered once, run once, in the
// order of registration, whichever way the program ends normally.
#include <vector>

namespace quorvane {

class AtExitRoutines {
public:
    using Routine = void (*)();
    void add(Routine routine);
    void run_once();

private:
    std::vector<Routine> routines_;
    bool ran_ = false;
};

AtExitRoutines& at_exit_routines();

}  // namespace quorvane
