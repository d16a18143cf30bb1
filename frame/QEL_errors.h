#pragma once
// The error class of each unit that raises errors; all derive from EQELError.
#include "frame/QEL_qelbase.h"

namespace qel {

#define QEL_DECLARE_QEL_ERROR(Name) \
  class Name : public EQELError {   \
   public:                          \
    using EQELError::EQELError;     \
  };

QEL_DECLARE_QEL_ERROR(EQELDStructError)
QEL_DECLARE_QEL_ERROR(EQELNumIO2Error)
QEL_DECLARE_QEL_ERROR(EQELRLDataError)
QEL_DECLARE_QEL_ERROR(EQELRepListError)
QEL_DECLARE_QEL_ERROR(EQELNTabedError)
QEL_DECLARE_QEL_ERROR(EQELRasterLabError)
QEL_DECLARE_QEL_ERROR(EQELRepSpeedButton)
QEL_DECLARE_QEL_ERROR(EQELProgBar)

#undef QEL_DECLARE_QEL_ERROR

}  // namespace qel
