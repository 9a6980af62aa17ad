#pragma once
// Texts of the OpenGL path's failures, kept as the display's last error. The drawing path falls
// back to software on any of them; nothing is shown to the user.
#include <string>

namespace dvr::display {

inline constexpr const char* kNoWindowSystemText = "OpenGL needs a window system (xcb or wayland).";
inline constexpr const char* kPaletteModeText = "Not support palette mode.";
inline constexpr const char* kNoContextText = "Failed to create back surface.";
inline constexpr const char* kNoTextureText = "Failed to create video surface.";
inline constexpr const char* kNoShaderText = "Failed to create channel surface.";

// The description of an OpenGL error code (glGetError), one text per code; a code OpenGL does not
// define gives "Recieved an error not part of OpenGL".
std::string GlErrorText(unsigned code);

}  // namespace dvr::display
