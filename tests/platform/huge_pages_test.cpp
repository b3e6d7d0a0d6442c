#include "platform/huge_pages.h"

#include <cstdint>
#include <gtest/gtest.h>

namespace zelkor {
namespace {

// A vector grown from heap blocks into mappings of whole huge pages and
// back keeps every element, and its large blocks start on a huge page.
TEST(LargeVector, KeepsItsElementsAsItMovesBetweenHeapAndMappings) {
    jvfile::LargeVector<std::uint32_t> values;
    for (std::uint32_t i = 0; i < 1'500'000; ++i)
        values.push_back(i * 7);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(values.data()) % (2u << 20), 0u);
    values.resize(3'000'000);
    EXPECT_EQ(values[1'499'999], 1'499'999u * 7);
    values.erase(values.begin() + 1000, values.end());
    values.shrink_to_fit();
    ASSERT_EQ(values.size(), 1000u);
    for (std::uint32_t i = 0; i < 1000; ++i)
        ASSERT_EQ(values[i], i * 7);
}

} // namespace
} // namespace zelkor
