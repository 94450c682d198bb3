#include "contact_sheet.hpp"

#include <algorithm>

#include "cli_support.hpp"

namespace zarv::cli {
namespace {

std::string escape_html(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
  return out;
}

// Small images are shown enlarged, with hard pixel edges, so that they can
// be looked at; large ones at their own size.
std::uint32_t display_scale(const SheetImage& image) {
  const std::uint32_t largest = std::max(image.width, image.height);
  if (largest == 0) return 1;
  return std::clamp<std::uint32_t>(192 / largest, 1, 4);
}

std::string key_caption(const ImageKey& key) {
  return "(" + std::to_string(key.cls1) + ", " + std::to_string(key.cls2) + ", " + std::to_string(key.cls4) + ")";
}

constexpr std::string_view kHead = R"(<!DOCTYPE html>
<html lang="en">
<head>
<meta charset="utf-8">
<title>zarv contact sheet</title>
<style>
body { font-family: sans-serif; background: #202024; color: #e8e8e8; margin: 2em; }
h2 { border-bottom: 1px solid #555; padding-bottom: .2em; }
.grid { display: flex; flex-wrap: wrap; gap: 1.2em; align-items: flex-end; }
figure { margin: 0; text-align: center; }
img { image-rendering: pixelated; background: #000; }
figcaption { font-size: .85em; margin-top: .3em; font-family: monospace; }
.failed { color: #ff9a8a; font-family: monospace; }
</style>
</head>
<body>
<h1>zarv contact sheet</h1>
)";

}  // namespace

bool write_contact_sheet(const std::filesystem::path& page, const std::vector<ArchiveSheet>& sheets) {
  std::string html(kHead);
  const auto base = page.parent_path();
  for (const auto& sheet : sheets) {
    html += "<section>\n<h2>" + escape_html(sheet.name) + "</h2>\n";
    if (!sheet.problem.empty()) {
      html += "<p class=\"failed\">" + escape_html(sheet.problem) + "</p>\n</section>\n";
      continue;
    }
    html += "<p>" + std::to_string(sheet.images.size()) + " images";
    if (!sheet.failed.empty()) html += ", " + std::to_string(sheet.failed.size()) + " failed";
    html += "</p>\n<div class=\"grid\">\n";
    for (const auto& image : sheet.images) {
      const std::uint32_t scale = display_scale(image);
      const std::string src = std::filesystem::relative(image.file, base).generic_string();
      html += "<figure><img src=\"" + escape_html(src) + "\" width=\"" + std::to_string(image.width * scale) +
              "\" height=\"" + std::to_string(image.height * scale) + "\" alt=\"" + key_caption(image.key) +
              "\"><figcaption>" + key_caption(image.key) + " " + std::to_string(image.width) + "&times;" +
              std::to_string(image.height) + "</figcaption></figure>\n";
    }
    html += "</div>\n";
    if (!sheet.failed.empty()) {
      html += "<ul class=\"failed\">\n";
      for (const auto& failure : sheet.failed) {
        html += "<li>" + key_caption(failure.key) + ": " + escape_html(failure.reason) + "</li>\n";
      }
      html += "</ul>\n";
    }
    html += "</section>\n";
  }
  html += "</body>\n</html>\n";
  return write_output(page.string(), {reinterpret_cast<const std::uint8_t*>(html.data()), html.size()});
}

}  // namespace zarv::cli
