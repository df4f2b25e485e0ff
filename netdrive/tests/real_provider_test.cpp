// Orvandel.dll against the platform's own mpr.dll. Wine's knows no network
// provider, so every question about a connection fails, while the user name
// of the current user is answered.

#include <gtest/gtest.h>

#include <string>

#include "orvandel_harness.h"

namespace orvandel::test {
namespace {

class OrvandelRealProvider : public ::testing::Test {
 protected:
  void TearDown() override {
    orvandel.expectJniKept();
    EXPECT_TRUE(orvandel.memory.live.empty());
  }
  Orvandel orvandel;
};

TEST_F(OrvandelRealProvider, RunsAgainstThePlatformsOwnProvider) {
  EXPECT_FALSE(::GetProcAddress(::GetModuleHandleA("mpr.dll"), "standinReset"));
}

TEST_F(OrvandelRealProvider, QuestionsAboutConnectionsAnswerTheirFailureTexts) {
  for (const char* name : {"Z:", "C:\\windows", "\\\\server\\share", ""}) {
    EXPECT_EQ(orvandel.ask(orvandel.getMountLocationFor, name), "Error") << name;
    EXPECT_EQ(orvandel.ask(orvandel.getHostNameFor, name), "Error") << name;
    EXPECT_EQ(orvandel.ask(orvandel.getProviderNameFor, name), "error") << name;
    EXPECT_FALSE(orvandel.ask(orvandel.disconnectConnection, name)) << name;
  }
  EXPECT_EQ(orvandel.allConnectedDeviceNames(), "");
  EXPECT_EQ(orvandel.memory.allocations, 0) << "no work buffer when the enumeration cannot start";
}

TEST_F(OrvandelRealProvider, TheCurrentUsersNameIsAnswered) {
  char user[256];
  DWORD size = sizeof user;
  ASSERT_TRUE(::GetUserNameA(user, &size));
  EXPECT_EQ(orvandel.ask(orvandel.getUserIDFor, ""), user);
}

}  // namespace
}  // namespace orvandel::test
