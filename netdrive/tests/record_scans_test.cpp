#include "record_scans.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orvandel {
namespace {

// The fields of the platform's resource record that the scans read.
struct Record {
  const char* lpLocalName;
  const char* lpRemoteName;
  const char* lpComment;
  const char* lpProvider;
};

std::string localNames(const std::vector<Record>& batch) {
  std::string names;
  appendLocalNames<Record>(batch, names);
  return names;
}

std::string providerFor(const std::vector<Record>& batch, std::string_view drive) {
  std::string providers;
  appendMatchingProvider<Record>(batch, drive, providers);
  return providers;
}

TEST(OrvandelRecordScans, LocalNamesRunTogetherInBatchOrder) {
  EXPECT_EQ(localNames({{"Z:", "\\\\s\\z", "c", "p"}, {nullptr, "\\\\s\\x", nullptr, nullptr}, {"F:", nullptr, nullptr, nullptr}}),
            "Z:F:");
  EXPECT_EQ(localNames({}), "");
}

TEST(OrvandelRecordScans, TheFirstExactMatchGivesItsProvider) {
  const std::vector<Record> batch{{nullptr, "Z:", nullptr, "Remote only"},
                                  {"z:", nullptr, nullptr, "Lower case"},
                                  {"Z:", nullptr, nullptr, "First"},
                                  {"Z:", nullptr, nullptr, "Second"},
                                  {"", nullptr, nullptr, "Empty local name"},
                                  {"N:", nullptr, nullptr, nullptr}};
  EXPECT_EQ(providerFor(batch, "Z:"), "First");
  EXPECT_EQ(providerFor(batch, "z:"), "Lower case");
  EXPECT_EQ(providerFor(batch, ""), "Empty local name");
  EXPECT_EQ(providerFor(batch, "N:"), "");
  for (const char* drive : {"Z:\\", "Z", "Z:x", "Q:"}) EXPECT_EQ(providerFor(batch, drive), "") << drive;
}

// Under the sanitizers: the check itself never reads past the buffer.
TEST(OrvandelRecordScans, ABatchLiesInItsBufferOnlyWhenEveryTextEndsThere) {
  struct Batch {
    Record records[2];
    char texts[8];
  } batch{{}, {'F', ':', 0, '\\', '\\', 's', 's', 0}};
  const auto liesInBuffer = [&](std::size_t count) { return batchLiesInBuffer<Record>(&batch, sizeof batch, count); };
  batch.records[0] = {batch.texts, batch.texts + 3, nullptr, nullptr};
  EXPECT_TRUE(liesInBuffer(2));
  EXPECT_FALSE(liesInBuffer(sizeof batch / sizeof(Record) + 1));
  const char outside[] = "F:";
  batch.records[1].lpProvider = outside;
  EXPECT_FALSE(liesInBuffer(2));
  EXPECT_TRUE(liesInBuffer(1)) << "records beyond the count are not looked at";
  batch.texts[7] = 'x';  // the last text now runs to the end of the buffer
  EXPECT_FALSE(liesInBuffer(1));
}

TEST(OrvandelRecordScans, MatchesAppendToWhatIsThere) {
  std::string providers = "Earlier";
  appendMatchingProvider<Record>(std::vector<Record>{{"Z:", nullptr, nullptr, "Later"}}, "Z:", providers);
  EXPECT_EQ(providers, "EarlierLater");
}

}  // namespace
}  // namespace orvandel
