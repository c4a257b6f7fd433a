#include <QApplication>

#include "qt/app_icon.h"
#include "qt/form1_window.h"
#include "qt/localization.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("zorvik"));
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
