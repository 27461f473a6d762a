#pragma once

#include <string>

// Folders as Gresmont names, checks and makes them. Paths are UTF-8 text in which a
// backslash and a slash both separate folders.

// JoinPath (media/PathUtils.h) as a string: the folder, the separator its path uses and
// the name; empty when the folder is empty or the path does not fit a path buffer.
std::string JoinedPath(const std::string& folder, const std::string& name);
// The running program's folder joined with name; empty when the folder is not known.
std::string ProgramSubfolder(const std::string& name);

// The text without the blanks around it; null gives the empty text.
std::string TrimBlanks(const char* text);
// The folder text of a field as the pages use it: without the blanks around it and
// without trailing separators (so "D:\out//" is "D:\out"; a lone "/" stays).
std::string TrimFolder(const char* text);

// Makes the folder path names (leading blanks skipped) with every missing folder above
// it, as far as FolderExists (media/FileUtils.h) does not find them. resultIfExists when it exists already (the disk is not touched), 1 when it was
// made, 0 when it could not be made or path is empty.
int CreateFolderPath(const char* path, int resultIfExists);
