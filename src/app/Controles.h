#pragma once
// The window's kinds of control: labels and text boxes the messenger can point at, the rounded
// frames around the steps and plain panels.
#include <functional>
#include <optional>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

#include "common/IIMensajero.h"

class QFocusEvent;
class QKeyEvent;

namespace qavi {

class TEtiqueta : public QLabel, public IControlEtiqueta {
 public:
  using QLabel::QLabel;
};

// A text box whose typed characters go through OnKeyPress first; a character set to 0 there is
// discarded. Keys that type nothing (arrows, Delete, Tab) do not reach OnKeyPress.
// Its whole text is selected when it gets the focus by the keyboard or from the program (a check
// that sends the user back to it), so what is typed next replaces it; a click places the caret.
class TEdicion : public QLineEdit, public IControlEdicion {
 public:
  using TManejadorTecla = std::function<void(TEdicion* Sender, char16_t& Key, Qt::KeyboardModifiers mods)>;

  explicit TEdicion(QWidget* padre = nullptr);

  // Every letter, typed or pasted, turns to upper case.
  void PonMayusculas();
  // Shows each character as "*".
  void PonOculto();

  TManejadorTecla OnKeyPress;

 protected:
  void keyPressEvent(QKeyEvent* e) override;
  void focusInEvent(QFocusEvent* e) override;
};

// A push button that Enter presses as well as Space, when it has the focus.
class TBoton : public QPushButton {
 public:
  explicit TBoton(QWidget* padre = nullptr);

 protected:
  void keyPressEvent(QKeyEvent* e) override;
};

// The character a key press types, as the text box receives it: Enter is 13, Backspace 8,
// Ctrl+letter its control code; none for keys that only move or edit.
std::optional<char16_t> CaracterDeTecla(const QKeyEvent* e);

// Thin outline with curved corners around a step; paints nothing inside.
class TMarco : public QWidget {
 public:
  // Silver, as every step's frame.
  explicit TMarco(QWidget* padre, const QColor& color = QColor(192, 192, 192));

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  QColor color_;
};

}  // namespace qavi
