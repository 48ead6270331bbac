#include "tests/support/test_data.h"

#include <gtest/gtest.h>

#include <fstream>

namespace fake {

std::vector<std::string> dataLines(const std::string& name)
{
    std::ifstream in(std::string(KUP_TEST_DATA) + "/" + name, std::ios::binary);
    EXPECT_TRUE(in.good()) << "cannot read tests/data/" << name;
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        if (!line.empty() && line[0] != '#')
            lines.push_back(line.ends_with('\r') ? line.substr(0, line.size() - 1) : line);
    return lines;
}

std::string dataText(const std::string& name, const std::string& lineEnd)
{
    std::string text;
    for (const std::string& line : dataLines(name))
        text += line + lineEnd;
    return text;
}

}  // namespace fake
