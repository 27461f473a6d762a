#pragma once

// The user-interface thread's message loop for programs that run no event loop of their
// own (tests, command-line tools): the graph's notifications and the streaming threads'
// posted messages are delivered by it. The application object comes from
// EnsureApplication (Application.h).

// Delivers every message posted so far to windows of the calling (user-interface) thread,
// then returns; does not wait for new ones.
void ProcessPostedMessages();
