#pragma once
// The numeric entry fields: TNumIO2 (self-drawn, with spin buttons and gauge). The notation
// logic both fields share is numio/NumNotation.h.
#include "numio/NumNotation.h"
#include "numio/QEL_NumIO2.h"
