// zarv graphics: the archive header, one image as PNG, every image of an
// archive as PNG files, and an HTML contact sheet of them.
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "cli_support.hpp"
#include "contact_sheet.hpp"
#include "graphics_index.hpp"

namespace zarv::cli {
namespace {

namespace fs = std::filesystem;

struct HeaderArgs {
  std::string input;
  std::string output;
};

int run_header(const HeaderArgs& args) {
  auto bytes = read_input(args.input);
  if (!bytes) return kExitFailed;
  return finish(zarv_graphics_header_json(bytes->data(), bytes->size()), args.output, true);
}

struct PngArgs {
  std::string input;
  unsigned cls1 = 0;
  unsigned cls2 = 0;
  unsigned cls4 = 0;
  std::string output;
};

int run_png(const PngArgs& args) {
  const bool to_stdout = args.output.empty() || args.output == "-";
  if (to_stdout && isatty(STDOUT_FILENO)) {
    report_error("not writing a PNG to a terminal; use -o FILE or a pipe");
    return kExitUsage;
  }
  auto bytes = read_input(args.input);
  if (!bytes) return kExitFailed;
  return finish(zarv_graphics_decode_png(bytes->data(), bytes->size(), static_cast<std::uint8_t>(args.cls1),
                                         static_cast<std::uint8_t>(args.cls2), static_cast<std::uint8_t>(args.cls4)),
                args.output, false);
}

std::string key_text(const ImageKey& key) {
  return "(" + std::to_string(key.cls1) + ", " + std::to_string(key.cls2) + ", " + std::to_string(key.cls4) + ")";
}

std::string png_name(const ImageKey& key) {
  char name[32];
  std::snprintf(name, sizeof name, "%03u-%03u-%03u.png", key.cls1, key.cls2, key.cls4);
  return name;
}

// A PNG's size from its header chunk (width and height, big-endian, at
// bytes 16 to 23).
std::pair<std::uint32_t, std::uint32_t> png_size(const std::uint8_t* png, std::size_t len) {
  if (len < 24) return {0, 0};
  auto be32 = [png](std::size_t at) {
    return std::uint32_t{png[at]} << 24 | std::uint32_t{png[at + 1]} << 16 | std::uint32_t{png[at + 2]} << 8 |
           png[at + 3];
  };
  return {be32(16), be32(20)};
}

// Decodes every image record of one archive into `dir`, one PNG per record,
// named by its class numbers. Images that fail are reported, not fatal.
ArchiveSheet extract_archive(const std::string& input, const fs::path& dir) {
  ArchiveSheet sheet;
  sheet.name = input == "-" ? "standard input" : fs::path(input).filename().string();
  auto bytes = read_input(input);
  if (!bytes) {
    // read_input has said why on stderr already.
    sheet.problem = "cannot read " + input;
    sheet.problem_reported = true;
    return sheet;
  }
  const ImageListing listing = list_image_records(*bytes);
  if (!listing.problem.empty()) {
    // Let the library say what is wrong with the file, in its own words.
    ZarvBuffer probe = zarv_graphics_decode_png(bytes->data(), bytes->size(), 0, 0, 0);
    sheet.problem = probe.error != nullptr ? probe.error : listing.problem;
    zarv_buffer_free(probe);
    return sheet;
  }
  std::error_code ec;
  fs::create_directories(dir, ec);
  if (ec) {
    sheet.problem = "cannot create " + dir.string() + ": " + ec.message();
    return sheet;
  }
  Progress progress("extracting " + sheet.name, listing.images.size());
  std::size_t done = 0;
  for (const ImageKey& key : listing.images) {
    ZarvBuffer png = zarv_graphics_decode_png(bytes->data(), bytes->size(), key.cls1, key.cls2, key.cls4);
    if (png.error != nullptr) {
      sheet.failed.push_back({key, png.error});
    } else {
      const fs::path file = dir / png_name(key);
      if (write_output(file.string(), {png.data, png.len})) {
        const auto [width, height] = png_size(png.data, png.len);
        sheet.images.push_back({key, file, width, height});
      } else {
        sheet.failed.push_back({key, "cannot write " + file.string()});
      }
    }
    zarv_buffer_free(png);
    progress.advance(++done);
  }
  return sheet;
}

// Prints what was extracted on stdout and what failed, grouped by reason,
// on stderr. Returns whether everything succeeded.
bool report(const ArchiveSheet& sheet, const fs::path& dir) {
  if (!sheet.problem.empty()) {
    if (!sheet.problem_reported) report_error(sheet.name + ": " + sheet.problem);
    return false;
  }
  const std::size_t total = sheet.images.size() + sheet.failed.size();
  std::printf("%s: extracted %zu of %zu images to %s\n", sheet.name.c_str(), sheet.images.size(), total,
              dir.string().c_str());
  if (sheet.failed.empty()) return true;
  report_error(sheet.name + ": " + std::to_string(sheet.failed.size()) + " of " + std::to_string(total) +
               " images failed:");
  // One line per distinct reason, naming every image it stopped.
  std::map<std::string, std::vector<ImageKey>> by_reason;
  for (const auto& failure : sheet.failed) by_reason[failure.reason].push_back(failure.key);
  for (const auto& [reason, keys] : by_reason) {
    std::string list;
    for (const auto& key : keys) list += (list.empty() ? "" : ", ") + key_text(key);
    report_error("  " + list + ": " + reason);
  }
  return false;
}

struct ExtractArgs {
  std::string input;
  std::string dir = ".";
};

int run_extract(const ExtractArgs& args) {
  const ArchiveSheet sheet = extract_archive(args.input, args.dir);
  return report(sheet, args.dir) ? kExitOk : kExitFailed;
}

struct SheetArgs {
  std::vector<std::string> inputs;
  std::string dir;
};

int run_contact_sheet(const SheetArgs& args) {
  std::vector<ArchiveSheet> sheets;
  bool all_ok = true;
  for (const auto& input : args.inputs) {
    const std::string stem = input == "-" ? "stdin" : fs::path(input).stem().string();
    const fs::path dir = fs::path(args.dir) / stem;
    sheets.push_back(extract_archive(input, dir));
    all_ok = report(sheets.back(), dir) && all_ok;
  }
  const fs::path page = fs::path(args.dir) / "index.html";
  if (!write_contact_sheet(page, sheets)) return kExitFailed;
  std::printf("contact sheet: %s\n", page.string().c_str());
  return all_ok ? kExitOk : kExitFailed;
}

void add_class_options(CLI::App& cmd, PngArgs& args) {
  const auto byte = CLI::Range(0u, 255u);
  cmd.add_option("cls1", args.cls1, "First class number (category), 0 to 255")->required()->check(byte);
  cmd.add_option("cls2", args.cls2, "Second class number (number in the category), 0 to 255")->required()->check(byte);
  cmd.add_option("cls4", args.cls4, "Fourth class number (variant), 0 to 255")->required()->check(byte);
}

}  // namespace

void add_graphics_commands(CLI::App& app, Dispatch& dispatch) {
  auto* group = app.add_subcommand("graphics", "Graphics archive (graphics.dat)");
  group->require_subcommand(1);

  static HeaderArgs header;
  auto* cmd = group->add_subcommand("header", "Summarise the archive header as JSON");
  add_io_options(*cmd, header.input, header.output, "Write the JSON here");
  cmd->callback([&dispatch] { dispatch.action = [] { return run_header(header); }; });

  static PngArgs png;
  cmd = group->add_subcommand("png", "One image, selected by its class numbers, as a PNG file");
  cmd->add_option("input", png.input, "Archive file, or - for standard input")->required();
  add_class_options(*cmd, png);
  cmd->add_option("-o,--output", png.output, "Write the PNG here (default: standard output, not a terminal)");
  cmd->callback([&dispatch] { dispatch.action = [] { return run_png(png); }; });

  static ExtractArgs extract;
  cmd = group->add_subcommand("extract",
                              "Every image of an archive as PNG files named CLS1-CLS2-CLS4.png; "
                              "failures are summarised and make the exit status 1");
  cmd->add_option("input", extract.input, "Archive file, or - for standard input")->required();
  cmd->add_option("-d,--dir", extract.dir, "Directory for the PNG files (created if missing)")
      ->capture_default_str();
  cmd->callback([&dispatch] { dispatch.action = [] { return run_extract(extract); }; });

  static SheetArgs sheet;
  cmd = group->add_subcommand("contact-sheet",
                              "Extract every image of one or more archives and write DIR/index.html, "
                              "one static page showing them all with their class numbers");
  cmd->add_option("inputs", sheet.inputs, "Archive files")->required();
  cmd->add_option("-d,--dir", sheet.dir, "Directory for the page and the PNG files")->required();
  cmd->callback([&dispatch] { dispatch.action = [] { return run_contact_sheet(sheet); }; });
}

}  // namespace zarv::cli
