#pragma once

#include "ShellEntry.h"

#include <vector>

// The ordered list of shells: index 0 is the built-in Explorer entry, the
// user's entries follow in file order.
class ShellCatalogue
{
public:
    unsigned Size() const;

    // The index is taken as unsigned, so -1 is out of range like any other
    // index past the end; both throw std::out_of_range.
    ShellEntry& At(int index);
    const ShellEntry& At(int index) const;

    void Append(const ShellEntry& entry);
    void Erase(int index);
    void Clear();

    // Frees the storage itself, not just the entries.
    void Release();

private:
    std::vector<ShellEntry> entries;
};
