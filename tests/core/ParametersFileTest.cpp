#include "settings/ParametersFile.h"
#include "FakePlatform.h"
#include "TestFolder.h"

#include <gtest/gtest.h>

namespace orvalin {
namespace {

TEST(ParametersFile, Placeholder)
{
    EXPECT_EQ(parseParameters("y\r\n").outputToDesktop, true);
}

} // namespace
} // namespace orvalin
