#pragma once
#include "platform/gis/HostApplication.h"
#include "platform/gis/MapDocument.h"

#include <nlohmann/json.hpp>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace tov {

// The host application object: owns the map document. The document is saved
// to and loaded from JSON; saving writes a temporary file and renames it, so
// a failed save leaves the previous file intact.
class GisApplication : public HostApplication {
public:
  // Starts with a new document holding one empty map named "Layers".
  GisApplication();

  MapDocumentPtr Document() const override;
  int64_t hWnd() const override;
  ObjectPtr FindExtension(const std::string& identifier) const override;

  void SetHWnd(int64_t handle);
  // Registers an extension under identifier (replacing one already there).
  void AddExtension(const std::string& identifier, const ObjectPtr& extension);
  void RemoveExtension(const std::string& identifier);

  // Replaces the document by a new one with one empty map.
  void NewDocument();
  // Paths may be native or platform paths. Load replaces the document; a
  // missing or unreadable file, or one that is not exactly what Save writes,
  // raises an error and keeps the current one. A file that was there but
  // refused is never written over: Save to it raises until a Load of it
  // succeeds.
  void LoadDocument(const std::string& path);
  // Save does not overwrite what other processes saved meanwhile: saving to
  // the file the document was loaded from (or last saved to), it re-reads
  // the file under a lock (DocumentLock), replays this document's changes
  // since then onto it and writes the result (a file that still holds what
  // this document was loaded from or last saved as is simply replaced).
  void SaveDocument(const std::string& path) const;
  // The document as SaveDocument(path) would write it now: its text, which
  // is never empty.
  std::string DocumentState(const std::string& path) const;
  // Saves only what changed since `since` (a DocumentState for the same
  // path): what was done to the document before, such as a command's own
  // preparation of the map, stays out of the file. `now`, when given, is
  // the DocumentState of this moment, which then is not made again.
  void SaveDocumentChangesSince(const std::string& path, const std::string& since, std::string now = {}) const;
  // SaveDocument, with `now` the DocumentState of this moment when given.
  void SaveDocument(const std::string& path, std::string now) const;
  // The text of the file at path as loaded, while nothing can have changed
  // the document since: Document() was not called after the load, nor was
  // it saved. Otherwise none. A command that prepares nothing on the map can then
  // mark it without writing out every layer.
  std::shared_ptr<const std::string> UntouchedDocumentText(const std::string& path) const;
  // The text this process last wrote to a document file, as written (the
  // file may since have been changed by others); none before a save.
  std::shared_ptr<const std::string> SavedDocumentText() const { return m_savedText; }
  // A change the host itself makes to the document before a run, such as a
  // command's extent. It is applied at once; while nothing else has changed
  // the document since the load, it is also remembered, so that the
  // document's state need not be written out to mark it (see below).
  using Preparation = std::function<void(MapDocument&)>;
  void Prepare(const Preparation& preparation);
  // While the document is the one loaded from path with only preparations
  // made since: its DocumentState(path) of this moment, made when called
  // from the loaded text with the preparations replayed on it (a mark that
  // most runs never need). Otherwise none.
  std::function<std::string()> PreparedDocumentState(const std::string& path) const;

private:
  std::string DocumentText(const std::string& nativePath) const;
  // A document file that could not be read when loaded is never overwritten.
  void RefuseUnreadDocument(const std::string& nativePath) const;
  // Saves `state`, the document's DocumentText for that path.
  void SaveDocumentState(const std::string& nativePath, std::string state) const;
  // The baseline parsed, made from m_fileText when no other is kept: only a
  // save that merges needs it.
  nlohmann::json Baseline(const std::string& nativePath) const;

  MapDocumentPtr m_document;
  int64_t m_hWnd = 0;
  std::map<std::string, ObjectPtr> m_extensions; // folded identifier
  std::string m_unreadDocument; // the document file a Load refused, if any
  // The document's text as last saved (none for a new one, and after a load,
  // see Baseline): what this process's changes are measured against.
  mutable std::string m_baselineText;
  mutable std::string m_baselineFile;
  // The file's text as this process last read or wrote it (shared with the
  // marks made of it), and whether the baseline is that text's document
  // (after a load, or a save that had nothing to merge).
  mutable std::shared_ptr<const std::string> m_fileText;
  mutable bool m_baselineIsFile = false;
  mutable std::shared_ptr<const std::string> m_savedText; // see SavedDocumentText
  // Set by a load; cleared once the document is handed out or saved.
  mutable bool m_untouched = false;
  // Made since the load, while it is untouched.
  std::vector<Preparation> m_preparations;
};

using GisApplicationPtr = std::shared_ptr<GisApplication>;

} // namespace tov
