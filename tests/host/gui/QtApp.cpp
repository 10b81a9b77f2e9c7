#include "QtApp.h"

#include "host/gui/MapCanvas.h"
#include "host/gui/RegisterHostGuiClasses.h"
#include "host/studyareas/RegisterHostStudyAreaClasses.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLineEdit>
#include <QAbstractButton>
#include <QTest>
#include <QWidget>

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
  presenter->SetOnShown(std::move(user));
  SetPresenter(presenter);
  Watchdog watchdog;
  form.ShowModal();
  EXPECT_FALSE(watchdog.Fired()) << "the form was still open when the watchdog fired";
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

void WindowTest::TearDown() {
  window.reset();
  QCoreApplication::processEvents();
}

void WindowTest::OpenWindow() {
  window = std::make_unique<MainWindow>(analysis);
  qt->SetParentWindow(window.get());
  window->resize(900, 600);
  window->show();
  QCoreApplication::processEvents();
}

bool WindowTest::Playing(std::function<void(Form&, QWidget&)> user, const std::function<void()>& act) {
  qt->SetOnShown([this, user](Form& form, QWidget& dialog) {
    shown.push_back(form.Name());
    user(form, dialog);
  });
  Watchdog watchdog;
  act();
  return !watchdog.Fired();
}

void WindowTest::Played(const std::function<void()>& act, std::function<void(Form&, QWidget&)> user) {
  shown.clear();
  qt->SetOnShown([this, user](Form& form, QWidget& dialog) {
    shown.push_back(form.Name());
    user(form, dialog);
  });
  Watchdog watchdog;
  act();
  EXPECT_FALSE(watchdog.Fired()) << "a form was still open when the watchdog fired";
}

HostTaskRunResult WindowTest::Run(std::function<void(Form&, QWidget&)> user, const std::string& progId) {
  HostTaskRunResult result;
  Played([&] { result = progId.empty() ? RunHostTask(*analysis) : RunHostTask(*analysis, progId); }, std::move(user));
  return result;
}

void WindowTest::Press(QWidget& dialog, const char* button) {
  auto* b = dialog.findChild<QAbstractButton*>(button);
  ASSERT_NE(b, nullptr) << button;
  ASSERT_TRUE(b->isEnabled()) << button;
  QTest::mouseClick(b, Qt::LeftButton, Qt::NoModifier, QPoint(4, b->height() / 2));
}

void WindowTest::Make(const char* name) {
  ASSERT_TRUE(Run([name](Form& form, QWidget& dialog) {
                if (form.Name() == "CreateSAMainDialog") return Press(dialog, "NextButton");
                QTest::keyClicks(dialog.findChild<QLineEdit*>("StudyAreaNameText"), name);
                Press(dialog, "NextButton");
              }).Stored());
}

QPointF WindowTest::PixelOf(double lon, double lat) const {
  auto point = CreateAs<Point>("orvaCore.Point");
  point->PutCoords(lon, lat);
  point->SetSpatialReference(Geographic(4269));
  point->Project(window->Canvas()->Control()->Map()->SpatialReference());
  return window->Canvas()->Viewport().ToPixel(point->X(), point->Y());
}

} // namespace tov::test
