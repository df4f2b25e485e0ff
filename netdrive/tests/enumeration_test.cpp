// The provider lookup and the drive listing against the stand-in provider.
// Both share one enumeration loop: what it does with batches is tested once,
// through the listing; each lookup's own answers through each.

#include <cstdint>
#include <string>

#include "orvandel_test.h"

namespace orvandel::test {
namespace {

using ::testing::Each;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::SizeIs;

using OrvandelListing = OrvandelTest;
using OrvandelProviderLookup = OrvandelTest;

TEST_F(OrvandelListing, DrivesComeInEnumerationOrderAcrossBatches) {
  connect("F:", "\\\\server\\f");
  connect("G:", "\\\\server\\g");
  connect("Z:", "\\\\server\\z");
  provider.setBatchLimit(2);
  EXPECT_EQ(orvandel.allConnectedDeviceNames(), "F:G:Z:");

  EXPECT_THAT(callsTo("WNetOpenEnumW"), ElementsAre("WNetOpenEnumW scope=1 type=1 usage=0 container=null -> 0"));
  EXPECT_THAT(callsTo("WNetEnumResourceW"),
              ElementsAre(HasSubstr("-> 0 entries=2"), HasSubstr("-> 0 entries=1"), HasSubstr("-> 259")));
  // Every batch asks afresh for as many entries as fit, into a cleared buffer.
  EXPECT_THAT(callsTo("WNetEnumResourceW"), Each(HasSubstr("count=4294967295 size=16384 clean=yes")));
  EXPECT_THAT(callsTo("WNetCloseEnum"), ElementsAre("WNetCloseEnum -> 0"));
  EXPECT_EQ(orvandel.memory.allocations, 1) << "one work buffer per call";
  EXPECT_EQ(orvandel.memory.flags, UINT{GPTR});
  EXPECT_EQ(orvandel.memory.bytes, SIZE_T{16384});
}

TEST_F(OrvandelListing, TheOrderIsTheProvidersNotSorted) {
  connect("Z:", "\\\\server\\z");
  connect("F:", "\\\\server\\f");
  EXPECT_EQ(orvandel.allConnectedDeviceNames(), "Z:F:");
}

TEST_F(OrvandelListing, OnlyDisksWithALocalDeviceAreListed) {
  connect(nullptr, "\\\\server\\deviceless");
  connect("LPT1:", "\\\\server\\printer", "Demo Network", "alice", standin::PRINTER);
  connect("H:", "\\\\server\\home");
  EXPECT_EQ(orvandel.allConnectedDeviceNames(), "H:");
}

// What each lookup answers when the enumeration cannot start: the listing
// the empty text, as when nothing is connected, the provider lookup "error".
TEST_F(OrvandelListing, EachLookupsAnswerWhenTheEnumerationCannotStart) {
  EXPECT_EQ(orvandel.allConnectedDeviceNames(), "");
  EXPECT_EQ(orvandel.ask(orvandel.getProviderNameFor, "Z:"), "");

  connect("Z:", "\\\\server\\z");
  orvandel.memory.refuseAllocations = true;
  EXPECT_EQ(orvandel.allConnectedDeviceNames(), "");
  EXPECT_EQ(orvandel.ask(orvandel.getProviderNameFor, "Z:"), "error");
  EXPECT_THAT(callsTo("WNetCloseEnum"), SizeIs(4)) << "closed also when no work buffer was had";
  orvandel.memory.refuseAllocations = false;

  provider.forceResult("WNetOpenEnumW", ERROR_NO_NETWORK);
  EXPECT_EQ(orvandel.allConnectedDeviceNames(), "");
  EXPECT_EQ(orvandel.ask(orvandel.getProviderNameFor, "Z:"), "error");
  EXPECT_THAT(callsTo("WNetCloseEnum"), SizeIs(4)) << "a failed open leaves nothing to close";
  EXPECT_EQ(orvandel.memory.allocations, 2);
}

TEST_F(OrvandelListing, AFailingBatchKeepsTheNamesBeforeIt) {
  connect("F:", "\\\\server\\f");
  connect("G:", "\\\\server\\g");
  connect("Z:", "\\\\server\\z");
  provider.setBatchLimit(1);
  provider.failBatch(2, ERROR_BAD_NET_RESP);
  EXPECT_EQ(orvandel.allConnectedDeviceNames(), "F:G:");
  EXPECT_THAT(callsTo("WNetEnumResourceW"), SizeIs(3));
  EXPECT_THAT(callsTo("WNetCloseEnum"), SizeIs(1));
}

TEST_F(OrvandelListing, ARecordTooBigForTheWorkBufferEndsTheListing) {
  connect("F:", "\\\\server\\f");
  connect("G:", ("\\\\server\\" + std::string(20000, 'g')).c_str());
  EXPECT_EQ(orvandel.allConnectedDeviceNames(), "F:");
  EXPECT_THAT(callsTo("WNetEnumResourceW").back(), HasSubstr("-> 234 needed="));
}

TEST_F(OrvandelListing, EmptyBatchesAreSkippedAndCannotHoldTheCallForEver) {
  connect("F:", "\\\\server\\f");
  provider.serveEmptyBatches(3);
  EXPECT_EQ(orvandel.allConnectedDeviceNames(), "F:");
  EXPECT_THAT(callsTo("WNetEnumResourceW"), SizeIs(5));

  provider.serveEmptyBatches(standin::FOR_EVER);
  EXPECT_EQ(orvandel.allConnectedDeviceNames(), "");
  EXPECT_THAT(callsTo("WNetCloseEnum"), SizeIs(2));
}

TEST_F(OrvandelListing, NamesBeyondTwoThousandBytesAreKeptWhole) {
  std::string expected;
  for (int i = 0; i < 300; ++i) {
    const std::string local = "DEVICE" + std::to_string(i) + ":";
    connect(local.c_str(), "\\\\server\\share");
    expected += local;
  }
  ASSERT_GT(expected.size(), 2000u);
  EXPECT_EQ(orvandel.allConnectedDeviceNames(), expected);
}

#ifdef _WIN64
// Every enumeration test runs with the work buffer and the enumeration
// handles above 4 GiB on 64-bit; this one makes sure they really are there.
TEST_F(OrvandelListing, On64BitRecordsAndHandlesAbove4GiBComeThroughWhole) {
  connect("F:", "\\\\server\\f", "First Network");
  EXPECT_EQ(orvandel.allConnectedDeviceNames(), "F:");
  EXPECT_GT(reinterpret_cast<std::uintptr_t>(orvandel.memory.last), std::uintptr_t{0xFFFFFFFF});
  EXPECT_EQ(orvandel.ask(orvandel.getProviderNameFor, "F:"), "First Network");
}
#endif

TEST_F(OrvandelProviderLookup, AnExactMatchGivesTheProviderAndNothingElse) {
  connect("F:", "\\\\server\\f", "First Network");
  connect("Z:", "\\\\server\\z", "Second Network");
  provider.setBatchLimit(1);
  EXPECT_EQ(orvandel.ask(orvandel.getProviderNameFor, "Z:"), "Second Network");
  EXPECT_EQ(orvandel.ask(orvandel.getProviderNameFor, "F:"), "First Network");
  EXPECT_THAT(callsTo("WNetOpenEnumW"), Each("WNetOpenEnumW scope=1 type=1 usage=0 container=null -> 0"));
  EXPECT_THAT(callsTo("WNetEnumResourceW"), Each(HasSubstr("count=4294967295 size=16384 clean=yes")));
}

TEST_F(OrvandelProviderLookup, TheMatchIsExactByteForByte) {
  connect("Z:", "\\\\server\\z");
  connect(nullptr, "Q:");
  for (const char* drive : {"z:", "Z:\\", "Z", "Z:x", "", "Q:"})
    EXPECT_EQ(orvandel.ask(orvandel.getProviderNameFor, drive), "") << "drive \"" << drive << "\"";
}

TEST_F(OrvandelProviderLookup, PrintersAndProviderlessMatchesGiveNothing) {
  connect("LPT1:", "\\\\server\\printer", "Demo Network", "alice", standin::PRINTER);
  connect("N:", "\\\\server\\n", nullptr);
  EXPECT_EQ(orvandel.ask(orvandel.getProviderNameFor, "LPT1:"), "");
  EXPECT_EQ(orvandel.ask(orvandel.getProviderNameFor, "N:"), "");
}

TEST_F(OrvandelProviderLookup, SuccessWithoutAHandleIsAFailedOpenForBothLookups) {
  connect("Z:", "\\\\server\\z", "Demo Network");
  provider.forceResult("WNetOpenEnumW", NO_ERROR);
  EXPECT_EQ(orvandel.ask(orvandel.getProviderNameFor, "Z:"), "error");
  EXPECT_EQ(orvandel.allConnectedDeviceNames(), "");
  EXPECT_THAT(callsTo("WNetOpenEnumW"), SizeIs(2));
  EXPECT_THAT(callsTo("WNetEnumResourceW"), IsEmpty()) << "nothing is enumerated on a null handle";
  EXPECT_THAT(callsTo("WNetCloseEnum"), IsEmpty());
  EXPECT_EQ(orvandel.memory.allocations, 0);
}

TEST_F(OrvandelProviderLookup, AnAnswerNotInItsBufferIsEachLookupsFailure) {
  connect("F:", "\\\\server\\f", "First Network");
  connect("G:", "\\\\server\\g", "Second Network");
  provider.setBatchLimit(1);
  for (const standin::Corruption corruption : {standin::countLeftAsAsked, standin::countBeyondBuffer,
                                               standin::nameOutsideBuffer, standin::nameUnterminated,
                                               standin::nameMisaligned}) {
    SCOPED_TRACE("corruption " + std::to_string(corruption));
    // The second batch, so that what the first brought is thrown away too.
    provider.corruptBatch(1, corruption);
    EXPECT_EQ(orvandel.ask(orvandel.getProviderNameFor, "F:"), "error");
    EXPECT_EQ(orvandel.allConnectedDeviceNames(), "");
    EXPECT_THAT(callsTo("WNetEnumResourceW").back(), HasSubstr("corrupted"));
  }
}

TEST_F(OrvandelProviderLookup, LongProviderNamesOfRepeatedMatchesAreAppendedWhole) {
  const std::string first(1500, 'a');
  const std::string second(1500, 'b');
  connect("Z:", "\\\\server\\one", first.c_str());
  connect("Z:", "\\\\server\\two", second.c_str());
  provider.setBatchLimit(1);
  EXPECT_EQ(orvandel.ask(orvandel.getProviderNameFor, "Z:"), first + second);
}

}  // namespace
}  // namespace orvandel::test
