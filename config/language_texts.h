#pragma once
// The texts of one language file: every page, button and message of the wizard. Each text is one
// line of the file's group of the same name; a missing group or key gives the empty text, and
// nothing falls back to another file or to built-in words, except for the texts added after the
// first language files were written (RefusedFolder), which older files lack: those fall back to
// the built-in English text. Read by config/language_file.h.
//
// Only "<appname>" and "<appversion>" are ever replaced in these texts, matched exactly (case
// included), "<appname>" first. Some replacements happen at load, the others when the wizard is
// built (wizard/wizard_texts.h); every text is settled before anything is shown.
#include <string>

namespace averlune {

struct LanguageTexts {
  struct {
    std::u16string Title;  // "<appname>" replaced at load
  } Main;
  struct {
    std::u16string NextBtn, CancelBtn, BackBtn, FinishBtn, BrowseBtn, AcceptOptn, DoNotAcceptOptn,
        CreateDesktopIconCbx, CreateStartMenuFolderCbx, LaunchProgramCbx, RebootCbx, DestinationFolderFR3,
        SelAppFolder, SelStartMenuFolder;
  } Gadgets;
  struct {
    std::u16string ExitSetupH, ExitSetup, CouldNotExtractFileH, CouldNotExtractFile;
    std::u16string RefusedFolder;  // default kRefusedAppFolderText (config/fixed_texts.h)
  } Messages;
  struct {
    std::u16string Title, Text;  // "<appname>" replaced at load
  } Start;
  struct {
    std::u16string HeadT, HeadB, Text1;
  } LicenceAgreement;
  struct {
    std::u16string HeadT, HeadB, Text1, Text2, Text3, Text4;
  } ApplicationFolder;
  struct {
    std::u16string HeadT, HeadB, Text1, Text2;
  } StartMenuFolder;
  struct {
    std::u16string HeadT, HeadB, Text1, Text2;
  } AdditionalTasks;
  struct {
    std::u16string HeadT, HeadB, Text1, Text2, Text3;
  } Installing;
  struct {
    std::u16string Title, Text1;
  } Finish;
};

}  // namespace averlune
