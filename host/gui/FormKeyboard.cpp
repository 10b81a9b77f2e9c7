#include "host/gui/FormKeyboard.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QWidget>

#include <algorithm>
#include <climits>

namespace tov::formkeys {

namespace {

// A row of buttons or of a label and its box may be out of line by this much.
constexpr int kRowTolerance = 8;
// A label further above its box than this names something else.
constexpr int kLabelReach = 48;

QRect PlaceOf(const QWidget& widget) { return widget.geometry(); }

bool Showing(const QWidget* w) { return w && !w->isHidden(); }

// Words of a control's name: its kind's suffix and digits dropped, the
// rest split where a capital begins.
QString WordsOf(const std::string& name, ControlKind kind) {
  if (kind == ControlKind::MapControl) return QObject::tr("Map");
  if (kind == ControlKind::Image) return QObject::tr("Picture");
  if (kind == ControlKind::Toolbar) return QObject::tr("Map tools");
  QString text = QString::fromStdString(name);
  text.remove(QRegularExpression("[0-9]+$"));
  // The kind's word goes unless it is all the name has ("Frame1").
  const QString bare = text;
  text.remove(QRegularExpression("(Text|TextBox|List|ListBox|Combo|Button|Option|Label|Check|Frame)$"));
  if (text.isEmpty()) text = bare;
  if (text.startsWith("txt") || text.startsWith("obt") || text.startsWith("cmd") || text.startsWith("lst"))
    text = text.mid(3);
  QString words;
  for (int i = 0; i < text.size(); ++i) {
    if (i > 0 && text[i].isUpper() && !text[i - 1].isUpper()) words += ' ';
    words += words.isEmpty() ? text[i].toUpper() : text[i].toLower();
  }
  return words;
}

} // namespace

QString SpokenCaption(const QString& caption) {
  QString text = caption;
  text.replace("&&", QString(QChar(0)));
  text.remove('&');
  text.replace(QChar(0), "&");
  text.remove(QRegularExpression("^[\\s<]+|[\\s>:]+$"));
  if (text.endsWith("...")) text.chop(3);
  return text.trimmed();
}

QPushButton* DefaultButton(const Shown& shown) {
  // In the order a form offers them: the first it has goes on.
  static const char* const kGoesOn[] = {"NextButton", "OKButton", "YesButton", "CloseButton"};
  for (const char* name : kGoesOn)
    for (const auto& [control, widget] : shown)
      if (control->Name() == name && control->Visible())
        if (auto* button = qobject_cast<QPushButton*>(widget)) return button;
  return nullptr;
}

void LayoutTabOrder(QWidget& dialog, const Shown& shown) {
  std::vector<QWidget*> widgets;
  for (const auto& entry : shown)
    if (entry.second && (entry.second->focusPolicy() & Qt::TabFocus)) widgets.push_back(entry.second);
  if (widgets.size() < 2) return;
  // Rows first, by the top of each widget; a stable sort keeps form order
  // among widgets at the same place.
  std::stable_sort(widgets.begin(), widgets.end(),
                   [](QWidget* a, QWidget* b) { return PlaceOf(*a).top() < PlaceOf(*b).top(); });
  std::vector<std::vector<QWidget*>> rows;
  int rowTop = INT_MIN;
  for (QWidget* w : widgets) {
    if (rows.empty() || PlaceOf(*w).top() > rowTop + kRowTolerance) {
      rows.emplace_back();
      rowTop = PlaceOf(*w).top();
    }
    rows.back().push_back(w);
  }
  QWidget* previous = nullptr;
  for (auto& row : rows) {
    std::stable_sort(row.begin(), row.end(),
                     [](QWidget* a, QWidget* b) { return PlaceOf(*a).left() < PlaceOf(*b).left(); });
    for (QWidget* w : row) {
      if (previous) dialog.setTabOrder(previous, w);
      previous = w;
    }
  }
}

QString AccessibleName(const Shown& shown, const Control& control, const QWidget& widget) {
  QString caption;
  if (auto* button = qobject_cast<const QAbstractButton*>(&widget)) caption = button->text();
  else if (auto* label = qobject_cast<const QLabel*>(&widget)) caption = label->text();
  else if (auto* box = qobject_cast<const QGroupBox*>(&widget)) caption = box->title();
  caption = SpokenCaption(caption);
  if (!caption.isEmpty()) return caption;

  // The label that names a box: the nearest one ending just above it and
  // overlapping it sideways, or on its row and to its left.
  const QRect at = PlaceOf(widget);
  const QLabel* best = nullptr;
  int bestDistance = INT_MAX;
  for (const auto& [other, w] : shown) {
    auto* label = qobject_cast<const QLabel*>(w);
    if (!label || label == &widget || !Showing(label) || SpokenCaption(label->text()).isEmpty()) continue;
    const QRect l = PlaceOf(*label);
    int distance = INT_MAX;
    const bool sideways = l.right() >= at.left() && l.left() <= at.right();
    const bool sameRow = l.bottom() >= at.top() && l.top() <= at.bottom();
    if (sideways && l.bottom() <= at.top() + kRowTolerance && at.top() - l.bottom() <= kLabelReach)
      distance = at.top() - l.bottom();
    else if (sameRow && l.right() <= at.left() + kRowTolerance)
      distance = at.left() - l.right();
    if (distance < bestDistance) {
      bestDistance = distance;
      best = label;
    }
  }
  if (best && control.Kind() != ControlKind::Image && control.Kind() != ControlKind::Toolbar)
    return SpokenCaption(best->text());
  if (!widget.toolTip().isEmpty()) return widget.toolTip();
  return WordsOf(control.Name(), control.Kind());
}

} // namespace tov::formkeys
