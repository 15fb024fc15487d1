#include "report/PlantillaReporte.h"

#include <cctype>
#include <charconv>
#include <map>
#include <sstream>

#include "common/Texto.h"
#include "common/Utf8.h"
#include "report/ExpresionReporte.h"

namespace qavi {

namespace {

using TClaves = std::map<std::string, std::string>;

std::string_view Recorta(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

std::vector<std::string> Lineas(const std::string& texto) {
  std::vector<std::string> r;
  std::string linea;
  std::istringstream in(texto);
  while (std::getline(in, linea)) {
    if (!linea.empty() && linea.back() == '\r') linea.pop_back();
    r.push_back(linea);
  }
  return r;
}

std::vector<double> Numeros(std::string_view s, bool& ok) {
  std::vector<double> r;
  ok = true;
  for (;;) {
    s = Recorta(s);
    if (s.empty()) break;
    double d = 0;
    auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), d);
    if (ec != std::errc() || (p != s.data() + s.size() && *p != ' ' && *p != '\t')) {
      ok = false;
      return r;
    }
    r.push_back(d);
    s.remove_prefix(static_cast<size_t>(p - s.data()));
  }
  return r;
}

class TLectorClaves {
 public:
  TLectorClaves(const TClaves& claves, std::string archivo, std::string& error)
      : claves_(claves), archivo_(std::move(archivo)), error_(error) {}

  bool Rect(const std::string& clave, TRectMM& r) {
    auto v = Lista(clave, 4);
    if (!v) return !Presente(clave);
    r = {(*v)[0], (*v)[1], (*v)[2], (*v)[3]};
    return true;
  }
  bool Numero(const std::string& clave, double& d) {
    auto v = Lista(clave, 1);
    if (!v) return !Presente(clave);
    d = (*v)[0];
    return true;
  }
  bool Color(const std::string& clave, TColorRGB& c) {
    auto v = Lista(clave, 3);
    if (!v) return !Presente(clave);
    c = {static_cast<int>((*v)[0]), static_cast<int>((*v)[1]), static_cast<int>((*v)[2])};
    return true;
  }
  bool Fuente(const std::string& clave, TEstiloTexto& e) {
    auto it = claves_.find(clave);
    if (it == claves_.end()) return true;
    std::string_view s = Recorta(it->second);
    auto espacio = s.find_last_of(' ');
    bool ok = false;
    std::vector<double> n;
    if (espacio != std::string_view::npos) n = Numeros(s.substr(espacio + 1), ok);
    if (!ok || n.size() != 1 || n[0] <= 0) return Invalido(clave);
    e.sFamilia = std::string(Recorta(s.substr(0, espacio)));
    e.dPuntos = n[0];
    return true;
  }
  bool Estilo(const std::string& prefijo, TEstiloTexto& e) {
    return Fuente(prefijo + "fuente", e) && Color(prefijo + "color", e.color) &&
           Numero(prefijo + "interlineado", e.dInterlineado) &&
           Numero(prefijo + "espacio_despues", e.dEspacioDespues);
  }

 private:
  // Empty when the key is missing or wrong; error_ is set in the second case.
  std::optional<std::vector<double>> Lista(const std::string& clave, size_t cuantos) {
    auto it = claves_.find(clave);
    if (it == claves_.end()) return std::nullopt;
    bool ok = false;
    auto v = Numeros(it->second, ok);
    if (!ok || v.size() != cuantos) {
      Invalido(clave);
      return std::nullopt;
    }
    return v;
  }
  bool Presente(const std::string& clave) const { return claves_.count(clave) != 0; }
  bool Invalido(const std::string& clave) {
    error_ = "Plantilla del reporte: valor no válido en " + archivo_ + ": " + clave + " = " +
             claves_.at(clave);
    return false;
  }

  const TClaves& claves_;
  std::string archivo_;
  std::string& error_;
};

// Splits a file into its "clave = valor" header and, after "---", its body lines.
bool Divide(const std::string& texto, const std::string& archivo, bool conCuerpo, TClaves& claves,
            std::vector<std::string>& cuerpo, std::string& error) {
  bool enCuerpo = false;
  for (const auto& linea : Lineas(texto)) {
    if (enCuerpo) {
      cuerpo.push_back(linea);
      continue;
    }
    auto s = Recorta(linea);
    if (s.empty() || s.front() == '#') continue;
    if (s == "---") {
      enCuerpo = true;
      continue;
    }
    auto igual = s.find('=');
    if (igual == std::string_view::npos) {
      error = "Plantilla del reporte: línea no válida en " + archivo + ": " + std::string(s);
      return false;
    }
    claves[std::string(Recorta(s.substr(0, igual)))] = std::string(Recorta(s.substr(igual + 1)));
  }
  if (conCuerpo && !enCuerpo) {
    error = "Plantilla del reporte: falta la línea \"---\" en " + archivo;
    return false;
  }
  return true;
}

bool LeeEstilos(const TClaves& claves, const std::string& archivo, TPaginaPlantilla& p,
                std::string& error) {
  TLectorClaves c(claves, archivo, error);
  if (!c.Rect("marco", p.marco) || !c.Estilo("", p.estilo) || !c.Rect("pie_marco", p.marcoPie) ||
      !c.Estilo("pie_", p.estiloPie) || !c.Rect("nota_marco", p.marcoNota) || !c.Estilo("nota_", p.estiloNota))
    return false;
  if (auto it = claves.find("pie"); it != claves.end()) p.pie = LeeParrafo(it->second);
  if (auto it = claves.find("nota"); it != claves.end()) p.nota = LeeParrafo(it->second);
  return true;
}

// Cuts a UTF-8 text to at most `maximo` characters, never inside a character.
std::string Limita(const std::string& s, size_t maximo) {
  const std::string_view corto = PrefijoUtf8(s, maximo);
  return corto.size() == s.size() ? s : std::string(corto) + "…";
}

bool NombreValido(std::string_view n) {
  if (n.empty()) return false;
  for (char c : n)
    if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '#')) return false;
  return true;
}

}  // namespace

std::string TParrafo::Texto() const {
  std::string r;
  for (const auto& t : tramos) r += t.sTexto;
  return r;
}

TParrafo LeeParrafo(std::string_view linea) {
  TParrafo p;
  struct Prefijo {
    std::string_view marca;
    TAlineacion alineacion;
  };
  for (const Prefijo& x : {Prefijo{"{centro}", TAlineacion::Centro}, Prefijo{"{derecha}", TAlineacion::Derecha},
                           Prefijo{"{izquierda}", TAlineacion::Izquierda}}) {
    if (linea.substr(0, x.marca.size()) == x.marca) {
      p.alineacion = x.alineacion;
      linea.remove_prefix(x.marca.size());
      break;
    }
  }
  TTramo actual;
  auto cierra = [&] {
    if (!actual.sTexto.empty()) p.tramos.push_back(actual);
    actual.sTexto.clear();
  };
  for (size_t i = 0; i < linea.size(); ++i) {
    if (linea.substr(i, 2) == "**") {
      cierra();
      actual.bNegrita = !actual.bNegrita;
      ++i;
    } else if (linea.substr(i, 2) == "__") {
      cierra();
      actual.bSubrayado = !actual.bSubrayado;
      ++i;
    } else {
      actual.sTexto += linea[i];
    }
  }
  cierra();
  return p;
}

bool LeePlantilla(const TLectorPlantilla& lector, TPlantillaReporte& plantilla, std::string& sError) {
  const std::string general = "Reporte.txt";
  auto texto = lector(general);
  if (!texto) {
    sError = "Plantilla del reporte: no se encontró " + general;
    return false;
  }
  TClaves claves;
  std::vector<std::string> sinCuerpo;
  if (!Divide(*texto, general, false, claves, sinCuerpo, sError)) return false;

  TPlantillaReporte r;
  TPaginaPlantilla base;
  {
    TLectorClaves c(claves, general, sError);
    bool ok = false;
    if (auto it = claves.find("papel"); it != claves.end()) {
      auto v = Numeros(it->second, ok);
      if (!ok || v.size() != 2 || v[0] <= 0 || v[1] <= 0) {
        sError = "Plantilla del reporte: valor no válido en " + general + ": papel = " + it->second;
        return false;
      }
      r.dAnchoPapel = v[0];
      r.dAltoPapel = v[1];
    }
    if (!c.Rect("margenes", r.margenes)) return false;
  }
  if (!LeeEstilos(claves, general, base, sError)) return false;

  std::vector<std::string> nombres;
  {
    std::istringstream in(claves["paginas"]);
    for (std::string n; in >> n;) nombres.push_back(n);
  }
  if (nombres.empty()) {
    sError = "Plantilla del reporte: " + general + " no enumera páginas";
    return false;
  }
  for (const auto& nombre : nombres) {
    const std::string archivo = nombre + ".txt";
    auto contenido = lector(archivo);
    if (!contenido) {
      sError = "Plantilla del reporte: no se encontró " + archivo;
      return false;
    }
    TClaves propias;
    std::vector<std::string> cuerpo;
    if (!Divide(*contenido, archivo, true, propias, cuerpo, sError)) return false;
    TPaginaPlantilla p = base;
    p.sNombre = nombre;
    if (!LeeEstilos(propias, archivo, p, sError)) return false;
    while (!cuerpo.empty() && cuerpo.back().empty()) cuerpo.pop_back();
    for (const auto& linea : cuerpo) p.cuerpo.push_back(LeeParrafo(linea));
    r.paginas.push_back(std::move(p));
  }
  plantilla = std::move(r);
  return true;
}

std::vector<TParrafo> ExpandeParrafos(const std::vector<TParrafo>& parrafos,
                                      const TVariablesReporte& variables, int nPagina) {
  std::vector<TParrafo> r;
  r.reserve(parrafos.size());
  for (const auto& p : parrafos) {
    TParrafo nuevo{p.alineacion, {}};
    for (const auto& t : p.tramos) {
      TTramo salida = t;
      salida.sTexto.clear();
      const std::string& s = t.sTexto;
      size_t i = 0;
      while (i < s.size()) {
        auto abre = s.find('[', i);
        auto cierra = abre == std::string::npos ? std::string::npos : s.find(']', abre + 1);
        if (cierra == std::string::npos) {
          salida.sTexto.append(s, i, std::string::npos);
          break;
        }
        const std::string nombre = s.substr(abre + 1, cierra - abre - 1);
        salida.sTexto.append(s, i, abre - i);
        i = cierra + 1;
        if (NombreValido(nombre) && IgualSinCasoAscii(nombre, "Page#")) {
          salida.sTexto += std::to_string(nPagina);
        } else if (NombreValido(nombre) && variables.Existe(nombre)) {
          salida.sTexto += Limita(EvaluaValor(variables.DameValor(nombre)), kMaxCaracteresValor);
        } else {
          salida.sTexto += '[';  // not a placeholder: keep it and look again after the bracket
          i = abre + 1;
        }
      }
      if (!salida.sTexto.empty()) nuevo.tramos.push_back(std::move(salida));
    }
    r.push_back(std::move(nuevo));
  }
  return r;
}

bool VariablesConValor(const TParrafo& parrafo, const TVariablesReporte& variables) {
  const std::string s = parrafo.Texto();
  for (size_t abre = s.find('['); abre != std::string::npos; abre = s.find('[', abre + 1)) {
    const auto cierra = s.find(']', abre + 1);
    if (cierra == std::string::npos) break;
    const std::string nombre = s.substr(abre + 1, cierra - abre - 1);
    if (!NombreValido(nombre) || IgualSinCasoAscii(nombre, "Page#")) continue;
    const auto valor = variables.DameValor(nombre);
    if (!valor || EvaluaValor(*valor).empty()) return false;
  }
  return true;
}

}  // namespace qavi
