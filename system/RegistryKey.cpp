#include "RegistryKey.h"

RegistryKey::RegistryKey(HKEY root, const char* subkey, REGSAM access)
    : hkey(NULL), lastError(ERROR_SUCCESS), valueType(REG_NONE), dataSize(0), createdNew(false)
{
    DWORD disposition = 0;
    LONG result = RegCreateKeyExA(root, subkey, 0, NULL, REG_OPTION_NON_VOLATILE, access, NULL,
                                  &hkey, &disposition);
    if (result != ERROR_SUCCESS)
        throw registryException{result};
    createdNew = disposition == REG_CREATED_NEW_KEY;
}

RegistryKey::~RegistryKey()
{
    if (hkey)
    {
        RegFlushKey(hkey);
        RegCloseKey(hkey);
    }
}

void RegistryKey::QueryString(const char* name, char* buffer, DWORD bufferSize, const char* fallback)
{
    if (bufferSize == 0)
        return;

    DWORD size = bufferSize;
    lastError = RegQueryValueExA(hkey, name, NULL, &valueType, reinterpret_cast<BYTE*>(buffer), &size);
    if (lastError != ERROR_SUCCESS)
    {
        lstrcpynA(buffer, fallback, bufferSize);
        return;
    }

    // The registry keeps whatever bytes were stored, terminated or not: end
    // the text after the data, or cut it at the end of the buffer.
    buffer[size < bufferSize ? size : bufferSize - 1] = '\0';
}

bool RegistryKey::SetString(const char* name, const char* text)
{
    lastError = RegSetValueExA(hkey, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                               lstrlenA(text) + 1);
    return lastError == ERROR_SUCCESS;
}

bool RegistryKey::SetDword(const char* name, DWORD value)
{
    dataSize = sizeof value;
    lastError = RegSetValueExA(hkey, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), dataSize);
    return lastError == ERROR_SUCCESS;
}
