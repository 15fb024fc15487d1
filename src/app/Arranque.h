#pragma once
// What the program sets up before its window: Qt's own Spanish texts for every stock dialog and
// menu (file, print and page setup dialogs, the text boxes' context menu), and its icon.
#include <QIcon>
#include <QString>
#include <QStringList>

class QCoreApplication;

namespace qavi {

// Folders searched for Qt's translations, in order: "translations" beside the program (where a
// Windows installation ships them), then Qt's own.
QStringList CarpetasTraducciones();

// Installs qtbase_es from the first folder that has it and makes Spanish (Mexico) the default
// locale, whatever the system's language. False when no folder has the translations (the stock
// dialogs then stay in English).
bool CargaTraducciones(QCoreApplication& app);

// The program's icon, every size it is drawn at.
QIcon IconoPrograma();

}  // namespace qavi
