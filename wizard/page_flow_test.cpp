#include "wizard/page_flow.h"

#include <gtest/gtest.h>

#include <vector>

namespace averlune {
namespace {

using P = Page;

// Typical setups, each with the pages Next meets from the welcome page and the pages Back meets
// from the last page before the installing page, written out by hand from the skip rules.
struct Walk {
  const char* name;
  PageFlowOptions options;  // Licence, ChangeApplicationFolder, Allow_Desktopicons, Allow_StartMenuFolder,
                            // ChangeStartMenuFolder
  bool startMenuChecked;
  std::vector<Page> forward;  // from the welcome page to the installing page
  std::vector<Page> back;     // from the page before the installing page down to the welcome page
};

const Walk kWalks[] = {
    {"sample: every optional page off", {0, 0, 0, 0, 0}, true, {P::welcome, P::installing}, {P::welcome}},
    {"everything on",
     {1, 1, 1, 1, 1},
     true,
     {P::welcome, P::licence, P::applicationFolder, P::additionalTasks, P::startMenuFolder, P::installing},
     {P::startMenuFolder, P::additionalTasks, P::applicationFolder, P::licence, P::welcome}},
    {"start menu box cleared skips its page",
     {2, 1, 1, 1, 1},
     false,
     {P::welcome, P::licence, P::applicationFolder, P::additionalTasks, P::installing},
     {P::additionalTasks, P::applicationFolder, P::licence, P::welcome}},
    {"only the desktop choice", {0, 0, 1, 0, 0}, true, {P::welcome, P::additionalTasks, P::installing},
     {P::additionalTasks, P::welcome}},
    {"licence and folder off, tasks on",
     {0, 0, 0, 1, 1},
     true,
     {P::welcome, P::additionalTasks, P::startMenuFolder, P::installing},
     {P::startMenuFolder, P::additionalTasks, P::welcome}},
    {"tasks off but start menu page on",
     {0, 1, 0, 0, 1},
     true,
     {P::welcome, P::applicationFolder, P::startMenuFolder, P::installing},
     {P::startMenuFolder, P::applicationFolder, P::welcome}},
    {"any ChangeStartMenuFolder but 0 shows the page while the box is ticked",
     {1, 0, 0, 0, 3},
     true,
     {P::welcome, P::licence, P::startMenuFolder, P::installing},
     {P::startMenuFolder, P::licence, P::welcome}},
    {"and none while it is cleared", {1, 0, 0, 0, 3}, false, {P::welcome, P::licence, P::installing},
     {P::licence, P::welcome}},
};

TEST(PageFlow, NextAndBackWalkTheShownPagesOfTypicalSetups) {
  for (const Walk& walk : kWalks) {
    SCOPED_TRACE(walk.name);
    std::vector<Page> forward{P::welcome};
    for (Page page = P::welcome; page != P::installing && forward.size() < 10;) {
      const PageStep step = nextStep(page, walk.options, walk.startMenuChecked);
      EXPECT_TRUE(step.moved);
      EXPECT_EQ(step.showBackButton, page == P::welcome);
      EXPECT_FALSE(step.hideBackButton);
      EXPECT_EQ(step.startInstallation, step.page == P::installing);
      page = step.page;
      forward.push_back(page);
    }
    EXPECT_EQ(forward, walk.forward);

    std::vector<Page> back{walk.back.front()};
    for (Page page = walk.back.front(); page != P::welcome && back.size() < 10;) {
      const PageStep step = backStep(page, walk.options);
      EXPECT_TRUE(step.moved);
      EXPECT_EQ(step.hideBackButton, step.page == P::welcome);
      EXPECT_FALSE(step.startInstallation);
      page = step.page;
      back.push_back(page);
    }
    EXPECT_EQ(back, walk.back);
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
