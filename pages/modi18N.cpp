#include "pages/modi18N.h"

#include "platform/forms/Form.h"
#include "platform/forms/ListControl.h"
#include "platform/forms/ListView.h"
#include "platform/forms/SystemCalls.h"
#include "platform/forms/TabStrip.h"
#include "platform/forms/Toolbar.h"
#include "platform/framework/ResourceFinder.h"
#include "platform/runtime/ObjectRegistry.h"
#include "platform/runtime/Variant.h"

#include <algorithm>

namespace tov {

namespace {

bool IsEnglishLocale(uint32_t locale) {
  static const uint32_t english[] = {1033, 2057, 3081, 4105, 5129, 6153, 7177, 8201, 9225, 10249, 11273, 12297, 13321};
  return std::find(std::begin(english), std::end(english), locale) != std::end(english);
}

// Runs one statement; its failure is passed over, as localisation must never
// keep a page from opening.
template <class F>
void Ignoring(F&& f) {
  try {
    f();
  } catch (...) {
  }
}

} // namespace

void SetFontForCodePage(Font& font, long codePage) {
  int charset = 1;
  std::string name;
  bool eastAsian = false;
  switch (codePage) {
  case 1250: charset = 238; break;
  case 1251: charset = 204; break;
  case 1252: charset = 0; break;
  case 1253: charset = 161; break;
  case 1254: charset = 162; break;
  case 1255: charset = 177; break;
  case 1256: charset = 178; break;
  case 1257: charset = 186; break;
  case 932: charset = 128; name = "ＭＳ Ｐゴシック"; eastAsian = true; break;
  case 936: charset = 134; name = "宋体"; eastAsian = true; break;
  case 949: charset = 129; name = "굴림"; eastAsian = true; break;
  case 950: charset = 136; name = "新細明體"; eastAsian = true; break;
  default: break;
  }
  font.Charset = charset;
  font.Name = name;
  if (eastAsian && font.Size < 9) font.Size = 9;
}

std::string CutAtNul(const std::string& text) { return text.substr(0, text.find('\0')); }

long GetAnsiCodePage(uint32_t locale) {
  std::string buffer(16, '\0');
  GetSystemCalls()->GetLocaleInfoA(locale, LOCALE_IDEFAULTANSICODEPAGE, buffer);
  return Variant(CutAtNul(buffer)).ToLong();
}

void ApplyLocaleFonts(Form& form) {
  Ignoring([&] {
    uint32_t locale = GetSystemCalls()->GetThreadLocale();
    if (IsEnglishLocale(locale)) return;
    long codePage = GetAnsiCodePage(locale);
    form.SetFontName("");
    for (const ControlPtr& c : form.Controls()) {
      if (!c->HasFont()) continue;
      Ignoring([&] {
        Font f = c->GetFont();
        SetFontForCodePage(f, codePage);
        c->SetFont(f);
      });
    }
  });
}

std::string CleanToolTip(const std::string& text) {
  const char* blanks = " \t";
  size_t b = text.find_first_not_of(blanks);
  if (b == std::string::npos) return std::string();
  std::string s = text.substr(b, text.find_last_not_of(blanks) - b + 1);
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] != '&') out += s[i];
    else if (i + 1 < s.size() && s[i + 1] == '&') {
      out += '&';
      ++i;
    }
  }
  if (out.size() >= 3 && out.compare(out.size() - 3, 3, "...") == 0) out.erase(out.size() - 3);
  return out;
}

void ApplyResourceTexts(Form& form) {
  ResourceFinderPtr res;
  Ignoring([&] { res = GetTextResources(); });
  if (!res) return;
  auto text = [&](const std::string& id) { return res->FindString(id); };
  auto tip = [&](const std::string& id) { return CleanToolTip(res->FindString(id)); };

  Ignoring([&] { form.SetCaption(text(form.Caption())); });
  for (const ControlPtr& c : form.Controls()) {
    switch (c->Kind()) {
    case ControlKind::TextBox:
      Ignoring([&] { c->SetText(text(c->Text())); });
      Ignoring([&] { c->SetToolTipText(tip(c->ToolTipText())); });
      break;
    case ControlKind::ListBox:
    case ControlKind::ComboBox: {
      auto list = std::static_pointer_cast<ListControl>(c);
      Ignoring([&] {
        for (long i = 0; i < list->ListCount(); ++i) Ignoring([&] { list->SetList(i, text(list->List(i))); });
      });
      Ignoring([&] { c->SetToolTipText(tip(c->ToolTipText())); });
      break;
    }
    case ControlKind::Toolbar: {
      auto bar = std::static_pointer_cast<Toolbar>(c);
      for (long i = 1; i <= bar->ButtonCount(); ++i) {
        Ignoring([&] { bar->SetButtonCaption(i, text(bar->Button(i).Caption)); });
        Ignoring([&] { bar->SetButtonToolTip(i, tip(bar->Button(i).ToolTipText)); });
        for (long m = 1; m <= static_cast<long>(bar->Button(i).ButtonMenus.size()); ++m)
          Ignoring([&] { bar->SetButtonMenuText(i, m, text(bar->Button(i).ButtonMenus[m - 1].Text)); });
      }
      break;
    }
    case ControlKind::ListView: {
      auto view = std::static_pointer_cast<ListView>(c);
      for (long i = 1; i <= view->ColumnCount(); ++i)
        Ignoring([&] { view->SetColumnText(i, text(view->Column(i).Text)); });
      for (long i = 1; i <= view->ItemCount(); ++i) {
        Ignoring([&] { view->SetItemText(i, text(view->Item(i).Text)); });
        Ignoring([&] { view->SetItemToolTip(i, tip(view->Item(i).ToolTipText)); });
      }
      break;
    }
    case ControlKind::TabStrip: {
      auto tabs = std::static_pointer_cast<TabStrip>(c);
      for (long i = 1; i <= tabs->TabCount(); ++i) {
        Ignoring([&] { tabs->SetTabCaption(i, text(tabs->TabAt(i).Caption)); });
        Ignoring([&] { tabs->SetTabToolTip(i, tip(tabs->TabAt(i).ToolTipText)); });
      }
      break;
    }
    default:
      Ignoring([&] { c->SetCaption(text(c->Caption())); });
      Ignoring([&] { c->SetToolTipText(tip(c->ToolTipText())); });
      break;
    }
  }
}

void ShowHelpTopic(const std::string& helpFile, const std::string& topic, long hWnd) {
  // Whether the help opened is not the page's concern.
  GetSystemCalls()->WinHelpA(hWnd, helpFile + ">notes", kHelpTopicCommand, topic);
}

void ApplyPageLayout(Form& form, long baseId, const std::vector<std::string>& controlOrder) {
  ResourceFinderPtr gui = CreateAs<ResourceFinder>(kGuiResourcesProgId);
  auto value = [&](long id) -> float {
    std::string text = gui->FindString(std::to_string(id));
    double v = 0;
    if (!ParseNumber(text, v))
      throw HostError(err::TypeMismatch, form.Name(),
                      "The layout value " + std::to_string(id) + " of the page " + form.Name() + " is missing or not a number (\"" + text + "\")");
    return static_cast<float>(v);
  };
  SystemCallsPtr sys = GetSystemCalls();
  float captionHeight = static_cast<float>(sys->GetSystemMetrics(SM_CYCAPTION) * sys->TwipsPerPixelY());
  form.SetHeight(value(baseId) - 315 + captionHeight);
  form.SetWidth(value(baseId + 1));
  long id = baseId + 2;
  for (const std::string& name : controlOrder) {
    ControlPtr c = form.Ctl(name);
    float height = value(id), left = value(id + 1), top = value(id + 2), width = value(id + 3);
    c->Move(left, top, width, height);
    id += 4;
  }
}

} // namespace tov
