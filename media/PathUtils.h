#pragma once

#include <cstddef>
#include <string>

// Path text helpers. Paths are bytes (UTF-8 as a rule, but any byte other than zero may
// stand in a name) in which a backslash and a slash both separate folders; relative paths
// are taken against the running program's folder, where both programs keep their data
// folders and project files. The paths these helpers form or resolve come out in the
// platform's form (ToNativePath, platform/win/Files.h: a slash between folders), which is
// how the programs show and save them. Results go into caller buffers of the given size,
// always ended by a terminator and cut at a character boundary when they do not fit; no
// result is longer than a path buffer allows.

// The size of the buffers that hold paths: at most 519 bytes of text.
constexpr std::size_t kPathBufferSize = 520;
// The size of a buffer that a path is read into (from a field or a profile) to learn
// whether it fits a path buffer: a text cut to it, at a character boundary, still has at
// least kPathBufferSize bytes when the whole text has, so ResolveWholePath, or a test of
// its length, refuses it instead of taking it cut.
constexpr std::size_t kPathReadSize = kPathBufferSize + 4;

// True for tab, line feed, carriage return and blank; only the low 8 bits count.
bool IsSpace(int c);

// True for a backslash or a slash.
bool IsPathSeparator(char c);

// The text after its leading IsSpace characters; null stays null.
const char* SkipSpaces(const char* text);
char* SkipSpaces(char* text);
// Removes the trailing IsSpace characters of text in place and returns it; null stays null.
char* TrimRight(char* text);

// The last backslash or slash in text; when there is none, the last colon (as in C:x);
// else null (also for null text).
const char* FindLastPathSeparator(const char* text);
char* FindLastPathSeparator(char* text);

// Joins folder and name with a separator into buffer, in the platform's form, when the
// whole path fits size bytes with its terminator, and answers true. Otherwise, and for an
// empty or null folder (one that could not be formed), buffer gets an empty text when
// size > 0, since a cut path would name another file.
bool JoinPath(char* buffer, std::size_t size, const char* folder, const char* name);

// The running program's full path, cut to fit a path buffer.
std::string ModuleFilePath();

// The program's folder (its full path cut at FindLastPathSeparator, the separator
// removed) into buffer; returns the length copied.
std::size_t GetModuleDirectory(char* buffer, std::size_t size);

// Makes the path in buffer (size bytes, in and out) absolute against the program's
// location, in the platform's form:
// - absolute paths keep their place, leading blanks included, and only take the
//   platform's form: a drive letter and its colon at the start ("D:\x", "D:x"), a share
//   ("\\srv\x", "//srv/x"), or nothing but blanks;
// - leading "..\" or "../" steps climb from the program's folder, never above its root;
// - a leading colon, or a leading separator, starts at the root of the program's drive
//   (on Linux the file system's root): ":Data\x" and "\Data\x" give C:/Data/x beside
//   C:\App\Bin\prog.exe and /Data/x beside /opt/app/bin/prog;
// - any other path lies in the program's folder, whichever separators it holds and
//   wherever a colon stands after its start: "Video/x.avi" gives /opt/app/bin/Video/x.avi.
// When the result (or an absolute path as it came) does not fit the buffer and a path
// buffer whole with its terminator, the buffer gets an empty text and the answer is false,
// since a cut path would name another file. True otherwise, with the result in buffer.
bool ResolveWholePath(char* buffer, std::size_t size);
