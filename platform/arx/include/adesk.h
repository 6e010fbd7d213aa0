// Host stand-in: the basic integer and boolean types of the host's libraries.
#pragma once

#include <cstdint>

namespace Adesk {
typedef int8_t Int8;
typedef int16_t Int16;
typedef int32_t Int32;
typedef int64_t Int64;
typedef uint8_t UInt8;
typedef uint16_t UInt16;
typedef uint32_t UInt32;
typedef uint64_t UInt64;
typedef bool Boolean;
const Boolean kFalse = false;
const Boolean kTrue = true;
}  // namespace Adesk
