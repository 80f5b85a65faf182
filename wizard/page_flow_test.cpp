#include "wizard/page_flow.h"

#include <gtest/gtest.h>

#include <vector>

namespace averlune {
namespace {

using P = Page;

// Whether a page is part of the walk for these options, stated page by page rather than as the
// ordered rules the flow applies.
bool pageShown(Page page, const PageFlowOptions& o, bool startMenuChecked) {
  switch (page) {
    case P::licence: return o.Licence != 0;
    case P::applicationFolder: return o.ChangeApplicationFolder != 0;
    case P::additionalTasks: return o.Allow_Desktopicons != 0 || o.Allow_StartMenuFolder != 0;
    case P::startMenuFolder: return o.ChangeStartMenuFolder != 0 && startMenuChecked;
    default: return true;
  }
}

const Page kPagesInOrder[] = {P::welcome, P::licence, P::applicationFolder, P::additionalTasks,
                             P::startMenuFolder, P::installing};

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
        const Page page = kPagesInOrder[from];
        Page expected = P::installing;
        for (int later = from + 1; later < 6; ++later) {
          if (pageShown(kPagesInOrder[later], o, checked)) {
            expected = kPagesInOrder[later];
            break;
          }
        }
        const PageStep step = nextStep(page, o, checked);
        SCOPED_TRACE(testing::Message() << "from " << static_cast<int>(page) << " licence " << o.Licence << " folder "
                                        << o.ChangeApplicationFolder << " allow " << o.Allow_Desktopicons
                                        << o.Allow_StartMenuFolder << " menu " << o.ChangeStartMenuFolder
                                        << " checked " << checked);
        EXPECT_TRUE(step.moved);
        EXPECT_EQ(step.page, expected);
        EXPECT_EQ(step.startInstallation, expected == P::installing);
        EXPECT_EQ(step.showBackButton, page == P::welcome);
        EXPECT_FALSE(step.hideBackButton);
      }
    }
  }
}

TEST(PageFlow, BackLandsOnTheNearestEarlierShownPageButNeverOnTheStartMenuPage) {
  for (const PageFlowOptions& o : everyCombination()) {
    for (int from = 1; from < 5; ++from) {
      const Page page = kPagesInOrder[from];
      Page expected = P::welcome;
      for (int earlier = from - 1; earlier > 0; --earlier) {
        if (pageShown(kPagesInOrder[earlier], o, true)) {
          expected = kPagesInOrder[earlier];
          break;
        }
      }
      const PageStep step = backStep(page, o);
      SCOPED_TRACE(testing::Message() << "from " << static_cast<int>(page) << " licence " << o.Licence << " folder "
                                      << o.ChangeApplicationFolder << " allow " << o.Allow_Desktopicons
                                      << o.Allow_StartMenuFolder);
      EXPECT_TRUE(step.moved);
      EXPECT_EQ(step.page, expected);
      EXPECT_NE(step.page, P::startMenuFolder);
      EXPECT_EQ(step.hideBackButton, expected == P::welcome);
      EXPECT_FALSE(step.startInstallation);
    }
  }
}

TEST(PageFlow, ButtonsDoNothingOnPagesWithoutThatStep) {
  const PageFlowOptions all{1, 1, 1, 1, 1};
  // Entering the installing page twice would start a second installation.
  for (Page page : {P::installing, P::finish, P::none}) {
    EXPECT_FALSE(nextStep(page, all, true).moved) << static_cast<int>(page);
    EXPECT_EQ(nextStep(page, all, true).page, page);
    EXPECT_FALSE(nextStep(page, all, true).startInstallation);
  }
  for (Page page : {P::welcome, P::installing, P::finish, P::none}) {
    EXPECT_FALSE(backStep(page, all).moved) << static_cast<int>(page);
    EXPECT_EQ(backStep(page, all).page, page);
  }
}

TEST(PageFlow, WalksOfTypicalSetups) {
  struct Row {
    const char* name;
    PageFlowOptions options;
    bool startMenuChecked;
    std::vector<Page> forward;  // pages met by pressing Next from the welcome page
  };
  const Row rows[] = {
      {"sample: every optional page off", {0, 0, 0, 0, 0}, true, {P::welcome, P::installing}},
      {"everything on",
       {1, 1, 1, 1, 1},
       true,
       {P::welcome, P::licence, P::applicationFolder, P::additionalTasks, P::startMenuFolder, P::installing}},
      {"start menu box cleared skips its page",
       {2, 1, 1, 1, 1},
       false,
       {P::welcome, P::licence, P::applicationFolder, P::additionalTasks, P::installing}},
      {"only the tasks page", {0, 0, 1, 0, 0}, true, {P::welcome, P::additionalTasks, P::installing}},
      {"licence and folder off, tasks on",
       {0, 0, 0, 1, 1},
       true,
       {P::welcome, P::additionalTasks, P::startMenuFolder, P::installing}},
      {"tasks off but start menu page on",
       {0, 1, 0, 0, 1},
       true,
       {P::welcome, P::applicationFolder, P::startMenuFolder, P::installing}},
  };
  for (const Row& row : rows) {
    std::vector<Page> walked{P::welcome};
    Page page = P::welcome;
    while (page != P::installing && walked.size() < 10) {
      page = nextStep(page, row.options, row.startMenuChecked).page;
      walked.push_back(page);
    }
    EXPECT_EQ(walked, row.forward) << row.name;
  }
}

TEST(PageFlow, ButtonStatesByPage) {
  using C = ButtonChange;
  struct Row {
    Page page;
    int licence;
    bool accepted;
    C next;
    C back;
  };
  const Row rows[] = {
      {P::none, 1, false, C::unchanged, C::unchanged},
      {P::welcome, 1, false, C::enable, C::unchanged},
      {P::licence, 1, false, C::disable, C::unchanged},
      {P::licence, 1, true, C::enable, C::unchanged},
      {P::licence, 2, false, C::enable, C::unchanged},
      {P::licence, -1, false, C::enable, C::unchanged},
      {P::applicationFolder, 1, false, C::unchanged, C::unchanged},
      {P::additionalTasks, 1, false, C::unchanged, C::unchanged},
      {P::startMenuFolder, 1, false, C::unchanged, C::unchanged},
      {P::installing, 0, true, C::disable, C::disable},
      {P::finish, 1, false, C::enable, C::unchanged},
  };
  for (const Row& row : rows) {
    const ButtonStates states = buttonStatesFor(row.page, row.licence, row.accepted);
    const int page = static_cast<int>(row.page);
    EXPECT_EQ(states.next, row.next) << page << " " << row.licence << " " << row.accepted;
    EXPECT_EQ(states.back, row.back) << page << " " << row.licence << " " << row.accepted;
  }
}

TEST(PageFlow, NextActsOnlyWhereTheButtonIsEnabled) {
  EXPECT_TRUE(nextButtonActs(P::welcome, 1, false));
  EXPECT_FALSE(nextButtonActs(P::licence, 1, false));
  EXPECT_TRUE(nextButtonActs(P::licence, 1, true));
  EXPECT_TRUE(nextButtonActs(P::licence, 2, false));
  EXPECT_TRUE(nextButtonActs(P::startMenuFolder, 1, false));
  EXPECT_FALSE(nextButtonActs(P::installing, 0, false));
  EXPECT_TRUE(nextButtonActs(P::finish, 0, false));
  EXPECT_FALSE(nextButtonActs(P::none, 0, false));
}

}  // namespace
}  // namespace averlune
