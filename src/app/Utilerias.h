#pragma once
// Small helpers that keep the single window responsive while long work runs on its thread.
#include <functional>

#include <QChar>
#include <QString>

class QLineEdit;
class QWidget;

namespace qavi {

// Pauses nMilisegundos while the window keeps handling its messages (at least one pass, also for 0).
void Espera(int nMilisegundos);

// Runs Proceso under the busy cursor with Boton disabled; both are restored even if Proceso throws
// (the exception then goes on to the caller).
void EjecutaOcupado(const std::function<void()>& Proceso, QWidget* Boton);

// Key filter of the exchange-rate box: digits, Backspace and Enter pass; a point passes only when
// the text with it still reads as a number other than 0. Key becomes 0 (none) when discarded.
void FiltraNumerico(QLineEdit* Sender, char16_t& Key);

// A number as the user types it: the regional decimal separator or a point; 0 when it is not a
// finite number.
double LeeNumero(const QString& sTexto);

}  // namespace qavi
