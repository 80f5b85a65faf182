#include "wizard/keyboard_focus.h"

#include <gtest/gtest.h>

#include <set>

#include "wizard/wizard_pages.h"

namespace averlune {
namespace {

using I = ControlId;
using P = Page;

// Every control can take the focus except the ones named.
FocusCheck allBut(std::set<ControlId> refused) {
  return [refused](ControlId id) { return refused.count(id) == 0; };
}

TEST(KeyboardFocus, EachPageFocusesItsFirstInputOrNext) {
  struct Row {
    Page page;
    std::set<ControlId> refused;
    ControlId target;
  };
  const Row rows[] = {
      {P::welcome, {}, I::nextButton},
      // The licence view is read only; the focus goes to the selected option, whichever it is.
      {P::licence, {I::acceptOption}, I::doNotAcceptOption},
      {P::licence, {I::doNotAcceptOption}, I::acceptOption},
      {P::applicationFolder, {}, I::appFolderField},
      {P::additionalTasks, {}, I::desktopIconCheckBox},
      {P::additionalTasks, {I::desktopIconCheckBox}, I::startMenuCheckBox},
      {P::additionalTasks, {I::desktopIconCheckBox, I::startMenuCheckBox}, I::nextButton},
      {P::startMenuFolder, {}, I::startMenuFolderField},
      {P::installing, {I::nextButton}, I::cancelButton},
      {P::finish, {}, I::finishCheckBox},
      {P::finish, {I::finishCheckBox}, I::nextButton},
      {P::finish, {I::finishCheckBox, I::nextButton, I::cancelButton}, I::none},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(focusTargetOf(row.page, allBut(row.refused)), row.target) << "page " << static_cast<int>(row.page);
  }
}

TEST(KeyboardFocus, TheTargetAlwaysLiesOnThePageShownOrIsABottomButton) {
  for (const PageFacts& facts : wizardPages()) {
    const Page page = facts.page;
    std::set<ControlId> refused;
    // Refuse each target in turn until the page has nothing left: every answer met on the way must
    // be inside the page's panel or one of the buttons under it.
    for (ControlId target = focusTargetOf(page, allBut(refused)); target != I::none;
         target = focusTargetOf(page, allBut(refused))) {
      const bool bottomButton = target == I::nextButton || target == I::cancelButton;
      ControlId parent = specOf(target).parent;
      while (parent != I::none && parent != facts.panel) parent = specOf(parent).parent;
      EXPECT_TRUE(bottomButton || parent == facts.panel) << "page " << static_cast<int>(page) << " target " << int(target);
      ASSERT_TRUE(refused.insert(target).second);
    }
  }
}

}  // namespace
}  // namespace averlune
