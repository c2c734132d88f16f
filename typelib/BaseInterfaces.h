// The generated interface header includes this file for the base interfaces
// of its description; in C++ they are the platform's own declarations.
#pragma once
#include <oaidl.h>
