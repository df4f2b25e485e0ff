#pragma once
// The fixture of the tests against the stand-in provider: a fresh script per
// test, and after every test the JNI discipline kept, every enumeration
// closed and every work buffer freed.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "orvandel_harness.h"
#include "standin_control.h"

namespace orvandel::test {

class OrvandelTest : public ::testing::Test {
 protected:
  void SetUp() override { provider.reset(); }
  void TearDown() override {
    orvandel.expectJniKept();
    EXPECT_EQ(provider.openEnumerations(), 0u) << "an enumeration was left open";
    EXPECT_TRUE(orvandel.memory.live.empty()) << "a work buffer was not freed";
    EXPECT_EQ(orvandel.memory.strayFrees, 0);
  }

  // The logged calls that start with function's name.
  std::vector<std::string> callsTo(const std::string& function) const {
    std::vector<std::string> found;
    for (const std::string& call : provider.calls())
      if (call.rfind(function + " ", 0) == 0) found.push_back(call);
    return found;
  }

  void connect(const char* local, const char* remote, const char* provider = "Demo Network",
               const char* user = "alice", DWORD type = standin::DISK) {
    this->provider.addConnection(local, remote, provider, "a comment", user, type);
  }

  Orvandel orvandel;
  standin::Provider provider;
};

}  // namespace orvandel::test
