#include "test_jni_env.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using kel::test::TestJniEnv;

TEST(TestJniEnv, LendsCopiesAndCountsEveryCall) {
  TestJniEnv jni;
  JNIEnv* env = jni.env();
  jstring arg = jni.javaString("C:\\ws");
  const char* chars = env->GetStringUTFChars(arg, nullptr);
  ASSERT_NE(chars, nullptr);
  EXPECT_STREQ(chars, "C:\\ws");
  EXPECT_EQ(jni.unreleased(), 1);
  env->ReleaseStringUTFChars(arg, chars);
  EXPECT_EQ(jni.unreleased(), 0);
  jstring result = env->NewStringUTF("out");
  EXPECT_EQ(jni.text(result), "out");
  EXPECT_EQ(jni.getStringUTFCharsCalls(), 1);
  EXPECT_EQ(jni.releaseStringUTFCharsCalls(), 1);
  EXPECT_EQ(jni.newStringUTFCalls(), 1);
  EXPECT_TRUE(jni.misuses().empty());
}

TEST(TestJniEnv, RecordsEveryMisuse) {
  TestJniEnv jni;
  JNIEnv* env = jni.env();
  jstring a = jni.javaString("a");
  jstring b = jni.javaString("b");
  const char* chars = env->GetStringUTFChars(a, nullptr);
  char stranger[] = "a";
  env->ReleaseStringUTFChars(a, stranger);
  env->ReleaseStringUTFChars(b, chars);
  env->ReleaseStringUTFChars(a, chars);
  env->ReleaseStringUTFChars(a, chars);
  EXPECT_EQ(env->GetStringUTFChars(nullptr, nullptr), nullptr);
  EXPECT_EQ(env->NewStringUTF(nullptr), nullptr);
  // Raw UTF-8 of U+1F600 and a cp1252 byte, which a VM would cut short.
  env->NewStringUTF("x\xF0\x9F\x98\x80y");
  env->NewStringUTF("a\x80" "b");
  env->NewStringUTF("\xC3\xA9 \xC0\x80 \xED\xA0\xBD\xED\xB8\x80");
  EXPECT_EQ(jni.misuses().size(), 7u);
  EXPECT_EQ(jni.unreleased(), 0);
}

TEST(TestJniEnv, ReleasedCharactersArePoisoned) {
  TestJniEnv jni;
  JNIEnv* env = jni.env();
  jstring a = jni.javaString("secret");
  const char* chars = env->GetStringUTFChars(a, nullptr);
  env->ReleaseStringUTFChars(a, chars);
  EXPECT_NE(std::memcmp(chars, "secret", 6), 0);
}

TEST(TestJniEnv, AnswersNullWhenToldToFail) {
  TestJniEnv jni;
  JNIEnv* env = jni.env();
  jstring a = jni.javaString("x");
  jni.failNextGetStringUTFChars();
  EXPECT_EQ(env->GetStringUTFChars(a, nullptr), nullptr);
  const char* chars = env->GetStringUTFChars(a, nullptr);
  EXPECT_NE(chars, nullptr);
  env->ReleaseStringUTFChars(a, chars);
  jni.failNewStringUTF();
  EXPECT_EQ(env->NewStringUTF("y"), nullptr);
  EXPECT_TRUE(jni.misuses().empty());
}

TEST(TestJniEnvDeathTest, AnyOtherFunctionEndsTheProcess) {
  TestJniEnv jni;
  JNIEnv* env = jni.env();
  jstring a = jni.javaString("x");
  EXPECT_DEATH(env->GetStringLength(a), "slot");
}


}  // namespace
