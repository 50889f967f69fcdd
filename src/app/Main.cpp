#include "Application.h"

START_JUCE_APPLICATION (Application)
