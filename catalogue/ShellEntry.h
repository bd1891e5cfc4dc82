#pragma once

#include <windows.h>
#include <cstddef>

// Sizes of the two text fields of a catalogue record, terminator included.
enum
{
    ShellNameSize = 60,
    ShellPathSize = MAX_PATH
};

// One shell the user can choose. The record is stored in the catalogue file
// exactly as it lies in memory, so its layout must never change.
struct ShellEntry
{
    char name[ShellNameSize];
    char path[ShellPathSize];
};

static_assert(sizeof(ShellEntry) == 320, "a catalogue record is 320 bytes");
static_assert(offsetof(ShellEntry, name) == 0, "name starts the record");
static_assert(offsetof(ShellEntry, path) == 60, "path follows the 60-byte name");

// Copies text into a fixed field, cutting it to fit; the bytes after the
// terminator are left as they were.
void CopyText(char* field, int fieldSize, const char* text);
