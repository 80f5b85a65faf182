#include "config/placeholders.h"

#include <gtest/gtest.h>

#include <map>
#include <tuple>

namespace averlune {
namespace {

// The system as the tests want it; the lookup functions read it at every call.
struct FakeSystem {
  std::map<std::u16string, std::u16string> environment;
  std::map<int, std::u16string> folders;
  std::u16string systemFolder;
  std::map<std::tuple<RegistryRoot, std::u16string, std::u16string>, std::u16string> registry;
};
FakeSystem fake;

SystemLookup fakeLookup() {
  SystemLookup lookup;
  lookup.environmentVariable = [](const std::u16string& name) {
    auto found = fake.environment.find(name);
    return found == fake.environment.end() ? std::u16string() : found->second;
  };
  lookup.systemFolder = [] {
    return fake.systemFolder;
  };
  lookup.specialFolder = [](int csidl) {
    auto found = fake.folders.find(csidl);
    return found == fake.folders.end() ? std::u16string() : found->second;
  };
  lookup.readRegistryText = [](RegistryRoot root, const std::u16string& subKey, const std::u16string& valueName,
                               std::u16string& text) {
    auto found = fake.registry.find({root, subKey, valueName});
    if (found == fake.registry.end()) return false;
    text = found->second;
    return true;
  };
  return lookup;
}

class Placeholders : public ::testing::Test {
 protected:
  void SetUp() override {
    fake = FakeSystem{};
    fake.environment = {{u"AV_LANGUAGE", u"Deutsch"},      {u"AV_USERNAME", u"anna"},
                        {u"AV_ORGANISATION", u"Org"},      {u"WINDIR", u"C:\\windows"},
                        {u"TEMP", u"C:\\users\\anna\\Temp"}, {u"ProgramFiles", u"C:\\Program Files (x86)"}};
    fake.systemFolder = u"C:\\windows\\system32";
    for (int csidl : {0x00, 0x02, 0x05, 0x07, 0x14, 0x17, 0x18, 0x19, 0x1A, 0x23, 0x2E}) {
      fake.folders[csidl] = u"C:\\F" + std::u16string(1, static_cast<char16_t>(u'A' + csidl % 26)) + u"x" +
                            std::u16string(1, static_cast<char16_t>(u'0' + csidl / 26));
    }
    script = {u"Tool", u"2.1", u"Acme", u"https://acme.example"};
  }
  std::u16string expand(const std::u16string& text, const std::u16string& appFolder = u"C:\\App\\") {
    return expandPlaceholders(text, appFolder, script, variables, lookup);
  }

  SystemLookup lookup = fakeLookup();
  PlaceholderScriptValues script;
  std::vector<AuthorVariable> variables;
};

TEST_F(Placeholders, EachBuiltInTokenAndItsValue) {
  struct Row {
    std::u16string token;
    std::u16string value;
  };
  const Row rows[] = {
      {u"<appname>", u"Tool"},
      {u"<programversion>", u"2.1"},
      {u"<company>", u"Acme"},
      {u"<website>", u"https://acme.example"},
      {u"<language>", u"Deutsch"},
      {u"<username>", u"anna"},
      {u"<organisation>", u"Org"},
      {u"<system>", u"C:\\windows\\system32"},
      {u"<windows>", u"C:\\windows"},
      {u"<temp>", u"C:\\users\\anna\\Temp"},
      {u"<programfiles>", u"C:\\Program Files (x86)"},
      {u"<startup>", fake.folders[0x07]},
      {u"<startuppublic>", fake.folders[0x18]},
      {u"<documents>", fake.folders[0x05]},
      {u"<documentspublic>", fake.folders[0x2E]},
      {u"<startmenuprograms>", fake.folders[0x02]},
      {u"<startmenuprogramspublic>", fake.folders[0x17]},
      {u"<font>", fake.folders[0x14]},
      {u"<desktop>", fake.folders[0x00]},
      {u"<desktoppublic>", fake.folders[0x19]},
      {u"<appdata>", fake.folders[0x1A]},
      {u"<appdatapublic>", fake.folders[0x23]},
      {u"<installpath>", u"C:\\App"},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(expand(u"[" + row.token + u"]"), u"[" + row.value + u"]") << std::string(row.token.begin(), row.token.end());
  }
}

TEST_F(Placeholders, MatchingAndReplacementRules) {
  struct Row {
    std::u16string text;
    std::u16string appFolder;
    std::u16string expected;
  };
  const Row rows[] = {
      {u"<programfiles>\\<appname>\\", u"", u"C:\\Program Files (x86)\\Tool\\"},
      {u"<AppName> <APPNAME> <appName>", u"", u"Tool Tool Tool"},
      {u"<installpath>\\", u"", u"\\"},
      {u"<installpath>", u"C:\\App\\", u"C:\\App"},
      {u"<InstallPath>\\bin", u"D:\\", u"D:\\bin"},
      {u"<unknown> <appname <app name> appname>", u"", u"<unknown> <appname <app name> appname>"},
      {u"<<appname>>", u"", u"<Tool>"},
      {u"", u"", u""},
      {u"no tokens", u"", u"no tokens"},
  };
  for (const Row& row : rows) EXPECT_EQ(expand(row.text, row.appFolder), row.expected);
}

TEST_F(Placeholders, LaterStepsScanInsertedValues) {
  script.appName = u"<temp>\\x";           // inserted at step 1, expanded at step 10
  script.version = u"<appname>";           // inserted after step 1: stays
  fake.environment[u"TEMP"] = u"<temp>!";  // a step never rescans its own insertion
  EXPECT_EQ(expand(u"<appname>|<programversion>|<temp>"), u"<temp>!\\x|<appname>|<temp>!");
  script.appName = u"<installpath>";
  EXPECT_EQ(expand(u"<appname>", u"C:\\App\\"), u"C:\\App");
}

TEST_F(Placeholders, UnsetOrUnresolvedValuesAreEmpty) {
  fake.environment.clear();
  fake.folders.clear();
  EXPECT_EQ(expand(u"<language>|<temp>|<desktop>|<font>"), u"|||");
}

TEST_F(Placeholders, ValuesAreLookedUpAtEveryCall) {
  EXPECT_EQ(expand(u"<language>"), u"Deutsch");
  fake.environment[u"AV_LANGUAGE"] = u"Fran\u00E7ais";
  EXPECT_EQ(expand(u"<language>"), u"Fran\u00E7ais");
}

TEST_F(Placeholders, AuthorVariablesExactAndInListOrder) {
  variables = {
      {u"<Dir>", RegistryRoot::classesRoot, u"", u"", u"", u"<Sub>\\<appname>"},
      {u"<Sub>", RegistryRoot::classesRoot, u"", u"", u"", u"S"},
      {u"", RegistryRoot::classesRoot, u"", u"", u"", u"never"},
      {u"<Early>", RegistryRoot::classesRoot, u"", u"", u"", u"E"},
  };
  struct Row {
    std::u16string text;
    std::u16string expected;
  };
  const Row rows[] = {
      {u"<Dir>", u"S\\<appname>"},  // a later variable's token is replaced, a built-in one stays
      {u"<dir> <DIR>", u"<dir> <DIR>"},
      {u"<Sub><Sub>", u"SS"},
      {u"<Early><Dir>", u"ES\\<appname>"},
  };
  for (const Row& row : rows) EXPECT_EQ(expand(row.text), row.expected);
  // A variable that writes a built-in token into the text is too late for it.
  variables = {{u"<V>", RegistryRoot::classesRoot, u"", u"", u"", u"<appname>"}};
  EXPECT_EQ(expand(u"<V>-<appname>"), u"<appname>-Tool");
}

TEST_F(Placeholders, AppendAuthorVariableSettlesItsValue) {
  fake.registry[{RegistryRoot::currentUser, u"Software\\Acme", u"Path"}] = u"C:\\Acme <temp>";
  fake.registry[{RegistryRoot::localMachine, u"Software\\Acme", u"Empty"}] = u"";
  fake.registry[{RegistryRoot::classesRoot, u"Software\\Acme", u"Path"}] = u"from classes root";
  std::vector<AuthorVariable> list;
  struct Row {
    AuthorVariableLines lines;
    RegistryRoot root;
    std::u16string defaultText;
    std::u16string value;
  };
  const Row rows[] = {
      // Registry value found: taken as it is, placeholders in it not expanded.
      {{u"<p>", u"HKEY_CURRENT_USER", u"Software\\Acme", u"Path", u"<temp>"}, RegistryRoot::currentUser,
       u"C:\\users\\anna\\Temp", u"C:\\Acme <temp>"},
      // Existing empty value: empty, whatever the default.
      {{u"<e>", u"HKEY_LOCAL_MACHINE", u"Software\\Acme", u"Empty", u"fallback"}, RegistryRoot::localMachine,
       u"fallback", u""},
      // Missing value: the expanded default; the script is not read yet, so <appname> is empty.
      {{u"<d>", u"HKEY_USERS", u"Software\\Acme", u"Path", u"<appname>|<installpath>|<p>|<d>"},
       RegistryRoot::users, u"||C:\\Acme <temp>|", u"||C:\\Acme <temp>|"},
      {{u"<c>", u"HKEY_CURRENT_CONFIG", u"x", u"y", u"z"}, RegistryRoot::currentConfig, u"z", u"z"},
      // Any other root name, lower case and abbreviations included: HKEY_CLASSES_ROOT.
      {{u"<l>", u"hkey_current_user", u"Software\\Acme", u"Path", u""}, RegistryRoot::classesRoot, u"",
       u"from classes root"},
      {{u"<k>", u"HKCU", u"Software\\Acme", u"Path", u""}, RegistryRoot::classesRoot, u"", u"from classes root"},
      {{u"<n>", u"", u"", u"", u""}, RegistryRoot::classesRoot, u"", u""},
  };
  for (const Row& row : rows) {
    appendAuthorVariable(list, row.lines, lookup);
    const AuthorVariable& variable = list.back();
    EXPECT_EQ(variable.token, row.lines.token);
    EXPECT_EQ(variable.root, row.root) << std::string(row.lines.token.begin(), row.lines.token.end());
    EXPECT_EQ(variable.subKey, row.lines.subKey);
    EXPECT_EQ(variable.valueName, row.lines.valueName);
    EXPECT_EQ(variable.defaultText, row.defaultText) << std::string(row.lines.token.begin(), row.lines.token.end());
    EXPECT_EQ(variable.value, row.value) << std::string(row.lines.token.begin(), row.lines.token.end());
  }
  EXPECT_EQ(list.size(), std::size(rows));
}

TEST_F(Placeholders, ReadsFiveLineRecordsToTheEnd) {
  fake.registry[{RegistryRoot::currentUser, u"Software\\Acme", u"Dir"}] = u"C:\\Acme";
  struct Row {
    const char* what;
    std::string bytes;
    std::vector<std::u16string> tokens;
    std::vector<std::u16string> values;
  };
  const Row rows[] = {
      {"empty file", "", {}, {}},
      {"two records, CR LF",
       "<a>\r\nHKEY_CURRENT_USER\r\nSoftware\\Acme\r\nDir\r\nunused\r\n"
       "<b>\r\nHKEY_CURRENT_USER\r\nSoftware\\Acme\r\nMissing\r\n<a>\\sub\r\n",
       {u"<a>", u"<b>"},
       {u"C:\\Acme", u"C:\\Acme\\sub"}},
      {"record cut short", "<a>\nHKEY_USERS\nx", {u"<a>"}, {u""}},
      {"UTF-8 token", "<gr\xC3\xBC\xC3\x9F>\n\n\n\nval\n", {u"<gr\u00FC\u00DF>"}, {u"val"}},
  };
  for (const Row& row : rows) {
    LineListFile file;
    openBytes(file, row.bytes);
    std::vector<AuthorVariable> list = readVariables(file, lookup);
    std::vector<std::u16string> tokens;
    std::vector<std::u16string> values;
    for (const AuthorVariable& variable : list) {
      tokens.push_back(variable.token);
      values.push_back(variable.value);
    }
    EXPECT_EQ(tokens, row.tokens) << row.what;
    EXPECT_EQ(values, row.values) << row.what;
  }
}

TEST_F(Placeholders, MissingVariablesFileGivesNoVariables) {
  EXPECT_TRUE(loadVariables(u"/nonexistent-averlune-folder/", lookup).empty());
}

}  // namespace
}  // namespace averlune
