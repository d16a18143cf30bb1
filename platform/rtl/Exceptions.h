#pragma once
// The framework's exception hierarchy. Every error the library raises derives from Exception,
// which carries the message text.
#include <exception>
#include <string>

namespace qel {

class Exception : public std::exception {
 public:
  explicit Exception(std::string message) : Message(std::move(message)) {}
  const char* what() const noexcept override { return Message.c_str(); }
  std::string Message;
};

#define QEL_DECLARE_EXCEPTION(Name, Base)  \
  class Name : public Base {               \
   public:                                 \
    using Base::Base;                      \
  };

QEL_DECLARE_EXCEPTION(EAbort, Exception)
QEL_DECLARE_EXCEPTION(EConvertError, Exception)
QEL_DECLARE_EXCEPTION(EInOutError, Exception)
QEL_DECLARE_EXCEPTION(EOutOfMemory, Exception)
QEL_DECLARE_EXCEPTION(EListError, Exception)
QEL_DECLARE_EXCEPTION(EStringListError, EListError)
QEL_DECLARE_EXCEPTION(EStreamError, Exception)
QEL_DECLARE_EXCEPTION(EFOpenError, EStreamError)
QEL_DECLARE_EXCEPTION(EFCreateError, EStreamError)
QEL_DECLARE_EXCEPTION(EReadError, EStreamError)
QEL_DECLARE_EXCEPTION(EWriteError, EStreamError)
QEL_DECLARE_EXCEPTION(EInvalidOperation, Exception)
QEL_DECLARE_EXCEPTION(EInvalidGraphic, Exception)
QEL_DECLARE_EXCEPTION(EInvalidGraphicOperation, Exception)
QEL_DECLARE_EXCEPTION(EOutOfResources, Exception)
QEL_DECLARE_EXCEPTION(EResNotFound, Exception)
QEL_DECLARE_EXCEPTION(EIntOverflow, Exception)
QEL_DECLARE_EXCEPTION(EZeroDivide, Exception)
QEL_DECLARE_EXCEPTION(ERangeError, Exception)
QEL_DECLARE_EXCEPTION(EClassNotFound, Exception)
QEL_DECLARE_EXCEPTION(EPropertyError, Exception)
QEL_DECLARE_EXCEPTION(EComponentError, Exception)

}  // namespace qel
