// Writes a demonstration medium.
#include "medgen/Medium.h"
