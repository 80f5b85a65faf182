#include "wizard/wizard_texts.h"

#include <gtest/gtest.h>

#include "config/setup_script.h"

namespace averlune {
namespace {

using I = ControlId;

LanguageTexts placeholderTexts() {
  LanguageTexts t;
  t.Start.Title = u"Welcome to Tool";  // "<appname>" already replaced at load
  t.Start.Text = u"Install Tool <appversion> <AppVersion>";
  t.ApplicationFolder.Text1 = u"<appname> <appversion>";
  t.ApplicationFolder.Text3 = u"Required free space:";
  t.ApplicationFolder.Text4 = u"Available free space:";
  t.StartMenuFolder.Text1 = u"<appname> stays";
  t.AdditionalTasks.Text1 = u"While installing <appname> <appversion>,";
  t.AdditionalTasks.Text2 = u"Additional icons:";
  t.Installing.HeadB = u"Installing <appname> <appversion>";
  t.Finish.Title = u"Completing <appname> / <AppName>";
  t.Finish.Text1 = u"<appname><appname>";
  t.Gadgets.LaunchProgramCbx = u"Launch";
  t.Gadgets.RebootCbx = u"Reboot computer now";
  return t;
}

SetupOptions toolOptions() {
  SetupOptions o;
  o.Appname = u"Tool";
  o.Version = u"2";
  o.TotalSize = u"1.7 MB";
  o.InstallDir = u"C:\\Program Files\\Tool\\";
  o.ShortcutFolder = u"Tool\\";
  return o;
}

TEST(WizardTexts, BuildTimeReplacementsPerControl) {
  const LanguageTexts t = placeholderTexts();
  const SetupOptions o = toolOptions();
  const std::pair<ControlId, std::u16string> rows[] = {
      {I::welcomeTitle, u"Welcome to Tool"},
      {I::welcomeText, u"Install Tool 2 <AppVersion>"},
      {I::appFolderIntro, u"Tool 2"},
      {I::startMenuIntro, u"<appname> stays"},
      {I::tasksText, u"While installing Tool 2,\n\n\nAdditional icons:"},
      {I::installingHeaderSubtitle, u"Installing Tool <appversion>"},
      {I::finishTitle, u"Completing Tool / <AppName>"},
      {I::finishText, u"ToolTool"},
      {I::requiredSpaceLabel, u"Required free space: 1.7 MB"},
      {I::availableSpaceLabel, u"Available free space: 10.1 GB"},
      {I::appFolderField, u"C:\\Program Files\\Tool\\"},
      {I::startMenuFolderField, u"Tool\\"},
      {I::welcomePanel, u""},
      {I::licenceView, u""},
  };
  for (const auto& [id, expected] : rows) {
    EXPECT_EQ(wizardControlText(id, t, o, u"10.1 GB"), expected) << static_cast<int>(id);
  }
}

TEST(WizardTexts, AppNameIsReplacedBeforeVersion) {
  LanguageTexts t;
  t.ApplicationFolder.Text1 = u"<appname>";
  SetupOptions o;
  o.Appname = u"Tool <appversion>";
  o.Version = u"3";
  EXPECT_EQ(wizardControlText(I::appFolderIntro, t, o, u""), u"Tool 3");
}

TEST(WizardTexts, EmptyLanguageTextsKeepTheSeparators) {
  const LanguageTexts empty;
  SetupOptions o;
  EXPECT_EQ(wizardControlText(I::nextButton, empty, o, u"ERROR"), u"");
  EXPECT_EQ(wizardControlText(I::requiredSpaceLabel, empty, o, u"ERROR"), u" ");
  EXPECT_EQ(wizardControlText(I::availableSpaceLabel, empty, o, u"ERROR"), u" ERROR");
  EXPECT_EQ(wizardControlText(I::tasksText, empty, o, u""), u"\n\n\n");
}

TEST(WizardTexts, FinishCheckBoxByAddition) {
  const LanguageTexts t = placeholderTexts();
  SetupOptions o = toolOptions();
  const std::pair<int, std::u16string> rows[] = {
      {1, u"Reboot computer now"}, {2, u"Launch Tool"}, {0, u""}, {3, u""}};
  for (const auto& [addition, caption] : rows) {
    o.Addition = addition;
    EXPECT_EQ(wizardControlText(I::finishCheckBox, t, o, u""), caption) << addition;
    EXPECT_EQ(controlExists(I::finishCheckBox, o), addition == 1 || addition == 2) << addition;
  }
}

TEST(WizardLayout, ParentsComeFirstAndPagesInTheirCreationOrder) {
  const auto& layout = wizardLayout();
  std::vector<ControlId> panels;
  for (std::size_t i = 0; i < layout.size(); ++i) {
    const ControlSpec& spec = layout[i];
    if (spec.parent != I::none) {
      EXPECT_LT(static_cast<std::size_t>(spec.parent), i) << i;
    }
    if (spec.kind == ControlKind::pagePanel) panels.push_back(spec.id);
  }
  EXPECT_EQ(panels, (std::vector<ControlId>{I::welcomePanel, I::licencePanel, I::appFolderPanel, I::startMenuPanel,
                                            I::finishPanel, I::tasksPanel, I::installingPanel}));
  // The buttons come before every page.
  EXPECT_LT(static_cast<int>(I::cancelButton), static_cast<int>(I::welcomePanel));
}

TEST(WizardLayout, ClientPositionsOfNestedControls) {
  struct Row {
    ControlId id;
    ClientRect rect;
  };
  const Row rows[] = {
      {I::welcomeTitle, {179, 14, 305, 70}},
      {I::finishCheckBox, {179, 167, 300, 20}},
      {I::installingHeaderPicture, {440, 1, 55, 55}},
      {I::licenceHeaderSubtitle, {25, 27, 355, 40}},
      {I::progressBar, {25, 117, 442, 17}},
      {I::separatorAboveButtons, {0, 313, 497, 2}},
  };
  for (const Row& row : rows) {
    const ClientRect r = clientRectOf(row.id);
    EXPECT_EQ(r.x, row.rect.x) << static_cast<int>(row.id);
    EXPECT_EQ(r.y, row.rect.y) << static_cast<int>(row.id);
    EXPECT_EQ(r.width, row.rect.width) << static_cast<int>(row.id);
    EXPECT_EQ(r.height, row.rect.height) << static_cast<int>(row.id);
  }
}

TEST(WizardLayout, TheSeparatorAboveTheButtonsExistsOnlyWithLabelOne) {
  SetupOptions o;
  EXPECT_FALSE(controlExists(I::separatorAboveButtons, o));
  o.label = 1;
  EXPECT_TRUE(controlExists(I::separatorAboveButtons, o));
  o.label = 2;
  EXPECT_FALSE(controlExists(I::separatorAboveButtons, o));
}

}  // namespace
}  // namespace averlune
