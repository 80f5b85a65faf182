#include "config/setup_placeholders.h"

namespace averlune {

PlaceholderScriptValues placeholderScriptValues(const SetupOptions& options) {
  return {options.Appname, options.Version, options.Company, options.Website1};
}

void expandDefaultFolders(SetupOptions& options, const std::vector<AuthorVariable>& variables,
                          const SystemLookup& system) {
  const PlaceholderScriptValues script = placeholderScriptValues(options);
  for (std::u16string* folder : {&options.ShortcutFolder, &options.InstallDir}) {
    *folder = replaceAuthorVariables(expandPlaceholders(*folder, u"", script, variables, system), variables);
  }
}

}  // namespace averlune
