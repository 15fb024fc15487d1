#pragma once
// Fonts of the report. The template names Windows families (Times New Roman, Tahoma); where they
// are not installed the metric-compatible ones stand in, so pages break the same way.
#include <QString>

namespace qavi {

// Registers the stand-in fonts shipped outside the system font folders (wine's Tahoma).
// Needs a QGuiApplication; runs its work once.
void PreparaFuentes();

// The family to ask Qt for when the template says `familia`.
QString FamiliaDisponible(const QString& familia);

}  // namespace qavi
