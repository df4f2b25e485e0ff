#pragma once
// Words in and out of the ANSI code page a text test runs under. Such tests
// are registered under LC_ALL=de_DE.UTF-8 (Wine gives code page 1252) and
// LC_ALL=ru_RU.UTF-8 (1251).

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace kel::test {

struct CodePageWords {
  std::string java;     // modified UTF-8 of a word the code page holds (no blank)
  std::string ansi;     // the same word in the code page
  std::string foreign;  // modified UTF-8 of a word the code page lacks
};

inline CodePageWords wordsOfThisCodePage() {
  switch (::GetACP()) {
    case 1252:
      return {"J\xC3\xBCrgen", "J\xFCrgen", "\xD0\xBF\xD0\xB0\xD1\x80\xD0\xBE\xD0\xBB\xD1\x8C"};
    case 1251:
      return {"\xD0\x9E\xD1\x82\xD1\x87\xD1\x91\xD1\x82", "\xCE\xF2\xF7\xB8\xF2", "B\xC3\xBCro"};
    default:
      ADD_FAILURE() << "run under LC_ALL=de_DE.UTF-8 (1252) or ru_RU.UTF-8 (1251), not code page " << ::GetACP();
      return {};
  }
}

}  // namespace kel::test
