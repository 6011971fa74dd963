#include "ui/FontSetChoice.h"

#include <gtest/gtest.h>

namespace {

// A listed name loses its registry and encoding: cut after the thirteenth "-", then "*,*".
TEST(FontSetChoice, SearchCandidateCutsAfterTheThirteenthDash) {
  struct Row {
    const char* listed;
    const char* candidate;  // null: skipped
  };
  const Row rows[] = {
      {"-misc-fixed-medium-r-normal--13-120-75-75-c-70-iso8859-1",
       "-misc-fixed-medium-r-normal--13-120-75-75-c-70-*,*"},
      {"-misc-fixed-medium-r-normal--13-120-75-75-c-70-jisx0208.1983-0",
       "-misc-fixed-medium-r-normal--13-120-75-75-c-70-*,*"},
      // Exactly thirteen dashes: the cut falls on the last one.
      {"-a-b-c-d-e--g-h-i-j-k-l-", "-a-b-c-d-e--g-h-i-j-k-l-*,*"},
      {"-a-b-c-d-e-f-g-h-i-j-k-l", nullptr},
      {"fixed", nullptr},
      {"", nullptr},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.listed);
    const std::optional<std::string> candidate = FontSearchCandidate(row.listed);
    if (row.candidate == nullptr) {
      EXPECT_FALSE(candidate.has_value());
    } else {
      ASSERT_TRUE(candidate.has_value());
      EXPECT_EQ(*candidate, row.candidate);
    }
  }
}

}  // namespace
