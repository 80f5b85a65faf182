#include "config/setup_state.h"

#include "base/path_text.h"

namespace averlune {

std::u16string applicationFolder(const UserChoices& choices) { return addBackslash(choices.appFolderText); }

}  // namespace averlune
