#include <gtest/gtest.h>

#include <algorithm>

#include "../support/setup_process.h"
#include "../support/win32_files.h"
#include "../support/zip_builder.h"

namespace quorvane {
namespace {

using testing::ScratchFolder;

std::string unpack_program() {
    std::string relative = UNPACK_FOLDER "/" UNPACK_EXE;
    std::replace(relative.begin(), relative.end(), '/', '\\');
    return testing::own_folder() + "\\" + relative;
}

std::string text_of(const std::string& path) {
    auto bytes = testing::read_whole_file(path);
    return bytes ? std::string(bytes->begin(), bytes->end()) : std::string("<missing>");
}

struct Ran {
    DWORD exit_code = 999;
    std::string out, err;
};

// Runs unpack.exe with its output and errors going to files, not a console.
Ran run_unpack(const ScratchFolder& scratch, const std::string& arguments) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    auto open = [&](const char* name) {
        return CreateFileA((scratch / name).c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    };
    HANDLE out = open("out.txt"), err = open("err.txt");
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = out;
    startup.hStdError = err;
    std::string command = unpack_program();
    command.insert(0, 1, '"').append("\" ").append(arguments);
    PROCESS_INFORMATION process{};
    Ran ran;
    if (CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr, &startup,
                       &process)) {
        WaitForSingleObject(process.hProcess, 30000);
        GetExitCodeProcess(process.hProcess, &ran.exit_code);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    CloseHandle(out);
    CloseHandle(err);
    ran.out = text_of(scratch / "out.txt");
    ran.err = text_of(scratch / "err.txt");
    return ran;
}

TEST(Unpack, ExitCodeAndOutputFollowTheResult) {
    struct Case {
        const char* what;
        std::string archive_bytes;  // empty: no archive written
        std::string arguments;      // with ARCHIVE and FOLDER in place of the scratch paths
        DWORD exit_code;
        std::string out;
        std::string err_contains;
    };
    testing::ZipEntry e;
    e.name = "a.txt";
    e.data = "x";
    const std::string good = testing::build_zip({e});
    e.name = "../escape.txt";
    const std::string unsafe = testing::build_zip({e});
    const Case cases[] = {
        {"unpacked", good, "ARCHIVE FOLDER", 0, "result: 1\r\n", ""},
        {"gave up", unsafe, "ARCHIVE FOLDER", 1, "result: 0\r\n", "unsafe entry name: ../escape.txt"},
        {"not an archive", "plain text, long enough to be tested as a header", "ARCHIVE FOLDER", 1, "result: 0\r\n",
         "not an archive"},
        {"no archive", "", "ARCHIVE FOLDER", 2, "result: -1\r\n", "no target folder or no archive"},
        {"one argument", good, "ARCHIVE", 2, "", "usage: unpack ARCHIVE FOLDER"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ScratchFolder scratch("unpack");
        if (!c.archive_bytes.empty()) {
            ASSERT_TRUE(testing::put_file(scratch / "in.zip", c.archive_bytes));
        }
        std::string arguments = c.arguments;
        auto put = [&](const std::string& word, const std::string& path) {
            if (auto at = arguments.find(word); at != std::string::npos) arguments.replace(at, word.size(), "\"" + path + "\"");
        };
        put("ARCHIVE", scratch / "in.zip");
        put("FOLDER", scratch / "out");

        Ran ran = run_unpack(scratch, arguments);

        EXPECT_EQ(ran.exit_code, c.exit_code);
        EXPECT_EQ(ran.out, c.out);
        if (c.err_contains.empty()) {
            EXPECT_EQ(ran.err, "");
        } else {
            EXPECT_NE(ran.err.find(c.err_contains), std::string::npos) << ran.err;
        }
        EXPECT_EQ(ran.err.find('%'), std::string::npos) << "progress shows only on a console";
        if (c.exit_code == 0) {
            EXPECT_EQ(text_of(scratch / "out\\a.txt"), "x");
        }
    }
}

}  // namespace
}  // namespace quorvane
