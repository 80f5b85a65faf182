#include "config/placeholders.h"

#include "base/path_text.h"

namespace averlune {

namespace {

enum class Source { appName, version, company, website1, environment, systemFolder, specialFolder, installPath };

struct BuiltInPlaceholder {
  const char16_t* token;  // lower case; matched without regard to ASCII case
  Source source;
  const char16_t* environmentName;
  int csidl;
};

// The order is part of the contract: a value inserted by one step is scanned by every later step.
constexpr BuiltInPlaceholder builtInPlaceholders[] = {
    {u"<appname>", Source::appName, nullptr, 0},
    {u"<programversion>", Source::version, nullptr, 0},
    {u"<company>", Source::company, nullptr, 0},
    {u"<website>", Source::website1, nullptr, 0},
    {u"<language>", Source::environment, u"AV_LANGUAGE", 0},
    {u"<username>", Source::environment, u"AV_USERNAME", 0},
    {u"<organisation>", Source::environment, u"AV_ORGANISATION", 0},
    {u"<system>", Source::systemFolder, nullptr, 0},
    {u"<windows>", Source::environment, u"WINDIR", 0},
    {u"<temp>", Source::environment, u"TEMP", 0},
    {u"<programfiles>", Source::environment, u"ProgramFiles", 0},
    {u"<startup>", Source::specialFolder, nullptr, csidl::startup},
    {u"<startuppublic>", Source::specialFolder, nullptr, csidl::commonStartup},
    {u"<documents>", Source::specialFolder, nullptr, csidl::personal},
    {u"<documentspublic>", Source::specialFolder, nullptr, csidl::commonDocuments},
    {u"<startmenuprograms>", Source::specialFolder, nullptr, csidl::programs},
    {u"<startmenuprogramspublic>", Source::specialFolder, nullptr, csidl::commonPrograms},
    {u"<font>", Source::specialFolder, nullptr, csidl::fonts},
    {u"<desktop>", Source::specialFolder, nullptr, csidl::desktop},
    {u"<desktoppublic>", Source::specialFolder, nullptr, csidl::commonDesktopDirectory},
    {u"<appdata>", Source::specialFolder, nullptr, csidl::appData},
    {u"<appdatapublic>", Source::specialFolder, nullptr, csidl::commonAppData},
    {u"<installpath>", Source::installPath, nullptr, 0},
};

std::u16string builtInValue(const BuiltInPlaceholder& placeholder, const std::u16string& appFolder,
                            const PlaceholderScriptValues& script, const SystemLookup& system) {
  switch (placeholder.source) {
    case Source::appName: return script.appName;
    case Source::version: return script.version;
    case Source::company: return script.company;
    case Source::website1: return script.website1;
    case Source::environment: return system.environmentVariable(placeholder.environmentName);
    case Source::systemFolder: return system.systemFolder();
    case Source::specialFolder: return system.specialFolder(placeholder.csidl);
    case Source::installPath: return appFolder.empty() ? std::u16string() : appFolder.substr(0, appFolder.size() - 1);
  }
  return std::u16string();
}

// Replaces every occurrence left to right, continuing after each inserted value so that one step
// never rescans its own insertions. The value is asked for only when the token occurs.
template <typename Find, typename Value>
void replaceEach(std::u16string& text, std::u16string_view token, Find find, Value value) {
  std::size_t at = find(text, token, 0);
  if (at == std::u16string::npos) return;
  const std::u16string replacement = value();
  while (at != std::u16string::npos) {
    text.replace(at, token.size(), replacement);
    at = find(text, token, at + replacement.size());
  }
}

}  // namespace

std::u16string expandPlaceholders(const std::u16string& text, const std::u16string& appFolder,
                                  const PlaceholderScriptValues& script, const std::vector<AuthorVariable>& variables,
                                  const SystemLookup& system) {
  std::u16string result = text;
  auto findFolded = [](const std::u16string& in, std::u16string_view token, std::size_t from) {
    return findIgnoringAsciiCase(in, token, from);
  };
  for (const BuiltInPlaceholder& placeholder : builtInPlaceholders) {
    replaceEach(result, placeholder.token, findFolded,
                [&] { return builtInValue(placeholder, appFolder, script, system); });
  }
  return replaceAuthorVariables(result, variables);
}

std::u16string replaceAuthorVariables(std::u16string text, const std::vector<AuthorVariable>& variables) {
  for (const AuthorVariable& variable : variables) text = replaceEvery(std::move(text), variable.token, variable.value);
  return text;
}

void appendAuthorVariable(std::vector<AuthorVariable>& variables, const AuthorVariableLines& lines,
                          const SystemLookup& system) {
  // In the list before its default is expanded: its own token in the default becomes empty.
  variables.push_back(AuthorVariable{});
  {
    AuthorVariable& variable = variables.back();
    variable.token = lines.token;
    variable.root = registryRootFromName(lines.rootName, RegistryRoot::classesRoot);
    variable.subKey = lines.subKey;
    variable.valueName = lines.valueName;
  }
  // The setup script is not read yet at load: its four placeholders insert the empty text.
  std::u16string expandedDefault =
      expandPlaceholders(lines.defaultText, std::u16string(), PlaceholderScriptValues{}, variables, system);
  AuthorVariable& variable = variables.back();
  variable.defaultText = expandedDefault;
  std::u16string registryText;
  if (system.readRegistryText(variable.root, variable.subKey, variable.valueName, registryText)) {
    variable.value = registryText;
  } else {
    variable.value = variable.defaultText;
  }
}

std::vector<AuthorVariable> readVariables(LineListFile& file, const SystemLookup& system) {
  std::vector<AuthorVariable> variables;
  while (!atEnd(file)) {
    AuthorVariableLines lines;
    lines.token = readLine(file);
    lines.rootName = readLine(file);
    lines.subKey = readLine(file);
    lines.valueName = readLine(file);
    lines.defaultText = readLine(file);
    appendAuthorVariable(variables, lines, system);
  }
  return variables;
}

std::vector<AuthorVariable> loadVariables(const std::u16string& workFolder, const SystemLookup& system) {
  LineListFile file;
  if (!open(file, workFolder + u"Variables.dat")) return {};
  std::vector<AuthorVariable> variables = readVariables(file, system);
  close(file);
  return variables;
}

}  // namespace averlune
