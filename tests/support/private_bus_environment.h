// One private session bus for a whole test program: registered as a GoogleTest
// environment, so the bus starts when the first test runs, not when tests are
// only listed. In one source file of the test program:
//   const auto* const kBus = ::testing::AddGlobalTestEnvironment(new testbus::PrivateBusEnvironment);
#pragma once

#include "tests/support/cadsim_process.h"

#include <gtest/gtest.h>

#include <memory>

namespace testbus {

class PrivateBusEnvironment : public ::testing::Environment {
public:
    void SetUp() override { bus_ = std::make_unique<PrivateBus>(); }
    void TearDown() override { bus_.reset(); }

private:
    std::unique_ptr<PrivateBus> bus_;
};

}  // namespace testbus
