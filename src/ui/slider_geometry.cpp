#include "ui/slider_geometry.h"
