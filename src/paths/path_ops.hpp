// Path operations on stored file names and anchors.
//
// Two path styles meet here. A name that starts with a drive ("c:") or with
// two backslashes (a network name "\\server\share") is Windows-style and keeps
// the Windows rules on every host: results use backslashes and components
// compare without regard to case. Every other name is POSIX-style: '/' and '\'
// both separate components on input, results use '/', components compare
// exactly, a leading separator makes the name absolute and the root of the
// current drive is "/".
//
// No result is ever truncated: an operation whose result would not fit a
// kMaxPath buffer fails instead, and the caller keeps what it had.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace zem {

// The classic platform path limit: a result must fit a buffer of this many
// bytes together with its terminating zero.
inline constexpr std::size_t kMaxPath = 260;

// Drive number of a network name ("\\server\share...").
inline constexpr int kNetworkDrive = 999;

// Markers accepted as the base of combinePaths: the current directory, and
// the root of the current drive.
inline constexpr std::string_view kCurrentDirectoryMarker = "$PWD";
inline constexpr std::string_view kCurrentDriveRootMarker = "$CDD";

// True when the name has no drive, no leading separator and no network prefix.
bool isRelativePath(std::string_view path);

// 999 for a network name, 0..25 for a name starting with a drive letter
// (either case) and a colon, -1 otherwise.
int driveNumber(std::string_view path);

// "c:" (lower case) for a drive name, "\\server\share" for a network name,
// and the empty text for anything else.
std::string drivePrefix(std::string_view path);

// Joins rel to base: an absolute rel replaces base, a rel with a leading
// separator goes to the root of base's drive, anything else is appended to
// base. "." and ".." components are removed. base may be one of the markers
// above. Fails (nullopt) when the result would not fit kMaxPath.
std::optional<std::string> combinePaths(std::string_view base, std::string_view rel);

// The drive and directory part of path with its trailing separator, without
// the last component ("c:\proj\model.txt" gives "c:\proj\").
std::string directoryOf(std::string_view path);

// The path from `folder` to the file `to`: ".\" and the rest for a file in
// that folder or below it, one "..\" per level to climb otherwise (with '/'
// for POSIX-style names). Fails when the two share no root (other drive,
// share or style, or either is relative) or the result would not fit kMaxPath.
std::optional<std::string> relativePathFromFolder(std::string_view folder, std::string_view to);

// relativePathFromFolder from the folder that holds the file fromFile.
std::optional<std::string> relativePath(std::string_view fromFile, std::string_view to);

// Joins `more` to `path` with exactly one separator of path's style, after
// skipping the leading separators of `more`; an empty path gives `more`
// without them. A `more` with a drive of its own replaces `path`.
// Fails when the result would not fit kMaxPath.
std::optional<std::string> appendPath(std::string_view path, std::string_view more);

// Removes the last component and the separator before it; the separator of a
// root ("c:\", "/", "\\server\share\") stays, and a name without any
// separator becomes empty.
std::string removeFileSpec(std::string_view path);

// Resolves "." and ".." components and writes the separators of the path's
// style; a trailing separator stays. Fails when the result would not fit kMaxPath.
std::optional<std::string> canonicalizePath(std::string_view path);

// True for a name that starts with a drive or a network prefix, whose
// results are written with backslashes.
bool isWindowsStylePath(std::string_view path);

// The process's current directory ("" when it cannot be determined).
std::string currentDirectory();

// The root of the current drive: "/" for a POSIX-style current directory,
// "c:\" or "\\server\share\" for a Windows-style one.
std::string currentDriveRoot();

// Replaces the source of currentDirectory (null restores getcwd). Only tests
// use it, to give the library a Windows-style current directory.
using CurrentDirectoryProvider = std::string (*)();
void setCurrentDirectoryProvider(CurrentDirectoryProvider provider);

}  // namespace zem
