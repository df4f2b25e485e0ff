// Text beyond ASCII through the exports, under the ANSI code page the test
// runs under (registered under LC_ALL=de_DE.UTF-8 for 1252 and ru_RU.UTF-8 for
// 1251), which the wide functions never consult.

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

TEST_F(OrvandelText, EveryCharacterReachesTheProviderExactlyAndComesBackWhole) {
  const CodePageWords words = wordsOfThisCodePage();
  // U+65E5, U+1F600 (two surrogates) and the fullwidth quote U+FF02, which a
  // code page would turn into a real quote, in modified UTF-8.
  const std::string beyondTheCodePage = "\xE6\x97\xA5\xED\xA0\xBD\xED\xB8\x80\xEF\xBC\x82";
  for (const std::string& word : {words.java, words.foreign, beyondTheCodePage}) {
    SCOPED_TRACE(word);
    provider.reset();
    connect("Z:", ("\\\\fs\\" + word).c_str(), (word + " Network").c_str(), word.c_str());
    EXPECT_EQ(orvandel.ask(orvandel.getMountLocationFor, ("Z:\\" + word).c_str()), "\\\\fs\\" + word + "\\" + word);
    EXPECT_THAT(callsTo("WNetGetUniversalNameW"),
                ElementsAre("WNetGetUniversalNameW path=\"Z:\\" + word + "\" level=1 size=250 -> 0"));
    EXPECT_EQ(orvandel.ask(orvandel.getHostNameFor, "Z:"), "\\\\fs\\" + word);
    EXPECT_EQ(orvandel.ask(orvandel.getUserIDFor, ("\\\\fs\\" + word).c_str()), word);
    EXPECT_EQ(orvandel.ask(orvandel.getProviderNameFor, "Z:"), word + " Network");

    provider.reset();
    connect((word + ":").c_str(), "\\\\fs\\share");
    EXPECT_EQ(orvandel.allConnectedDeviceNames(), word + ":");
    EXPECT_EQ(orvandel.ask(orvandel.getProviderNameFor, (word + ":").c_str()), "Demo Network");
    EXPECT_TRUE(orvandel.ask(orvandel.disconnectConnection, (word + ":").c_str()));
    EXPECT_THAT(callsTo("WNetCancelConnection2W"),
                ElementsAre("WNetCancelConnection2W name=\"" + word + ":\" flags=1 force=0 -> 0"));
  }
}

TEST_F(OrvandelText, U0000IsRefusedWithoutAskingTheProvider) {
  connect("Z:", "\\\\fs\\share");
  const char* argument = "Z:\xC0\x80x";  // no platform string can carry it
  EXPECT_EQ(orvandel.ask(orvandel.getMountLocationFor, argument), "Error");
  EXPECT_EQ(orvandel.ask(orvandel.getUserIDFor, argument), "Error");
  EXPECT_EQ(orvandel.ask(orvandel.getHostNameFor, argument), "Error");
  EXPECT_EQ(orvandel.ask(orvandel.getProviderNameFor, argument), "error");
  EXPECT_FALSE(orvandel.ask(orvandel.disconnectConnection, argument));
  EXPECT_THAT(provider.calls(), IsEmpty());
}

}  // namespace
}  // namespace orvandel::test
