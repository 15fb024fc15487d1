#pragma once
// The window's kinds of control: labels and text boxes the messenger can point at, the rounded
// frames around the steps and plain panels.
#include <functional>
#include <optional>

#include <QLabel>
#include <QLineEdit>
#include <QWidget>

#include "common/IIMensajero.h"

class QKeyEvent;

namespace qavi {

class TEtiqueta : public QLabel, public IControlEtiqueta {
 public:
  using QLabel::QLabel;
};

// A text box whose typed characters go through OnKeyPress first; a character set to 0 there is
// discarded. Keys that type nothing (arrows, Delete, Tab) do not reach OnKeyPress.
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
};

// The character a key press types, as the text box receives it: Enter is 13, Backspace 8,
// Ctrl+letter its control code; none for keys that only move or edit.
std::optional<char16_t> CaracterDeTecla(const QKeyEvent* e);

// Thin outline with curved corners around a step; paints nothing inside.
class TMarco : public QWidget {
 public:
  explicit TMarco(QWidget* padre, const QColor& color);

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  QColor color_;
};

}  // namespace qavi
