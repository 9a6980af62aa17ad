#include "display/qt/gl_error_text.h"

#include <cstdio>

namespace dvr::display {

std::string GlErrorText(unsigned code) {
  switch (code) {
    case 0x0000:
      return "The request completed successfully.";
    case 0x0500:
      return "An enumerated value is not accepted by the operation.";
    case 0x0501:
      return "A numeric argument is out of range.";
    case 0x0502:
      return "The operation is not allowed in the current state.";
    case 0x0503:
      return "The operation would overflow the stack.";
    case 0x0504:
      return "The operation would underflow the stack.";
    case 0x0505:
      return "OpenGL does not have enough memory to perform the operation.";
    case 0x0506:
      return "The framebuffer object is not complete.";
    case 0x0507:
      return "The graphics context was lost.";
    default: {
      char text[64];
      std::snprintf(text, sizeof text, "Recieved an error not part of OpenGL (0x%04X)", code);
      return text;
    }
  }
}

}  // namespace dvr::display
