// zarv-samples OUTDIR: writes a sample file of every supported format, made
// from the formats' layouts by this project's own code.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>

#include "samples/dungeon_samples.hpp"
#include "samples/graphics_samples.hpp"
#include "samples/music_samples.hpp"
#include "samples/ovn_samples.hpp"

int main(int argc, char** argv) {
  if (argc != 2 || std::string_view(argv[1]) == "--help") {
    std::cerr << "usage: zarv-samples OUTDIR\n";
    return argc == 2 ? 0 : 2;
  }
  const std::filesystem::path dir = argv[1];
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  if (ec) {
    std::cerr << "zarv-samples: cannot create " << dir << ": " << ec.message() << '\n';
    return 1;
  }
  bool ok = true;
  const zarv::samples::SampleSink sink = [&](const std::string& name, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(dir / name, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
      std::cerr << "zarv-samples: cannot write " << (dir / name) << '\n';
      ok = false;
      return;
    }
    std::cout << (dir / name).string() << " (" << bytes.size() << " bytes)\n";
  };
  zarv::samples::write_dungeon_samples(sink);
  zarv::samples::write_graphics_samples(sink);
  zarv::samples::write_music_samples(sink);
  zarv::samples::write_ovn_samples(sink);
  return ok ? 0 : 1;
}
