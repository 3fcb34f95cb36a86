#include "platform/shell/RegistryIniFile.h"

#include <filesystem>
#include <system_error>

#include "platform/core/Ascii.h"
#include "platform/core/StringList.h"
#include "platform/shell/Registry.h"

namespace platform {

TRegistryIniFile::TRegistryIniFile(const std::string& Key)
    : TCustomIniFile(TRegistry::FileName()),
      key_(NormalizeKeyPath(Key)),
      file_(std::make_unique<TMemIniFile>(TRegistry::FileName())) {}

TRegistryIniFile::~TRegistryIniFile() = default;

std::string TRegistryIniFile::SubKey(const std::string& Section) const {
  return NormalizeKeyPath(key_ + "\\" + Section);
}

std::string TRegistryIniFile::ReadString(const std::string& Section, const std::string& Ident,
                                         const std::string& Default) const {
  return file_->ReadString(SubKey(Section), Ident, Default);
}

void TRegistryIniFile::WriteString(const std::string& Section, const std::string& Ident, const std::string& Value) {
  // Quoted as TRegistry writes, so that the file's trimming gives the data back unchanged.
  file_->WriteString(SubKey(Section), Ident, "\"" + Value + "\"");
}

void TRegistryIniFile::ReadSection(const std::string& Section, TStringList& Strings) const {
  file_->ReadSection(SubKey(Section), Strings);
}

void TRegistryIniFile::ReadSections(TStringList& Strings) const {
  TStringList all;
  file_->ReadSections(all);
  StringListUpdateGuard guard(Strings);
  Strings.Clear();
  const std::string prefix = key_ + "\\";
  for (int i = 0; i < all.Count(); ++i) {
    const std::string& name = all.Strings(i);
    if (name.size() > prefix.size() && SameText(std::string_view(name).substr(0, prefix.size()), prefix)) {
      Strings.Add(name.substr(prefix.size()));
    }
  }
}

void TRegistryIniFile::ReadSectionValues(const std::string& Section, TStringList& Strings) const {
  file_->ReadSectionValues(SubKey(Section), Strings);
}

void TRegistryIniFile::EraseSection(const std::string& Section) { file_->EraseSection(SubKey(Section)); }

void TRegistryIniFile::DeleteKey(const std::string& Section, const std::string& Ident) {
  file_->DeleteKey(SubKey(Section), Ident);
}

void TRegistryIniFile::UpdateFile() {
  std::error_code ignored;
  std::filesystem::create_directories(std::filesystem::path(FileName()).parent_path(), ignored);
  file_->UpdateFile();
}

}  // namespace platform
