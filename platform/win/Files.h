#pragma once

#include "platform/win/Handle.h"

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

// Files under the desktop platform's names. Paths are UTF-8 text in which a backslash
// and a slash both separate folders.
//
// Sharing: the desktop platform refuses an open that conflicts with the share modes of
// other opens of the same file. Linux has no such rule, so the opens made here emulate it
// with advisory locks (flock) that only these functions honour, in this process and in
// others built on this layer:
// - an open with write access that does not share writing holds an exclusive lock;
// - an open with write access that shares writing, or a read-only open that does not,
//   holds a shared lock;
// - a read-only open that shares writing (the way OpenFile reads) and an open without
//   data access hold none.
// So two writers exclude each other unless both share writing, and a writer that shares
// only reading keeps every other writer out while readers still get in. (A reader that
// refuses writers keeps out only writers that refuse writers too.)
// Only regular files are read: an open for reading of a FIFO, a device or a socket fails,
// at once (a FIFO is not waited on for a writer), and what is checked is the descriptor
// opened, so a name swapped in between cannot slip through. An open for writing only may
// name a device (/dev/null) or a FIFO that a reader holds open, and fails at once on a
// FIFO without one. Folders are not files: every open of a folder fails.
// All functions may be called from any thread.

// A path with every backslash turned into a slash: the platform's form of a path. It is
// the one conversion made on every path that reaches the system (the file, folder and
// profile calls here, media and MIDI files, AVI writing, picture loading), and the form
// in which the programs show and save the paths they form or resolve. Every other byte
// stays as it is. Null gives "".
std::string ToNativePath(const char* path);

// fopen with the sharing of the desktop platform's C library (others may read and
// write): null when the file cannot be opened, when it is no file to read or write as
// above, or when the mode asks for writing while another open holds it without sharing
// writing. Modes "r", "w", "a", each with an optional "+" and "b". A file that "w" would
// truncate is cut only once the open is granted. The caller owns the stream and closes
// it with fclose.
FILE* OpenFile(const char* path, const char* mode);

struct FileCloser {
    void operator()(FILE* file) const { std::fclose(file); }
};
using UniqueFile = std::unique_ptr<FILE, FileCloser>;

// Whether path opens for reading (OpenFile with "rb"): the question every reader asks
// before it hands a name to a library that opens the file itself, since such an open
// would wait for ever on a FIFO and read a device such as /dev/zero without end. (The
// file may still change between this answer and the library's own open.)
bool IsReadableFile(const char* path);

// Whether a new file may be made in the folder at path: a folder on a file system
// mounted for writing whose permissions let this process add a name to it. False for
// null, for a path that names no folder, and for a read-only mount even to the system's
// administrator, whom the permissions do not stop.
bool CanCreateFileIn(const char* folder);

enum class FileRead { Read, Missing, NotReadable, TooLarge };
// The whole content of the file at path into bytes (which it replaces), when it opens for
// reading (OpenFile with "rb") and holds at most maxBytes bytes: Read (a file that grows
// meanwhile is read up to its size when opened). Otherwise bytes are empty and the
// answer says why: Missing when nothing is there, TooLarge, or NotReadable (no regular
// file, no permission, a failed read, no memory for it).
FileRead ReadFileBytes(const char* path, std::uint64_t maxBytes, std::vector<std::uint8_t>& bytes);

constexpr std::uint32_t INVALID_FILE_ATTRIBUTES = 0xFFFFFFFF;
constexpr std::uint32_t FILE_ATTRIBUTE_DIRECTORY = 0x10;
constexpr std::uint32_t FILE_ATTRIBUTE_NORMAL = 0x80;

// Whether both paths name one existing file, however each is spelt: either separator,
// "." and ".." steps, symbolic links, hard links. False when either is null or missing.
bool IsSameFile(const char* first, const char* second);

// FILE_ATTRIBUTE_DIRECTORY for a folder, FILE_ATTRIBUTE_NORMAL for anything else that
// exists, INVALID_FILE_ATTRIBUTES when nothing is there.
std::uint32_t GetFileAttributesA(const char* path);

// Makes one folder (its parent must exist). FALSE when it exists already, the parent is
// missing or the path is empty. securityAttributes must be null.
BOOL CreateDirectoryA(const char* path, const void* securityAttributes);

// An open file of CreateFileA is a kernel object like any other: CloseHandle closes the
// file and so lets go of its lock. The file calls answer failure for any other handle.
using FileHandle = HANDLE;
using UniqueFileHandle = UniqueHandle;

constexpr std::uint32_t GENERIC_READ = 0x80000000;
constexpr std::uint32_t GENERIC_WRITE = 0x40000000;
constexpr std::uint32_t FILE_SHARE_READ = 0x1;
constexpr std::uint32_t FILE_SHARE_WRITE = 0x2;
constexpr std::uint32_t FILE_SHARE_DELETE = 0x4;
constexpr std::uint32_t CREATE_ALWAYS = 2;
constexpr std::uint32_t OPEN_EXISTING = 3;
constexpr std::uint32_t OPEN_ALWAYS = 4;

// Opens or creates a file. access: 0 (no data access: the handle only shows that the
// file is there), GENERIC_READ, GENERIC_WRITE or both. share: the FILE_SHARE_ flags that
// other opens may use while this one lasts (see Sharing). disposition: OPEN_EXISTING,
// CREATE_ALWAYS (created or emptied) or OPEN_ALWAYS (created when missing).
// securityAttributes, flagsAndAttributes and templateFile are accepted as the desktop
// platform's callers pass them and have no effect. INVALID_HANDLE_VALUE on failure,
// including a folder and a sharing conflict; a file that CREATE_ALWAYS would empty is
// left as it was then. The caller owns the handle.
FileHandle CreateFileA(const char* path, std::uint32_t access, std::uint32_t share,
                       const void* securityAttributes, std::uint32_t disposition,
                       std::uint32_t flagsAndAttributes, FileHandle templateFile);

// Reads up to toRead bytes at the file pointer and advances it; *bytesRead (when not
// null) receives the count, less than toRead only at the end of the file or on failure.
// False when the read fails (for example a handle without read access). overlapped must
// be null.
bool ReadFile(FileHandle handle, void* buffer, std::uint32_t toRead, std::uint32_t* bytesRead,
              void* overlapped);

// Writes toWrite bytes at the file pointer and advances it; *bytesWritten (when not null)
// receives the count. False, with the count written so far, when not all could be
// written. overlapped must be null.
bool WriteFile(FileHandle handle, const void* buffer, std::uint32_t toWrite,
               std::uint32_t* bytesWritten, void* overlapped);

constexpr std::uint32_t FILE_BEGIN = 0;
constexpr std::uint32_t FILE_CURRENT = 1;
constexpr std::uint32_t FILE_END = 2;
constexpr std::uint32_t INVALID_SET_FILE_POINTER = 0xFFFFFFFF;

// Moves the file pointer by a distance from method's origin. With distanceHigh null the
// distance is the signed 32-bit distance; otherwise *distanceHigh holds its high 32 bits
// and receives the high 32 bits of the new position. Returns the low 32 bits of the new
// position, or INVALID_SET_FILE_POINTER when the move fails (a position before the start
// of the file). A position whose low half is 0xFFFFFFFF returns that value too, and is
// told apart from failure only by the call's high half being valid.
std::uint32_t SetFilePointer(FileHandle handle, std::int32_t distance, std::int32_t* distanceHigh,
                             std::uint32_t method);

// The full path of the running program (from /proc/self/exe, or the one set for
// testing) into buffer, cut at a character boundary to fit size - 1 bytes and ended with
// a terminator. Returns the length copied, or size when the path had to be cut (0 when
// size is 0). module must be null: the program itself.
std::uint32_t GetModuleFileNameA(const void* module, char* buffer, std::uint32_t size);

// Makes GetModuleFileNameA answer path as if the program lived there; null goes back
// to the real path. For tests of code that resolves paths beside the program.
void SetModuleFileNameForTesting(const char* path);
