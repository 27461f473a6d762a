#pragma once

#include <functional>

// Requests from the system to end the program (SIGTERM: the desktop session ending or a
// kill; SIGINT: Ctrl+C in a terminal; SIGHUP: the terminal going) reach handler, with the
// signal's number, on the user-interface thread through its event loop, instead of ending
// the process on the spot, so that the program can leave the way its user leaves it.
// Null goes back to the system's default action. User-interface thread, once the
// application object exists.
void OnTerminationRequest(std::function<void(int signal)> handler);
