#include <QStringList>

#include "qt/app_icon.h"
#include "qt/application.h"
#include "qt/command_line.h"
#include "qt/form1_window.h"
#include "qt/localization.h"

int main(int argc, char* argv[]) {
  // --help, --version and a wrong option are answered on the terminal before
  // QApplication connects to a display, so they work without one.
  QStringList arguments;
  for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
  if (const auto status = zorvik::qt::AnswerCommandLine(arguments)) {
    return *status;
  }

  zorvik::qt::Application app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("zorvik"));
  QApplication::setApplicationVersion(QStringLiteral(ZORVIK_VERSION));
  // Equal to the window caption, so the window system shows "Zorvik" alone.
  QApplication::setApplicationDisplayName(QStringLiteral("Zorvik"));
  // Ties the window to its menu entry; the icon is the program's own, so it
  // shows in the build tree as well as once installed.
  QGuiApplication::setDesktopFileName(QStringLiteral("org.example.Zorvik"));
  QApplication::setWindowIcon(zorvik::qt::AppIcon());
  zorvik::qt::InstallChineseQtTranslations(app);

  zorvik::qt::Form1Window form;
  form.show();
  return QApplication::exec();
}
