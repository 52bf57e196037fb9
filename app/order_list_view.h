// The order list: up to 15 positions around the order cursor.
#pragma once

void drawOrderList();
