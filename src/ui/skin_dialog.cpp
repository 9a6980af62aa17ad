#include "ui/skin_dialog.h"
