#include "wizard/wizard_pages.h"

namespace averlune {
namespace {

using C = ButtonChange;
using I = ControlId;
using P = Page;

bool licenceShown(const PageFlowOptions& o, bool) { return o.Licence != 0; }
bool folderShown(const PageFlowOptions& o, bool) { return o.ChangeApplicationFolder != 0; }
bool tasksShown(const PageFlowOptions& o, bool) { return o.Allow_Desktopicons != 0 || o.Allow_StartMenuFolder != 0; }
bool startMenuShown(const PageFlowOptions& o, bool startMenuChecked) {
  return o.ChangeStartMenuFolder != 0 && startMenuChecked;
}

constexpr std::array<PageFacts, kPageCount> kPages = {{
    {P::welcome, I::welcomePanel, true, false, C::enable, C::unchanged, false, nullptr},
    {P::licence, I::licencePanel, true, true, C::enable, C::unchanged, true, licenceShown},
    {P::applicationFolder, I::appFolderPanel, true, true, C::unchanged, C::unchanged, false, folderShown},
    {P::additionalTasks, I::tasksPanel, true, true, C::unchanged, C::unchanged, false, tasksShown},
    {P::startMenuFolder, I::startMenuPanel, true, true, C::unchanged, C::unchanged, false, startMenuShown},
    {P::installing, I::installingPanel, false, false, C::disable, C::disable, false, nullptr},
    {P::finish, I::finishPanel, false, false, C::enable, C::unchanged, false, nullptr},
}};

constexpr PageFacts kNoPage = {P::none, I::none, false, false, C::unchanged, C::unchanged, false, nullptr};

constexpr bool rowsMatchTheirPages() {
  for (std::size_t i = 0; i < kPages.size(); ++i) {
    if (static_cast<std::size_t>(kPages[i].page) != i) return false;
  }
  return true;
}
static_assert(rowsMatchTheirPages(), "the row of each page must sit at the index of its page");

}  // namespace

const std::array<PageFacts, kPageCount>& wizardPages() { return kPages; }

const PageFacts& factsOf(Page page) {
  const auto at = static_cast<std::size_t>(page);
  return at < kPages.size() ? kPages[at] : kNoPage;
}

}  // namespace averlune
