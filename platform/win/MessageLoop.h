#pragma once

// The user-interface thread's message loop for programs that have no application object
// of their own (tests, command-line tools): the graph's notifications and the streaming
// threads' posted messages are delivered by it.

// Makes the application object on the calling thread, which becomes the user-interface
// thread, unless one exists already. Call before the first CreateMessageWindow.
void EnsureMessageLoop();

// Delivers every message posted so far to windows of the calling (user-interface) thread,
// then returns; does not wait for new ones.
void ProcessPostedMessages();
