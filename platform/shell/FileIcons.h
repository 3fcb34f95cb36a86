#pragma once

#include <string>
#include <vector>

namespace platform {

// Which of the platform's own icons stands for a file when no icon theme has one of its names.
enum class TFileIconKind { Document, Folder, Program };

// How the shell shows a file: the freedesktop icon names for it, most specific first, and the kind of
// built-in icon that stands in for them.
struct TFileIcon {
  std::vector<std::string> names;
  TFileIconKind kind = TFileIconKind::Document;
};

// The icon of `path` (a relative name is taken from the executable's folder, spelled as ResolvePath
// takes it; a name ending in ".exe" that does not exist stands for the program without that ending): a
// folder that exists is "folder", a regular file that exists and may be run
// "application-x-executable"; any other name gets the icon of the type that its name has in the shared
// MIME database of `dataFolders` (their mime/globs2, mime/icons and mime/generic-icons), and a name of
// no known type "text-x-generic".
TFileIcon FileIcon(const std::string& path, const std::vector<std::string>& dataFolders);

// The PNG file of icon `name` at `size` x `size` pixels in the themes "Adwaita", then "hicolor" of
// `dataFolders` ("<folder>/icons/<theme>/<size>x<size>/{mimetypes,places}/<name>.png"); "" when none
// has it.
std::string FindThemeIcon(const std::string& name, int size, const std::vector<std::string>& dataFolders);

// The folders of the freedesktop data files in the order they are searched: $XDG_DATA_HOME (default
// ~/.local/share), then those of $XDG_DATA_DIRS (default /usr/local/share:/usr/share).
std::vector<std::string> DataFolders();

}  // namespace platform
