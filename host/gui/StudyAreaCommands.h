#pragma once
#include <QObject>
#include <QString>

#include <string>

class QMenu;
class QWidget;

namespace tov {

class MainWindow;

// What the window offers on one saved study area, from the Study Areas
// panel and from the layer tree alike: open it (make it current), zoom to
// it, rename it, export it to a file, see its properties, delete it. Open
// and rename go through Study Area Setup's chooser and manage dialog as a
// user would; delete runs the component's delete function, which asks for
// confirmation. Every change ends as a run of the wizard does: saved, the
// map, the layer tree and the panel shown anew.
class StudyAreaCommands : public QObject {
public:
  enum class Action { Open, ZoomTo, Rename, Export, Properties, Delete };

  explicit StudyAreaCommands(MainWindow& window);

  void Run(Action action, const std::string& studyArea);
  // The context menu of a study area; its entries are named after their
  // actions ("Open", "Zoom To", "Rename", "Export", "Properties", "Delete").
  QMenu* MenuFor(const std::string& studyArea, QWidget* parent);

  // Export... without its dialog: writes the study area to path in the
  // format of its extension; an existing file the user chose to replace is
  // replaced only once the new one is written. False, having told the user
  // why, when it was not written.
  bool ExportTo(const std::string& studyArea, const QString& path);
  // The file types of Export..., as the save dialog offers them.
  static QString ExportFilters();

private:
  void Open(const std::string& studyArea, bool open);
  void ZoomTo(const std::string& studyArea);
  void Export(const std::string& studyArea);
  void Properties(const std::string& studyArea);
  void Delete(const std::string& studyArea);

  MainWindow& m_window;
  QString m_exportFolder; // where the last export went
};

} // namespace tov
