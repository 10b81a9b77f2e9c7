#include "platform/forms/UserActions.h"

#include "platform/forms/Form.h"
#include "platform/forms/ListControl.h"
#include "platform/forms/ListView.h"
#include "platform/forms/TabStrip.h"
#include "platform/forms/Toolbar.h"
#include "platform/runtime/HostError.h"

namespace tov {
namespace UserActions {

namespace {

// The control the user aims at; a user cannot reach a hidden or disabled one.
ControlPtr Reach(Form& form, const std::string& name) {
  if (!form.Visible()) throw HostError(5, form.Name(), "The form \"" + form.Name() + "\" is not shown");
  if (!form.HasControl(name))
    throw HostError(5, form.Name(), "The form \"" + form.Name() + "\" has no control \"" + name + "\"");
  ControlPtr c = form.Ctl(name);
  if (!c->Visible()) throw HostError(5, form.Name(), "\"" + name + "\" is hidden");
  if (!c->Enabled()) throw HostError(5, form.Name(), "\"" + name + "\" is disabled");
  return c;
}

template <class T>
std::shared_ptr<T> ReachAs(Form& form, const std::string& name, const char* what) {
  auto t = std::dynamic_pointer_cast<T>(Reach(form, name));
  if (!t) throw HostError(5, form.Name(), "\"" + name + "\" is not " + what);
  return t;
}

void RequireKind(const ControlPtr& c, ControlKind kind, const char* what) {
  if (c->Kind() != kind) throw HostError(5, c->Name(), "\"" + c->Name() + "\" is not " + what);
}

void UserText(Form& form, const ControlPtr& c, const std::string& text) {
  Form::UserEdit echo(form, c.get(), Property::Text);
  c->SetText(text);
}

// Drops the last character, keeping a multi-byte character whole.
std::string DropLast(const std::string& s) {
  if (s.empty()) return s;
  size_t n = s.size() - 1;
  while (n > 0 && (static_cast<unsigned char>(s[n]) & 0xC0) == 0x80) --n;
  return s.substr(0, n);
}

} // namespace

void Type(Form& form, const std::string& control, const std::string& text) {
  ControlPtr c = Reach(form, control);
  if (!c->HasText()) throw HostError(5, control, "\"" + control + "\" takes no typing");
  size_t i = 0;
  while (i < text.size()) {
    // One character at a time, UTF-8 sequences whole.
    size_t len = 1;
    unsigned char lead = static_cast<unsigned char>(text[i]);
    if (lead >= 0xF0) len = 4;
    else if (lead >= 0xE0) len = 3;
    else if (lead >= 0xC0) len = 2;
    std::string ch = text.substr(i, len);
    i += len;
    if (!form.Visible() || !c->Enabled()) break; // a handler closed the form or locked the box
    EventArgs press;
    press.KeyAscii = ch.size() == 1 ? static_cast<unsigned char>(ch[0]) : 0;
    press.KeyCode = press.KeyAscii;
    form.Fire(c->Name(), EventKind::KeyDown, press);
    EventArgs ascii;
    ascii.KeyAscii = press.KeyAscii;
    form.Fire(c->Name(), EventKind::KeyPress, ascii);
    if (ch.size() == 1 && ascii.KeyAscii == 0) continue; // swallowed
    // A locked box raises its key events but keeps its text.
    if (!c->Locked()) {
      if (ch == "\b") UserText(form, c, DropLast(c->Text()));
      else if (ch.size() == 1 && ascii.KeyAscii != static_cast<unsigned char>(ch[0]))
        UserText(form, c, c->Text() + static_cast<char>(ascii.KeyAscii));
      else UserText(form, c, c->Text() + ch);
    }
    EventArgs up;
    up.KeyCode = press.KeyCode;
    form.Fire(c->Name(), EventKind::KeyUp, up);
  }
}

void SetText(Form& form, const std::string& control, const std::string& text) {
  ControlPtr c = Reach(form, control);
  if (!c->HasText()) throw HostError(5, control, "\"" + control + "\" takes no text");
  if (c->Locked()) throw HostError(5, control, "\"" + control + "\" is read-only");
  UserText(form, c, text);
}

void Click(Form& form, const std::string& control) {
  ControlPtr c = Reach(form, control);
  switch (c->Kind()) {
  case ControlKind::OptionButton:
    if (c->Value()) form.Fire(c->Name(), EventKind::Click);
    else {
      Form::UserEdit echo(form, c.get(), Property::Value);
      c->SetValue(1); // raises Click
    }
    break;
  case ControlKind::CheckBox: {
    Form::UserEdit echo(form, c.get(), Property::Value);
    c->SetValue(c->Value() == 1 ? 0 : 1); // raises Click
    break;
  }
  case ControlKind::TextBox:
  case ControlKind::Toolbar:
  case ControlKind::MapControl: throw HostError(5, control, "Use the action meant for \"" + control + "\"");
  default: form.Fire(c->Name(), EventKind::Click);
  }
}

void DblClick(Form& form, const std::string& control) {
  ControlPtr c = Reach(form, control);
  // The first click of a double click is a click.
  if (c->Kind() == ControlKind::OptionButton || c->Kind() == ControlKind::CommandButton) Click(form, control);
  if (form.Visible()) form.Fire(c->Name(), EventKind::DblClick);
}

void Select(Form& form, const std::string& control, long index) {
  auto list = ReachAs<ListControl>(form, control, "a list");
  if (index < 0 || index >= list->ListCount())
    throw HostError(5, control, "\"" + control + "\" has no entry " + std::to_string(index));
  {
    Form::UserEdit echo(form, list.get(), Property::Selection);
    if (list->MultiSelect() == 0 || list->Kind() == ControlKind::ComboBox) list->SetListIndex(index);
    else {
      bool wasCurrent = list->ListIndex() == index;
      list->SetSelected(index, true);
      if (!wasCurrent) form.Fire(list->Name(), EventKind::Click);
    }
  }
  EventArgs up;
  up.Button = 1;
  form.Fire(list->Name(), EventKind::MouseUp, up);
}

void Deselect(Form& form, const std::string& control, long index) {
  auto list = ReachAs<ListControl>(form, control, "a list");
  if (index < 0 || index >= list->ListCount())
    throw HostError(5, control, "\"" + control + "\" has no entry " + std::to_string(index));
  {
    Form::UserEdit echo(form, list.get(), Property::Selection);
    list->SetSelected(index, false);
  }
  form.Fire(list->Name(), EventKind::Click);
  EventArgs up;
  up.Button = 1;
  form.Fire(list->Name(), EventKind::MouseUp, up);
}

void Pick(Form& form, const std::string& control, const std::vector<long>& selected, long current) {
  auto list = ReachAs<ListControl>(form, control, "a list");
  RequireKind(list, ControlKind::ListBox, "a list box");
  const long count = list->ListCount();
  for (long index : selected)
    if (index < 0 || index >= count) throw HostError(5, control, "\"" + control + "\" has no entry " + std::to_string(index));
  if (current < -1 || current >= count)
    throw HostError(5, control, "\"" + control + "\" has no entry " + std::to_string(current));
  bool changed = false;
  {
    Form::UserEdit echo(form, list.get(), Property::Selection);
    changed = list->SetSelection(selected, current);
  }
  if (changed) form.Fire(list->Name(), EventKind::Click);
}

void MouseUp(Form& form, const std::string& control, int button, int shift) {
  ControlPtr c = Reach(form, control);
  EventArgs args;
  args.Button = button;
  args.Shift = shift;
  form.Fire(c->Name(), EventKind::MouseUp, args);
}

int KeyPress(Form& form, const std::string& control, int keyAscii) {
  ControlPtr c = Reach(form, control);
  EventArgs args;
  args.KeyAscii = keyAscii;
  form.Fire(c->Name(), EventKind::KeyPress, args);
  return args.KeyAscii;
}

void KeyUp(Form& form, const std::string& control, int keyCode, int shift) {
  ControlPtr c = Reach(form, control);
  EventArgs args;
  args.KeyCode = keyCode;
  args.Shift = shift;
  form.Fire(c->Name(), EventKind::KeyUp, args);
}

void ToolbarButton(Form& form, const std::string& control, const std::string& key) {
  auto bar = ReachAs<Toolbar>(form, control, "a toolbar");
  long index = bar->ButtonIndex(key);
  if (index == 0) throw HostError(5, control, "\"" + control + "\" has no button \"" + key + "\"");
  const tov::ToolbarButton& b = bar->Button(index);
  if (!b.Enabled || !b.Visible || b.Style == tbr::Separator)
    throw HostError(5, control, "The button \"" + key + "\" of \"" + control + "\" cannot be pressed");
  {
    Form::UserEdit echo(form, bar.get(), Property::Buttons);
    bar->PressByUser(index);
  }
  EventArgs args;
  args.Index = index;
  args.Key = bar->Button(index).Key;
  form.Fire(bar->Name(), EventKind::ButtonClick, args);
}

void ButtonMenu(Form& form, const std::string& control, const std::string& buttonKey, const std::string& menuKey) {
  auto bar = ReachAs<Toolbar>(form, control, "a toolbar");
  long index = bar->ButtonIndex(buttonKey);
  if (index == 0) throw HostError(5, control, "\"" + control + "\" has no button \"" + buttonKey + "\"");
  for (const tov::ButtonMenu& m : bar->Button(index).ButtonMenus) {
    if (m.Key == menuKey) {
      if (!m.Enabled || !m.Visible) throw HostError(5, control, "The menu \"" + menuKey + "\" cannot be chosen");
      EventArgs args;
      args.Index = index;
      args.Key = m.Key;
      form.Fire(bar->Name(), EventKind::ButtonMenuClick, args);
      return;
    }
  }
  throw HostError(5, control, "The button \"" + buttonKey + "\" has no menu \"" + menuKey + "\"");
}

void CheckItem(Form& form, const std::string& control, long index) {
  auto view = ReachAs<ListView>(form, control, "a list view");
  if (index < 1 || index > view->ItemCount()) throw HostError(5, control, "\"" + control + "\" has no item " + std::to_string(index));
  {
    Form::UserEdit echo(form, view.get(), Property::Items);
    view->SetItemChecked(index, !view->Item(index).Checked);
  }
  EventArgs args;
  args.Index = index;
  form.Fire(view->Name(), EventKind::ItemCheck, args);
}

void ClickItem(Form& form, const std::string& control, long index) {
  auto view = ReachAs<ListView>(form, control, "a list view");
  if (index < 1 || index > view->ItemCount()) throw HostError(5, control, "\"" + control + "\" has no item " + std::to_string(index));
  {
    Form::UserEdit echo(form, view.get(), Property::Selection);
    for (long i = 1; i <= view->ItemCount(); ++i) view->SetItemSelected(i, i == index);
  }
  EventArgs args;
  args.Index = index;
  form.Fire(view->Name(), EventKind::ItemClick, args);
}

void SelectTab(Form& form, const std::string& control, long index) {
  auto tabs = ReachAs<TabStrip>(form, control, "a tab strip");
  if (index < 1 || index > tabs->TabCount()) throw HostError(5, control, "\"" + control + "\" has no tab " + std::to_string(index));
  Form::UserEdit echo(form, tabs.get(), Property::Selection);
  tabs->SetSelectedItem(index);
}

void MapMouseDown(Form& form, const std::string& control, int button, int shift, double x, double y, double mapX,
                  double mapY) {
  ControlPtr c = Reach(form, control);
  RequireKind(c, ControlKind::MapControl, "a map control");
  EventArgs args;
  args.Button = button;
  args.Shift = shift;
  args.X = x;
  args.Y = y;
  args.MapX = mapX;
  args.MapY = mapY;
  form.Fire(c->Name(), EventKind::OnMouseDown, args);
}

} // namespace UserActions
} // namespace tov
