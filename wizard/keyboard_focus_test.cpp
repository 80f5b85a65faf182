#include "wizard/keyboard_focus.h"

#include <gtest/gtest.h>

#include <set>

#include "wizard/page_flow.h"

namespace averlune {
namespace {

using I = ControlId;

// Every control can take the focus except the ones named.
FocusCheck allBut(std::set<ControlId> refused) {
  return [refused](ControlId id) { return refused.count(id) == 0; };
}

TEST(KeyboardFocus, EachPageFocusesItsFirstInputOrNext) {
  struct Row {
    int page;
    std::set<ControlId> refused;
    ControlId target;
  };
  const Row rows[] = {
      {kWelcomePage, {}, I::nextButton},
      // The licence view is read only; the focus goes to the selected option, whichever it is.
      {kLicencePage, {I::acceptOption}, I::doNotAcceptOption},
      {kLicencePage, {I::doNotAcceptOption}, I::acceptOption},
      {kApplicationFolderPage, {}, I::appFolderField},
      {kAdditionalTasksPage, {}, I::desktopIconCheckBox},
      {kAdditionalTasksPage, {I::desktopIconCheckBox}, I::startMenuCheckBox},
      {kAdditionalTasksPage, {I::desktopIconCheckBox, I::startMenuCheckBox}, I::nextButton},
      {kStartMenuFolderPage, {}, I::startMenuFolderField},
      {kInstallingPage, {I::nextButton}, I::cancelButton},
      {kFinishPage, {}, I::finishCheckBox},
      {kFinishPage, {I::finishCheckBox}, I::nextButton},
      {kFinishPage, {I::finishCheckBox, I::nextButton, I::cancelButton}, I::none},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(focusTargetOf(row.page, allBut(row.refused)), row.target) << "page " << row.page;
  }
}

TEST(KeyboardFocus, TheTargetAlwaysLiesOnThePageShownOrIsABottomButton) {
  for (int page : {kWelcomePage, kLicencePage, kApplicationFolderPage, kAdditionalTasksPage, kStartMenuFolderPage,
                   kInstallingPage, kFinishPage}) {
    std::set<ControlId> refused;
    // Refuse each target in turn until the page has nothing left: every answer met on the way must
    // be inside the page's panel or one of the buttons under it.
    for (ControlId target = focusTargetOf(page, allBut(refused)); target != I::none;
         target = focusTargetOf(page, allBut(refused))) {
      const bool bottomButton = target == I::nextButton || target == I::cancelButton;
      ControlId parent = specOf(target).parent;
      while (parent != I::none && parent != pagePanelOf(page)) parent = specOf(parent).parent;
      EXPECT_TRUE(bottomButton || parent == pagePanelOf(page)) << "page " << page << " target " << int(target);
      ASSERT_TRUE(refused.insert(target).second);
    }
  }
}

}  // namespace
}  // namespace averlune
