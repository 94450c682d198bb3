#include "convert/convert_error.hpp"

namespace zarv::convert {

std::string ConvertError::message() const {
  return std::visit([](const auto& error) { return error.message(); }, value_);
}

}  // namespace zarv::convert
