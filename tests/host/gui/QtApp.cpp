#include "QtApp.h"

#include "host/studyareas/RegisterHostStudyAreaClasses.h"

#include <QKeyEvent>

#include <cstdlib>

namespace tov::test {

QApplication& App() {
  static QApplication* app = [] {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static int argc = 1;
    static char name[] = "tovana-test";
    static char* argv[] = {name, nullptr};
    return new QApplication(argc, argv);
  }();
  return *app;
}

Watchdog::Watchdog(int milliseconds) {
  App();
  m_timer.setSingleShot(true);
  m_timer.setInterval(milliseconds);
  QObject::connect(&m_timer, &QTimer::timeout, [this] {
    m_fired = true;
    // Escape first ends a track; closing ends each dialog's exec().
    for (QWidget* w : QApplication::allWidgets())
      if (auto* canvas = dynamic_cast<MapCanvas*>(w); canvas && canvas->Tracking())
        QCoreApplication::postEvent(canvas, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
    for (QWidget* w : QApplication::topLevelWidgets())
      if (w->isVisible()) w->close();
    QTimer::singleShot(100, [] {
      for (QWidget* w : QApplication::topLevelWidgets()) w->hide();
    });
  });
  m_timer.start();
}

Watchdog::~Watchdog() { m_timer.stop(); }

void ShowInWindow(Form& form, std::function<void(Form&, QWidget&)> user) {
  App();
  auto presenter = std::make_shared<QtPresenter>();
  presenter->SetMsgBoxAnswer([](const std::string&, int32_t) { return vbOK; });
  bool played = false;
  presenter->SetOnShown([&](Form& shown, QWidget& dialog) {
    played = true;
    user(shown, dialog);
  });
  SetPresenter(presenter);
  Watchdog watchdog;
  form.ShowModal();
  EXPECT_FALSE(watchdog.Fired()) << "the form was still open when the watchdog fired";
  EXPECT_TRUE(played) << "the form was never shown";
}

void WindowTest::SetUp() {
  App();
  RegisterHostGuiClasses(m_progressDialog);
  RegisterHostStudyAreaClasses(); // the property sheet
  analysis = world->Open();
  qt = std::make_shared<QtPresenter>();
  qt->SetMsgBoxAnswer([this](const std::string& text, int32_t style) {
    messages.push_back(text);
    return (style & 0xF) == vbYesNo ? vbYes : vbOK;
  });
  SetPresenter(qt);
}

void WindowTest::OpenWindow() {
  window = std::make_unique<MainWindow>(analysis);
  qt->SetParentWindow(window.get());
  window->resize(900, 600);
  window->show();
  QCoreApplication::processEvents();
}

void SendPress(QWidget& target, QPointF at, Qt::KeyboardModifiers modifiers) {
  Watchdog watchdog;
  std::unique_ptr<QMouseEvent> press(Mouse(QEvent::MouseButtonPress, at, modifiers));
  QCoreApplication::sendEvent(&target, press.get());
  EXPECT_FALSE(watchdog.Fired());
}

bool WindowTest::Playing(User user, const std::function<void()>& act) {
  qt->SetOnShown([this, user](Form& form, QWidget& dialog) {
    shown.push_back(form.Name());
    user(form, dialog);
  });
  Watchdog watchdog;
  act();
  return !watchdog.Fired();
}

HostTaskRunResult WindowTest::Run(User user, const std::string& progId) {
  HostTaskRunResult result;
  Played([&] { result = progId.empty() ? RunHostTask(*analysis) : RunHostTask(*analysis, progId); }, std::move(user));
  return result;
}

void WindowTest::Choose(QMenu* menu, const char* entry, User user) {
  ASSERT_NE(menu, nullptr) << entry;
  QAction* action = menu->findChild<QAction*>(entry);
  ASSERT_NE(action, nullptr) << entry;
  Played([&] { action->trigger(); }, std::move(user));
  delete menu;
}

User WindowTest::Naming(const std::string& name) {
  return [name](Form& form, QWidget& dialog) {
    if (form.Name() == "CreateSAMainDialog") return Press(dialog, "NextButton");
    QTest::keyClicks(dialog.findChild<QLineEdit*>("StudyAreaNameText"), QString::fromStdString(name));
    Press(dialog, "NextButton");
  };
}

User WindowTest::Renaming(const QString& to) {
  return [to](Form& form, QWidget& dialog) {
    if (form.Name() == "ManageSADialog") {
      Press(dialog, "RenameButton");
      return Press(dialog, "CloseButton");
    }
    Retype(dialog, "ToText", to);
    Press(dialog, "OKButton");
  };
}

QPointF WindowTest::PixelOf(double lon, double lat) const {
  auto point = CreateAs<Point>("orvaCore.Point");
  point->PutCoords(lon, lat);
  point->SetSpatialReference(Geographic(4269));
  point->Project(window->Canvas()->Control()->Map()->SpatialReference());
  return window->Canvas()->Viewport().ToPixel(point->X(), point->Y());
}

} // namespace tov::test
