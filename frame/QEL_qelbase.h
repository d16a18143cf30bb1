#pragma once
// The error base of the packages and the message builder every component uses.
#include <string>

#include "platform/rtl/Exceptions.h"

namespace qel {

class EQELError : public Exception {
 public:
  using Exception::Exception;
};

// "Component \"" + Name + Ending, e.g. ComponentMessage("NumIO1", "\": no timer available").
inline std::string ComponentMessage(const std::string& Name, const std::string& Ending) {
  return "Component \"" + Name + Ending;
}

// The fixed endings of component errors.
inline constexpr const char* kNoTimerAvailable = "\": no timer available";
inline constexpr const char* kNotEnoughMemory = "\": not enough memory on heap";
inline constexpr const char* kFailedToInitialize = "\": failed to initialize (out of memory)";
inline constexpr const char* kFailedToInitializeTableEditor =
    "\": failed to initialize table editor (out of memory)";
inline constexpr const char* kIntegerOverflow = "\": integer overflow";

}  // namespace qel
