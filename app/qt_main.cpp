#include <QStringList>
#include <cstdio>
#include <optional>

#include "qt/app_icon.h"
#include "qt/application.h"
#include "qt/command_line.h"
#include "qt/display.h"
#include "qt/form1_window.h"
#include "qt/localization.h"
#include "window/identity.h"

int main(int argc, char* argv[]) {
  // --help, --version and a wrong option are answered on the terminal before
  // QApplication connects to a display, so they work without one.
  QStringList arguments;
  for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
  if (const auto status = zorvik::qt::AnswerCommandLine(arguments)) {
    return *status;
  }

  // Without a display the window has nowhere to open: one line says so,
  // rather than Qt's plugin diagnostics and abort.
  if (const auto missing = zorvik::qt::MissingDisplay(arguments)) {
    std::fprintf(stderr, "%s\n", missing->toLocal8Bit().constData());
    return 1;
  }
  std::optional<zorvik::qt::StartupMessages> startup(std::in_place, arguments);
  zorvik::qt::Application app(argc, argv);
  startup.reset();
  QApplication::setApplicationName(QStringLiteral("zorvik"));
  QApplication::setApplicationVersion(QStringLiteral(ZORVIK_VERSION));
  // Equal to the window caption, so the window system shows "Zorvik" alone.
  QApplication::setApplicationDisplayName(QStringLiteral("Zorvik"));
  // Ties the window to its menu entry; the icon is the program's own, so it
  // shows in the build tree as well as once installed.
  QGuiApplication::setDesktopFileName(QString::fromUtf8(
      zorvik::kAppId.data(), static_cast<qsizetype>(zorvik::kAppId.size())));
  QApplication::setWindowIcon(zorvik::qt::AppIcon());
  zorvik::qt::InstallChineseQtTranslations(app);

  zorvik::qt::Form1Window form;
  form.show();
  return QApplication::exec();
}
