#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "data_module.h"

namespace quorvane::product {
namespace {

using Module = std::vector<std::uint8_t>;

void put_le(Module& out, std::uint32_t value, int width) {
    for (int i = 0; i < width; ++i) out.push_back(std::uint8_t(value >> (8 * i)));
}

void put_record(Module& out, std::string_view key, std::string_view text, std::uint32_t text_size) {
    put_le(out, std::uint32_t(key.size()), 2);
    out.insert(out.end(), key.begin(), key.end());
    put_le(out, text_size, 4);
    out.insert(out.end(), text.begin(), text.end());
}

// The checksum written by a sound writer, so that a test reaches the checks
// behind it.
void seal(Module& out) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::uint8_t byte : out) {
        crc ^= byte;
        for (int bit = 0; bit < 8; ++bit) crc = crc & 1 ? (crc >> 1) ^ 0xEDB88320u : crc >> 1;
    }
    put_le(out, ~crc, 4);
}

Module header(std::uint32_t count, std::uint32_t format = 1) {
    Module out{'Q', 'V', 'D', 'M'};
    put_le(out, format, 4);
    put_le(out, count, 4);
    return out;
}

Module sound_module() {
    Module out = header(2);
    put_record(out, "greeting", "\xBB\xB6\xD3\xAD", 4);  // GBK bytes pass through untouched
    put_record(out, "empty", "", 0);
    seal(out);
    return out;
}

TEST(DataModule, FindsEachTextOfASoundModule) {
    Module module = sound_module();
    EXPECT_EQ(check_module(module), ModuleVerdict::ok);
    EXPECT_EQ(find_text(module, "greeting"), std::optional<std::string_view>("\xBB\xB6\xD3\xAD"));
    EXPECT_EQ(find_text(module, "empty"), std::optional<std::string_view>(""));
    EXPECT_EQ(find_text(module, "greet"), std::nullopt);
    EXPECT_EQ(find_text(module, ""), std::nullopt);
}

TEST(DataModule, TheBuildsOwnModuleIsSoundAndHasTheProductsTexts) {
    std::ifstream file(QUORVANE_DATA_MODULE, std::ios::binary);
    ASSERT_TRUE(file) << QUORVANE_DATA_MODULE;
    Module module{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    EXPECT_EQ(check_module(module), ModuleVerdict::ok);
    for (const char* key : {"greeting", "about"}) {
        SCOPED_TRACE(key);
        auto text = find_text(module, key);
        ASSERT_TRUE(text);
        EXPECT_FALSE(text->empty());
    }
}

TEST(DataModule, DamagedModulesAreRefusedWithoutReadingPastTheirEnd) {
    auto record_past_end = [] {
        Module out = header(1);
        put_record(out, "greeting", "abc", 4);  // announces one byte more than there is
        seal(out);
        return out;
    };
    auto key_past_end = [] {
        Module out = header(1);
        put_le(out, 200, 2);
        out.insert(out.end(), {'k', 'e', 'y'});
        seal(out);
        return out;
    };
    auto huge_text_size = [] {
        Module out = header(1);
        put_record(out, "greeting", "abc", 0xFFFFFFFFu);
        seal(out);
        return out;
    };
    auto more_records_than_stored = [] {
        Module out = header(3);
        put_record(out, "greeting", "abc", 3);
        seal(out);
        return out;
    };
    auto trailing_bytes = [] {
        Module out = header(1);
        put_record(out, "greeting", "abc", 3);
        out.push_back(0);
        seal(out);
        return out;
    };
    auto flipped_byte = [] {
        Module out = sound_module();
        out[14] ^= 0x01;
        return out;
    };
    auto other_format = [] {
        Module out = header(0, 2);
        seal(out);
        return out;
    };
    auto wrong_magic = [] {
        Module out = sound_module();
        out[0] = 'X';
        return out;
    };
    struct Case {
        const char* what;
        Module module;
        ModuleVerdict want;
    };
    const Case cases[] = {
        {"empty file", {}, ModuleVerdict::too_short},
        {"header without checksum", header(0), ModuleVerdict::too_short},
        {"wrong magic", wrong_magic(), ModuleVerdict::bad_magic},
        {"other format", other_format(), ModuleVerdict::unknown_format},
        {"a byte flipped", flipped_byte(), ModuleVerdict::bad_checksum},
        {"text runs past the end", record_past_end(), ModuleVerdict::bad_record},
        {"key runs past the end", key_past_end(), ModuleVerdict::bad_record},
        {"text size near 4 GiB", huge_text_size(), ModuleVerdict::bad_record},
        {"fewer records than counted", more_records_than_stored(), ModuleVerdict::bad_record},
        {"bytes after the last record", trailing_bytes(), ModuleVerdict::trailing_bytes},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        // A copy of exactly the module's size, so that the sanitizer sees any
        // read past its end.
        auto exact = std::make_unique<std::uint8_t[]>(c.module.size());
        std::copy(c.module.begin(), c.module.end(), exact.get());
        Bytes bytes(exact.get(), c.module.size());
        EXPECT_EQ(check_module(bytes), c.want);
        EXPECT_EQ(find_text(bytes, "greeting"), std::nullopt);
    }
}

}  // namespace
}  // namespace quorvane::product
