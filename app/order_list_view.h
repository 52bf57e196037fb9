// The order list: up to 15 positions around the order cursor.
#pragma once

namespace qc {

void drawOrderList();

}  // namespace qc
