// The Windows layer on its own: system texts, the standard-handle hand-over
// between overlapping calls, and the pipe.
#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "error_text.h"
#include "pipe_reader.h"
#include "std_handle_redirection.h"

namespace {

using kel::cmdrunner::fetchErrorText;
using kel::cmdrunner::PipeReader;
using kel::cmdrunner::StdHandleRedirection;

// Bytes in use on the process heap, where the system's texts are allocated.
std::size_t processHeapBytes() {
  const HANDLE heap = ::GetProcessHeap();
  std::size_t busy = 0;
  PROCESS_HEAP_ENTRY entry{};
  ::HeapLock(heap);
  while (::HeapWalk(heap, &entry)) {
    if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) busy += entry.cbData;
  }
  ::HeapUnlock(heap);
  return busy;
}

TEST(FetchErrorText, GivesTheSystemTextAnd97) {
  int code = 0;
  std::optional<std::string> text;
  fetchErrorText(ERROR_FILE_NOT_FOUND, code, text);
  EXPECT_EQ(code, 97);
  ASSERT_TRUE(text);
  EXPECT_NE(text->find("ile not found"), std::string::npos) << *text;
}

TEST(FetchErrorText, NamesTheNumberWhenTheSystemHasNoText) {
  int code = 0;
  std::optional<std::string> text;
  fetchErrorText(0x2ABCDEF0, code, text);
  EXPECT_EQ(code, 97);
  EXPECT_EQ(text, "System error " + std::to_string(0x2ABCDEF0) + "\r\n");
}

TEST(FetchErrorText, FreesTheSystemsText) {
  constexpr int calls = 50000;
  int code = 0;
  std::optional<std::string> text;
  fetchErrorText(ERROR_ACCESS_DENIED, code, text);
  const std::size_t before = processHeapBytes();
  for (int i = 0; i < calls; ++i) fetchErrorText(ERROR_ACCESS_DENIED, code, text);
  EXPECT_LT(processHeapBytes(), before + 4096);

  // The meter does see a leak of that many texts.
  std::vector<HLOCAL> kept(calls);
  const std::size_t unfreed = processHeapBytes();
  for (HLOCAL& memory : kept) memory = ::LocalAlloc(LMEM_FIXED, text->size() + 1);
  EXPECT_GE(processHeapBytes(), unfreed + calls * text->size());
  for (HLOCAL memory : kept) ::LocalFree(memory);
}

class StdHandles : public ::testing::Test {
 protected:
  HANDLE output = ::GetStdHandle(STD_OUTPUT_HANDLE);
  HANDLE error = ::GetStdHandle(STD_ERROR_HANDLE);
  // Handle values only; the redirection never writes to them.
  HANDLE first = reinterpret_cast<HANDLE>(0x1004);
  HANDLE second = reinterpret_cast<HANDLE>(0x1008);

  void expectStd(HANDLE out, HANDLE err) {
    EXPECT_EQ(::GetStdHandle(STD_OUTPUT_HANDLE), out);
    EXPECT_EQ(::GetStdHandle(STD_ERROR_HANDLE), err);
  }
};

TEST_F(StdHandles, FirstCallToEndHandsOverToTheOtherOrLeavesItsHandles) {
  {
    StdHandleRedirection a, b;
    ASSERT_EQ(a.begin(first), 0u);
    expectStd(first, first);
    ASSERT_EQ(b.begin(second), 0u);
    expectStd(second, second);
    a.end();
    expectStd(second, second);
    b.end();
    expectStd(output, error);
  }
  {
    StdHandleRedirection a, b;
    ASSERT_EQ(a.begin(first), 0u);
    ASSERT_EQ(b.begin(second), 0u);
    b.end();
    expectStd(first, first);
  }
  expectStd(output, error);
}

TEST_F(StdHandles, AHandleChangedByOthersIsLeftAlone) {
  const HANDLE elsewhere = reinterpret_cast<HANDLE>(0x100C);
  {
    StdHandleRedirection a;
    ASSERT_EQ(a.begin(first), 0u);
    ::SetStdHandle(STD_ERROR_HANDLE, elsewhere);
  }
  expectStd(output, elsewhere);
  ::SetStdHandle(STD_ERROR_HANDLE, error);
}

TEST(PipeReaderTest, NeitherEndIsInheritableAndAllIsRead) {
  PipeReader pipe;
  ASSERT_EQ(pipe.open(), 0u);
  DWORD flags = 0;
  ASSERT_TRUE(::GetHandleInformation(pipe.readEnd(), &flags));
  EXPECT_EQ(flags & HANDLE_FLAG_INHERIT, 0u);
  ASSERT_TRUE(::GetHandleInformation(pipe.writeEnd(), &flags));
  EXPECT_EQ(flags & HANDLE_FLAG_INHERIT, 0u);
  // Far more than the pipe holds: only a reader running meanwhile lets this finish.
  const std::string block(1 << 20, 'q');
  for (int i = 0; i < 4; ++i) {
    DWORD written = 0;
    ASSERT_TRUE(::WriteFile(pipe.writeEnd(), block.data(), static_cast<DWORD>(block.size()), &written, nullptr));
  }
  ASSERT_TRUE(pipe.closeWriteEnd());
  const auto& output = pipe.finish();
  EXPECT_TRUE(output.overflowed());
  EXPECT_EQ(output.text(), std::string(65536, 'q'));
}

}  // namespace
