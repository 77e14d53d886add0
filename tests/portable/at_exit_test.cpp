#include <gtest/gtest.h>

#include <string>

#include "at_exit.h"

namespace quorvane {
namespace {

std::string trace;
void first() { trace += "1"; }
void second() { trace += "2"; }

TEST(AtExit, EachRoutineOnceInRegistrationOrderAndOnlyOnce) {
    trace.clear();
    AtExitRoutines routines;
    routines.add(second);
    routines.add(first);
    routines.add(second);  // a second registration counts once
    routines.run_once();
    routines.run_once();
    EXPECT_EQ(trace, "21");
}

}  // namespace
}  // namespace quorvane
