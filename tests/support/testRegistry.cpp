// Save, set and restore of the composition registry value.
#include "testRegistry.h"

namespace {

const char DWM_KEY[] = "Software\\Microsoft\\Windows\\DWM";
const char COMPOSITION_VALUE[] = "Composition";

void deleteCompositionValue()
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, DWM_KEY, 0, KEY_WRITE, &key) == ERROR_SUCCESS) {
        RegDeleteValueA(key, COMPOSITION_VALUE);
        RegCloseKey(key);
    }
}

}  // namespace

SavedComposition saveComposition()
{
    SavedComposition saved;
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, DWM_KEY, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return saved;
    saved.keyExisted = true;
    DWORD size = sizeof saved.value;
    saved.valueExisted = RegQueryValueExA(key, COMPOSITION_VALUE, nullptr, nullptr,
                                          reinterpret_cast<BYTE *>(&saved.value), &size) == ERROR_SUCCESS;
    RegCloseKey(key);
    return saved;
}

bool setComposition(DWORD value)
{
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, DWM_KEY, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return false;
    LONG written = RegSetValueExA(key, COMPOSITION_VALUE, 0, REG_DWORD, reinterpret_cast<const BYTE *>(&value),
                                  sizeof value);
    RegCloseKey(key);
    return written == ERROR_SUCCESS;
}

void removeComposition()
{
    deleteCompositionValue();
    // Fails, harmlessly, while the key holds other values.
    RegDeleteKeyA(HKEY_CURRENT_USER, DWM_KEY);
}

void restoreComposition(const SavedComposition &saved)
{
    if (saved.valueExisted)
        setComposition(saved.value);
    else if (saved.keyExisted)
        deleteCompositionValue();
    else
        removeComposition();
}
