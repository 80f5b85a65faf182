// The authoring check over small configuration and application folders, one scenario per kind of
// problem: each must be found at its file and line with its severity, and nothing else with it.
#include "authoring/setup_check.h"

#include <gtest/gtest.h>

#include "authoring/path_utf8.h"
#include "authoring/authoring_test_support.h"
#include "authoring/picture_header.h"
#include "pictures/bitmap_test_support.h"

namespace averlune {
namespace {

using namespace averlune::testing;
using Severity = CheckProblem::Severity;

const std::string kOs = "Windows 7 = 1\r\n";
// The groups of a language file that the scenarios do not look into, one text each.
const std::string kOtherGroups =
    "[Messages]\r\nExitSetup = Exit?\r\n[Start]\r\nTitle = Welcome\r\n[LicenceAgreement]\r\nHeadT = Licence\r\n"
    "[ApplicationFolder]\r\nHeadT = Folder\r\n[StartMenuFolder]\r\nHeadT = Menu\r\n[AdditionalTasks]\r\nHeadT = Tasks\r\n"
    "[Installing]\r\nHeadT = Installing\r\n";
const std::string kLanguage = "//English\r\n[Main]\r\nTitle = <appname> Setup\r\n[Gadgets]\r\nNextBtn = Next >\r\n" +
                              kOtherGroups + "[Finish]\r\nTitle = Done\r\n[Uninstall]\r\nBM_T = Uninstall\r\n";

// A configuration folder that checks clean until a scenario changes it, and an application folder.
struct Folders {
  TempFolder temp;
  fs::path config = temp.path / "config";
  fs::path app = temp.path / "app";
  Folders() {
    fs::create_directories(config);
    fs::create_directories(app / "bin");
    put("SC.dat", "[Setup]\r\nAppname = Demo\r\nLanguages = 1\r\n");
    put("OS.dat", kOs);
    put("Default.avl", kLanguage);
    writeFile(app / "bin" / "Demo.exe", "MZ");
  }
  void put(const std::string& name, const std::string& bytes) { writeFile(config / name, bytes); }
  CheckProblems check(bool withApp = true) const { return checkSetup(config, withApp ? app : fs::path()); }
};

// The problems as "file:line: severity: text" lines with the folder left out and "/" between
// levels on every system, for readable failures.
std::vector<std::string> lines(const CheckProblems& problems, const fs::path& base) {
  std::vector<std::string> result;
  for (CheckProblem problem : problems) {
    const std::string file = genericUtf8Text(problem.file.lexically_relative(base));
    problem.file.clear();
    result.push_back(file + problemLine(problem));
  }
  return result;
}

::testing::AssertionResult reports(const CheckProblems& problems, const fs::path& base,
                                   const std::vector<std::string>& expected) {
  const std::vector<std::string> found = lines(problems, base);
  if (found.size() == expected.size() &&
      std::equal(found.begin(), found.end(), expected.begin(),
                 [](const std::string& line, const std::string& start) { return line.rfind(start, 0) == 0; })) {
    return ::testing::AssertionSuccess();
  }
  auto failure = ::testing::AssertionFailure() << "found:";
  for (const std::string& line : found) failure << "\n  " << line;
  return failure;
}

TEST(SetupCheck, ACompleteSmallSetupIsCleanAndExitCodesFollowTheWorstProblem) {
  Folders f;
  EXPECT_TRUE(reports(f.check(), f.config, {}));
  EXPECT_EQ(checkExitCode({}, true), 0);
  const CheckProblems warning = {{Severity::warning, "a", 1, "w", ""}};
  EXPECT_EQ(checkExitCode(warning, false), 0);
  EXPECT_EQ(checkExitCode(warning, true), 1);
  CheckProblems both = warning;
  both.push_back({Severity::error, "b", 0, "e", ""});
  EXPECT_EQ(checkExitCode(both, false), 2);
  EXPECT_EQ(problemLine(both[0]), "a:1: warning: w");
  EXPECT_EQ(problemLine(both[1]), "b: error: e");
}

TEST(SetupCheck, ScriptKeysTheSetupNeverReads) {
  Folders f;
  f.put("SC.dat",
        "Appname = Early\r\n"          // 1: before any group
        "[Setup]\r\n"                  // 2
        "Appnme = Demo\r\n"            // 3: misspelt
        "Languages = 1\r\n"            // 4
        "LANGUAGES = 2\r\n"            // 5: a repeat, letter case aside
        "; Licence = 1\r\n"            // 6: a comment
        "Colour = blue\r\n"            // 7: nothing like any key
        "[Setpu]\r\n"                  // 8: unknown group
        "Licence = 1\r\n"              // 9: not reported again
        "[setup]\r\n"                  // 10: the group again
        "Version = 2\r\n");            // 11
  EXPECT_TRUE(reports(f.check(), f.config,
                      {"SC.dat:1: warning: the key Appname stands before any group, so the setup never reads it; move it under its "
                       "group [manual: The setup script, SC.dat]",
                       "SC.dat:3: warning: unknown key Appnme in [Setup], which the setup never reads; write Appname if that was "
                       "meant [manual: The setup script, SC.dat]",
                       "SC.dat:5: warning: the key LANGUAGES repeats line 4, and the setup reads only the first; delete one",
                       "SC.dat:7: warning: unknown key Colour in [Setup], which the setup never reads; correct or delete it",
                       "SC.dat:8: warning: unknown group [Setpu], whose keys the setup never reads; write Setup if that was meant",
                       "SC.dat:10: warning: the group [setup] repeats the one at line 2; the setup reads only the first, so the keys "
                       "under this one are never read; move them into the first"}));

  f.put("SC.dat", "[Options]\r\nLanguages = 1\r\n");
  EXPECT_TRUE(reports(f.check(), f.config,
                      {"SC.dat: warning: no group [Setup]: every option of the script takes its default; add the group [Setup]",
                       "SC.dat:1: warning: unknown group [Options]"}));

  // A 0/1 option that holds another value does half of what either would.
  f.put("SC.dat", "[Setup]\r\nLanguages = 1\r\nUninstaller = 2\r\nlabel = 1\r\nDesktopicon = -1\r\nAddition = 2\r\n");
  EXPECT_TRUE(reports(f.check(), f.config,
                      {"SC.dat:5: warning: Desktopicon = -1 is neither 0 nor 1, so the desktop check box starts ticked, but no "
                       "desktop shortcut is made even when it is ticked; set Desktopicon to 0 or 1 [manual: The setup script, "
                       "SC.dat]",
                       "SC.dat:3: warning: Uninstaller = 2 is neither 0 nor 1, so no uninstaller, uninstall log or "
                       "uninstall entry is written, as with 0"}));
}

TEST(SetupCheck, AProgramRunThatIsNoFullPathOnceExpandedIsNeverStarted) {
  Folders f;
  const struct {
    std::string programRun;
    bool warned;
  } rows[] = {
      {"<installpath>\\bin\\Demo.exe", false},
      {"<installpath>\\", false},  // the folder itself, which opens
      {"\"<programfiles>\\<appname>\\Demo.exe\" /first", false},
      {"<windows>\\notepad.exe", false},
      {"<mytool>\\Demo.exe", false},  // an author variable, known only on the target system
      {"C:\\Tools\\Demo.exe", false},
      {"Demo.exe", true},
      {"bin\\Demo.exe", true},
      {"\"Demo.exe\" /first", true},
      {"<appname>.exe", true},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.programRun);
    f.put("SC.dat", "[Setup]\r\nAppname = Demo\r\nLanguages = 1\r\nAddition = 2\r\nProgramRun = " + row.programRun +
                        "\r\n");
    if (row.warned) {
      EXPECT_TRUE(reports(f.check(), f.config,
                          {"SC.dat:5: warning: ProgramRun = " + row.programRun +
                           " is no full path once expanded, so Finish starts nothing (a program named without its folder "
                           "would be searched for, also in folders a user can write to); begin it with <installpath>\\ "
                           "or another folder [manual: The setup script, SC.dat]"}));
    } else {
      EXPECT_TRUE(reports(f.check(), f.config, {}));
    }
  }
  // Without the finish page's launch nothing is started, whatever ProgramRun says.
  f.put("SC.dat", "[Setup]\r\nAppname = Demo\r\nLanguages = 1\r\nAddition = 1\r\nProgramRun = Demo.exe\r\n");
  EXPECT_TRUE(reports(f.check(), f.config, {}));
}

// An InstallDir the uninstaller would refuse stops every run that asks for no folder; the check
// says which runs those are. Only a setup with an uninstaller refuses anything.
TEST(SetupCheck, AnInstallDirTheUninstallerWouldRefuseIsNamed) {
  Folders f;
  const struct {
    std::string installDir;
    bool warned;
  } rows[] = {
      {"<programfiles>\\<appname>\\", false},
      {"<appdata>\\<appname>\\", false},  // a per-user installation
      {"D:\\Apps\\Demo\\", false},
      {"<myroot>\\Demo\\", false},        // an author variable, known only on the target system
      {"<programfiles>\\", true},
      {"<programfiles>\\<company>", true},  // Company is empty: Program Files itself
      {"<windows>\\Demo\\", true},
      {"<desktop>", true},
      {"C:\\", true},
      {"Demo", true},                       // no full path
      {"", true},                           // nowhere at all
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.installDir);
    for (const char* page : {"0", "1"}) {
      f.put("SC.dat", "[Setup]\r\nAppname = Demo\r\nLanguages = 1\r\nUninstaller = 1\r\nChangeApplicationFolder = " +
                          std::string(page) + "\r\nInstallDir = " + row.installDir + "\r\n");
      const std::string who = page == std::string("0") ? "every installation" : "a silent installation (/S)";
      if (row.warned) {
        EXPECT_TRUE(reports(f.check(), f.config,
                            {"SC.dat:6: warning: InstallDir = " + row.installDir +
                             " is no folder of its own (a drive root, a folder of Windows, Program Files itself or a "
                             "user's profile folder), which the uninstaller could never remove the application from, "
                             "so " + who + " stops before writing anything; name a folder of its own, such as "
                             "<programfiles>\\<appname>\\ [manual: The setup script, SC.dat]"}));
      } else {
        EXPECT_TRUE(reports(f.check(), f.config, {}));
      }
    }
  }
  f.put("SC.dat", "[Setup]\r\nAppname = Demo\r\nLanguages = 1\r\nInstallDir = C:\\\r\n");
  EXPECT_TRUE(reports(f.check(), f.config, {}));
}

TEST(SetupCheck, LanguageFileKeysTheWizardNeverReads) {
  Folders f;
  // Lower-case group names are found; "//" lines are the authors' comments; the uninstaller's
  // group is not judged here.
  f.put("Default.avl",
        "//English\r\n[main]\r\nTitle = T\r\n[Gadgets]\r\nNxtBtn = Next >\r\nCancelBtn = Cancel\r\n[Finish]\r\n"
        "Text1 = Done\r\nHeadT = Finished\r\n[Uninstall]\r\nWhatever = x\r\n" + kOtherGroups);
  f.put("German.avl",
        "[Main]\r\nTitle = T\r\n[Gadgets]\r\nNextBtn = Weiter >\r\n[Finish]\r\nText1 = Fertig\r\n" + kOtherGroups);
  EXPECT_TRUE(reports(f.check(), f.config,
                      {"Default.avl:5: warning: unknown key NxtBtn in [Gadgets], which the setup never reads; write NextBtn if "
                       "that was meant [manual: Language files]",
                       "Default.avl:9: warning: unknown key HeadT in [Finish]"}));

  f.put("Default.avl", "[Main]\r\nTitle = T\r\n");
  f.put("German.avl", "[Main]\r\nTitle = T\r\n[Gadgets]\r\n[Start]\r\n[LicenceAgreement]\r\n[ApplicationFolder]\r\n"
                      "[StartMenuFolder]\r\n[AdditionalTasks]\r\n[Installing]\r\n[Finish]\r\n[Messages]\r\n");
  const std::vector<std::string> missing = {"Gadgets", "Messages", "Start", "LicenceAgreement", "ApplicationFolder",
                                            "StartMenuFolder", "AdditionalTasks", "Installing", "Finish"};
  std::vector<std::string> expected;
  for (const std::string& group : missing) expected.push_back("Default.avl: warning: no group [" + group + "]: its texts show empty; add the group [" + group + "]");
  EXPECT_TRUE(reports(f.check(), f.config, expected));
}

TEST(SetupCheck, LanguagesSettingAgainstLanguagesDatAndTheLanguageFiles) {
  Folders f;
  // One language: Default.avl is required and languages.dat goes unused.
  fs::remove(f.config / "Default.avl");
  f.put("languages.dat", "English\r\nDeutsch\r\n");
  f.put("English.avl", kLanguage);
  f.put("deutsch.avl", kLanguage);  // found as the setup's work folder finds it, letter case aside
  CheckProblems problems = f.check();
  EXPECT_TRUE(reports(problems, f.config,
                      {"SC.dat:3: error: there is no Default.avl, the language file of a one-language setup (Languages 1), so the "
                       "setup stops with \"Setup Error!\"; add Default.avl with the wizard's texts [manual: Language files]",
                       "SC.dat:3: warning: Languages = 1 never shows the language dialog, so the 2 languages of "
                       "languages.dat are never offered; set Languages to their number or delete languages.dat"}));
  EXPECT_EQ(checkExitCode(problems, false), 2);

  // The dialog: every line needs its file, and the count should agree.
  f.put("SC.dat", "[Setup]\r\nLanguages = 3\r\n");
  f.put("languages.dat", "English\r\nFran\xC3\xA7" "ais\r\nDeutsch \r\n");
  EXPECT_TRUE(reports(f.check(), f.config,
                      {"languages.dat:2: error: there is no language file \"Fran\xC3\xA7" "ais.avl\" for the language",
                       "languages.dat:3: error: there is no language file \"Deutsch .avl\" for the language \"Deutsch \", so choosing "
                       "it fails with \"Could not load the language file!\"; add Deutsch .avl or delete the line "
                       "[manual: Several languages, languages.dat]"}));
  f.put("SC.dat", "[Setup]\r\nLanguages = 2\r\n");
  f.put("languages.dat", "English\r\nDeutsch\r\n\r\n");
  EXPECT_TRUE(reports(f.check(), f.config,
                      {"SC.dat:2: warning: Languages = 2 disagrees with languages.dat, which names 3 languages; set Languages = 3",
                       "languages.dat:3: error: there is no language file \".avl\""}));

  fs::remove(f.config / "languages.dat");
  f.put("SC.dat", "[Setup]\r\nLanguages =\r\n");  // an empty number reads as 0: the dialog
  EXPECT_TRUE(reports(f.check(), f.config,
                      {"SC.dat:2: error: Languages = 0 shows the language dialog, which needs languages.dat, so the setup stops "
                       "with \"Setup Error!\"; add languages.dat with one language name a line, or set Languages = 1"}));
  f.put("languages.dat", "");
  EXPECT_TRUE(reports(f.check(), f.config, {"languages.dat: error: languages.dat names no language, so the language dialog offers nothing to choose; "
                                            "write one language name a line into it"}));
}

std::string registryRecord(const std::string& root, const std::string& flag) {
  return root + "\r\nSoftware/Acme\r\nPath\r\n<installpath>\r\n" + flag;
}

TEST(SetupCheck, RegistryRootsAndUninstallFlags) {
  Folders f;
  const std::string one("\x01\0\0\0", 4);
  const std::string zero(4, '\0');
  f.put("SC.dat", "[Setup]\r\nLanguages = 1\r\nRegistry = 1\r\n");
  f.put("Registry.dat", registryRecord("HKEY_LOCAL_MACHINE", one) +       // line 1: fine
                            registryRecord("HKLM", zero) +                 // line 5: not mapped
                            registryRecord("hkey_users", "0001") +         // line 9: flag as text
                            registryRecord("HKEY_CURRENT_USER", "\x02\0"));  // line 13: flag cut short
  EXPECT_TRUE(reports(f.check(), f.config,
                      {"Registry.dat:5: warning: the root \"HKLM\" is not HKEY_CLASSES_ROOT",
                       "Registry.dat:9: warning: the root \"hkey_users\" is not",
                       "Registry.dat:13: warning: the uninstall flag of the record of line 9 is the bytes 30 30 30 31, "
                       "not 00 00 00 00 (keep) or 01 00 00 00 (remove at uninstall); it looks written as text, and the records after "
                       "it are read out of step; write the flag as those 4 bytes, not as text [manual: Registry values, "
                       "Registry.dat]",
                       "Registry.dat:17: warning: the record of line 13 ends without its 4 uninstall flag bytes; end it with the "
                       "bytes 00 00 00 00 (keep) or 01 00 00 00 (remove at uninstall)"}));

  // A flag written as a line of its own puts every later record out of step; the check says where.
  f.put("Registry.dat", registryRecord("HKEY_USERS", "1\r\n") + registryRecord("HKEY_USERS", zero));
  EXPECT_TRUE(reports(f.check(), f.config,
                      {"Registry.dat:5: warning: the uninstall flag of the record of line 1 is the bytes 31 0D 0A 48",
                       "Registry.dat:5: warning: the root \"KEY_USERS\" is not"}));

  f.put("SC.dat", "[Setup]\r\nLanguages = 1\r\nRegistry = 0\r\n");
  f.put("Registry.dat", registryRecord("HKEY_USERS", zero));
  EXPECT_TRUE(reports(f.check(), f.config,
                      {"SC.dat:3: warning: Registry is not 1, so the values of Registry.dat are never written; set Registry = 1 or "
                       "delete Registry.dat [manual: Registry values, Registry.dat]"}));
}

TEST(SetupCheck, ShortcutTargetsInTheApplicationFolder) {
  Folders f;
  f.put("Startmenu.dat",
        "<installpath>\\bin\\demo.EXE\r\nDemo\r\n\r\n"          // 1: found, letter case aside
        "<installpath>/bin/Missing.exe\r\nMissing\r\n\r\n"     // 4: no such file
        "\"<installpath>\\bin\"\r\nFolder\r\n\r\n"               // 7: the folder itself, quoted
        "<installpath>\\<tool>.exe\r\nVariable\r\n\r\n"          // 10: only known at run time
        "<windir>\\notepad.exe\r\nNotepad\r\n");                  // 13: outside; cut short
  f.put("Desktop.dat", "<installpath>\\Demo.exe\r\nDemo\r\n\r\n");
  EXPECT_TRUE(reports(f.check(), f.config,
                      {"Desktop.dat:1: warning: the shortcut target <installpath>\\Demo.exe names no file of the "
                       "application folder; correct the path or add the file to the application folder [manual: Shortcuts, "
                       "Desktop.dat and Startmenu.dat]",
                       "Startmenu.dat:4: warning: the shortcut target <installpath>/bin/Missing.exe names no file",
                       "Startmenu.dat:13: warning: the shortcut record of line 13 has 2 of its 3 lines (target, name, arguments); "
                       "add the missing lines"}));
  // Without an application folder only the lists' form is checked.
  EXPECT_TRUE(reports(f.check(false), f.config, {"Startmenu.dat:13: warning: the shortcut record of line 13 has 2"}));
}

// A JPEG's structure as the check reads it: start, frame header, scan header, data, end.
std::string jpeg(int width, int height, int components, bool ended = true, char frame = '\xC0') {
  std::string bytes = "\xFF\xD8";
  const int frameLength = 8 + 3 * components;
  bytes += std::string("\xFF") + frame + char(frameLength >> 8) + char(frameLength & 0xFF) + '\x08' +
           char(height >> 8) + char(height & 0xFF) + char(width >> 8) + char(width & 0xFF) + char(components);
  for (int c = 1; c <= components; ++c) bytes += std::string{char(c), '\x11', '\0'};
  bytes += std::string("\xFF\xDA\0\x08\x01\x01\0\0\x3F\0", 10) + "\x12\x34\xFF\x00\x56";
  if (ended) bytes += "\xFF\xD9";
  return bytes;
}

// A bottom-up 24-bit bitmap of width x height; `cut` bytes are taken off its end.
std::string bitmap(int width, int height, std::size_t cut = 0) {
  const std::size_t row = (static_cast<std::size_t>(width) * 3 + 3) / 4 * 4;
  std::string bytes(54 + row * static_cast<std::size_t>(height), '\0');
  const auto put32 = [&](std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>(v >> (8 * i));
  };
  bytes[0] = 'B';
  bytes[1] = 'M';
  put32(2, static_cast<std::uint32_t>(bytes.size()));
  put32(10, 54);
  put32(14, 40);
  put32(18, static_cast<std::uint32_t>(width));
  put32(22, static_cast<std::uint32_t>(height));
  bytes[26] = 1;
  bytes[28] = 24;
  bytes.resize(bytes.size() - cut);
  return bytes;
}

// A real baseline JPEG of 8 x 8 black pixels (grey or colour) that claims `width` x `height`: the
// decoder reads its header, then fills what the data does not reach.
std::string realJpeg(int width, int height, int components) {
  const char* hex =
      components == 1
          ? "FFD8FFDB00430050373C463C32504641465A55505F78C882786E6E78F5AFB991C8FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFF"
            "FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFC0000B080008000801011100FFC4001400010000000000"
            "0000000000000000000004FFC40014100100000000000000000000000000000000FFDA0008010100003F0013FFD9"
          : "FFD8FFDB00430050373C463C32504641465A55505F78C882786E6E78F5AFB991C8FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFF"
            "FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFDB004301555A5A786978EB8282EBFFFFFFFFFFFFFFFF"
            "FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFF"
            "FFFFFFFFFFC00011080008000803012200021101031101FFC4001500010100000000000000000000000000000004FFC400141001"
            "00000000000000000000000000000000FFC40014010100000000000000000000000000000000FFC4001411010000000000000000"
            "0000000000000000FFDA000C03010002110311003F0088007FFFD9";
  std::string bytes;
  for (const char* at = hex; at[0] && at[1]; at += 2) bytes += static_cast<char>(std::stoi(std::string(at, 2), nullptr, 16));
  const std::size_t frame = bytes.find("\xFF\xC0");
  bytes[frame + 5] = static_cast<char>(height >> 8);
  bytes[frame + 6] = static_cast<char>(height & 0xFF);
  bytes[frame + 7] = static_cast<char>(width >> 8);
  bytes[frame + 8] = static_cast<char>(width & 0xFF);
  return bytes;
}

TEST(SetupCheck, PicturesThatDoNotLoadAndSplashAndDllWithoutTheirFiles) {
  EXPECT_EQ(jpegProblem(jpeg(164, 314, 3)), "");
  EXPECT_EQ(jpegProblem(jpeg(55, 55, 1)), "");
  EXPECT_EQ(jpegProblem(jpeg(55, 55, 3, true, '\xC2')), "");  // progressive
  EXPECT_NE(jpegProblem(jpeg(55, 55, 3, true, '\xC3')), "");  // lossless
  EXPECT_NE(jpegProblem(jpeg(16385, 10, 3)), "");
  EXPECT_NE(jpegProblem(jpeg(0, 10, 3)), "");
  EXPECT_NE(jpegProblem(jpeg(10, 10, 3).substr(0, 12)), "");
  EXPECT_EQ(bitmapProblem(bitmap(517, 707)), "");
  EXPECT_EQ(bitmapProblem(bitmap(3, 2)), "");
  EXPECT_NE(bitmapProblem(bitmap(3, 2, 1)), "");

  Folders f;
  f.put("SC.dat", "[Setup]\r\nLanguages = 1\r\nSplashScreen = 1\r\nDll = yes\r\n");
  EXPECT_TRUE(reports(f.check(), f.config,
                      {"SC.dat:4: warning: Dll is set, but there is no dll.dll, so nothing is called at the finish; add dll.dll or "
                       "leave Dll empty [manual: The finish plug-in, dll.dll]",
                       "SC.dat:3: warning: SplashScreen = 1, but there is no isps.dat, so no splash screen is shown; add isps.dat "
                       "or set SplashScreen = 0 [manual: Pictures, splash screen and icon]"}));

  f.put("dll.dll", "MZ");
  f.put("isps.dat", realJpeg(517, 707, 3));
  f.put("Image_Left.jpg", realJpeg(164, 314, 1));
  f.put("Image_Top.jpg", bitmap(55, 55));  // a bitmap named .jpg: the wizard decodes JPEG only
  EXPECT_TRUE(reports(f.check(), f.config,
                      {"Image_Top.jpg: warning: the picture does not load, as it is not a JPEG picture, so the wizard shows its "
                       "built-in header picture; save it again as a baseline JPEG [manual: Pictures, splash screen and "
                       "icon]"}));

  f.put("isps.dat", bitmap(517, 707, 100));
  f.put("Image_Top.jpg", jpeg(55, 55, 4));
  f.put("Image_Left.jpg", jpeg(164, 314, 3, false));
  EXPECT_TRUE(reports(f.check(), f.config,
                      {"isps.dat: warning: the picture does not load, as it is cut short, so no splash screen is shown; save it "
                       "again as a baseline JPEG or an uncompressed Windows bitmap",
                       "Image_Top.jpg: warning: the picture does not load, as it has 4 colour components",
                       "Image_Left.jpg: warning: the picture does not load, as it is cut short: no end marker"}));
  // Well formed, but beyond the memory the setup's decoders give a picture: a JPEG, and a run-length
  // bitmap that ends at once.
  f.put("isps.dat", test::bitmapFile({40, 8000, 8000, 8, 1, 1, {0}}, std::string("\0\1", 2)));
  f.put("Image_Top.jpg", realJpeg(8000, 8000, 3));
  f.put("Image_Left.jpg", realJpeg(4000, 4000, 1));
  EXPECT_TRUE(reports(f.check(), f.config,
                      {"isps.dat: warning: the picture does not load, as the setup's decoder refuses it: decoded, it would "
                       "need more than the 128 MiB the setup gives a picture (3 bytes a pixel), or its data is damaged, so "
                       "no splash screen is shown; save it again smaller",
                       "Image_Top.jpg: warning: the picture does not load, as the setup's decoder refuses it"}));
  f.put("isps.dat", "GIF89a");
  EXPECT_TRUE(reports(f.check(), f.config,
                      {"isps.dat: warning: the picture does not load, as it is neither a Windows bitmap nor a JPEG",
                       "Image_Top.jpg: warning"}));
}

TEST(SetupCheck, NamesTheSetupCannotCarryAndFilesItCannotRunWithout) {
#ifdef _WIN32
  GTEST_SKIP() << "Windows cannot create the names this scenario needs";
#endif
  Folders f;
  writeFile(f.app / "Notes: draft.txt", "x");
  writeFile(f.app / "con.txt", "x");
  writeFile(f.app / "Price \xE2\x82.txt", "x");  // a cut UTF-8 sequence names no character
  writeFile(f.app / "Caf\xC3\xA9.txt", "x");      // code page 437 holds e acute
  writeFile(f.app / "\xD0\xA1\xD0\xBF\xD1\x80\xD0\xB0\xD0\xB2\xD0\xBA\xD0\xB0.pdf", "x");  // stored as UTF-8
  writeFile(f.app / "bin" / "DEMO.exe", "x");
  fs::create_directories(f.app / "data.");
  CheckProblems problems = f.check();
  EXPECT_TRUE(reports(problems, f.app,
                      {"Notes: draft.txt: error: the file name holds a character that Windows does not allow in file names, so "
                       "the setup cannot write it; rename it [manual: The application folder]",
                       "Price \xE2\x82.txt: error: the file name is not UTF-8 text",
                       "bin/Demo.exe: warning: Windows takes this name for bin/DEMO.exe, so one of the two replaces the other when "
                       "installed; rename one of them",
                       "con.txt: error: the file name is a device name on Windows",
                       "data.: error: the folder name ends in a dot or a space"}));

  Folders g;
  fs::remove(g.config / "SC.dat");
  fs::remove(g.config / "OS.dat");
  EXPECT_TRUE(reports(g.check(), g.config,
                      {"SC.dat: error: there is no SC.dat, so the setup would run without a name, folders or pages of its own; "
                       "add one (averlune-build --new writes one with every key) [manual: The setup script, SC.dat]",
                       "OS.dat: error: there is no OS.dat, so the setup accepts no Windows version and stops at start; "
                       "add OS.dat with a line \"<Windows name> = 1\" for each version it may run on [manual: Windows "
                       "versions, OS.dat]"}));
  EXPECT_TRUE(reports(checkSetup(g.temp.path / "none", {}), g.temp.path, {"none: error: "}));

  Folders h;  // the setup receives configuration names in code page 1252, whatever the cabinet says
  h.put("Fran\xC3\xA7" "ais.txt", "x");
  h.put("\xD0\xA0\xD1\x83\xD1\x81\xD1\x81\xD0\xBA\xD0\xB8\xD0\xB9.txt", "x");  // Русский.txt
  EXPECT_TRUE(reports(h.check(), h.config,
                      {"\xD0\xA0\xD1\x83\xD1\x81\xD1\x81\xD0\xBA\xD0\xB8\xD0\xB9.txt: error: the name holds "
                       "characters outside the Western European Windows code page (1252)"}));

  // The setup takes a top-level file of its uninstaller's name for the uninstaller, whatever its
  // letter case; one in a subfolder is never looked at.
  Folders u;
  u.put("averluneUNINSTALL.exe", "x");
  u.put("docs/AverluneUninstall.exe", "x");
  EXPECT_TRUE(reports(u.check(), u.config,
                      {"averluneUNINSTALL.exe: error: the configuration folder must not hold AverluneUninstall.exe, as "
                       "the setup would write it out as its uninstaller; rename the file or move it out of the "
                       "configuration folder [manual: The configuration folder]"}));
}

}  // namespace
}  // namespace averlune
