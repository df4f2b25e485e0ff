// The Windows layer on its own: system texts and the pipe.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "error_text.h"
#include "kel/unique_handle.h"
#include "pipe_reader.h"
#include "process_resources.h"

namespace {

using kel::cmdrunner::fetchErrorText;
using kel::cmdrunner::PipeReader;
using kel::test::heapBytes;

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
  const std::size_t before = heapBytes();
  for (int i = 0; i < calls; ++i) fetchErrorText(ERROR_ACCESS_DENIED, code, text);
  EXPECT_LT(heapBytes(), before + 4096);

  // The meter does see a leak of that many texts.
  std::vector<HLOCAL> kept(calls);
  const std::size_t unfreed = heapBytes();
  for (HLOCAL& memory : kept) memory = ::LocalAlloc(LMEM_FIXED, text->size() + 1);
  EXPECT_GE(heapBytes(), unfreed + calls * text->size());
  for (HLOCAL memory : kept) ::LocalFree(memory);
}

// A thread stands in for a command: the reader waits for its end.
class Writer {
 public:
  Writer(HANDLE pipe, std::function<void(HANDLE)> work) : work_(std::move(work)), pipe_(pipe) {
    thread_.reset(::CreateThread(nullptr, 0, &run, this, 0, nullptr));
  }
  ~Writer() { ::WaitForSingleObject(thread_.get(), INFINITE); }
  HANDLE handle() const { return thread_.get(); }

 private:
  static DWORD WINAPI run(void* self) {
    auto& writer = *static_cast<Writer*>(self);
    writer.work_(writer.pipe_);
    return 0;
  }
  std::function<void(HANDLE)> work_;
  HANDLE pipe_;
  kel::unique_handle thread_;
};

bool writeAll(HANDLE pipe, const std::string& bytes) {
  DWORD written = 0;
  return ::WriteFile(pipe, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

TEST(PipeReaderTest, NeitherEndIsInheritableAndAllIsRead) {
  PipeReader pipe;
  ASSERT_EQ(pipe.open(), 0u);
  DWORD flags = 0;
  ASSERT_TRUE(::GetHandleInformation(pipe.readEnd(), &flags));
  EXPECT_EQ(flags & HANDLE_FLAG_INHERIT, 0u);
  ASSERT_TRUE(::GetHandleInformation(pipe.writeEnd(), &flags));
  EXPECT_EQ(flags & HANDLE_FLAG_INHERIT, 0u);
  // Far more than the pipe holds: only reading meanwhile lets the writer finish.
  const Writer writer(pipe.writeEnd(), [](HANDLE end) {
    const std::string block(1 << 20, 'q');
    for (int i = 0; i < 4; ++i) writeAll(end, block);
  });
  EXPECT_EQ(pipe.readUntilEnded(writer.handle()), 0u);
  EXPECT_TRUE(pipe.output().overflowed());
  EXPECT_EQ(pipe.output().text(), std::string(65536, 'q'));
  EXPECT_TRUE(pipe.closeWriteEnd());
}

TEST(PipeReaderTest, WhatAWriterWroteBeforeItEndedIsKeptToTheLastByte) {
  PipeReader pipe;
  ASSERT_EQ(pipe.open(), 0u);
  std::string expected;
  for (int round = 0; round < 150; ++round) {
    // Ends straight after writing, in one piece or several.
    const std::string piece(1 + round % 7 * 60, static_cast<char>('a' + round % 26));
    const Writer writer(pipe.writeEnd(), [&](HANDLE end) {
      for (int i = 0; i <= round % 3; ++i) writeAll(end, piece);
    });
    ASSERT_EQ(pipe.readUntilEnded(writer.handle()), 0u);
    for (int i = 0; i <= round % 3; ++i) expected += piece;
    ASSERT_EQ(pipe.output().text().size(), expected.size()) << "round " << round;
  }
  EXPECT_EQ(pipe.output().text(), expected);

  // One byte more than a read takes, still in the pipe when the writer ends.
  for (int round = 0; round < 30; ++round) {
    PipeReader fresh;
    ASSERT_EQ(fresh.open(), 0u);
    const Writer writer(fresh.writeEnd(), [](HANDLE end) { writeAll(end, std::string(65537, 'x')); });
    ASSERT_EQ(fresh.readUntilEnded(writer.handle()), 0u);
    ASSERT_TRUE(fresh.output().overflowed()) << "round " << round;
  }
}

TEST(PipeReaderTest, AWriterThatGoesOnDoesNotHoldTheWait) {
  const kel::unique_handle lastWritten(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
  std::unique_ptr<Writer> goesOn;
  {
    PipeReader pipe;
    ASSERT_EQ(pipe.open(), 0u);
    // Its own copy of the write end, as a helper process inherits one; once
    // "last" is in, it writes without pause until the pipe is gone.
    HANDLE copy = nullptr;
    ASSERT_TRUE(::DuplicateHandle(::GetCurrentProcess(), pipe.writeEnd(), ::GetCurrentProcess(), &copy, 0, FALSE,
                                  DUPLICATE_SAME_ACCESS));
    goesOn = std::make_unique<Writer>(copy, [&](HANDLE end) {
      const kel::unique_handle owned(end);
      ::WaitForSingleObject(lastWritten.get(), INFINITE);
      while (writeAll(end, std::string(4096, 'h'))) {
      }
    });
    const Writer ends(pipe.writeEnd(), [&](HANDLE end) {
      writeAll(end, "last");
      ::SetEvent(lastWritten.get());
      ::Sleep(200);
    });
    ASSERT_EQ(pipe.readUntilEnded(ends.handle()), 0u);
    EXPECT_EQ(pipe.output().text().substr(0, 5), "lasth");
    EXPECT_TRUE(pipe.closeWriteEnd());
  }
  goesOn.reset();  // its writes fail once the read end has gone
}

}  // namespace
