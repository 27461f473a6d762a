#pragma once

// Runs the application's event loop until the last window closes; answers the exit code.
// User-interface thread.
int RunUiEventLoop();
