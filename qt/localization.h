#ifndef ZORVIK_QT_LOCALIZATION_H_
#define ZORVIK_QT_LOCALIZATION_H_

class QCoreApplication;

namespace zorvik::qt {

// Installs Qt's own Simplified-Chinese translations, so that the standard
// texts Qt supplies (the text boxes' context menus, the message box's button)
// match the program's Chinese captions whatever the user's locale. Returns
// false when the translation file is not installed; the texts stay English.
bool InstallChineseQtTranslations(QCoreApplication& app);

}  // namespace zorvik::qt

#endif  // ZORVIK_QT_LOCALIZATION_H_
