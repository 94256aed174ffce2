#pragma once
// Settings kept under the registry keys' earlier names. In the user's hive
// they are moved once to the current keys (app/RegistryKeys.h); the machine
// hive, which ordinary users cannot write, is only read under the earlier
// name. Results: true on success.
#include "platform/registry/Registry.h"

// Copies every value of the earlier settings key that the current key does
// not hold yet into the current key, then deletes the earlier key (and its
// parent when nothing else is left in it). True when nothing earlier is left
// or it was moved whole; false when it could not be (it then stays for the
// next start, and is still read by OpenKeyForReading).
bool MoveOldSettings();

// Opens pszKey (kSettingsKey or kAppKey) of hRoot for query only into
// *phKey; when that key does not exist, the key of its earlier name. True
// when one was opened; the caller closes it.
bool OpenKeyForReading(HKEY hRoot, const char* pszKey, HKEY* phKey);

// Opens the key of pszKey's earlier name for query only; null when missing.
HKEY OpenOldKey(HKEY hRoot, const char* pszKey);
