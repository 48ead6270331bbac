// The runner's hold on the stand-in server: the state in the DLL that COM
// loads for the registered class, loaded by the same path so both share it.
#pragma once

#include "tests/com/standin/standin_objects.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace standin {

using Lines = std::vector<std::string>;

// Loads the registered DLL once; throws when it is not registered.
State& server();
// No document, standard preferences, no faults, an empty journal.
void reset();
// A drawing with the given sheets (name, paper-size code), active, after a reset.
void drawing(const std::string& title, const std::vector<std::pair<std::string, int>>& sheets);
// The journal lines of one member.
Lines journalOf(const std::string& member);

// Every case starts from a reset server and leaves none of its objects alive.
class ServerTest : public ::testing::Test {
protected:
    void SetUp() override { reset(); }
    void TearDown() override { EXPECT_EQ(server().living, 0); }
};

}  // namespace standin
