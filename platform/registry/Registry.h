#pragma once
// The registry operations the system is written against, for the two hives it
// uses: the current user's and the local machine's. Each hive is a text file in
// the registry export format:
//   current user:  $XDG_CONFIG_HOME/orvex/user.reg        (default ~/.config)
//   local machine: <first of $XDG_CONFIG_DIRS>/orvex/machine.reg (default /etc/xdg)
// The variables are read at every open of a predefined key.
//
// A value keeps its type and its exact bytes, whatever their length. A handle
// sees its key as the file held it when the key was opened, plus its own
// changes. Changes reach the file when the handle is closed: under an advisory
// lock the file is read again, the handle's values applied, and the whole file
// written to a temporary file that is renamed over the old one (over the file
// a link leads to, when the hive file is a link). A file that cannot be
// parsed, or is no regular file smaller than 16 MiB, is renamed "*.bad" (one
// line on stderr) and the hive starts empty. Key paths and value names compare without regard to ASCII case; a
// trailing backslash on a key path is ignored.
//
// Thread-safe. Results are the Windows error codes below.
//
// Beyond the Windows calls: REG_OPTION_EXCLUSIVE, for a read-modify-write that
// no other writer may interleave with.
#include "platform/WinTypes.h"
#include <cstdint>

struct HKEY__;
using HKEY = HKEY__*;
using REGSAM = DWORD;
using LSTATUS = LONG;

inline const HKEY HKEY_CURRENT_USER = reinterpret_cast<HKEY>(std::uintptr_t{0x80000001});
inline const HKEY HKEY_LOCAL_MACHINE = reinterpret_cast<HKEY>(std::uintptr_t{0x80000002});

constexpr LONG ERROR_SUCCESS = 0;
constexpr LONG ERROR_FILE_NOT_FOUND = 2;
constexpr LONG ERROR_ACCESS_DENIED = 5;
constexpr LONG ERROR_INVALID_HANDLE = 6;
constexpr LONG ERROR_INVALID_PARAMETER = 87;
constexpr LONG ERROR_BAD_PATHNAME = 161;
constexpr LONG ERROR_MORE_DATA = 234;
constexpr LONG ERROR_NO_MORE_ITEMS = 259;
constexpr LONG ERROR_CANTWRITE = 1013;

constexpr REGSAM KEY_QUERY_VALUE = 0x0001;
constexpr REGSAM KEY_SET_VALUE = 0x0002;
constexpr REGSAM KEY_CREATE_SUB_KEY = 0x0004;
constexpr REGSAM KEY_ENUMERATE_SUB_KEYS = 0x0008;
constexpr REGSAM KEY_NOTIFY = 0x0010;
constexpr REGSAM KEY_READ = 0x20019;
constexpr REGSAM KEY_WRITE = 0x20006;
constexpr REGSAM KEY_ALL_ACCESS = 0xF003F;

constexpr DWORD REG_NONE = 0;
constexpr DWORD REG_SZ = 1;
constexpr DWORD REG_BINARY = 3;
constexpr DWORD REG_DWORD = 4;

constexpr DWORD REG_OPTION_NON_VOLATILE = 0;
// This layer's own: the hive file stays locked from the open, which reads it
// under the lock, until the close, which writes it, so the handle sees and
// replaces the latest file. Other writers, in any process, wait meanwhile; a
// thread holding such a handle must not write the same hive through another.
constexpr DWORD REG_OPTION_EXCLUSIVE = 0x1000;
constexpr DWORD REG_CREATED_NEW_KEY = 1;
constexpr DWORD REG_OPENED_EXISTING_KEY = 2;

// Opens hKey\lpSubKey, creating it (and the hive file's folder, at close) when
// missing. hKey is a predefined key or an open handle. Fails with
// ERROR_ACCESS_DENIED when the key must be created or samDesired asks for
// writing and the hive file's folder cannot be written. On success *phkResult
// is a handle the caller closes with RegCloseKey; on failure it is null.
// *lpdwDisposition (optional) tells whether the key was new. Reads the hive file.
LSTATUS RegCreateKeyEx(HKEY hKey, const char* lpSubKey, DWORD Reserved, char* lpClass,
                       DWORD dwOptions, REGSAM samDesired, const void* lpSecurityAttributes,
                       HKEY* phkResult, DWORD* lpdwDisposition);

// Opens an existing key; ERROR_FILE_NOT_FOUND when it does not exist,
// ERROR_ACCESS_DENIED as for RegCreateKeyEx. ulOptions: 0 or
// REG_OPTION_EXCLUSIVE. Reads the hive file.
LSTATUS RegOpenKeyEx(HKEY hKey, const char* lpSubKey, DWORD ulOptions, REGSAM samDesired,
                     HKEY* phkResult);

// Reads a value (null or "" name: the key's default value). *lpType (optional)
// receives the stored type. With lpData null, *lpcbData receives the size.
// With fewer bytes offered than stored, fails with ERROR_MORE_DATA, leaves
// lpData untouched and puts the needed size in *lpcbData. Needs KEY_QUERY_VALUE.
// In memory only.
LSTATUS RegQueryValueEx(HKEY hKey, const char* lpValueName, DWORD* lpReserved, DWORD* lpType,
                        BYTE* lpData, DWORD* lpcbData);

// Stores cbData bytes of any type under the name; needs KEY_SET_VALUE. The
// change is kept by the handle and written when it is closed. In memory only.
LSTATUS RegSetValueEx(HKEY hKey, const char* lpValueName, DWORD Reserved, DWORD dwType,
                      const BYTE* lpData, DWORD cbData);

// The value at dwIndex (0, 1, ... in the order the values were first set):
// its name into lpValueName, whose size *lpcchValueName counts the NUL on the
// way in and not on the way out, and its type and data as RegQueryValueEx
// gives them. ERROR_NO_MORE_ITEMS past the last value; ERROR_MORE_DATA when
// the name or the data do not fit. Needs KEY_QUERY_VALUE. In memory only.
LSTATUS RegEnumValue(HKEY hKey, DWORD dwIndex, char* lpValueName, DWORD* lpcchValueName, DWORD* lpReserved,
                     DWORD* lpType, BYTE* lpData, DWORD* lpcbData);

// Removes a value (null or "" name: the default value); ERROR_FILE_NOT_FOUND
// when there is none. Needs KEY_SET_VALUE. Kept by the handle and written
// when it is closed, like RegSetValueEx.
LSTATUS RegDeleteValue(HKEY hKey, const char* lpValueName);

// Removes the key hKey\lpSubKey and its values from the hive file at once,
// under the same lock as every write. ERROR_FILE_NOT_FOUND when it does not
// exist; ERROR_ACCESS_DENIED when it has keys below it or the hive's folder
// cannot be written; ERROR_CANTWRITE (after one line on stderr) when the file
// could not be written. Handles still open on the key write their changes
// into a new key of that name when they are closed.
LSTATUS RegDeleteKey(HKEY hKey, const char* lpSubKey);

// Releases the handle and writes its changes, if any, to the hive file.
// Returns ERROR_CANTWRITE (after one line on stderr) when the file could not
// be written; the file then keeps its old content. Closing a predefined key
// does nothing.
LSTATUS RegCloseKey(HKEY hKey);
