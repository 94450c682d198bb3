#include <iostream>
#include <memory>

#include "cli_support.hpp"

namespace zarv::cli {
namespace {

struct DetectArgs {
  std::vector<std::string> inputs;
  std::string output;
};

// One file: its bare tag, as the export gives it. Several: one
// "FILE: tag" line each, the failures reported and counted in the status.
int run_detect(const DetectArgs& args) {
  if (args.inputs.size() == 1) {
    auto bytes = read_input(args.inputs.front());
    if (!bytes) return kExitFailed;
    return finish(zarv_music_detect(bytes->data(), bytes->size()), args.output, true);
  }
  std::string listing;
  int status = kExitOk;
  for (const std::string& path : args.inputs) {
    auto bytes = read_input(path);
    if (!bytes) {
      status = kExitFailed;
      continue;
    }
    ZarvBuffer result = zarv_music_detect(bytes->data(), bytes->size());
    if (result.error != nullptr) {
      report_error(path + ": " + result.error);
      status = kExitFailed;
    } else {
      listing += path + ": " + std::string(reinterpret_cast<const char*>(result.data), result.len) + "\n";
    }
    zarv_buffer_free(result);
  }
  const auto* text = reinterpret_cast<const std::uint8_t*>(listing.data());
  if (!write_output(args.output, {text, listing.size()})) return kExitFailed;
  return status;
}

}  // namespace

void add_music_commands(CLI::App& app, Dispatch& dispatch) {
  auto* group = app.add_subcommand("music", "Music files: HMP songs, MIDI files, tracker modules");
  group->require_subcommand(1);

  auto detect = std::make_shared<DetectArgs>();
  auto* cmd = group->add_subcommand(
      "detect", "Name each file's music container: hmp, smf, mod or modplayer41a (FILE: tag for several files)");
  cmd->add_option("inputs", detect->inputs, "Input files, or - for standard input")->required();
  cmd->add_option("-o,--output", detect->output, "Write the result here (default: standard output)");
  cmd->callback([&dispatch, detect] { dispatch.action = [detect] { return run_detect(*detect); }; });

  add_conversion(*group, dispatch, "hmp-to-mid", "Convert an HMP song to a Standard MIDI File (format 1)",
                 "Write the .mid file here", zarv_music_hmp_to_smf, false);
}

}  // namespace zarv::cli
