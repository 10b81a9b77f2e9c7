// tovana gui: the window front end; --screenshots saves a PNG of the window
// and of each dialog it opens, then ends.
#include "host/app/Commands.h"

#include "host/forms/HostSystemCalls.h"
#include "host/gui/FormDialog.h"
#include "host/gui/MainWindow.h"
#include "host/gui/QtPresenter.h"
#include "host/gui/RegisterHostGuiClasses.h"
#include "platform/forms/Form.h"
#include "platform/forms/MsgBox.h"
#include "platform/forms/SystemCalls.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTextBrowser>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

#include <cstdlib>
#include <iostream>
#include <memory>

namespace tov {

namespace {

// Help pages open in a window of their own beside the dialogs.
void ShowHelpWindow(const std::string& nativePath) {
  static QPointer<QDialog> window;
  if (!window) {
    window = new QDialog(QApplication::activeWindow());
    window->setWindowTitle("Help");
    window->setAttribute(Qt::WA_DeleteOnClose);
    auto* layout = new QVBoxLayout(window);
    auto* browser = new QTextBrowser(window);
    browser->setObjectName("HelpBrowser");
    layout->addWidget(browser);
    window->resize(560, 480);
  }
  window->findChild<QTextBrowser*>("HelpBrowser")->setSource(QUrl::fromLocalFile(QString::fromStdString(nativePath)));
  window->show();
  window->raise();
}

bool Save(QWidget& widget, const QString& dir, const QString& name) {
  const QString path = QDir(dir).filePath(name + ".png");
  const bool ok = widget.grab().save(path, "PNG");
  std::cout << (ok ? "Saved " : "Could not save ") << path.toStdString() << "\n";
  return ok;
}

int RunGui(AppContext& context, const std::string& screenshots) {
  if (!screenshots.empty() && !HasDisplay()) setenv("QT_QPA_PLATFORM", "offscreen", 0);
  if (screenshots.empty() && !HasDisplay() && !std::getenv("QT_QPA_PLATFORM")) {
    std::cerr << "tovana: no display (set DISPLAY, or use --screenshots DIR to draw offscreen)\n";
    return kExitNothingMade;
  }
  static int argc = 1;
  static char name[] = "tovana";
  static char* argv[] = {name, nullptr};
  QApplication app(argc, argv);
  RegisterHostGuiClasses(true);
  AnalysisPtr analysis = context.OpenAnalysisOnce();

  if (auto calls = std::dynamic_pointer_cast<HostSystemCalls>(GetSystemCalls())) {
    if (QScreen* screen = QApplication::primaryScreen())
      calls->SetScreen(screen->size().width(), screen->size().height(), 15);
    calls->SetHelpViewer(ShowHelpWindow);
  }
  auto presenter = std::make_shared<QtPresenter>();
  SetPresenter(presenter);

  MainWindow window(analysis);
  presenter->SetParentWindow(&window);
  window.resize(1000, 680);
  window.show();
  if (screenshots.empty()) return app.exec() == 0 ? kExitOk : kExitNothingMade;

  if (!QDir().mkpath(QString::fromStdString(screenshots))) {
    std::cerr << "tovana: cannot create " << screenshots << "\n";
    return kExitNothingMade;
  }
  const QString dir = QString::fromStdString(screenshots);
  bool ok = true;
  QApplication::processEvents();
  ok = Save(window, dir, "main-window") && ok;
  // Each page is saved as it appears, named after its class (the form's
  // name, such as SelectSANameDialog.png), and then closed with its close box.
  presenter->SetMsgBoxAnswer([](const std::string& text, int32_t style) {
    std::cout << "Message: " << text << "\n";
    return MsgBoxCloseAnswer(style);
  });
  presenter->SetOnShown([&ok, dir, presenter](Form& form, QWidget& dialog) {
    ok = Save(dialog, dir, QString::fromStdString(form.Name())) && ok;
    // The page's help opens in the help window: saved once too.
    if (auto* help = dialog.findChild<QPushButton*>("HelpButton"); help && help->isEnabled()) {
      help->click();
      QApplication::processEvents();
      for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && w->findChild<QTextBrowser*>("HelpBrowser", Qt::FindDirectChildrenOnly)) {
          ok = Save(*w, dir, "help") && ok;
          w->close();
        }
    }
    form.CloseBox();
    if (!form.Visible())
      if (FormDialog* d = presenter->DialogOf(form)) d->EndShowing();
  });
  window.RunStudyAreaSetup();
  return ok ? kExitOk : kExitNothingMade;
}

} // namespace

void AddGuiCommand(CLI::App& app, AppContext& context, CommandRunner& runner) {
  auto screenshots = std::make_shared<std::string>();
  CLI::App* gui = app.add_subcommand("gui", "Open the window: map, layers, tools and Analysis > Study Area Setup...");
  gui->add_option("--screenshots", *screenshots, "Save PNGs of the window and each dialog into this folder, then end");
  auto run = [&context, &runner, screenshots] {
    runner = [&context, screenshots] { return RunGui(context, *screenshots); };
  };
  gui->callback(run);
  // `tovana` without a command calls the adder on a scratch parser that holds
  // no other command, and wants the runner at once.
  if (app.get_subcommands([](CLI::App*) { return true; }).size() == 1) run();
}

} // namespace tov
