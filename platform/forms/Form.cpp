#include "platform/forms/Form.h"

#include "platform/forms/ImageList.h"
#include "platform/forms/ListControl.h"
#include "platform/forms/ListView.h"
#include "platform/forms/MapControlHost.h"
#include "platform/forms/Presenter.h"
#include "platform/forms/TabStrip.h"
#include "platform/forms/Toolbar.h"
#include "platform/runtime/HostError.h"
#include "platform/runtime/TextCase.h"

#include <algorithm>

namespace tov {

namespace {

// Control names are found without regard to case.
std::string Fold(const std::string& s) { return LowerCase(s); }

long NextHandle() {
  // Even numbers well away from small constants the host uses for its own windows.
  static long next = 0x10000;
  next += 2;
  return next;
}

std::vector<Form*>& Stack() {
  static std::vector<Form*> stack;
  return stack;
}

} // namespace

Form::Form(std::string name) : m_name(std::move(name)), m_hWnd(NextHandle()) {}

Form::~Form() {
  for (const ControlPtr& c : m_controls) c->AttachTo(nullptr);
  auto& stack = Stack();
  stack.erase(std::remove(stack.begin(), stack.end(), this), stack.end());
}

const std::vector<Form*>& Form::ModalStack() { return Stack(); }

template <class T>
std::shared_ptr<T> Form::AddTyped(std::shared_ptr<T> control) {
  if (Find(control->Name()))
    throw HostError(err::DuplicateKey, m_name, "The form \"" + m_name + "\" already has a control \"" + control->Name() + "\"");
  control->AttachTo(this);
  m_controls.push_back(control);
  return control;
}

ControlPtr Form::Add(ControlKind kind, const std::string& name) {
  switch (kind) {
  case ControlKind::ListBox: return AddListBox(name);
  case ControlKind::ComboBox: return AddComboBox(name);
  case ControlKind::Toolbar: return AddToolbar(name);
  case ControlKind::ListView: return AddListView(name);
  case ControlKind::TabStrip: return AddTabStrip(name);
  case ControlKind::ImageList: return AddImageList(name);
  case ControlKind::MapControl: return AddMapControl(name);
  default: return AddTyped(std::make_shared<Control>(kind, name));
  }
}

std::shared_ptr<ListControl> Form::AddListBox(const std::string& name, int multiSelect) {
  auto c = AddTyped(std::make_shared<ListControl>(ControlKind::ListBox, name));
  c->SetMultiSelect(multiSelect);
  return c;
}

std::shared_ptr<ListControl> Form::AddComboBox(const std::string& name) {
  return AddTyped(std::make_shared<ListControl>(ControlKind::ComboBox, name));
}

std::shared_ptr<Toolbar> Form::AddToolbar(const std::string& name) { return AddTyped(std::make_shared<Toolbar>(name)); }
std::shared_ptr<ListView> Form::AddListView(const std::string& name) { return AddTyped(std::make_shared<ListView>(name)); }
std::shared_ptr<TabStrip> Form::AddTabStrip(const std::string& name) { return AddTyped(std::make_shared<TabStrip>(name)); }
std::shared_ptr<ImageList> Form::AddImageList(const std::string& name) {
  return AddTyped(std::make_shared<ImageList>(name));
}
std::shared_ptr<MapControlHost> Form::AddMapControl(const std::string& name, const std::string& progId) {
  return AddTyped(std::make_shared<MapControlHost>(name, progId));
}

ControlPtr Form::Find(const std::string& name) const {
  std::string folded = Fold(name);
  for (const ControlPtr& c : m_controls)
    if (Fold(c->Name()) == folded) return c;
  return nullptr;
}

bool Form::HasControl(const std::string& name) const { return Find(name) != nullptr; }

ControlPtr Form::Ctl(const std::string& name) {
  EnsureLoaded();
  ControlPtr c = Find(name);
  if (!c) throw HostError(kErrControlNotFound, m_name, "The form \"" + m_name + "\" has no control \"" + name + "\"");
  return c;
}

void Form::On(const std::string& controlName, EventKind kind, EventHandler handler) {
  m_handlers[{Fold(controlName), kind}] = std::move(handler);
}

void Form::Fire(const std::string& controlName, EventKind kind, EventArgs& args) {
  auto it = m_handlers.find({Fold(controlName), kind});
  if (it == m_handlers.end()) return;
  EventHandler handler = it->second; // the handler may rewire itself
  handler(args);
}

void Form::Fire(const std::string& controlName, EventKind kind) {
  EventArgs args;
  Fire(controlName, kind, args);
}

void Form::EnsureLoaded() {
  if (m_loaded || m_loading) return;
  // Still being built by its constructor: design-time settings load nothing.
  if (weak_from_this().expired()) return;
  Load();
}

void Form::Load() {
  if (m_loaded || m_loading) return;
  m_loading = true;
  try {
    Form_Load();
  } catch (...) {
    m_loading = false;
    m_loaded = true;
    throw;
  }
  m_loading = false;
  m_loaded = true;
}

std::string Form::Caption() const {
  Touch();
  return m_caption;
}

void Form::SetCaption(const std::string& caption) {
  Touch();
  if (caption == m_caption) return;
  m_caption = caption;
  PropertyChanged(nullptr, Property::Caption);
}

float Form::Left() const { Touch(); return m_left; }
float Form::Top() const { Touch(); return m_top; }
float Form::Width() const { Touch(); return m_width; }
float Form::Height() const { Touch(); return m_height; }

void Form::Move(float left, float top) {
  Touch();
  if (m_windowState != vbws::Normal)
    throw HostError(384, m_name, "A form cannot be moved while it is minimised or maximised");
  if (left == m_left && top == m_top) return;
  m_left = left;
  m_top = top;
  PropertyChanged(nullptr, Property::Geometry);
}

void Form::SetLeft(float v) { Move(v, Top()); }
void Form::SetTop(float v) { Move(Left(), v); }

void Form::ResizeIfChanged(float oldWidth, float oldHeight) {
  if (oldWidth == m_width && oldHeight == m_height) return;
  PropertyChanged(nullptr, Property::Geometry);
  if (m_loaded) Form_Resize();
}

void Form::SetWidth(float v) {
  Touch();
  if (v < 0) throw HostError(380, m_name, "The width of a form cannot be negative");
  if (m_windowState != vbws::Normal)
    throw HostError(384, m_name, "A form cannot be sized while it is minimised or maximised");
  float w = m_width, h = m_height;
  m_width = v;
  ResizeIfChanged(w, h);
}

void Form::SetHeight(float v) {
  Touch();
  if (v < 0) throw HostError(380, m_name, "The height of a form cannot be negative");
  if (m_windowState != vbws::Normal)
    throw HostError(384, m_name, "A form cannot be sized while it is minimised or maximised");
  float w = m_width, h = m_height;
  m_height = v;
  ResizeIfChanged(w, h);
}

int Form::WindowState() const {
  Touch();
  return m_windowState;
}

void Form::SetWindowState(int state) {
  Touch();
  if (state < vbws::Normal || state > vbws::Maximized)
    throw HostError(380, m_name, "A window state is 0, 1 or 2, not " + std::to_string(state));
  if (state == m_windowState) return;
  m_windowState = state;
  PropertyChanged(nullptr, Property::WindowState);
  if (m_loaded) Form_Resize();
}

const Font& Form::GetFont() const {
  Touch();
  return m_font;
}

void Form::SetFont(const Font& font) {
  Touch();
  if (font == m_font) return;
  m_font = font;
  PropertyChanged(nullptr, Property::Font);
}

void Form::SetFontName(const std::string& name) {
  Font f = GetFont();
  f.Name = name;
  SetFont(f);
}

void Form::ShowModal() {
  EnsureLoaded();
  if (!m_loaded) Load();
  if (m_visible)
    throw HostError(400, m_name, "The form \"" + m_name + "\" is already shown and cannot be shown modally");
  PresenterPtr presenter = GetPresenter();
  m_visible = true;
  Stack().push_back(this);
  struct Pop {
    Form* f;
    ~Pop() {
      auto& s = Stack();
      s.erase(std::remove(s.begin(), s.end(), f), s.end());
      f->m_visible = false;
    }
  } pop{this};
  if (!m_shownOnce) {
    m_shownOnce = true;
    Form_Resize();
  }
  Form_Activate();
  if (m_visible) presenter->ShowModal(*this);
  // Focus goes back to the form below, which activates again.
  auto& s = Stack();
  s.erase(std::remove(s.begin(), s.end(), this), s.end());
  m_visible = false;
  if (!s.empty() && s.back()->m_visible) s.back()->Form_Activate();
}

void Form::Hide() {
  Touch();
  if (!m_visible) return;
  m_visible = false;
  if (HasPresenter()) GetPresenter()->Hide(*this);
}

void Form::Unload() {
  if (!m_loaded) return;
  int cancel = 0;
  Form_QueryUnload(cancel, 1);
  if (cancel) return;
  Form_Unload(cancel);
  if (cancel) return;
  Hide();
  m_loaded = false;
  m_shownOnce = false;
}

void Form::CloseBox() {
  int cancel = 0;
  Form_QueryUnload(cancel, 0);
  if (cancel) return;
  Hide();
}

void Form::PropertyChanged(Control* control, Property property) {
  if (!m_visible || !HasPresenter()) return;
  if (m_echoActive && m_echo.first == control && m_echo.second == property) return;
  GetPresenter()->PropertyChanged(*this, control, property);
}

Form::UserEdit::UserEdit(Form& form, const Control* control, Property property)
    : m_form(form), m_saved(form.m_echo), m_savedActive(form.m_echoActive) {
  form.m_echo = {control, property};
  form.m_echoActive = true;
}

Form::UserEdit::~UserEdit() {
  m_form.m_echo = m_saved;
  m_form.m_echoActive = m_savedActive;
}

} // namespace tov
