#pragma once
// The shape every subsystem error shares: one value out of a closed set of
// small structs, each carrying the numbers its message needs. A subsystem
// derives from it, inherits the constructors and adds message(), its one
// rendering of the exact text.
//
//   class Error : public codec::VariantError<Truncated, BadMagic> {
//    public:
//     using VariantError::VariantError;
//     std::string message() const;
//   };
#include <type_traits>
#include <utility>
#include <variant>

namespace zarv::codec {

template <class... Alternatives>
class VariantError {
 public:
  using Value = std::variant<Alternatives...>;

  template <class T>
    requires std::is_constructible_v<Value, T&&>
  VariantError(T&& value) : value_(std::forward<T>(value)) {}  // NOLINT: errors convert implicitly

  const Value& value() const { return value_; }
  template <class T>
  const T* get_if() const {
    return std::get_if<T>(&value_);
  }

 protected:
  Value value_;
};

}  // namespace zarv::codec
