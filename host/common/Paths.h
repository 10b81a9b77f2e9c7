#pragma once
#include <string>

namespace tov {

// The one place where platform paths (backslash separators, as the component
// builds them) and native paths meet. Everything the host hands to the
// component goes through ToPlatformPath; everything it receives goes through
// ToNativePath; every path shown to people goes through DisplayPath.

// Backslashes become "/". A path already in native form comes back unchanged,
// so host code may accept either.
std::string ToNativePath(const std::string& platformPath);

// "/" becomes a backslash. A native path that itself contains a backslash
// cannot be represented at the boundary and raises HostError 76.
std::string ToPlatformPath(const std::string& nativePath);

// The form of a path that people see in messages, log lines and
// descriptions: always native, whichever form it is given in (a path that
// holds a "/" is taken as native and shown unchanged).
std::string DisplayPath(const std::string& path);

// Joins two platform path pieces with exactly one backslash between them.
std::string JoinPlatformPath(const std::string& folder, const std::string& name);

// A native path made absolute (against the working folder) and lexically
// normal, without a trailing separator; links are not looked at. A path that
// already is so comes back as it is, without std::filesystem's parsing,
// which a document of a thousand layers paid for several times per layer.
std::string AbsoluteNormalPath(const std::string& nativePath);

// The folder a file is in, absolute and normal as above: the anchor of the
// relative paths a document or layer file holds.
std::string FolderOfFile(const std::string& nativeFile);

// (folder / relative).lexically_normal(), the folder made absolute and
// normal first. A join that is normal already is not parsed again, and "."
// (what a layer file beside its data holds) gives the folder with its
// separator, as lexically_normal does.
std::string UnderFolder(const std::string& folder, const std::string& relative);

// A native path with symbolic links, "." and ".." resolved as far as it
// exists, the rest appended (std::filesystem::weakly_canonical). Folders
// resolved once are remembered for the process: a command that meets a
// thousand study areas would otherwise read every link of every path.
std::string ResolvedPath(const std::string& nativePath);

// One key for a file or folder however its path is written: its
// weakly_canonical form, or, when that cannot be made, the absolute and
// lexically normal path. Not remembered: each call reads the links anew.
std::string ComparablePath(const std::string& nativePath);

} // namespace tov
