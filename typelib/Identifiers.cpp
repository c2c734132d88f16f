// Storage for the identifiers that Identifiers.h declares.
#include <initguid.h>

#include "Identifiers.h"
