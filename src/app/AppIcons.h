#pragma once

/*  The application icon as PNG data, embedded at build time from packaging/icons. */

extern const unsigned char appIcon48Png[];
extern const int appIcon48PngSize;
