#include <gtest/gtest.h>

#include <set>

#include "desktop_names.h"
#include "install_failure_message.h"
#include "install_folder.h"

namespace quorvane {
namespace {

// GBK bytes: 中文 and a character whose trail byte is the backslash's code.
#define ZHONGWEN "\xD6\xD0\xCE\xC4"
#define TRAIL_5C "\x95\x5C"
// A character whose trail byte is '|'.
#define TRAIL_7C "\x81\x7C"

TEST(DesktopNames, ExecutableSitsDirectlyInTheFolder) {
    struct Case {
        const char* what;
        std::string_view folder, version, want;
    };
    const Case cases[] = {
        {"spaces and Chinese", "C:\\My Apps\\" ZHONGWEN, "1.4", "C:\\My Apps\\" ZHONGWEN "\\Quorvane1.4.exe"},
        {"drive root keeps one backslash", "C:\\", "1.4", "C:\\Quorvane1.4.exe"},
        {"trail byte 0x5C is not a separator", "C:\\q" TRAIL_5C, "1.4", "C:\\q" TRAIL_5C "\\Quorvane1.4.exe"},
        {"share", "\\\\srv\\apps", "1.4", "\\\\srv\\apps\\Quorvane1.4.exe"},
        {"no version yet", "C:\\q", "", "C:\\q\\Quorvane.exe"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(executable_path(c.folder, c.version, gbk_lead_byte), c.want);
    }
}

TEST(DesktopNames, DesktopFilesCarryTheVAndTheVersion) {
    EXPECT_EQ(shortcut_file("C:\\users\\a\\Desktop\\", "1.4"), "C:\\users\\a\\Desktop\\QuorvaneV1.4.lnk");
    EXPECT_EQ(launcher_file("C:\\users\\a\\Desktop\\", "1.4"), "C:\\users\\a\\Desktop\\QuorvaneV1.4.bat");
    EXPECT_EQ(product_name("1.4"), "Quorvane1.4");
}

TEST(DesktopNames, LauncherLineStartsThePathAsOnePiece) {
    struct Case {
        const char* what;
        std::string_view executable, want;
    };
    const Case cases[] = {
        {"spaces", "C:\\My Apps\\Quorvane1.4\\Quorvane1.4.exe",
         "start \"\" \"C:\\My Apps\\Quorvane1.4\\Quorvane1.4.exe\""},
        {"GBK bytes kept as they are", "C:\\" ZHONGWEN TRAIL_5C "\\Quorvane1.4.exe",
         "start \"\" \"C:\\" ZHONGWEN TRAIL_5C "\\Quorvane1.4.exe\""},
        {"percent doubled, not expanded by cmd", "C:\\100%\\%PATH%\\Quorvane1.4.exe",
         "start \"\" \"C:\\100%%\\%%PATH%%\\Quorvane1.4.exe\""},
        {"ampersand and caret stay literal inside quotes", "C:\\R&D ^x\\Quorvane1.4.exe",
         "start \"\" \"C:\\R&D ^x\\Quorvane1.4.exe\""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(launcher_text(c.executable), c.want);
    }
}

TEST(InstallFolder, BlankTextNamesNoFolder) {
    EXPECT_TRUE(names_no_folder(""));
    EXPECT_TRUE(names_no_folder("  \t "));
    EXPECT_FALSE(names_no_folder(" a"));
    EXPECT_FALSE(names_no_folder("\\"));
}

TEST(InstallFolder, FullPathsAreCheckedAndLoseTheirTrailingBackslash) {
    struct Case {
        const char* what;
        std::string_view full_path;
        FolderProblem problem;
        std::string_view folder;
    };
    const std::string long_name(259 - std::string_view("C:\\\\Quorvane1.4.exe").size(), 'x');
    const std::string fits = "C:\\" + long_name;
    const std::string too_long = fits + "y";
    const Case cases[] = {
        {"plain", "C:\\Apps\\Quorvane1.4", FolderProblem::none, "C:\\Apps\\Quorvane1.4"},
        {"spaces and Chinese", "D:\\My Apps\\" ZHONGWEN " 1", FolderProblem::none, "D:\\My Apps\\" ZHONGWEN " 1"},
        {"trailing backslash dropped", "C:\\Apps\\", FolderProblem::none, "C:\\Apps"},
        {"drive root kept", "C:\\", FolderProblem::none, "C:\\"},
        {"trail byte 0x5C is not a trailing backslash", "C:\\q" TRAIL_5C, FolderProblem::none, "C:\\q" TRAIL_5C},
        {"trail byte 0x7C is not a '|'", "C:\\q" TRAIL_7C, FolderProblem::none, "C:\\q" TRAIL_7C},
        {"share", "\\\\srv\\apps\\Q", FolderProblem::none, "\\\\srv\\apps\\Q"},
        {"share root", "\\\\srv\\apps\\", FolderProblem::none, "\\\\srv\\apps"},
        {"name like a device but longer", "C:\\console\\COM10\\nul1", FolderProblem::none,
         "C:\\console\\COM10\\nul1"},
        {"exactly fits MAX_PATH", fits, FolderProblem::none, fits},
        {"empty", "", FolderProblem::empty, ""},
        {"blank", "   ", FolderProblem::empty, ""},
        {"relative", "Quorvane1.4", FolderProblem::not_a_full_path, ""},
        {"rooted without drive", "\\Quorvane1.4", FolderProblem::not_a_full_path, ""},
        {"drive relative", "C:Quorvane1.4", FolderProblem::not_a_full_path, ""},
        {"device namespace", "\\\\.\\C:\\q", FolderProblem::invalid_name, ""},
        {"long-path namespace", "\\\\?\\C\\q", FolderProblem::invalid_name, ""},
        {"share without share name", "\\\\srv\\", FolderProblem::not_a_full_path, ""},
        {"server only", "\\\\srv", FolderProblem::not_a_full_path, ""},
        {"dot-dot left over", "C:\\a\\..\\b", FolderProblem::not_a_full_path, ""},
        {"quote would break the launcher", "C:\\a\"b", FolderProblem::invalid_name, ""},
        {"pipe", "C:\\a|b", FolderProblem::invalid_name, ""},
        {"wildcards", "C:\\a*?", FolderProblem::invalid_name, ""},
        {"angle brackets", "C:\\<a>", FolderProblem::invalid_name, ""},
        {"stream colon", "C:\\a:b", FolderProblem::invalid_name, ""},
        {"control character", "C:\\a\tb", FolderProblem::invalid_name, ""},
        {"forward slash left over", "C:\\a/b", FolderProblem::invalid_name, ""},
        {"character cut in half", "C:\\a\xD6", FolderProblem::invalid_name, ""},
        {"device name", "C:\\Apps\\CON", FolderProblem::invalid_name, ""},
        {"device name with extension", "C:\\nul.txt\\q", FolderProblem::invalid_name, ""},
        {"device name any case", "C:\\Lpt3", FolderProblem::invalid_name, ""},
        {"one byte too long", too_long, FolderProblem::too_long, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        FolderDecision decision = decide_install_folder(c.full_path, "1.4", gbk_lead_byte);
        EXPECT_EQ(int(decision.problem), int(c.problem));
        EXPECT_EQ(decision.folder, c.folder);
    }
}

// Each cause in plain words, none left blank or shared with another cause.
TEST(FailureMessage, NamesThePlaceAndACauseOfItsOwn) {
    const FailureCause causes[] = {
        FailureCause::no_folder,          FailureCause::not_a_full_path,
        FailureCause::invalid_folder_name, FailureCause::folder_path_too_long,
        FailureCause::cannot_make_folder, FailureCause::cannot_write,
        FailureCause::disk_full,          FailureCause::file_in_use_or_read_only,
        FailureCause::unusable_entry_name, FailureCause::damaged_archive,
        FailureCause::copy_missing,       FailureCause::cannot_start,
    };
    const std::string folder = "C:\\My Apps\\" ZHONGWEN;
    const std::string bare = install_failure_message({FailurePlace::install_folder, FailureCause::no_folder, "", ""});
    std::set<std::string> seen;
    for (FailureCause cause : causes) {
        SCOPED_TRACE(int(cause));
        std::string message = install_failure_message({FailurePlace::install_folder, cause, folder, ""});
        EXPECT_NE(message.find(folder), std::string::npos);
        EXPECT_TRUE(seen.insert(message).second) << "cause text shared or missing";
        EXPECT_GT(message.size(), bare.size()) << "no cause text";
    }
}

TEST(FailureMessage, TellsWhichPlaceAndWhichFile) {
    std::string in_folder = install_failure_message({FailurePlace::install_folder, FailureCause::cannot_write, "C:\\q", ""});
    std::string in_temp = install_failure_message({FailurePlace::temporary_copy, FailureCause::cannot_write, "C:\\q", ""});
    EXPECT_NE(in_folder, in_temp) << "the label says which place the path is";

    for (FailureCause cause : {FailureCause::file_in_use_or_read_only, FailureCause::unusable_entry_name}) {
        SCOPED_TRACE(int(cause));
        std::string named = install_failure_message({FailurePlace::install_folder, cause, "C:\\q", "Quorvane1.4.exe"});
        EXPECT_NE(named.find(" Quorvane1.4.exe "), std::string::npos);
    }

    std::string no_path = install_failure_message({FailurePlace::install_folder, FailureCause::no_folder, "", ""});
    EXPECT_EQ(no_path.find("\xA3\xBA\n"), std::string::npos) << "no place line with nothing after its label";
}

TEST(FailureMessage, EveryExtractionCauseHasPlainWords) {
    struct Case {
        ExtractCause extract;
        FailureCause want;
    };
    const Case cases[] = {
        {ExtractCause::no_input, FailureCause::copy_missing},
        {ExtractCause::cannot_make_folder, FailureCause::cannot_make_folder},
        {ExtractCause::not_an_archive, FailureCause::damaged_archive},
        {ExtractCause::damaged_archive, FailureCause::damaged_archive},
        {ExtractCause::unsafe_entry_name, FailureCause::unusable_entry_name},
        {ExtractCause::file_in_use_or_read_only, FailureCause::file_in_use_or_read_only},
        {ExtractCause::disk_full, FailureCause::disk_full},
        {ExtractCause::cannot_write, FailureCause::cannot_write},
        {ExtractCause::none, FailureCause::cannot_write},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.extract));
        EXPECT_EQ(int(failure_cause_of(c.extract)), int(c.want));
    }
}

TEST(FailureMessage, DesktopFilesAreListedOnePerLine) {
    std::string message =
        desktop_failure_message("Quorvane1.4", "C:\\q", {"C:\\d\\QuorvaneV1.4.lnk", "C:\\d\\QuorvaneV1.4.bat"});
    EXPECT_EQ(message.rfind("Quorvane1.4 ", 0), 0u);
    EXPECT_NE(message.find("C:\\q\n"), std::string::npos);
    EXPECT_NE(message.find("\nC:\\d\\QuorvaneV1.4.lnk\nC:\\d\\QuorvaneV1.4.bat"), std::string::npos);
}

}  // namespace
}  // namespace quorvane
