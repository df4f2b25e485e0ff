// The single-call exports against the stand-in provider.

#include <string>

#include "orvandel_test.h"

namespace orvandel::test {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

using OrvandelQueries = OrvandelTest;

const std::string remote79 = "\\\\server\\" + std::string(70, 's');   // 79 bytes
const std::string remote200 = "\\\\server\\" + std::string(191, 'l');  // 200 bytes

TEST_F(OrvandelQueries, MountLocationIsTheWholeUniversalName) {
  connect("Z:", "\\\\server\\share");
  EXPECT_EQ(orvandel.ask(orvandel.getMountLocationFor, "Z:\\dir\\file.txt"), "\\\\server\\share\\dir\\file.txt");
  EXPECT_THAT(callsTo("WNetGetUniversalNameW"),
              ElementsAre("WNetGetUniversalNameW path=\"Z:\\dir\\file.txt\" level=1 size=250 -> 0"));

  // 300 bytes do not fit the first block: asked once more with the size named.
  const std::string tail(300, 'd');
  EXPECT_EQ(orvandel.ask(orvandel.getMountLocationFor, ("Z:\\" + tail).c_str()), "\\\\server\\share\\" + tail);
  const auto calls = callsTo("WNetGetUniversalNameW");
  ASSERT_EQ(calls.size(), 3u);
  EXPECT_THAT(calls[1], HasSubstr("size=250 -> 234 needed="));
  EXPECT_THAT(calls[2], HasSubstr(" -> 0"));
}

TEST_F(OrvandelQueries, NamesOf79And200BytesComeBackWhole) {
  connect("X:", remote79.c_str(), "Demo Network", std::string(79, 'u').c_str());
  connect("Y:", remote200.c_str(), "Demo Network", std::string(200, 'v').c_str());
  EXPECT_EQ(orvandel.ask(orvandel.getHostNameFor, "X:"), remote79);
  EXPECT_EQ(orvandel.ask(orvandel.getUserIDFor, "X:"), std::string(79, 'u'));
  EXPECT_EQ(callsTo("WNetGetConnectionW").size() + callsTo("WNetGetUserW").size(), 2u) << "79 bytes fit at once";

  EXPECT_EQ(orvandel.ask(orvandel.getHostNameFor, "Y:"), remote200);
  EXPECT_EQ(orvandel.ask(orvandel.getUserIDFor, "Y:"), std::string(200, 'v'));
  EXPECT_THAT(callsTo("WNetGetConnectionW"), ElementsAre(HasSubstr("size=80 -> 0"), HasSubstr("size=80 -> 234"),
                                                         HasSubstr("size=201 -> 0")));
  EXPECT_THAT(callsTo("WNetGetUserW"), ElementsAre(HasSubstr("size=80 -> 0"), HasSubstr("size=80 -> 234"),
                                                   HasSubstr("size=201 -> 0")));
}

TEST_F(OrvandelQueries, EveryFailureAnswersError) {
  EXPECT_EQ(orvandel.ask(orvandel.getMountLocationFor, "Q:\\x"), "Error");
  EXPECT_EQ(orvandel.ask(orvandel.getUserIDFor, "Q:"), "Error");
  EXPECT_EQ(orvandel.ask(orvandel.getHostNameFor, "Q:"), "Error");

  connect("Z:", "\\\\server\\share");
  provider.forceResult("WNetGetUniversalNameW", ERROR_NO_NETWORK);
  provider.forceResult("WNetGetUserW", ERROR_EXTENDED_ERROR);
  provider.forceResult("WNetGetConnectionW", ERROR_BAD_DEVICE);
  EXPECT_EQ(orvandel.ask(orvandel.getMountLocationFor, "Z:\\x"), "Error");
  EXPECT_EQ(orvandel.ask(orvandel.getUserIDFor, "Z:"), "Error");
  EXPECT_EQ(orvandel.ask(orvandel.getHostNameFor, "Z:"), "Error");
}

TEST_F(OrvandelQueries, APlatformThatKeepsAskingForMoreGetsOneRetryThenError) {
  connect("Z:", "\\\\server\\share");
  provider.forceResult("WNetGetUniversalNameW", ERROR_MORE_DATA);
  provider.forceResult("WNetGetUserW", ERROR_MORE_DATA);
  provider.forceResult("WNetGetConnectionW", ERROR_MORE_DATA);
  EXPECT_EQ(orvandel.ask(orvandel.getMountLocationFor, "Z:\\x"), "Error");
  EXPECT_EQ(orvandel.ask(orvandel.getUserIDFor, "Z:"), "Error");
  EXPECT_EQ(orvandel.ask(orvandel.getHostNameFor, "Z:"), "Error");
  EXPECT_THAT(callsTo("WNetGetUniversalNameW"), ElementsAre(HasSubstr("size=250"), HasSubstr("size=350")));
  EXPECT_THAT(callsTo("WNetGetUserW"), ElementsAre(HasSubstr("size=80"), HasSubstr("size=180")));
  EXPECT_THAT(callsTo("WNetGetConnectionW"), ElementsAre(HasSubstr("size=80"), HasSubstr("size=180")));
}

TEST_F(OrvandelQueries, ArgumentsReachThePlatformUnchanged) {
  EXPECT_EQ(orvandel.ask(orvandel.getUserIDFor, ""), "standin-user");
  EXPECT_EQ(orvandel.ask(orvandel.getHostNameFor, "Q:"), "Error");
  EXPECT_THAT(provider.calls(), ElementsAre("WNetGetUserW name=\"\" size=80 -> 0",
                                            "WNetGetConnectionW name=\"Q:\" size=80 -> 2250"));
}

TEST_F(OrvandelQueries, DisconnectFallsBackOnlyWhenTheFirstCancellationFails) {
  connect("Y:", "\\\\server\\one");
  connect("Z:", "\\\\server\\two");
  EXPECT_TRUE(orvandel.ask(orvandel.disconnectConnection, "Y:"));
  EXPECT_THAT(provider.calls(), ElementsAre("WNetCancelConnection2W name=\"Y:\" flags=1 force=0 -> 0"));

  provider.forceResult("WNetCancelConnection2W", ERROR_OPEN_FILES);
  EXPECT_TRUE(orvandel.ask(orvandel.disconnectConnection, "Z:"));
  EXPECT_FALSE(orvandel.ask(orvandel.disconnectConnection, "Z:"));
  EXPECT_THAT(callsTo("WNetCancelConnectionW"), ElementsAre("WNetCancelConnectionW name=\"Z:\" force=0 -> 0",
                                                            "WNetCancelConnectionW name=\"Z:\" force=0 -> 2250"));
  EXPECT_EQ(callsTo("WNetCancelConnection2W").size(), 3u);
}

TEST_F(OrvandelQueries, IsBinaryConnectionIsFalseAndTouchesNothing) {
  EXPECT_EQ(orvandel.isBinaryConnection(orvandel.jni.env(), nullptr, orvandel.jni.javaString("Z:")), JNI_FALSE);
  EXPECT_EQ(orvandel.isBinaryConnection(orvandel.jni.env(), nullptr, nullptr), JNI_FALSE);
  EXPECT_EQ(orvandel.jni.getStringUTFCharsCalls() + orvandel.jni.newStringUTFCalls(), 0);
  EXPECT_THAT(provider.calls(), IsEmpty());
}

TEST_F(OrvandelQueries, ANullArgumentFailsWithoutAskingTheVmOrThePlatform) {
  connect("Z:", "\\\\server\\share");
  EXPECT_EQ(orvandel.ask(orvandel.getMountLocationFor, nullptr), "Error");
  EXPECT_EQ(orvandel.ask(orvandel.getUserIDFor, nullptr), "Error");
  EXPECT_EQ(orvandel.ask(orvandel.getHostNameFor, nullptr), "Error");
  EXPECT_EQ(orvandel.ask(orvandel.getProviderNameFor, nullptr), "error");
  EXPECT_FALSE(orvandel.ask(orvandel.disconnectConnection, nullptr));
  EXPECT_EQ(orvandel.jni.getStringUTFCharsCalls(), 0);
  EXPECT_THAT(provider.calls(), IsEmpty());
}

// With an exception pending the VM may not be called again: the export
// returns a null reference at once and the exception reaches Java.
TEST_F(OrvandelQueries, CharactersRefusedByTheVmEndTheCallQuietly) {
  connect("Z:", "\\\\server\\share");
  for (StringExport* method : {orvandel.getMountLocationFor, orvandel.getUserIDFor, orvandel.getHostNameFor,
                               orvandel.getProviderNameFor}) {
    orvandel.refuseNextCharacters();
    EXPECT_EQ(orvandel.ask(method, "Z:"), std::nullopt);
  }
  orvandel.refuseNextCharacters();
  EXPECT_FALSE(orvandel.ask(orvandel.disconnectConnection, "Z:"));
  EXPECT_EQ(orvandel.jni.newStringUTFCalls(), 0);
  EXPECT_THAT(provider.calls(), IsEmpty());
}


}  // namespace
}  // namespace orvandel::test
