#include "tests/support/test_data.h"

#include <gtest/gtest.h>

#include <fstream>

namespace fake {

std::vector<std::string> dataLines(const std::string& name)
{
    const std::string path = std::string(KUP_TEST_DATA) + "/" + name;
    std::ifstream in(path, std::ios::binary);
    EXPECT_TRUE(in.good()) << "cannot read " << path;
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty() && line[0] != '#')
            lines.push_back(line);
    }
    return lines;
}

std::vector<std::string> fieldsOf(const std::string& line)
{
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t bar = line.find('|', start);
        std::string field = line.substr(start, bar == std::string::npos ? std::string::npos : bar - start);
        const std::size_t first = field.find_first_not_of(' '), last = field.find_last_not_of(' ');
        fields.push_back(first == std::string::npos ? "" : field.substr(first, last - first + 1));
        if (bar == std::string::npos)
            return fields;
        start = bar + 1;
    }
}

}  // namespace fake
