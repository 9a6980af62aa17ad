#include "ui/bitmap_slider.h"
