// Non-ASCII text through the exports, in the ANSI code page the test runs
// under (registered under LC_ALL=C.UTF-8 for 1252 and ru_RU.UTF-8 for 1251).

#include <string>

#include "code_page_words.h"
#include "orvandel_test.h"

namespace orvandel::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

using kel::test::CodePageWords;
using kel::test::wordsOfThisCodePage;

using OrvandelText = OrvandelTest;

TEST_F(OrvandelText, ArgumentsReachTheProviderInTheCodePageAndAnswersComeBackAsTheirCharacters) {
  const CodePageWords words = wordsOfThisCodePage();
  connect("Z:", ("\\\\fs\\" + words.ansi + "\x80").c_str(), (words.ansi + " Network").c_str(), words.ansi.c_str());
  const std::string remote = "\\\\fs\\" + words.java + words.byte80;

  EXPECT_EQ(orvandel.ask(orvandel.getMountLocationFor, ("Z:\\" + words.java).c_str()), remote + "\\" + words.java);
  EXPECT_THAT(callsTo("WNetGetUniversalNameA"),
              ElementsAre("WNetGetUniversalNameA path=\"Z:\\" + words.ansi + "\" level=1 size=250 -> 0"));
  EXPECT_EQ(orvandel.ask(orvandel.getHostNameFor, "Z:"), remote);
  EXPECT_EQ(orvandel.ask(orvandel.getUserIDFor, "Z:"), words.java);
  EXPECT_EQ(orvandel.ask(orvandel.getProviderNameFor, "Z:"), words.java + " Network");

  provider.reset();
  connect((words.ansi + ":").c_str(), "\\\\fs\\share");
  EXPECT_EQ(orvandel.allConnectedDeviceNames(), words.java + ":");
  EXPECT_TRUE(orvandel.ask(orvandel.disconnectConnection, (words.java + ":").c_str()));
  EXPECT_THAT(callsTo("WNetCancelConnection2A"),
              ElementsAre("WNetCancelConnection2A name=\"" + words.ansi + ":\" flags=1 force=0 -> 0"));
}

TEST_F(OrvandelText, ACharacterWithoutAnExactFormIsRefusedWithoutAskingTheProvider) {
  connect("Z:", "\\\\fs\\share");
  // U+FF02 and U+FF1A would pass as a look-alike " and :; U+0000 would end the text.
  for (const std::string& argument : {"Z:\\" + wordsOfThisCodePage().foreign, std::string("Z\xEF\xBC\x9A"),
                                      std::string("Z:\\\xEF\xBC\x82x\xEF\xBC\x82"), std::string("Z:\xC0\x80x")}) {
    EXPECT_EQ(orvandel.ask(orvandel.getMountLocationFor, argument.c_str()), "Error");
    EXPECT_EQ(orvandel.ask(orvandel.getUserIDFor, argument.c_str()), "Error");
    EXPECT_EQ(orvandel.ask(orvandel.getHostNameFor, argument.c_str()), "Error");
    EXPECT_EQ(orvandel.ask(orvandel.getProviderNameFor, argument.c_str()), "error");
    EXPECT_FALSE(orvandel.ask(orvandel.disconnectConnection, argument.c_str()));
  }
  EXPECT_THAT(provider.calls(), IsEmpty());
}

}  // namespace
}  // namespace orvandel::test
