// A breach the layer check must report: the forms run-time reaching up into the program.
#include "app/foundation/settings.h"
