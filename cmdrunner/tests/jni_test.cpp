// The JNI side of getSTDOUT: null arguments and null results.
#include <gtest/gtest.h>

#include <string>

#include "tesmaru_call.h"

namespace {

using kel::test::child;
using kel::test::getStdoutExport;
using kel::test::TestJniEnv;

TEST(Jni, NullArgumentRunsNothingAndTouchesNoString) {
  TestJniEnv jni;
  EXPECT_EQ(getStdoutExport()(jni.env(), nullptr, nullptr), nullptr);
  EXPECT_EQ(jni.getStringUTFCharsCalls(), 0);
  EXPECT_EQ(jni.newStringUTFCalls(), 0);
  EXPECT_TRUE(jni.misuses().empty());
}

TEST(Jni, UnconvertibleArgumentGivesNullAndNothingToRelease) {
  TestJniEnv jni;
  char directory[MAX_PATH];
  ASSERT_GT(::GetTempPathA(MAX_PATH, directory), 0u);
  const std::string marker = std::string(directory) + "tesmaru_jni_marker.txt";
  ::DeleteFileA(marker.c_str());
  jni.failNextGetStringUTFChars();
  EXPECT_EQ(getStdoutExport()(jni.env(), nullptr, jni.javaString(child() + " touch " + marker)), nullptr);
  EXPECT_EQ(jni.releaseStringUTFCharsCalls(), 0);
  EXPECT_EQ(jni.newStringUTFCalls(), 0);
  EXPECT_TRUE(jni.misuses().empty());
  EXPECT_EQ(::GetFileAttributesA(marker.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(Jni, FailedNewStringUTFGivesItsNullAfterReleasingTheArgument) {
  TestJniEnv jni;
  jni.failNewStringUTF();
  for (const std::string& line : {child() + " print x", std::string("no_such_program.exe"), std::string("")}) {
    EXPECT_EQ(kel::test::getStdout(jni, line), std::nullopt);
  }
  EXPECT_EQ(jni.newStringUTFCalls(), 3);
}
}  // namespace
