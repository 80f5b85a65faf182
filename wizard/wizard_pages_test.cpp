#include "wizard/wizard_pages.h"

#include <gtest/gtest.h>

#include <set>

namespace averlune {
namespace {

// Switching pages hides every panel the table names and shows one: a page panel of the layout that
// no page names would stay up under every page, and two pages on one panel could not be told apart.
TEST(WizardPages, EveryPagePanelOfTheLayoutBelongsToExactlyOnePage) {
  std::set<ControlId> named;
  for (const PageFacts& facts : wizardPages()) {
    EXPECT_EQ(specOf(facts.panel).kind, ControlKind::pagePanel) << static_cast<int>(facts.page);
    EXPECT_TRUE(named.insert(facts.panel).second) << static_cast<int>(facts.page);
  }
  std::set<ControlId> inLayout;
  for (const ControlSpec& spec : wizardLayout()) {
    if (spec.kind == ControlKind::pagePanel) inLayout.insert(spec.id);
  }
  EXPECT_EQ(named, inLayout);
  EXPECT_EQ(factsOf(Page::none).panel, ControlId::none);
}

}  // namespace
}  // namespace averlune
