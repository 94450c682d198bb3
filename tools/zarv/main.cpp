#include <iostream>

#include "cli_support.hpp"

int main(int argc, char** argv) {
  CLI::App app{"zarv: read, convert and write the data files of a classic dungeon role-playing game"};
  app.set_version_flag("--version", std::string(zarv_version()));
  app.require_subcommand(1);
  app.fallthrough();

  zarv::cli::Dispatch dispatch;
  zarv::cli::add_dungeon_commands(app, dispatch);
  zarv::cli::add_graphics_commands(app, dispatch);
  zarv::cli::add_music_commands(app, dispatch);
  zarv::cli::add_ovn_commands(app, dispatch);

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    const int code = app.exit(e);
    return code == 0 ? zarv::cli::kExitOk : zarv::cli::kExitUsage;
  }
  if (!dispatch.action) {
    std::cerr << app.help();
    return zarv::cli::kExitUsage;
  }
  return dispatch.action();
}
