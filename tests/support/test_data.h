// The reviewed files of tests/data: fixed values a user reads, written down
// once, for the checks to compare the live program with.
#pragma once

#include <string>
#include <vector>

namespace fake {

// The lines of tests/data/<name>, without blank lines and "#" comments.
std::vector<std::string> dataLines(const std::string& name);
// Those lines as one text, each followed by lineEnd.
std::string dataText(const std::string& name, const std::string& lineEnd);

}  // namespace fake
