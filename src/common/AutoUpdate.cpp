#include "AutoUpdate.h"

bool autoUpdate = false;
