#pragma once
#include <stdexcept>

namespace zarv {

// A broken invariant inside the library (never a property of the input that
// the input's format can express). It is thrown, never returned: the export
// guard turns it into "panic: internal error while processing input".
class InternalFault : public std::logic_error {
 public:
  using std::logic_error::logic_error;
};

}  // namespace zarv
