#pragma once
#include "platform/framework/ResourceFinder.h"

#include "host/framework/ResourceTable.h"

namespace tov {

// A picture file the resources hand out.
class FilePicture : public ResourcePicture {
public:
  explicit FilePicture(std::string platformPath) : m_path(std::move(platformPath)) {}
  std::string Path() override { return m_path; }

private:
  std::string m_path;
};

// The two resource components share one reader over a table file of the
// resource folder: "TovSetupStudyAreaRes.clsFindResource" reads strings.tsv,
// "TovSetupStudyAreaGuiRes.clsFindResource" reads layout.tsv and hands out
// the cursors of cursors/<id>.png.
class ResourceComponent : public ResourceFinder {
public:
  enum class Kind { Texts, Layout };
  explicit ResourceComponent(Kind kind) : m_kind(kind) {}

  // The text of the id (blanks around the id are ignored); "" when unknown.
  std::string FindString(const std::string& id) override;
  ResourcePicturePtr FindCursor(const std::string& id) override;

  static std::string TableFileName(Kind kind) { return kind == Kind::Texts ? "strings.tsv" : "layout.tsv"; }

private:
  Kind m_kind;
  std::shared_ptr<const ResourceMap> m_table;
};

class TextResources : public ResourceComponent {
public:
  TextResources() : ResourceComponent(Kind::Texts) {}
};

class GuiResources : public ResourceComponent {
public:
  GuiResources() : ResourceComponent(Kind::Layout) {}
};

} // namespace tov
