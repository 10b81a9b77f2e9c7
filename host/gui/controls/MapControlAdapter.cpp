#include "host/gui/controls/MapControlAdapter.h"

#include "host/gui/FormDialog.h"
#include "platform/forms/Form.h"
#include "platform/forms/UserActions.h"

#include "host/gis/HostMapControl.h"
#include "host/gui/MapCanvas.h"
#include "platform/forms/MapControlHost.h"

#include <QLabel>

namespace tov {

QWidget* MapControlAdapter::Make(FormDialog& dialog, const ControlPtr& control) const {
  auto slot = std::dynamic_pointer_cast<MapControlHost>(control);
  HostMapControlPtr map;
  if (slot) {
    map = std::dynamic_pointer_cast<HostMapControl>(slot->MapObject());
    if (!map && !slot->MapObject()) {
      map = std::make_shared<HostMapControl>();
      slot->SetMapObject(map);
    }
  }
  if (!map) return new QLabel(QObject::tr("(map)"), &dialog);
  auto* w = new MapCanvas(map, &dialog);
  const std::string name = control->Name();
  w->SetMouseDownHandler([&dialog, name](int button, int shift, double x, double y, double mx, double my) {
    dialog.Act([&] { UserActions::MapMouseDown(dialog.GetForm(), name, button, shift, x, y, mx, my); });
  });
  return w;
}

void MapControlAdapter::Show(Control&, QWidget& w) const { w.update(); }

} // namespace tov
