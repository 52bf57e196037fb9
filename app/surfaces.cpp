#include "app/surfaces.h"

Surfaces surfaces;
