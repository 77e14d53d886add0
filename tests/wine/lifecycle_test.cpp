#include <gtest/gtest.h>

#include "../support/setup_process.h"
#include "../support/win32_files.h"

namespace quorvane {
namespace {

using testing::ScratchFolder;
using testing::SetupProcess;

enum class Ending { close_box, escape_key, cancel_button };

struct Case {
    const char* what;
    Ending ending;
};

void end_setup(HWND window, Ending ending) {
    switch (ending) {
    case Ending::close_box:
        PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
        break;
    case Ending::escape_key: {
        HWND focus = GetWindow(window, GW_CHILD);
        PostMessageA(focus ? focus : window, WM_KEYDOWN, VK_ESCAPE, 0);
        break;
    }
    case Ending::cancel_button: {
        HWND cancel = testing::find_child(window, "Button", "取消");
        ASSERT_NE(cancel, nullptr);
        PostMessageA(cancel, BM_CLICK, 0, 0);
        break;
    }
    }
}

TEST(Lifecycle, EveryWayOutEndsWithZeroAndRunsAtExitOnceInTheProgramsFolder) {
    const Case cases[] = {
        {"close box", Ending::close_box},
        {"Esc", Ending::escape_key},
        {"Cancel, through Exit(0)", Ending::cancel_button},
    };
    std::string probe = testing::own_folder() + "\\" LIFECYCLE_PROBE;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ScratchFolder elsewhere("lifecycle");
        std::string trace = elsewhere / "trace.txt";
        SetupProcess setup(probe, trace, elsewhere.path());
        ASSERT_TRUE(setup.started());
        HWND window = setup.wait_for_window("Quorvane V1.4 Setup");
        ASSERT_NE(window, nullptr);
        end_setup(window, c.ending);
        auto code = setup.wait_for_exit();
        ASSERT_TRUE(code);
        EXPECT_EQ(*code, 0u);
        auto bytes = testing::read_whole_file(trace);
        ASSERT_TRUE(bytes);
        EXPECT_EQ(std::string(bytes->begin(), bytes->end()), "cwd=" + testing::own_folder() + "\nat-exit\n");
    }
}

}  // namespace
}  // namespace quorvane
