#pragma once
#include "platform/forms/Control.h"
#include "platform/forms/EventArgs.h"
#include "platform/forms/Font.h"
#include "platform/runtime/HostError.h"
#include "platform/runtime/Object.h"

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace tov {

class ListControl;
class Toolbar;
class ListView;
class TabStrip;
class ImageList;
class MapControlHost;

using EventHandler = std::function<void(EventArgs&)>;

// Window states.
namespace vbws {
constexpr int Normal = 0;
constexpr int Minimized = 1;
constexpr int Maximized = 2;
} // namespace vbws

// A toolkit-neutral modal form. A page derives from Form, adds its controls
// in form order in its constructor, wires its control events with On() and
// overrides the Form_ events it needs. Forms are always made with
// std::make_shared: the form knows it is built once a shared pointer owns it,
// and from then on touching a control of an unloaded form loads it.
//
// Lifecycle: Load (Form_Load, once) -> ShowModal (Form_Resize on the first
// showing, Form_Activate on every showing; returns when the form hides) ->
// Hide -> ... -> Unload (Form_QueryUnload, Form_Unload).
class Form : public virtual Object {
public:
  explicit Form(std::string name);
  ~Form() override;
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  // The form's class name, e.g. "SelectSANameDialog" (what scripts name).
  const std::string& Name() const { return m_name; }

  // --- Controls, in form order -------------------------------------------
  ControlPtr Add(ControlKind kind, const std::string& name);
  std::shared_ptr<ListControl> AddListBox(const std::string& name, int multiSelect = 0);
  std::shared_ptr<ListControl> AddComboBox(const std::string& name);
  std::shared_ptr<Toolbar> AddToolbar(const std::string& name);
  std::shared_ptr<ListView> AddListView(const std::string& name);
  std::shared_ptr<TabStrip> AddTabStrip(const std::string& name);
  std::shared_ptr<ImageList> AddImageList(const std::string& name);
  std::shared_ptr<MapControlHost> AddMapControl(const std::string& name, const std::string& progId = std::string());

  const std::vector<ControlPtr>& Controls() const { return m_controls; }
  long ControlCount() const { return static_cast<long>(m_controls.size()); }
  bool HasControl(const std::string& name) const;
  // The control by name (without regard to case); 730 when there is none.
  // Loads the form first when it is not loaded.
  ControlPtr Ctl(const std::string& name);
  // The control as a kind-specific class; 13 when it is of another kind.
  template <class T>
  std::shared_ptr<T> CtlAs(const std::string& name);

  // --- Events --------------------------------------------------------------
  // Wires a handler; a second handler for the same control and event replaces
  // the first.
  void On(const std::string& controlName, EventKind kind, EventHandler handler);
  // Raises an event of a control; nothing happens without a handler.
  void Fire(const std::string& controlName, EventKind kind, EventArgs& args);
  void Fire(const std::string& controlName, EventKind kind);

  // --- Form properties -----------------------------------------------------
  std::string Caption() const;
  void SetCaption(const std::string& caption);
  float Left() const;
  float Top() const;
  float Width() const;
  float Height() const;
  void SetLeft(float v);
  void SetTop(float v);
  // A new size raises Form_Resize once the form is loaded.
  void SetWidth(float v);
  void SetHeight(float v);
  void Move(float left, float top);
  int WindowState() const;
  void SetWindowState(int state);
  const Font& GetFont() const;
  void SetFont(const Font& font);
  void SetFontName(const std::string& name);
  bool Visible() const { return m_visible; }
  bool Loaded() const { return m_loaded; }
  // The window handle: a number unique among the forms of this run.
  long hWnd() const { return m_hWnd; }

  // --- Lifecycle -----------------------------------------------------------
  // Runs Form_Load once; later calls do nothing until the form is unloaded.
  void Load();
  // Shows the form modally through the current presenter; returns when the
  // form is hidden. Showing a visible form raises 400.
  void ShowModal();
  void Hide();
  // Form_QueryUnload (mode 1) and Form_Unload; the form hides and counts as
  // not loaded. A handler that cancels keeps it loaded.
  void Unload();
  // The user closed the window with its close box: Form_QueryUnload (mode 0)
  // then, unless cancelled, the form hides. Pages see no button click.
  void CloseBox();

  // Loads the form when it is complete (owned by a shared pointer), not
  // loaded and not loading. Controls call it before every property access.
  void EnsureLoaded();

  // Internal: controls report changed properties; the form passes them to
  // the presenter while it is shown, except the echo of the change that the
  // presenter itself is making for the user.
  void PropertyChanged(Control* control, Property property);
  // Marks the control property that the presenter is setting for the user.
  class UserEdit {
  public:
    UserEdit(Form& form, const Control* control, Property property);
    ~UserEdit();

  private:
    Form& m_form;
    std::pair<const Control*, Property> m_saved;
    bool m_savedActive;
  };

  // The forms shown modally now, innermost last.
  static const std::vector<Form*>& ModalStack();

protected:
  virtual void Form_Load() {}
  virtual void Form_Activate() {}
  virtual void Form_Resize() {}
  // cancel != 0 keeps the form; unloadMode 0 close box, 1 by code.
  virtual void Form_QueryUnload(int& cancel, int unloadMode) { (void)cancel; (void)unloadMode; }
  virtual void Form_Unload(int& cancel) { (void)cancel; }

private:
  template <class T>
  std::shared_ptr<T> AddTyped(std::shared_ptr<T> control);
  void Touch() const { const_cast<Form*>(this)->EnsureLoaded(); }
  void ResizeIfChanged(float oldWidth, float oldHeight);
  ControlPtr Find(const std::string& name) const;

  std::string m_name;
  std::vector<ControlPtr> m_controls;
  std::map<std::pair<std::string, EventKind>, EventHandler> m_handlers;
  std::string m_caption;
  float m_left = 0, m_top = 0, m_width = 4800, m_height = 3600;
  int m_windowState = vbws::Normal;
  Font m_font;
  bool m_visible = false;
  bool m_loaded = false;
  bool m_loading = false;
  bool m_shownOnce = false;
  long m_hWnd;
  std::pair<const Control*, Property> m_echo{nullptr, Property::Text};
  bool m_echoActive = false;
};

using FormPtr = std::shared_ptr<Form>;

template <class T>
std::shared_ptr<T> Form::CtlAs(const std::string& name) {
  ControlPtr c = Ctl(name);
  auto t = std::dynamic_pointer_cast<T>(c);
  if (!t) throw HostError(13, m_name, "The control \"" + name + "\" is not of the kind asked for");
  return t;
}

} // namespace tov
