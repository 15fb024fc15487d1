#pragma once
// The few things that differ between Windows and the rest.
#include <cstdio>
#include <filesystem>

namespace qavi {

// Folder of the running executable (not the current directory).
std::filesystem::path CarpetaEjecutable();
// Whether the stream is an interactive terminal.
bool EsTerminal(std::FILE* f);

}  // namespace qavi
