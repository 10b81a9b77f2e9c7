#pragma once
#include "platform/forms/EventArgs.h"
#include "platform/forms/Font.h"
#include "platform/runtime/Object.h"

#include <cstdint>
#include <string>

namespace tov {

class Form;

enum class ControlKind {
  Label,
  TextBox,
  CommandButton,
  OptionButton,
  CheckBox,
  ListBox,
  ComboBox,
  Frame,
  Image,
  Toolbar,
  ListView,
  TabStrip,
  ImageList,
  MapControl,
};

const char* ControlKindName(ControlKind kind);

// What changed, as told to the presenter showing the form so that a real
// widget can follow the model.
enum class Property {
  Caption,
  Text,
  ToolTipText,
  Enabled,
  Visible,
  Geometry, // left, top, width or height
  Font,
  Value,
  List,      // list entries added, removed or replaced
  Selection, // list index or selected entries
  BackColor,
  Picture,
  Buttons, // toolbar buttons or their menus
  Columns, // list view column headers
  Items,   // list view items
  Tabs,
  WindowState,
  Focus,
};

// Error raised when a control kind lacks the property or method asked for.
constexpr long kErrNoSuchMember = 438;
// Error raised when a form has no control of the given name.
constexpr long kErrControlNotFound = 730;

// One control of a form. Properties that a kind does not have raise 438, as
// the platform does, so that generic walks over all controls can simply
// ignore the failure and go on.
//
// Reading or writing any property of a control whose form is not loaded yet
// loads the form first (its Form_Load runs), except while the form is being
// built in its constructor.
class Control : public virtual Object {
public:
  Control(ControlKind kind, std::string name);

  ControlKind Kind() const { return m_kind; }
  const std::string& Name() const { return m_name; }
  // The owning form, or null once the form is gone.
  Form* Parent() const { return m_form; }

  bool HasCaption() const;
  bool HasText() const;
  bool HasToolTip() const;
  bool HasFont() const;
  bool HasValue() const;

  std::string Caption() const;
  void SetCaption(const std::string& caption);
  // Text box and combo box. Setting a different text raises Change once.
  std::string Text() const;
  void SetText(const std::string& text);
  std::string ToolTipText() const;
  void SetToolTipText(const std::string& text);

  bool Enabled() const;
  void SetEnabled(bool enabled);
  bool Visible() const;
  void SetVisible(bool visible);

  // Position and size in twips.
  float Left() const;
  float Top() const;
  float Width() const;
  float Height() const;
  void SetLeft(float v);
  void SetTop(float v);
  void SetWidth(float v);
  void SetHeight(float v);
  void Move(float left, float top, float width, float height);

  const Font& GetFont() const;
  void SetFont(const Font& font);
  // Sets one part of the font; each is a separate change, as on the platform.
  void SetFontName(const std::string& name);
  void SetFontSize(float size);
  void SetFontCharset(int charset);

  // Option button: 0 or 1; check box: 0 unchecked, 1 checked, 2 greyed.
  // A program that sets an option button (or changes a check box) raises
  // Click; an option button set clears the others of its container.
  int32_t Value() const;
  void SetValue(int32_t value);

  // Option buttons with the same container are one group ("" is the form).
  const std::string& Container() const { return m_container; }
  void SetContainer(const std::string& container) { m_container = container; }

  // Colour as 0x00BBGGRR, or a system colour 0x800000nn.
  long BackColor() const;
  void SetBackColor(long color);

  // Image: the picture's resource name or path.
  std::string Picture() const;
  void SetPicture(const std::string& picture);

  void SetFocus();

  // Text box: shows several lines (set at design time, before it is shown).
  bool MultiLine() const { return m_multiLine; }
  void SetMultiLine(bool multiLine) { m_multiLine = multiLine; }
  // Text box: shown for reading only; the user cannot change it.
  bool Locked() const { return m_locked; }
  void SetLocked(bool locked) { m_locked = locked; }

  // Internal: attach to or detach from the owning form.
  void AttachTo(Form* form) { m_form = form; }

protected:
  // Loads the owning form when it is not loaded yet.
  void Touch() const;
  // Tells the form (and through it the presenter) that a property changed.
  void Changed(Property property);
  void Raise(EventKind kind);
  void Raise(EventKind kind, EventArgs& args);
  [[noreturn]] void NoSuchMember(const char* member) const;
  // A combo box picking an entry shows its text without a Change event.
  void ShowTextOfEntry(const std::string& text);

private:
  ControlKind m_kind;
  std::string m_name;
  Form* m_form = nullptr;
  std::string m_caption;
  std::string m_text;
  std::string m_toolTip;
  bool m_enabled = true;
  bool m_visible = true;
  float m_left = 0, m_top = 0, m_width = 0, m_height = 0;
  Font m_font;
  int32_t m_value = 0;
  std::string m_container;
  long m_backColor = static_cast<long>(0x80000005); // window background
  std::string m_picture;
  bool m_multiLine = false;
  bool m_locked = false;
};

using ControlPtr = std::shared_ptr<Control>;

} // namespace tov
