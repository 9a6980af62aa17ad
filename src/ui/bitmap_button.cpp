#include "ui/bitmap_button.h"
