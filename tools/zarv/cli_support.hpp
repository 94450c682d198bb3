#pragma once
// Shared habits of every zarv subcommand: FILE or "-" for stdin, -o FILE or
// stdout, errors on stderr as "zarv: <message>", exit 0 / 1 (conversion
// failed) / 2 (usage).
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include <CLI/CLI.hpp>

#include "zarv/zarv.h"

namespace zarv::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

// The action chosen on the command line, run after parsing succeeded.
struct Dispatch {
  std::function<int()> action;
};

// Reads a whole file, or stdin for "-"; prints the error and returns nothing
// when it cannot.
std::optional<std::vector<std::uint8_t>> read_input(const std::string& path);
// Writes bytes to a file, or to stdout when the path is empty or "-".
bool write_output(const std::string& path, std::span<const std::uint8_t> bytes);
// Prints "zarv: <message>" on stderr.
void report_error(std::string_view message);
// Consumes a result buffer: writes its bytes (adding a newline after text
// written to a terminal) or reports its error. Returns the exit status.
int finish(ZarvBuffer buffer, const std::string& output_path, bool is_text);

// A one-line progress bar on stderr, drawn only when stderr is a terminal.
class Progress {
 public:
  Progress(std::string label, std::size_t total);
  ~Progress();
  void advance(std::size_t done);

 private:
  std::string label_;
  std::size_t total_;
  bool enabled_;
};

// Adds the usual "input file" positional and "-o" option to a subcommand.
void add_io_options(CLI::App& command, std::string& input, std::string& output, std::string_view output_help);

// The signature every plain converting export shares.
using Export = ZarvBuffer (*)(const uint8_t*, size_t);

// Adds a subcommand that runs one export on the input file and writes its
// output: `zarv <group> <name> INPUT [-o OUTPUT]`.
void add_conversion(CLI::App& group, Dispatch& dispatch, const char* name, const char* help,
                    const char* output_help, Export convert, bool text_output);

// Each group of subcommands registers itself here.
void add_dungeon_commands(CLI::App& app, Dispatch& dispatch);
void add_graphics_commands(CLI::App& app, Dispatch& dispatch);
void add_music_commands(CLI::App& app, Dispatch& dispatch);
void add_ovn_commands(CLI::App& app, Dispatch& dispatch);

}  // namespace zarv::cli
