#include "ShellCatalogue.h"

#include <stdexcept>

void CopyText(char* field, int fieldSize, const char* text)
{
    lstrcpynA(field, text, fieldSize);
}

unsigned ShellCatalogue::Size() const
{
    return static_cast<unsigned>(entries.size());
}

ShellEntry& ShellCatalogue::At(int index)
{
    const ShellCatalogue& self = *this;
    return const_cast<ShellEntry&>(self.At(index));
}

const ShellEntry& ShellCatalogue::At(int index) const
{
    if (static_cast<unsigned>(index) >= entries.size())
        throw std::out_of_range("invalid vector<T> subscript");
    return entries[static_cast<unsigned>(index)];
}

void ShellCatalogue::Append(const ShellEntry& entry)
{
    entries.push_back(entry);
}

void ShellCatalogue::Erase(int index)
{
    At(index);
    entries.erase(entries.begin() + index);
}

void ShellCatalogue::Clear()
{
    entries.clear();
}

void ShellCatalogue::Release()
{
    std::vector<ShellEntry>().swap(entries);
}
