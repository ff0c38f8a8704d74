// The short name under which the running copy of the program for one
// settings file is found (a socket name, a mutex name): a 64-bit FNV-1a
// hash of the file's resolved path, as 16 hexadecimal digits. Different
// files give different names (barring a 1 in 2^64 coincidence); the same
// path always gives the same name, on every platform.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

inline std::string SettingsFileKey(std::string_view resolvedPath) {
    std::uint64_t hash = 0xcbf29ce484222325ull;
    for (unsigned char byte : resolvedPath) {
        hash ^= byte;
        hash *= 0x100000001b3ull;
    }
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string key(16, '0');
    for (int i = 15; i >= 0; --i, hash >>= 4) key[std::size_t(i)] = kDigits[hash & 0xF];
    return key;
}

}  // namespace platform
