#pragma once
// The instructions shown before the user starts and again before every report.
#include <QString>

class QWidget;

namespace qavi {

// Twelve lines joined by CR CR LF, as stored.
extern const char* const kIndicaciones;

// The instructions in a modal warning with Yes and No; true only for Yes
// (No, Escape and the close box give false).
bool PreguntaIndicaciones(QWidget* padre);

// The warning dialog itself, for any question text; Enter answers Yes unless bSiPorOmision is false.
bool PreguntaAdvertencia(QWidget* padre, const QString& sTexto, bool bSiPorOmision = true);

// A value the user should look at again: the same dialog, No by default.
bool PreguntaDuda(QWidget* padre, const QString& sTexto);

}  // namespace qavi
