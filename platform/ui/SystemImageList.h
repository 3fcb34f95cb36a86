#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/ui/ImgList.h"

namespace platform {

enum class TShellIconSize { Small, Large };

// The shell's system image lists: small (16 x 16) and large (32 x 32) icons under one index each.
// Indexes 0, 1 and 2 are the platform's own icons of a document, a folder and a program; an icon of the
// freedesktop theme joins both lists the first time a file asks for it, so an index holds for the
// life of the process.
class TSystemImageList {
public:
  // The icon themes and the MIME database are looked up in dataFolders (FileIcons.h).
  explicit TSystemImageList(std::vector<std::string> dataFolders);

  // The index of the icon of the file or folder `path` (FileIcon): the first of its names that the
  // theme has in both sizes, else the built-in icon of its kind. Each path is looked up once.
  int IconIndex(const std::string& path);
  TCustomImageList& Images(TShellIconSize size) { return size == TShellIconSize::Small ? small_ : large_; }
  int Count() const { return small_.Count(); }

private:
  int ThemeIcon(const std::string& name);  // -1 when the theme lacks a size or its file is no PNG

  TImageList small_{nullptr};
  TImageList large_{nullptr};
  std::vector<std::string> dataFolders_;
  std::map<std::string, int> byPath_;
  std::map<std::string, int> byName_;  // theme icons, -1 for names the theme lacks
};

// The process's system image lists, on the data folders of its environment (DataFolders), made at first
// use; used by the GUI thread only.
TSystemImageList& SystemImageList();

}  // namespace platform
