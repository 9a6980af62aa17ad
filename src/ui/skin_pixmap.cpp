#include "ui/skin_pixmap.h"
