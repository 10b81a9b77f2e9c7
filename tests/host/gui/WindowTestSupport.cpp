#include "WindowTestSupport.h"

#include "host/gui/MapCanvas.h"
#include "host/gui/RegisterHostGuiClasses.h"
#include "host/studyareas/RegisterHostStudyAreaClasses.h"
#include "platform/forms/MsgBox.h"
#include "platform/framework/TovExtension.h"
#include "platform/gis/Map.h"
#include "platform/gis/Point.h"
#include "platform/runtime/ObjectRegistry.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QLineEdit>
#include <QTest>

namespace tov::test {

void WindowTest::SetUp() {
  App();
  RegisterHostGuiClasses(false);
  RegisterHostStudyAreaClasses(); // the property sheet
  analysis = world.Open();
  presenter = std::make_shared<QtPresenter>();
  presenter->SetMsgBoxAnswer([this](const std::string& text, int32_t style) {
    messages.push_back(text);
    return (style & 0xF) == vbYesNo ? vbYes : vbOK;
  });
  SetPresenter(presenter);
}

void WindowTest::TearDown() {
  window.reset();
  QCoreApplication::processEvents();
}

void WindowTest::OpenWindow() {
  window = std::make_unique<MainWindow>(analysis);
  presenter->SetParentWindow(window.get());
  window->resize(900, 600);
  window->show();
  QCoreApplication::processEvents();
}

HostTaskRunResult WindowTest::Run(std::function<void(Form&, QWidget&)> user) {
  HostTaskRunResult result;
  EXPECT_TRUE(Playing(std::move(user), [&] { result = RunHostTask(*analysis); }));
  return result;
}

bool WindowTest::Playing(std::function<void(Form&, QWidget&)> user, const std::function<void()>& action) {
  presenter->SetOnShown([this, user](Form& form, QWidget& dialog) {
    shown.push_back(form.Name());
    user(form, dialog);
  });
  Watchdog watchdog;
  action();
  return !watchdog.Fired();
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

std::string WindowTest::Current() const {
  return analysis->extension->ExtensionProperties()->GetProperty("CurrentExtent");
}

QPointF WindowTest::PixelOf(double lon, double lat) const {
  auto point = CreateAs<Point>("orvaCore.Point");
  point->PutCoords(lon, lat);
  point->SetSpatialReference(Geographic(4269));
  point->Project(window->Canvas()->Control()->Map()->SpatialReference());
  return window->Canvas()->Viewport().ToPixel(point->X(), point->Y());
}

} // namespace tov::test
