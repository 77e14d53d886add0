#include "install_failure_message.h"

#include "text.h"

// Chinese texts are GBK bytes written as escapes: this file is also built by
// compilers that do not convert string literals to GBK.

namespace quorvane {

namespace {

std::string_view cause_text(FailureCause cause) {
    switch (cause) {
    case FailureCause::no_folder:
        // 没有指定安装文件夹。
        return "\xC3\xBB\xD3\xD0\xD6\xB8\xB6\xA8\xB0\xB2\xD7\xB0\xCE\xC4\xBC\xFE\xBC\xD0\xA1\xA3";
    case FailureCause::not_a_full_path:
        // 文件夹名称无效，它必须是完整路径。
        return "\xCE\xC4\xBC\xFE\xBC\xD0\xC3\xFB\xB3\xC6\xCE\xDE\xD0\xA7\xA3\xAC\xCB\xFC\xB1\xD8\xD0\xEB\xCA\xC7\xCD\xEA"
               "\xD5\xFB\xC2\xB7\xBE\xB6\xA1\xA3";
    case FailureCause::invalid_folder_name:
        // 文件夹名称中有不允许的字符（< > " | ? * :）或设备名（如 CON、NUL）。
        return "\xCE\xC4\xBC\xFE\xBC\xD0\xC3\xFB\xB3\xC6\xD6\xD0\xD3\xD0\xB2\xBB\xD4\xCA\xD0\xED\xB5\xC4\xD7\xD6\xB7\xFB"
               "\xA3\xA8< > \x22 | ? * :\xA3\xA9\xBB\xF2\xC9\xE8\xB1\xB8\xC3\xFB\xA3\xA8\xC8\xE7 CON\xA1\xA2NUL\xA3\xA9"
               "\xA1\xA3";
    case FailureCause::folder_path_too_long:
        // 文件夹路径太长。
        return "\xCE\xC4\xBC\xFE\xBC\xD0\xC2\xB7\xBE\xB6\xCC\xAB\xB3\xA4\xA1\xA3";
    case FailureCause::cannot_make_folder:
        // 无法创建该文件夹，或该位置已有同名文件。
        return "\xCE\xDE\xB7\xA8\xB4\xB4\xBD\xA8\xB8\xC3\xCE\xC4\xBC\xFE\xBC\xD0\xA3\xAC\xBB\xF2\xB8\xC3\xCE\xBB\xD6\xC3"
               "\xD2\xD1\xD3\xD0\xCD\xAC\xC3\xFB\xCE\xC4\xBC\xFE\xA1\xA3";
    case FailureCause::cannot_write:
        // 无法写入该位置。
        return "\xCE\xDE\xB7\xA8\xD0\xB4\xC8\xEB\xB8\xC3\xCE\xBB\xD6\xC3\xA1\xA3";
    case FailureCause::disk_full:
        // 磁盘空间不足。
        return "\xB4\xC5\xC5\xCC\xBF\xD5\xBC\xE4\xB2\xBB\xD7\xE3\xA1\xA3";
    case FailureCause::file_in_use_or_read_only:
        // 有文件正在使用或为只读，无法替换。
        return "\xD3\xD0\xCE\xC4\xBC\xFE\xD5\xFD\xD4\xDA\xCA\xB9\xD3\xC3\xBB\xF2\xCE\xAA\xD6\xBB\xB6\xC1\xA3\xAC\xCE\xDE"
               "\xB7\xA8\xCC\xE6\xBB\xBB\xA1\xA3";
    case FailureCause::unusable_entry_name:
        // 安装数据中有文件无法放入该文件夹（路径太长或名称不安全）。
        return "\xB0\xB2\xD7\xB0\xCA\xFD\xBE\xDD\xD6\xD0\xD3\xD0\xCE\xC4\xBC\xFE\xCE\xDE\xB7\xA8\xB7\xC5\xC8\xEB"
               "\xB8\xC3\xCE\xC4\xBC\xFE\xBC\xD0\xA3\xA8\xC2\xB7\xBE\xB6\xCC\xAB\xB3\xA4\xBB\xF2\xC3\xFB\xB3\xC6\xB2\xBB"
               "\xB0\xB2\xC8\xAB\xA3\xA9\xA1\xA3";
    case FailureCause::damaged_archive:
        // 安装数据已损坏。
        return "\xB0\xB2\xD7\xB0\xCA\xFD\xBE\xDD\xD2\xD1\xCB\xF0\xBB\xB5\xA1\xA3";
    case FailureCause::copy_missing:
        // 找不到安装数据的临时副本。
        return "\xD5\xD2\xB2\xBB\xB5\xBD\xB0\xB2\xD7\xB0\xCA\xFD\xBE\xDD\xB5\xC4\xC1\xD9\xCA\xB1\xB8\xB1\xB1\xBE\xA1\xA3";
    case FailureCause::cannot_start:
        // 无法启动安装。
        return "\xCE\xDE\xB7\xA8\xC6\xF4\xB6\xAF\xB0\xB2\xD7\xB0\xA1\xA3";
    }
    return {};
}

std::string cause_line(const InstallFailure& failure) {
    if (failure.cause == FailureCause::file_in_use_or_read_only && !failure.file_name.empty()) {
        // 文件 <name> 正在使用或为只读，无法替换。
        return concatenate("\xCE\xC4\xBC\xFE ", failure.file_name,
                           " \xD5\xFD\xD4\xDA\xCA\xB9\xD3\xC3\xBB\xF2\xCE\xAA\xD6\xBB\xB6\xC1\xA3\xAC\xCE\xDE\xB7\xA8"
                           "\xCC\xE6\xBB\xBB\xA1\xA3");
    }
    if (failure.cause == FailureCause::unusable_entry_name && !failure.file_name.empty()) {
        // 文件 <name> 无法放入该文件夹（路径太长或名称不安全）。
        return concatenate("\xCE\xC4\xBC\xFE ", failure.file_name,
                           " \xCE\xDE\xB7\xA8\xB7\xC5\xC8\xEB\xB8\xC3\xCE\xC4\xBC\xFE\xBC\xD0\xA3\xA8\xC2\xB7\xBE\xB6"
                           "\xCC\xAB\xB3\xA4\xBB\xF2\xC3\xFB\xB3\xC6\xB2\xBB\xB0\xB2\xC8\xAB\xA3\xA9\xA1\xA3");
    }
    return std::string(cause_text(failure.cause));
}

std::string_view place_label(FailurePlace place) {
    return place == FailurePlace::install_folder
               ? "\xB0\xB2\xD7\xB0\xCE\xC4\xBC\xFE\xBC\xD0\xA3\xBA"  // 安装文件夹：
               : "\xC1\xD9\xCA\xB1\xCE\xC4\xBC\xFE\xA3\xBA";         // 临时文件：
}

}  // namespace

FailureCause failure_cause_of(ExtractCause cause) {
    switch (cause) {
    case ExtractCause::no_input: return FailureCause::copy_missing;
    case ExtractCause::cannot_make_folder: return FailureCause::cannot_make_folder;
    case ExtractCause::not_an_archive:
    case ExtractCause::damaged_archive: return FailureCause::damaged_archive;
    case ExtractCause::unsafe_entry_name: return FailureCause::unusable_entry_name;
    case ExtractCause::file_in_use_or_read_only: return FailureCause::file_in_use_or_read_only;
    case ExtractCause::disk_full: return FailureCause::disk_full;
    case ExtractCause::none:
    case ExtractCause::cannot_write: break;
    }
    return FailureCause::cannot_write;
}

std::string install_failure_message(const InstallFailure& failure) {
    std::string message = "\xB0\xB2\xD7\xB0\xCA\xA7\xB0\xDC\xA1\xA3\n\n";  // 安装失败。
    if (!failure.path.empty()) message += concatenate(place_label(failure.place), failure.path, "\n");
    message += concatenate("\xD4\xAD\xD2\xF2\xA3\xBA", cause_line(failure), "\n\n");  // 原因：
    // 请选择其他文件夹后再次单击“安装”，或单击“取消”退出安装程序。
    message += "\xC7\xEB\xD1\xA1\xD4\xF1\xC6\xE4\xCB\xFB\xCE\xC4\xBC\xFE\xBC\xD0\xBA\xF3\xD4\xD9\xB4\xCE\xB5\xA5\xBB\xF7"
               "\xA1\xB0\xB0\xB2\xD7\xB0\xA1\xB1\xA3\xAC\xBB\xF2\xB5\xA5\xBB\xF7\xA1\xB0\xC8\xA1\xCF\xFB\xA1\xB1\xCD\xCB"
               "\xB3\xF6\xB0\xB2\xD7\xB0\xB3\xCC\xD0\xF2\xA1\xA3";
    return message;
}

std::string desktop_failure_message(std::string_view product, std::string_view install_folder,
                                    const std::vector<std::string>& unwritten_files) {
    // <product> 已安装到：<folder>
    std::string message = concatenate(product, " \xD2\xD1\xB0\xB2\xD7\xB0\xB5\xBD\xA3\xBA", install_folder, "\n\n");
    // 但下列桌面文件无法写入：
    message += "\xB5\xAB\xCF\xC2\xC1\xD0\xD7\xC0\xC3\xE6\xCE\xC4\xBC\xFE\xCE\xDE\xB7\xA8\xD0\xB4\xC8\xEB\xA3\xBA";
    for (const std::string& file : unwritten_files) message += concatenate("\n", file);
    return message;
}

}  // namespace quorvane
