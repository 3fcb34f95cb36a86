#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// A sheet of paper, portrait, in millimetres.
struct TPaperSize {
  std::string Name;
  double WidthMm = 0;
  double HeightMm = 0;
  friend bool operator==(const TPaperSize&, const TPaperSize&) = default;
};

// A paper by a name that CUPS, /etc/papersize or a person gives: "A4", "letter", "iso_a4_210x297mm",
// "na_letter_8.5x11in", "Custom.210x148mm"; none for a name without a known size.
std::optional<TPaperSize> PaperFromName(std::string_view name);

// The paper of the user's locale (LC_ALL, else LC_PAPER, else LANG); none when they name no locale
// or the C locale, or the locale is not installed.
std::optional<TPaperSize> PaperFromLocale();

// The paper named by the first line of a papersize file (/etc/papersize); none without one.
std::optional<TPaperSize> PaperFromPapersizeFile(const std::string& path);

// The default paper of a new job: the queue's default media when known, else the locale's, else
// /etc/papersize's, else A4.
TPaperSize DefaultPaper(std::string_view queueMedia, const std::string& papersizeFile = "/etc/papersize");

}  // namespace platform
