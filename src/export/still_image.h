#pragma once
// Still images as the viewer saves them: a file named after the local date and time, in the
// capture folder, holding a device-independent bitmap behind a 14-byte file header.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/local_time.h"

namespace dvr::exporting {

// "%02d%02d%02d-%02d%02d%02d.bmp" of year, month, day, hour, minute, second: 20090315-140509.bmp.
std::string StillImageFileName(const platform::CalendarTime& time);
// The capture folder and the name: the name alone for a folder of at most one character other
// than the root, no second separator after a folder that ends in one.
std::string StillImagePath(const std::string& folder, const std::string& name);

// Where the pixels of a device-independent bitmap block start, counted from the start of the
// file: 14, plus the 40-byte header, plus a colour table or masks by compression and bit count.
uint32_t BmpPixelOffset(const uint8_t* dib_block);

// A device-independent bitmap block (header and bottom-up rows padded to four bytes) of a
// top-down 24-bit picture in blue, green, red order.
std::vector<uint8_t> DibFromTopDownBgr(const uint8_t* bgr, int width, int height);

// Writes the 14-byte file header and then the whole block. False when the file cannot be written
// (nothing is left behind then).
bool WriteBmpFile(const std::string& path, const std::vector<uint8_t>& dib_block);

}  // namespace dvr::exporting
