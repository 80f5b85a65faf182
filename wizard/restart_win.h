#pragma once
// Restarting the computer when the finish page asks for it.

namespace averlune {

// Enables the shutdown privilege in this process's token; the system refuses a restart request
// from a process that has not. False when the token does not hold the privilege at all.
bool enableShutdownPrivilege();

// Asks the system to restart the computer (EWX_REBOOT, reason 0) and returns at once, whether the
// system agrees or not; the restart comes when the system gets to it. Alone in
// restart_request_win.cpp: a test build of the setup links its own definition in place of this
// one, so that the restart path can be run on a test machine that must keep running.
void requestRestart();

}  // namespace averlune
