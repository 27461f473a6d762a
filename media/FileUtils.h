#pragma once

#include <string>

// Probes of files that the programs are about to read or write. Paths are UTF-8 text in
// which a backslash and a slash both separate folders.

// True when name opens for reading as given, or else, taken literally, in the running
// program's folder. Only a regular file is a file: a folder, a FIFO or a device gives
// false (see IsReadableFile).
bool FileExists(const char* name);

// The file that FileExists finds for name: name itself, or its path in the program's
// folder; empty when there is none. Readers open this, so that what was checked is what
// they read whatever the working folder is.
std::string ExistingFilePath(const char* name);

// Whether path (leading blanks skipped) names an existing folder; false when empty.
bool FolderExists(const char* path);

// Whether an output file may be created or appended at path (leading blanks ignored):
// its folder must exist, the path must not name a folder, a missing file must be one
// that its folder takes (CanCreateFileIn: no read-only mount, the permission to write
// there), and an existing file must open for appending and not be held by another open
// that refuses writers (see platform/win/Files.h).
bool IsWritableFilePath(const char* path);
