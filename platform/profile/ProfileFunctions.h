#pragma once

#include <cstdint>

// INI profile functions with the behaviour of the classic Windows profile API
// (recorded test vectors are the reference). On Windows they are the system's
// own (kernel32's GetPrivateProfileStringA and its kin); elsewhere they are
// implemented here, as described below. Texts are 8-bit strings in code page
// 1252; a file that starts with a UTF-8 or UTF-16 byte-order mark is read and
// written in its own encoding. A null pointer means "no value" exactly as in
// that API. The rules by which a file reads are IniText's.
namespace ProfileFunctions {

// Copies a value (or, with a null key, the section's key names; with a null
// section, the file's section names, each NUL-terminated and the list ending
// in a second NUL) into `buffer` of `size` bytes. Returns the count of bytes
// copied, not counting the final NUL. A missing value or an empty list gives
// the default, without the quotes around it; a value's default also loses
// its trailing spaces. A file that cannot be opened (its folder is missing,
// it is a folder or unreadable) gives the default as it stands.
std::uint32_t GetPrivateProfileString(const char* section, const char* key,
                                      const char* defaultValue, char* buffer, std::uint32_t size,
                                      const char* fileName);

// The leading integer of a key's value, or `defaultValue` when the key is missing.
std::uint32_t GetPrivateProfileInt(const char* section, const char* key, std::int32_t defaultValue,
                                   const char* fileName);

// Sets, removes (null value) or removes the section (null key). Creates file
// and section as needed. Non-zero on success, 0 on failure, which includes
// every call on a file that cannot be written (read-only, in a missing
// folder) even when it would change nothing, and any section, key or value
// holding a line break. The file is replaced safely (FileReplacement).
int WritePrivateProfileString(const char* section, const char* key, const char* value,
                              const char* fileName);

}  // namespace ProfileFunctions
