#include "forms/runtime_error.h"
