#include "report/render/Fuentes.h"

#include <QDir>
#include <QFontDatabase>
#include <QHash>
#include <QStringList>

namespace qavi {

namespace {

// Folders where Debian's fonts-wine leaves Tahoma; it is not in the fontconfig path.
const char* const kCarpetasExtra[] = {"/usr/share/wine/fonts", "/usr/lib/wine/fonts",
                                      "/usr/share/fonts/truetype/wine"};

struct TSustituto {
  const char* familia;
  const char* sustitutos[3];
};

const TSustituto kSustitutos[] = {
    {"Times New Roman", {"Liberation Serif", "Tinos", "DejaVu Serif"}},
    {"Tahoma", {"Liberation Sans", "DejaVu Sans", nullptr}},
    {"Arial", {"Liberation Sans", "Arimo", "DejaVu Sans"}},
};

bool Instalada(const QString& familia) {
  return QFontDatabase::families().contains(familia, Qt::CaseInsensitive);
}

// Every run of every page asks; the font list does not change once the fonts are prepared.
QHash<QString, QString>& Elegidas() {
  static QHash<QString, QString> elegidas;
  return elegidas;
}

}  // namespace

void PreparaFuentes() {
  static bool hecho = false;
  if (hecho) return;
  hecho = true;
  Elegidas().clear();
  if (Instalada(QStringLiteral("Tahoma"))) return;
  for (const char* carpeta : kCarpetasExtra) {
    QDir dir(QString::fromLatin1(carpeta));
    const auto archivos = dir.entryList({QStringLiteral("tahoma*.ttf")}, QDir::Files);
    for (const auto& a : archivos) QFontDatabase::addApplicationFont(dir.filePath(a));
    if (!archivos.isEmpty()) return;
  }
}

QString FamiliaDisponible(const QString& familia) {
  auto it = Elegidas().constFind(familia);
  if (it != Elegidas().constEnd()) return *it;
  QString elegida = familia;  // when nothing else is installed, Qt's own matching decides
  if (!Instalada(familia)) {
    for (const auto& s : kSustitutos) {
      if (familia.compare(QLatin1String(s.familia), Qt::CaseInsensitive) != 0) continue;
      for (const char* otra : s.sustitutos) {
        if (otra && Instalada(QLatin1String(otra))) {
          elegida = QLatin1String(otra);
          break;
        }
      }
      break;
    }
  }
  Elegidas().insert(familia, elegida);
  return elegida;
}

}  // namespace qavi
