#include "gui/Canvas.h"
