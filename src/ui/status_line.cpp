#include "ui/status_line.h"
