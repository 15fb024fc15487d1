#pragma once
// The few things that differ between Windows and the rest.
#include <cstdio>
#include <filesystem>
#include <string>

namespace qavi {

// Folder of the running executable (not the current directory).
std::filesystem::path CarpetaEjecutable();
// Whether the stream is an interactive terminal.
bool EsTerminal(std::FILE* f);
// Reads one line from standard input (without its line end). On a terminal what is typed is not
// shown. False at the end of the input with nothing read.
bool LeeLineaSinEco(std::string& linea);

}  // namespace qavi
