#pragma once

#include <cstdint>

/*  The built-in firmware image: the pedal's release file, embedded at build time.
    The build refuses a release file whose size or framing differs from these figures.
    These two lines are the figures' only home: src/CMakeLists.txt (the build check) and
    tools/generate_standin_firmware.py read them as they are written here. */

constexpr std::int64_t builtInFirmwareSize = 243212;
constexpr int builtInFirmwareMessageCount = 408;

extern const unsigned char builtInFirmwareData[];
