// The main of every test program: one environment makes the application object, through
// the place every program makes it, before the first test runs, and ends it after the last.

#include "platform/win/Application.h"

#include <gtest/gtest.h>

namespace {

class ApplicationEnvironment : public ::testing::Environment {
public:
    void SetUp() override { EnsureApplication(); }
    void TearDown() override { EndApplication(); }
};

}  // namespace

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new ApplicationEnvironment);
    return RUN_ALL_TESTS();
}
