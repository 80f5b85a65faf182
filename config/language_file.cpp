#include "config/language_file.h"

#include "base/path_text.h"
#include "config/fixed_texts.h"

namespace averlune {
namespace {

constexpr std::u16string_view kAppNameToken = u"<appname>";

struct GroupReader {
  KeyValueFile& file;
  void group(std::u16string_view name) { selectGroup(file, name); }  // a missing group reads empty texts
  void read(std::u16string_view key, std::u16string& text, const char16_t* fallback = u"") const {
    text = readString(file, key, fallback);
  }
};

}  // namespace

LanguageTexts readLanguageTexts(KeyValueFile& file, const std::u16string& appName) {
  LanguageTexts t;
  GroupReader r{file};
  r.group(u"Main");
  r.read(u"Title", t.Main.Title);

  r.group(u"Gadgets");
  r.read(u"NextBtn", t.Gadgets.NextBtn);
  r.read(u"CancelBtn", t.Gadgets.CancelBtn);
  r.read(u"BackBtn", t.Gadgets.BackBtn);
  r.read(u"FinishBtn", t.Gadgets.FinishBtn);
  r.read(u"BrowseBtn", t.Gadgets.BrowseBtn);
  r.read(u"AcceptOptn", t.Gadgets.AcceptOptn);
  r.read(u"DoNotAcceptOptn", t.Gadgets.DoNotAcceptOptn);
  r.read(u"CreateDesktopIconCbx", t.Gadgets.CreateDesktopIconCbx);
  r.read(u"CreateStartMenuFolderCbx", t.Gadgets.CreateStartMenuFolderCbx);
  r.read(u"LaunchProgramCbx", t.Gadgets.LaunchProgramCbx);
  r.read(u"RebootCbx", t.Gadgets.RebootCbx);
  r.read(u"DestinationFolderFR3", t.Gadgets.DestinationFolderFR3);
  r.read(u"SelAppFolder", t.Gadgets.SelAppFolder);
  r.read(u"SelStartMenuFolder", t.Gadgets.SelStartMenuFolder);

  r.group(u"Messages");
  r.read(u"ExitSetupH", t.Messages.ExitSetupH);
  r.read(u"ExitSetup", t.Messages.ExitSetup);
  r.read(u"CouldNotExtractFileH", t.Messages.CouldNotExtractFileH);
  r.read(u"CouldNotExtractFile", t.Messages.CouldNotExtractFile);
  r.read(u"RefusedFolder", t.Messages.RefusedFolder, kRefusedAppFolderText);

  r.group(u"Start");
  r.read(u"Title", t.Start.Title);
  r.read(u"Text", t.Start.Text);

  r.group(u"LicenceAgreement");
  r.read(u"HeadT", t.LicenceAgreement.HeadT);
  r.read(u"HeadB", t.LicenceAgreement.HeadB);
  r.read(u"Text1", t.LicenceAgreement.Text1);

  r.group(u"ApplicationFolder");
  r.read(u"HeadT", t.ApplicationFolder.HeadT);
  r.read(u"HeadB", t.ApplicationFolder.HeadB);
  r.read(u"Text1", t.ApplicationFolder.Text1);
  r.read(u"Text2", t.ApplicationFolder.Text2);
  r.read(u"Text3", t.ApplicationFolder.Text3);
  r.read(u"Text4", t.ApplicationFolder.Text4);

  r.group(u"StartMenuFolder");
  r.read(u"HeadT", t.StartMenuFolder.HeadT);
  r.read(u"HeadB", t.StartMenuFolder.HeadB);
  r.read(u"Text1", t.StartMenuFolder.Text1);
  r.read(u"Text2", t.StartMenuFolder.Text2);

  r.group(u"AdditionalTasks");
  r.read(u"HeadT", t.AdditionalTasks.HeadT);
  r.read(u"HeadB", t.AdditionalTasks.HeadB);
  r.read(u"Text1", t.AdditionalTasks.Text1);
  r.read(u"Text2", t.AdditionalTasks.Text2);

  r.group(u"Installing");
  r.read(u"HeadT", t.Installing.HeadT);
  r.read(u"HeadB", t.Installing.HeadB);
  r.read(u"Text1", t.Installing.Text1);
  r.read(u"Text2", t.Installing.Text2);
  r.read(u"Text3", t.Installing.Text3);

  r.group(u"Finish");
  r.read(u"Title", t.Finish.Title);
  r.read(u"Text1", t.Finish.Text1);

  t.Main.Title = replaceEvery(t.Main.Title, kAppNameToken, appName);
  t.Start.Title = replaceEvery(t.Start.Title, kAppNameToken, appName);
  t.Start.Text = replaceEvery(t.Start.Text, kAppNameToken, appName);
  return t;
}

bool loadLanguageTexts(const std::u16string& path, const std::u16string& appName, LanguageTexts& texts,
                       std::u16string& languageFile) {
  KeyValueFile file;
  if (!open(file, path)) return false;
  texts = readLanguageTexts(file, appName);
  close(file);
  languageFile = path;
  return true;
}

}  // namespace averlune
