#pragma once
// Placeholder expansion and the author variables of Variables.dat.
//
// A placeholder is a token in angle brackets ("<appname>", "<programfiles>") that stands for a value
// of the setup script, a folder or environment value of the target system, the chosen application
// folder, or an author variable. Built-in values are looked up anew at every expansion.
#include <string>
#include <vector>

#include "config/line_list_file.h"
#include "base/registry_text.h"
#include "base/system_lookup.h"

namespace averlune {

// The setup script values that the first four built-in placeholders insert.
struct PlaceholderScriptValues {
  std::u16string appName;   // Appname: "<appname>"
  std::u16string version;   // Version: "<programversion>"
  std::u16string company;   // Company: "<company>"
  std::u16string website1;  // Website1 (not Website): "<website>"
};

// One record of Variables.dat; `value` is settled once at load.
struct AuthorVariable {
  std::u16string token;  // replaced exactly, case included; an empty token replaces nothing
  RegistryRoot root = RegistryRoot::classesRoot;
  std::u16string subKey;
  std::u16string valueName;    // empty names the key's default value
  std::u16string defaultText;  // already expanded
  std::u16string value;
};

// CSIDLs of the special folders the expander inserts.
namespace csidl {
constexpr int desktop = 0x00;
constexpr int programs = 0x02;
constexpr int personal = 0x05;
constexpr int startup = 0x07;
constexpr int fonts = 0x14;
constexpr int commonPrograms = 0x17;
constexpr int commonStartup = 0x18;
constexpr int commonDesktopDirectory = 0x19;
constexpr int appData = 0x1A;
constexpr int commonAppData = 0x23;
constexpr int commonDocuments = 0x2E;
}  // namespace csidl

// `text` with the 23 built-in placeholders replaced in their fixed order (tokens matched without
// regard to ASCII case), then each author variable's token in list order (exact match). Each step
// scans the whole current text, so a later step also replaces tokens inside values inserted by an
// earlier one; a step never rescans what it inserted itself. "<installpath>" is `appFolder` without
// its last character (the application folder ends in "\"; the empty text gives the empty text).
// A token that matches nothing stays. Uses `system`'s environmentVariable, systemFolder and
// specialFolder (only for tokens present in the text).
std::u16string expandPlaceholders(const std::u16string& text, const std::u16string& appFolder,
                                  const PlaceholderScriptValues& script, const std::vector<AuthorVariable>& variables,
                                  const SystemLookup& system);

// `text` with each author variable's token replaced by its value, in list order (exact match); the
// last step of expandPlaceholders, also run on its own over the default folders at start-up.
std::u16string replaceAuthorVariables(std::u16string text, const std::vector<AuthorVariable>& variables);

// One Variables.dat record, in file order: token, root name, sub key, value name, default.
struct AuthorVariableLines {
  std::u16string token;
  std::u16string rootName;
  std::u16string subKey;
  std::u16string valueName;
  std::u16string defaultText;
};

// Appends the variable of one record and settles it: the root name maps exactly ("HKEY_CURRENT_USER",
// "HKEY_LOCAL_MACHINE", "HKEY_USERS", "HKEY_CURRENT_CONFIG"; anything else HKEY_CLASSES_ROOT); the
// default is expanded with the empty application folder and empty script values, the new variable
// already in the list with an empty value (so its own token becomes empty); the value is the
// registry text when `system.readRegistryText` succeeds (even when empty), else the expanded default.
void appendAuthorVariable(std::vector<AuthorVariable>& variables, const AuthorVariableLines& lines,
                          const SystemLookup& system);

// The author variables of an open Variables.dat, read to its end: five lines per record, a record
// cut short takes empty lines.
std::vector<AuthorVariable> readVariables(LineListFile& file, const SystemLookup& system);

// The author variables of workFolder + "Variables.dat" (a line-list file of five-line records; a
// record cut short takes empty lines). A missing file gives no variables. Runs at start-up, before
// the setup script is read.
std::vector<AuthorVariable> loadVariables(const std::u16string& workFolder, const SystemLookup& system);

}  // namespace averlune
