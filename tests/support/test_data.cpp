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

std::vector<std::string> fieldsOf(const std::string& line)
{
    std::vector<std::string> fields;
    for (std::size_t start = 0, bar = 0; bar != std::string::npos; start = bar + 1) {
        bar = line.find('|', start);
        const std::string field = line.substr(start, bar == std::string::npos ? bar : bar - start);
        const std::size_t first = field.find_first_not_of(' ');
        fields.push_back(
            first == std::string::npos ? "" : field.substr(first, field.find_last_not_of(' ') - first + 1));
    }
    return fields;
}

}  // namespace fake
