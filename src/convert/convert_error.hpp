#pragma once
// The one error type that reaches the host. A variant that wraps a
// subsystem error renders exactly that error's message; the others carry
// fixed texts of their own.
#include <string>
#include <type_traits>
#include <utility>
#include <variant>

#include "codec/variant_error.hpp"
#include "dungeon/error.hpp"
#include "dungeon/json/lossless.hpp"
#include "dungeon/json/voproject.hpp"
#include "graphics/error.hpp"
#include "json/error.hpp"
#include "music/error.hpp"
#include "ovn/error.hpp"

namespace zarv::convert {

// The text of an image error caught while composing or decoding an image.
struct ImageDecode {
  std::string detail;
  std::string message() const { return "graphics image decode failed: " + detail; }
};
struct ImageNotFound {
  std::string message() const { return "no image record for the requested (cls1, cls2, cls4) tuple"; }
};
struct UnrecognizedDungeon {
  std::string message() const { return "unrecognized dungeon.dat: no byte order produced a plausible header"; }
};
struct UnrecognizedSave {
  std::string message() const { return "unrecognized savegame: no byte order or variant predicate matched"; }
};
struct ResourceNotFound {
  std::string message() const { return "resource not found for the requested (type, id)"; }
};

class ConvertError
    : public codec::VariantError<dungeon::Error, dungeon::JsonError, dungeon::VoprojectDumpError, json::JsonError,
                                 graphics::Error, music::Error, ovn::Error, ImageDecode, ImageNotFound,
                                 UnrecognizedDungeon, UnrecognizedSave, ResourceNotFound> {
 public:
  // Each payload type names its variant: dungeon::Error is `DungeonFile`,
  // dungeon::JsonError `LosslessJson`, dungeon::VoprojectDumpError
  // `Voproject`, json::JsonError `Json`,
  // graphics::Error `Graphics`, and so on.
  using VariantError::VariantError;
  std::string message() const;
};

}  // namespace zarv::convert
