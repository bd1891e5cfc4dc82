#pragma once

#include "ShellCatalogue.h"

// The catalogue file: headerless 320-byte records beside the executable.
extern const char CatalogueFileName[];

// Fills buffer with the executable's directory, ending in a backslash.
// Returns false when the directory can't be told (no backslash, or a module
// file name that did not fit in the buffer).
bool GetModuleDirectory(char* buffer, DWORD size);

// Builds the full path of the catalogue file; false when it does not fit in
// MAX_PATH bytes, in which case the file is neither read nor written.
bool GetCatalogueFilePath(char path[MAX_PATH]);

// Replaces the catalogue with the built-in Explorer entry and the file's records.
void LoadCatalogue(ShellCatalogue& catalogue);

// Rewrites the file from entries 1 and up. The records go to a temporary file
// first, which then replaces the catalogue file, so a failure at any point
// leaves the old file whole. Failures are silent.
void SaveCatalogue(const ShellCatalogue& catalogue);
