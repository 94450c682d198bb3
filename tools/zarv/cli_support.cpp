#include "cli_support.hpp"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <memory>

namespace zarv::cli {

void report_error(std::string_view message) { std::cerr << "zarv: " << message << '\n'; }

std::optional<std::vector<std::uint8_t>> read_input(const std::string& path) {
  if (path == "-") {
    std::vector<std::uint8_t> bytes;
    char chunk[65536];
    std::size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, stdin)) > 0) bytes.insert(bytes.end(), chunk, chunk + n);
    if (std::ferror(stdin)) {
      report_error("cannot read standard input");
      return std::nullopt;
    }
    return bytes;
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    report_error("cannot open " + path + ": " + std::strerror(errno));
    return std::nullopt;
  }
  std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) {
    report_error("cannot read " + path);
    return std::nullopt;
  }
  return bytes;
}

bool write_output(const std::string& path, std::span<const std::uint8_t> bytes) {
  if (path.empty() || path == "-") {
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size()) {
      report_error("cannot write standard output");
      return false;
    }
    return std::fflush(stdout) == 0;
  }
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) {
    report_error("cannot create " + path + ": " + std::strerror(errno));
    return false;
  }
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!out) {
    report_error("cannot write " + path);
    return false;
  }
  return true;
}

int finish(ZarvBuffer buffer, const std::string& output_path, bool is_text) {
  if (buffer.error != nullptr) {
    report_error(buffer.error);
    zarv_buffer_free(buffer);
    return kExitFailed;
  }
  const bool ok = write_output(output_path, {buffer.data, buffer.len});
  if (ok && is_text && (output_path.empty() || output_path == "-") && isatty(STDOUT_FILENO)) std::fputc('\n', stdout);
  zarv_buffer_free(buffer);
  return ok ? kExitOk : kExitFailed;
}

Progress::Progress(std::string label, std::size_t total)
    : label_(std::move(label)), total_(total), enabled_(isatty(STDERR_FILENO) != 0 && total > 0) {}

Progress::~Progress() {
  if (enabled_) std::fputc('\n', stderr);
}

void Progress::advance(std::size_t done) {
  if (!enabled_) return;
  constexpr int kWidth = 30;
  const int filled = static_cast<int>(done * kWidth / total_);
  std::fprintf(stderr, "\r%s [%.*s%*s] %zu/%zu", label_.c_str(), filled, "##############################",
               kWidth - filled, "", done, total_);
  std::fflush(stderr);
}

void add_io_options(CLI::App& command, std::string& input, std::string& output, std::string_view output_help) {
  command.add_option("input", input, "Input file, or - for standard input")->required();
  command.add_option("-o,--output", output, std::string(output_help) + " (default: standard output)");
}

namespace {

struct ConvertArgs {
  std::string input;
  std::string output;
};

}  // namespace

void add_conversion(CLI::App& group, Dispatch& dispatch, const char* name, const char* help,
                    const char* output_help, Export convert, bool text_output) {
  auto args = std::make_shared<ConvertArgs>();
  auto* cmd = group.add_subcommand(name, help);
  add_io_options(*cmd, args->input, args->output, output_help);
  cmd->callback([&dispatch, args, convert, text_output] {
    dispatch.action = [args, convert, text_output] {
      auto bytes = read_input(args->input);
      if (!bytes) return kExitFailed;
      return finish(convert(bytes->data(), bytes->size()), args->output, text_output);
    };
  });
}

}  // namespace zarv::cli
