#include "platform/forms/Control.h"

#include "platform/forms/Form.h"
#include "platform/runtime/HostError.h"

namespace tov {

const char* ControlKindName(ControlKind kind) {
  switch (kind) {
  case ControlKind::Label: return "Label";
  case ControlKind::TextBox: return "TextBox";
  case ControlKind::CommandButton: return "CommandButton";
  case ControlKind::OptionButton: return "OptionButton";
  case ControlKind::CheckBox: return "CheckBox";
  case ControlKind::ListBox: return "ListBox";
  case ControlKind::ComboBox: return "ComboBox";
  case ControlKind::Frame: return "Frame";
  case ControlKind::Image: return "Image";
  case ControlKind::Toolbar: return "Toolbar";
  case ControlKind::ListView: return "ListView";
  case ControlKind::TabStrip: return "TabStrip";
  case ControlKind::ImageList: return "ImageList";
  case ControlKind::MapControl: return "MapControl";
  }
  return "Control";
}

const char* EventKindName(EventKind kind) {
  switch (kind) {
  case EventKind::Click: return "Click";
  case EventKind::DblClick: return "DblClick";
  case EventKind::Change: return "Change";
  case EventKind::KeyDown: return "KeyDown";
  case EventKind::KeyPress: return "KeyPress";
  case EventKind::KeyUp: return "KeyUp";
  case EventKind::MouseDown: return "MouseDown";
  case EventKind::MouseUp: return "MouseUp";
  case EventKind::GotFocus: return "GotFocus";
  case EventKind::LostFocus: return "LostFocus";
  case EventKind::ItemCheck: return "ItemCheck";
  case EventKind::ItemClick: return "ItemClick";
  case EventKind::ButtonClick: return "ButtonClick";
  case EventKind::ButtonMenuClick: return "ButtonMenuClick";
  case EventKind::OnMouseDown: return "OnMouseDown";
  }
  return "Event";
}

Control::Control(ControlKind kind, std::string name) : m_kind(kind), m_name(std::move(name)) {
  if (kind == ControlKind::Image || kind == ControlKind::Frame || kind == ControlKind::Label)
    m_backColor = static_cast<long>(0x8000000F); // button face
}

bool Control::HasCaption() const {
  switch (m_kind) {
  case ControlKind::Label:
  case ControlKind::CommandButton:
  case ControlKind::OptionButton:
  case ControlKind::CheckBox:
  case ControlKind::Frame: return true;
  default: return false;
  }
}

bool Control::HasText() const { return m_kind == ControlKind::TextBox || m_kind == ControlKind::ComboBox; }

bool Control::HasToolTip() const { return m_kind != ControlKind::ImageList && m_kind != ControlKind::MapControl; }

bool Control::HasFont() const {
  switch (m_kind) {
  case ControlKind::Image:
  case ControlKind::ImageList:
  case ControlKind::MapControl:
  case ControlKind::Toolbar: return false;
  default: return true;
  }
}

bool Control::HasValue() const { return m_kind == ControlKind::OptionButton || m_kind == ControlKind::CheckBox; }

void Control::Touch() const {
  if (m_form) m_form->EnsureLoaded();
}

void Control::Changed(Property property) {
  if (m_form) m_form->PropertyChanged(this, property);
}

void Control::Raise(EventKind kind) {
  EventArgs args;
  Raise(kind, args);
}

void Control::Raise(EventKind kind, EventArgs& args) {
  if (m_form) m_form->Fire(m_name, kind, args);
}

void Control::NoSuchMember(const char* member) const {
  throw HostError(kErrNoSuchMember, m_name,
                  std::string("The ") + ControlKindName(m_kind) + " \"" + m_name + "\" has no " + member);
}

std::string Control::Caption() const {
  Touch();
  if (!HasCaption()) NoSuchMember("caption");
  return m_caption;
}

void Control::SetCaption(const std::string& caption) {
  Touch();
  if (!HasCaption()) NoSuchMember("caption");
  if (caption == m_caption) return;
  m_caption = caption;
  Changed(Property::Caption);
}

std::string Control::Text() const {
  Touch();
  if (!HasText()) NoSuchMember("text");
  return m_text;
}

void Control::SetText(const std::string& text) {
  Touch();
  if (!HasText()) NoSuchMember("text");
  if (text == m_text) return;
  m_text = text;
  Changed(Property::Text);
  Raise(EventKind::Change);
}

void Control::ShowTextOfEntry(const std::string& text) {
  if (text == m_text) return;
  m_text = text;
  Changed(Property::Text);
}

std::string Control::ToolTipText() const {
  Touch();
  if (!HasToolTip()) NoSuchMember("tool tip");
  return m_toolTip;
}

void Control::SetToolTipText(const std::string& text) {
  Touch();
  if (!HasToolTip()) NoSuchMember("tool tip");
  if (text == m_toolTip) return;
  m_toolTip = text;
  Changed(Property::ToolTipText);
}

bool Control::Enabled() const {
  Touch();
  return m_enabled;
}

void Control::SetEnabled(bool enabled) {
  Touch();
  if (enabled == m_enabled) return;
  m_enabled = enabled;
  Changed(Property::Enabled);
}

bool Control::Visible() const {
  Touch();
  return m_visible;
}

void Control::SetVisible(bool visible) {
  Touch();
  if (visible == m_visible) return;
  m_visible = visible;
  Changed(Property::Visible);
}

float Control::Left() const { Touch(); return m_left; }
float Control::Top() const { Touch(); return m_top; }
float Control::Width() const { Touch(); return m_width; }
float Control::Height() const { Touch(); return m_height; }

void Control::SetLeft(float v) { Move(v, Top(), m_width, m_height); }
void Control::SetTop(float v) { Move(Left(), v, m_width, m_height); }
void Control::SetWidth(float v) { Move(Left(), m_top, v, m_height); }
void Control::SetHeight(float v) { Move(Left(), m_top, m_width, v); }

void Control::Move(float left, float top, float width, float height) {
  Touch();
  if (width < 0 || height < 0)
    throw HostError(380, m_name, "The size of \"" + m_name + "\" cannot be negative");
  if (left == m_left && top == m_top && width == m_width && height == m_height) return;
  m_left = left;
  m_top = top;
  m_width = width;
  m_height = height;
  Changed(Property::Geometry);
}

const Font& Control::GetFont() const {
  Touch();
  if (!HasFont()) NoSuchMember("font");
  return m_font;
}

void Control::SetFont(const Font& font) {
  Touch();
  if (!HasFont()) NoSuchMember("font");
  if (font == m_font) return;
  m_font = font;
  Changed(Property::Font);
}

void Control::SetFontName(const std::string& name) {
  Font f = GetFont();
  f.Name = name;
  SetFont(f);
}

void Control::SetFontSize(float size) {
  Font f = GetFont();
  f.Size = size;
  SetFont(f);
}

void Control::SetFontCharset(int charset) {
  Font f = GetFont();
  f.Charset = charset;
  SetFont(f);
}

int32_t Control::Value() const {
  Touch();
  if (!HasValue()) NoSuchMember("value");
  return m_value;
}

void Control::SetValue(int32_t value) {
  Touch();
  if (!HasValue()) NoSuchMember("value");
  if (m_kind == ControlKind::OptionButton) value = value ? 1 : 0;
  else if (value < 0 || value > 2)
    throw HostError(380, m_name, "A check box value is 0, 1 or 2, not " + std::to_string(value));
  if (value == m_value) return;
  m_value = value;
  if (m_kind == ControlKind::OptionButton && value && m_form) {
    // One option of a group at a time.
    for (const ControlPtr& other : m_form->Controls()) {
      if (other.get() != this && other->Kind() == ControlKind::OptionButton && other->m_container == m_container &&
          other->m_value) {
        other->m_value = 0;
        other->Changed(Property::Value);
      }
    }
  }
  Changed(Property::Value);
  if (m_kind == ControlKind::CheckBox || value) Raise(EventKind::Click);
}

long Control::BackColor() const {
  Touch();
  return m_backColor;
}

void Control::SetBackColor(long color) {
  Touch();
  if (color == m_backColor) return;
  m_backColor = color;
  Changed(Property::BackColor);
}

std::string Control::Picture() const {
  Touch();
  if (m_kind != ControlKind::Image) NoSuchMember("picture");
  return m_picture;
}

void Control::SetPicture(const std::string& picture) {
  Touch();
  if (m_kind != ControlKind::Image) NoSuchMember("picture");
  m_picture = picture;
  Changed(Property::Picture);
}

void Control::SetFocus() {
  Touch();
  if (!m_enabled || !m_visible)
    throw HostError(5, m_name, "\"" + m_name + "\" cannot take the focus while it is hidden or disabled");
  Changed(Property::Focus);
}

} // namespace tov
