#include <QApplication>

#include "window/localization.h"
#include "window/main_window.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("zorvik"));
  // Equal to the window caption, so the window system shows "Zorvik" alone.
  QApplication::setApplicationDisplayName(QStringLiteral("Zorvik"));
  // Ties the window to its menu entry and icon.
  QGuiApplication::setDesktopFileName(QStringLiteral("org.example.Zorvik"));
  zorvik::InstallChineseQtTranslations(app);

  zorvik::Form1 form;
  form.show();
  return QApplication::exec();
}
