// The medium checker's report against foyer.exe itself: every category it says lists rows shows
// those rows, in that order, when clicked in the real window.
#include "platform/win32/WinApi.h"

#include <gtest/gtest.h>

#include "EndToEndBed.h"
#include "check/Checker.h"
#include "toolkit/Application.h"
#include "toolkit/Headless.h"

namespace foyer::test {
namespace {

using EndToEndCheck = EndToEndTest;

TEST_F(EndToEndCheck, EveryListTheCheckerReportsIsTheListFoyerShows) {
  // The checker makes its windows headless, whatever backend a test before left.
  Application().SetBackend(std::make_unique<HeadlessBackend>());
  const TReport report = CheckMedium(FMedium);
  EXPECT_EQ(ExitCodeOf(report), 0) << ReportText(report);
  ASSERT_EQ(report.Categories.size(), Categories().size());
  ASSERT_NO_FATAL_FAILURE(StartFoyer());
  for (const TCheckedCategory& category : report.Categories) {
    if (category.Rows.empty()) continue;
    ASSERT_NO_FATAL_FAILURE(OpenCategory(FMain, category.Folder));
    EXPECT_EQ(ListRows(FList), category.Rows) << category.Folder;
  }
}

}  // namespace
}  // namespace foyer::test
