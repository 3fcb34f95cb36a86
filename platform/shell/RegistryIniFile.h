#pragma once

#include <memory>
#include <string>

#include "platform/core/IniFile.h"

namespace platform {

// The current user's registry below one key, read and written as an INI file: a section is a sub-key
// of the key, a value a line in it. Made on the key path (from the root), it reads the registry once;
// writes stay in memory until UpdateFile stores all of them with one atomic replace of the registry
// file, so a run of writes costs one rewrite and a failure leaves none of them half done. Values are
// stored as TRegistry stores them, so either reads what the other wrote.
class TRegistryIniFile : public TCustomIniFile {
public:
  explicit TRegistryIniFile(const std::string& Key);
  ~TRegistryIniFile() override;

  std::string ReadString(const std::string& Section, const std::string& Ident,
                         const std::string& Default) const override;
  void WriteString(const std::string& Section, const std::string& Ident, const std::string& Value) override;
  void ReadSection(const std::string& Section, TStringList& Strings) const override;
  // The sub-keys of the key that hold values.
  void ReadSections(TStringList& Strings) const override;
  void ReadSectionValues(const std::string& Section, TStringList& Strings) const override;
  void EraseSection(const std::string& Section) override;
  void DeleteKey(const std::string& Section, const std::string& Ident) override;
  // Raises EFCreateError when the registry file cannot be written.
  void UpdateFile() override;

private:
  std::string SubKey(const std::string& Section) const;

  std::string key_;
  std::unique_ptr<TMemIniFile> file_;
};

}  // namespace platform
