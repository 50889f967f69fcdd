#pragma once

#include <cstdint>

/*  The built-in firmware image: the pedal's release file, embedded at build time.
    The build refuses a release file whose size or framing differs from these figures. */

constexpr std::int64_t builtInFirmwareSize = 243212;
constexpr int builtInFirmwareMessageCount = 408;

extern const unsigned char builtInFirmwareData[];
