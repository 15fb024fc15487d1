#pragma once
// Small helpers that keep the single window responsive while long work runs on its thread.
#include <functional>

#include <QChar>
#include <QString>
#include <QValidator>

class QLineEdit;
class QWidget;

namespace qavi {

// Pauses nMilisegundos while the window keeps handling its messages (at least one pass, also for 0).
void Espera(int nMilisegundos);

// Runs Proceso under the busy cursor with Boton disabled; both are restored even if Proceso throws
// (the exception then goes on to the caller). A focus that was on Boton waits on its window
// meanwhile, so keys typed during the run reach no text box, and comes back to Boton afterwards
// unless Proceso put it somewhere on purpose.
void EjecutaOcupado(const std::function<void()>& Proceso, QWidget* Boton);

// Key filter of the exchange-rate box: digits, Backspace and Enter pass; a point or a comma (both
// decimal separators) passes only when the text it would make still reads as a number other than 0.
// Key becomes 0 (none) when discarded.
void FiltraNumerico(QLineEdit* Sender, char16_t& Key);

// A number as the user types it: digits with at most one decimal separator, a point or a comma
// (never a thousands separator); 0 when it is not a finite number.
double LeeNumero(const QString& sTexto);

// Holds the rate box to what the key filter lets through, for text that arrives any other way
// (the context menu's Paste, dropping): digits and at most one decimal separator.
class TValidadorNumerico : public QValidator {
 public:
  using QValidator::QValidator;
  State validate(QString& input, int& pos) const override;
};

}  // namespace qavi
