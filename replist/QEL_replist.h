#pragma once
// The report list unit: the data store TRLData (declared in QEL_replist_data.h) and its view.
#include "replist/QEL_replist_data.h"
