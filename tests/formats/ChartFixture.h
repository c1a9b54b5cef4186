#pragma once
// The chart files under tests/data/charts, read as plain bytes.

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

namespace solvena {

inline std::string readChartFixture(const std::string& name)
{
    std::ifstream in(std::string(TEST_DATA_DIR) + "/charts/" + name, std::ios::binary);
    EXPECT_TRUE(in.good()) << name;
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace solvena
