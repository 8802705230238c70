#pragma once

#include <cstdint>

// Portable INI profile functions with the behaviour of the classic Windows
// profile API (recorded test vectors are the reference). Texts are 8-bit byte
// strings; a null pointer means "no value" exactly as in that API. Section and
// key names match without regard to ASCII case.
namespace ProfileFunctions {

// Copies a value (or, with a null key, the section's key names; with a null
// section and key, the file's section names, each NUL-terminated and the list
// ending in a second NUL) into `buffer` of `size` bytes. Returns the count of
// bytes copied, not counting the final NUL.
std::uint32_t GetPrivateProfileString(const char* section, const char* key,
                                      const char* defaultValue, char* buffer, std::uint32_t size,
                                      const char* fileName);

// The leading integer of a key's value, or `defaultValue` when the key is missing.
std::uint32_t GetPrivateProfileInt(const char* section, const char* key, std::int32_t defaultValue,
                                   const char* fileName);

// Sets, removes (null value) or removes the section (null key). Creates file
// and section as needed. Non-zero on success, 0 on failure. The file is never
// left half-written: it is replaced by renaming a complete temporary file.
int WritePrivateProfileString(const char* section, const char* key, const char* value,
                              const char* fileName);

}  // namespace ProfileFunctions
