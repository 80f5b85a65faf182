#include "wizard/page_flow.h"

#include <gtest/gtest.h>

#include <vector>

namespace averlune {
namespace {

// Whether a page is part of the walk for these options, stated page by page rather than as the
// ordered rules the flow applies.
bool pageShown(int page, const PageFlowOptions& o, bool startMenuChecked) {
  switch (page) {
    case kLicencePage: return o.Licence != 0;
    case kApplicationFolderPage: return o.ChangeApplicationFolder != 0;
    case kAdditionalTasksPage: return o.Allow_Desktopicons != 0 || o.Allow_StartMenuFolder != 0;
    case kStartMenuFolderPage: return o.ChangeStartMenuFolder != 0 && startMenuChecked;
    default: return true;
  }
}

const int kPagesInOrder[] = {kWelcomePage, kLicencePage, kApplicationFolderPage, kAdditionalTasksPage,
                             kStartMenuFolderPage, kInstallingPage};

std::vector<PageFlowOptions> everyCombination() {
  std::vector<PageFlowOptions> all;
  for (int licence : {0, 1, 2})
    for (int changeFolder : {0, 1})
      for (int allowDesktop : {0, 1})
        for (int allowStartMenu : {0, 1})
          for (int changeStartMenu : {0, 1, 3}) {
            all.push_back({licence, changeFolder, allowDesktop, allowStartMenu, changeStartMenu});
          }
  return all;
}

TEST(PageFlow, NextLandsOnTheFirstFollowingPageThatIsShown) {
  for (const PageFlowOptions& o : everyCombination()) {
    for (bool checked : {false, true}) {
      for (int from = 0; from < 5; ++from) {
        const int page = kPagesInOrder[from];
        int expected = kInstallingPage;
        for (int later = from + 1; later < 6; ++later) {
          if (pageShown(kPagesInOrder[later], o, checked)) {
            expected = kPagesInOrder[later];
            break;
          }
        }
        const PageStep step = nextStep(page, o, checked);
        SCOPED_TRACE(testing::Message() << "from " << page << " licence " << o.Licence << " folder "
                                        << o.ChangeApplicationFolder << " allow " << o.Allow_Desktopicons
                                        << o.Allow_StartMenuFolder << " menu " << o.ChangeStartMenuFolder
                                        << " checked " << checked);
        EXPECT_TRUE(step.moved);
        EXPECT_EQ(step.page, expected);
        EXPECT_EQ(step.startInstallation, expected == kInstallingPage);
        EXPECT_EQ(step.showBackButton, page == kWelcomePage);
        EXPECT_FALSE(step.hideBackButton);
      }
    }
  }
}

TEST(PageFlow, BackLandsOnTheNearestEarlierShownPageButNeverOnTheStartMenuPage) {
  for (const PageFlowOptions& o : everyCombination()) {
    for (int from = 1; from < 5; ++from) {
      const int page = kPagesInOrder[from];
      int expected = kWelcomePage;
      for (int earlier = from - 1; earlier > 0; --earlier) {
        if (pageShown(kPagesInOrder[earlier], o, true)) {
          expected = kPagesInOrder[earlier];
          break;
        }
      }
      const PageStep step = backStep(page, o);
      SCOPED_TRACE(testing::Message() << "from " << page << " licence " << o.Licence << " folder "
                                      << o.ChangeApplicationFolder << " allow " << o.Allow_Desktopicons
                                      << o.Allow_StartMenuFolder);
      EXPECT_TRUE(step.moved);
      EXPECT_EQ(step.page, expected);
      EXPECT_NE(step.page, kStartMenuFolderPage);
      EXPECT_EQ(step.hideBackButton, expected == kWelcomePage);
      EXPECT_FALSE(step.startInstallation);
    }
  }
}

TEST(PageFlow, ButtonsDoNothingOnPagesWithoutThatStep) {
  const PageFlowOptions all{1, 1, 1, 1, 1};
  // Entering the installing page twice would start a second installation.
  for (int page : {kInstallingPage, kFinishPage, -1, 2}) {
    EXPECT_FALSE(nextStep(page, all, true).moved) << page;
    EXPECT_EQ(nextStep(page, all, true).page, page);
    EXPECT_FALSE(nextStep(page, all, true).startInstallation);
  }
  for (int page : {kWelcomePage, kInstallingPage, kFinishPage, -1, 2}) {
    EXPECT_FALSE(backStep(page, all).moved) << page;
    EXPECT_EQ(backStep(page, all).page, page);
  }
}

TEST(PageFlow, WalksOfTypicalSetups) {
  struct Row {
    const char* name;
    PageFlowOptions options;
    bool startMenuChecked;
    std::vector<int> forward;  // pages met by pressing Next from the welcome page
  };
  const Row rows[] = {
      {"sample: every optional page off", {0, 0, 0, 0, 0}, true, {0, 6}},
      {"everything on", {1, 1, 1, 1, 1}, true, {0, 1, 3, 4, 5, 6}},
      {"start menu box cleared skips its page", {2, 1, 1, 1, 1}, false, {0, 1, 3, 4, 6}},
      {"only the tasks page", {0, 0, 1, 0, 0}, true, {0, 4, 6}},
      {"licence and folder off, tasks on", {0, 0, 0, 1, 1}, true, {0, 4, 5, 6}},
      {"tasks off but start menu page on", {0, 1, 0, 0, 1}, true, {0, 3, 5, 6}},
  };
  for (const Row& row : rows) {
    std::vector<int> walked{kWelcomePage};
    int page = kWelcomePage;
    while (page != kInstallingPage && walked.size() < 10) {
      page = nextStep(page, row.options, row.startMenuChecked).page;
      walked.push_back(page);
    }
    EXPECT_EQ(walked, row.forward) << row.name;
  }
}

TEST(PageFlow, ButtonStatesByPage) {
  using C = ButtonChange;
  struct Row {
    int page;
    int licence;
    bool accepted;
    C next;
    C back;
  };
  const Row rows[] = {
      {-1, 1, false, C::unchanged, C::unchanged},
      {kWelcomePage, 1, false, C::enable, C::unchanged},
      {kLicencePage, 1, false, C::disable, C::unchanged},
      {kLicencePage, 1, true, C::enable, C::unchanged},
      {kLicencePage, 2, false, C::enable, C::unchanged},
      {kLicencePage, -1, false, C::enable, C::unchanged},
      {kApplicationFolderPage, 1, false, C::unchanged, C::unchanged},
      {kAdditionalTasksPage, 1, false, C::unchanged, C::unchanged},
      {kStartMenuFolderPage, 1, false, C::unchanged, C::unchanged},
      {kInstallingPage, 0, true, C::disable, C::disable},
      {kFinishPage, 1, false, C::enable, C::unchanged},
  };
  for (const Row& row : rows) {
    const ButtonStates states = buttonStatesFor(row.page, row.licence, row.accepted);
    EXPECT_EQ(states.next, row.next) << row.page << " " << row.licence << " " << row.accepted;
    EXPECT_EQ(states.back, row.back) << row.page << " " << row.licence << " " << row.accepted;
  }
}

TEST(PageFlow, NextActsOnlyWhereTheButtonIsEnabled) {
  EXPECT_TRUE(nextButtonActs(kWelcomePage, 1, false));
  EXPECT_FALSE(nextButtonActs(kLicencePage, 1, false));
  EXPECT_TRUE(nextButtonActs(kLicencePage, 1, true));
  EXPECT_TRUE(nextButtonActs(kLicencePage, 2, false));
  EXPECT_TRUE(nextButtonActs(kStartMenuFolderPage, 1, false));
  EXPECT_FALSE(nextButtonActs(kInstallingPage, 0, false));
  EXPECT_TRUE(nextButtonActs(kFinishPage, 0, false));
  EXPECT_FALSE(nextButtonActs(-1, 0, false));
}

}  // namespace
}  // namespace averlune
