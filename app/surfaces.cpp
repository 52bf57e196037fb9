#include "app/surfaces.h"

namespace qc {

Surfaces surfaces;

}  // namespace qc
