#pragma once

#include <windows.h>

// Thrown when a key can't be opened or created; carries RegCreateKeyExA's result.
class registryException
{
public:
    LONG code;
};

// An open registry key, created when missing, flushed and closed when it goes
// out of scope.
class RegistryKey
{
public:
    RegistryKey(HKEY root, const char* subkey, REGSAM access);
    ~RegistryKey();

    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;

    // Leaves the value's text in buffer, NUL-terminated within bufferSize
    // bytes, or the fallback text when the value is missing or too long.
    void QueryString(const char* name, char* buffer, DWORD bufferSize, const char* fallback);

    bool SetString(const char* name, const char* text);
    bool SetDword(const char* name, DWORD value);

    bool CreatedNew() const { return createdNew; }

private:
    HKEY hkey;
    LONG lastError;
    DWORD valueType;
    DWORD dataSize;
    bool createdNew;
};
