#include "ui/transparent_label.h"
