#include <windows.h>

// The system header maps these names onto its A or W functions; ours are the
// 8-bit ones under the same names.
#undef GetPrivateProfileString
#undef GetPrivateProfileInt
#undef WritePrivateProfileString

#include "platform/profile/ProfileFunctions.h"

// On Windows the profile functions are the system's own.
namespace ProfileFunctions {

std::uint32_t GetPrivateProfileString(const char* section, const char* key,
                                      const char* defaultValue, char* buffer, std::uint32_t size,
                                      const char* fileName) {
    return ::GetPrivateProfileStringA(section, key, defaultValue, buffer, size, fileName);
}

std::uint32_t GetPrivateProfileInt(const char* section, const char* key, std::int32_t defaultValue,
                                   const char* fileName) {
    return ::GetPrivateProfileIntA(section, key, defaultValue, fileName);
}

int WritePrivateProfileString(const char* section, const char* key, const char* value,
                              const char* fileName) {
    return ::WritePrivateProfileStringA(section, key, value, fileName);
}

}  // namespace ProfileFunctions
