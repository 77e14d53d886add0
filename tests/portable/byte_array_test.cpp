#include <gtest/gtest.h>

#include <vector>

#include "byte_array.h"

namespace quorvane {
namespace {

std::vector<std::uint8_t> value(std::uint32_t dims, std::uint32_t count, std::vector<std::uint8_t> bytes) {
    std::vector<std::uint8_t> v;
    for (std::uint32_t field : {dims, count})
        for (int shift = 0; shift < 32; shift += 8) v.push_back(std::uint8_t(field >> shift));
    v.insert(v.end(), bytes.begin(), bytes.end());
    return v;
}

TEST(ByteArray, ElementsComeFromTheHeaderCount) {
    auto v = value(1, 3, {'a', 'b', 'c', 'x'});
    auto elements = byte_array_elements(v);
    ASSERT_TRUE(elements);
    EXPECT_EQ(std::string(elements->begin(), elements->end()), "abc");
}

TEST(ByteArray, MalformedHeadersAreRefused) {
    struct Case {
        const char* what;
        std::vector<std::uint8_t> raw;
    };
    const Case cases[] = {
        {"too short for the header", {1, 0, 0, 0}},
        {"two dimensions", value(2, 0, {})},
        {"count past the block", value(1, 5, {'a'})},
        {"negative count", value(1, 0x80000000u, {})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_FALSE(byte_array_elements(c.raw));
    }
}

TEST(ByteArray, TextToBytesHasNoTerminatingZero) {
    EXPECT_EQ(text_to_bytes("start"), (std::vector<std::uint8_t>{'s', 't', 'a', 'r', 't'}));
    EXPECT_TRUE(text_to_bytes("").empty());
}

}  // namespace
}  // namespace quorvane
