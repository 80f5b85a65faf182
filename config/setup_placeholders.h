#pragma once
// The setup options as placeholder values, and the expansion of the two default folders that
// start-up does once, before any page shows them.
#include <vector>

#include "config/placeholders.h"
#include "config/setup_script.h"

namespace averlune {

PlaceholderScriptValues placeholderScriptValues(const SetupOptions& options);

// Expands InstallDir and ShortcutFolder with no application folder chosen yet ("<installpath>"
// becomes empty), then replaces the author variables once more: a token that one variable's
// value brought in is replaced even when its own variable comes earlier in the list.
void expandDefaultFolders(SetupOptions& options, const std::vector<AuthorVariable>& variables,
                          const SystemLookup& system);

}  // namespace averlune
