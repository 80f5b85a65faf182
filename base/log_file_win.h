#pragma once
// A plain-text log that several writers append to while it is open for reading elsewhere: each
// line is opened, appended in UTF-8 with CR LF and closed at once, so that a run that ends
// abruptly still leaves every line written before.
#include <string>

namespace averlune {

// Appends `line` to the file at `path`, creating it when missing. A link at the name (a junction,
// a symbolic link, a hard link to a file with other names) gets nothing: the programs run elevated,
// and the name may lie in a folder a standard user can write to. Failures are silent: the log
// must never change what the setup does.
void appendLogLine(const std::u16string& path, const std::u16string& line);

}  // namespace averlune
