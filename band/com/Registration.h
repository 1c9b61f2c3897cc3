// Self-registration of the band class and its desk band category.
#pragma once

#include <windows.h>

enum class RegistrationAction { Register, Remove };

// Writes or deletes the class keys under HKEY_CLASSES_ROOT. Keys that cannot be written or
// deleted are passed over; the walk always completes.
void WriteRegistrationEntries(REFCLSID clsid, const char* bandName, RegistrationAction action);

// Asks the component categories manager to add or drop `category` for `clsid`; true when it
// accepted.
bool RegisterCategory(REFCLSID clsid, REFGUID category, RegistrationAction action);
