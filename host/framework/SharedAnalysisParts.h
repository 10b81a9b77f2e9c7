#pragma once
// What the files of SharedAnalysis share: the location, the working copy,
// the schema, the pull and the publish. Not for other code.
#include "host/common/TextDigest.h"
#include "host/framework/PgConnection.h"
#include "host/framework/SharedAnalysis.h"

#include <filesystem>
#include <string>

namespace tov::shared {

inline constexpr char kSource[] = "SharedAnalysis";
// Stands for the working folder in what is stored: every process has its own.
inline constexpr char kFolderToken[] = "/${SHARED_ANALYSIS}";
// First key of the advisory locks; the second is the schema's hash.
inline constexpr char kLockKey[] = "7466";

// Calls the hook of SharedAnalysis::SetFailurePoint, if any.
void FailurePoint(const std::string& point, PgConnection& db);

// The working copy's files.
std::string ReadText(const std::filesystem::path& path);
void WriteText(const std::filesystem::path& path, const std::string& text);
// The folder every working copy of this user is made in: "shared" in the
// user's cache folder, which is refused unless private to the user.
std::filesystem::path WorkRoot();
// A schema's name as a part of a folder name: letters and digits, the rest '_'.
std::string FolderSafeName(const std::string& schema);
// Working copies left by processes that ended without removing theirs.
void RemoveAbandonedCopies(const std::filesystem::path& root);
// A short text that changes whenever the layer's fields, features or
// spatial index change.
std::string LayerHash(const std::string& path, const std::string& layerName, bool geopackage);
// A file's size and time of change; empty when it is not there.
std::string FileStamp(const std::filesystem::path& path);
// Whether a LayerHash says the layer has a spatial index.
bool Indexed(const std::string& hash);
// Whether two states hold the same study areas, files and datasets (their
// files' stamps aside).
bool SameContent(const SharedAnalysis::RecordState& a, const SharedAnalysis::RecordState& b);
bool SameContent(const SharedAnalysis::State& a, const SharedAnalysis::State& b);

} // namespace tov::shared
