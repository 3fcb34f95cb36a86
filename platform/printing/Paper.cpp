#include "platform/printing/Paper.h"

#include <langinfo.h>
#include <locale.h>

#include <array>
#include <cstdlib>
#include <fstream>

#include "platform/core/Ascii.h"

namespace platform {

namespace {

struct NamedPaper {
  const char* name;
  double width, height;
};

constexpr std::array<NamedPaper, 10> kPapers{{
    {"A3", 297, 420}, {"A4", 210, 297}, {"A5", 148, 210}, {"A6", 105, 148}, {"B5", 176, 250},
    {"Letter", 215.9, 279.4}, {"Legal", 215.9, 355.6}, {"Executive", 184.15, 266.7}, {"Tabloid", 279.4, 431.8},
    {"Ledger", 279.4, 431.8},
}};

std::optional<TPaperSize> Named(std::string_view name) {
  for (const NamedPaper& p : kPapers)
    if (SameText(p.name, name)) return TPaperSize{p.name, p.width, p.height};
  return std::nullopt;
}

// "210x297mm" or "8.5x11in" at the end of a media name.
std::optional<TPaperSize> Dimensions(std::string_view text, std::string_view name) {
  const size_t x = text.find('x');
  if (x == std::string_view::npos) return std::nullopt;
  double unit;
  std::string_view rest = text.substr(x + 1);
  if (rest.size() > 2 && rest.substr(rest.size() - 2) == "mm")
    unit = 1;
  else if (rest.size() > 2 && rest.substr(rest.size() - 2) == "in")
    unit = 25.4;
  else
    return std::nullopt;
  const std::string w(text.substr(0, x)), h(rest.substr(0, rest.size() - 2));
  char* end = nullptr;
  const double width = std::strtod(w.c_str(), &end);
  if (end == w.c_str() || *end) return std::nullopt;
  const double height = std::strtod(h.c_str(), &end);
  if (end == h.c_str() || *end || width <= 0 || height <= 0) return std::nullopt;
  return TPaperSize{std::string(name), width * unit, height * unit};
}

}  // namespace

std::optional<TPaperSize> PaperFromName(std::string_view name) {
  while (!name.empty() && (name.back() == ' ' || name.back() == '\n' || name.back() == '\r')) name.remove_suffix(1);
  while (!name.empty() && name.front() == ' ') name.remove_prefix(1);
  if (name.empty()) return std::nullopt;
  if (auto p = Named(name)) return p;
  // Media names of the printing system: class_size-name_dimensions ("iso_a4_210x297mm"), or "Custom.WxHmm".
  if (name.substr(0, 7) == "Custom.") return Dimensions(name.substr(7), "Custom");
  const size_t first = name.find('_'), last = name.rfind('_');
  if (first != std::string_view::npos && last != first) {
    const std::string_view sizeName = name.substr(first + 1, last - first - 1);
    if (auto p = Named(sizeName)) return p;
    return Dimensions(name.substr(last + 1), sizeName);
  }
  return std::nullopt;
}

std::optional<TPaperSize> PaperFromLocale() {
  const char* named = nullptr;
  for (const char* variable : {"LC_ALL", "LC_PAPER", "LANG"}) {
    const char* value = std::getenv(variable);
    if (value && *value) {
      named = value;
      break;
    }
  }
  if (!named || std::string_view(named) == "C" || std::string_view(named) == "POSIX" ||
      std::string_view(named).substr(0, 2) == "C.")
    return std::nullopt;
  locale_t locale = newlocale(LC_PAPER_MASK, named, nullptr);
  if (!locale) return std::nullopt;
  // glibc answers these two items with the number itself in the pointer's place.
  const auto height = static_cast<int>(reinterpret_cast<intptr_t>(nl_langinfo_l(_NL_PAPER_HEIGHT, locale)));
  const auto width = static_cast<int>(reinterpret_cast<intptr_t>(nl_langinfo_l(_NL_PAPER_WIDTH, locale)));
  freelocale(locale);
  if (width <= 0 || height <= 0) return std::nullopt;
  for (const NamedPaper& p : kPapers)
    if (static_cast<int>(p.width) == width && static_cast<int>(p.height) == height) return TPaperSize{p.name, p.width, p.height};
  return TPaperSize{"Custom", static_cast<double>(width), static_cast<double>(height)};
}

std::optional<TPaperSize> PaperFromPapersizeFile(const std::string& path) {
  std::ifstream in(path);
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    return PaperFromName(line);
  }
  return std::nullopt;
}

TPaperSize DefaultPaper(std::string_view queueMedia, const std::string& papersizeFile) {
  if (auto p = PaperFromName(queueMedia)) return *p;
  if (auto p = PaperFromLocale()) return *p;
  if (auto p = PaperFromPapersizeFile(papersizeFile)) return *p;
  return {"A4", 210, 297};
}

}  // namespace platform
