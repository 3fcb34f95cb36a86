#include "platform/core/UserName.h"

#include <pwd.h>
#include <unistd.h>

#include <vector>

namespace platform {

std::string UserName() {
  passwd entry{};
  passwd* found = nullptr;
  std::vector<char> buffer(16384);
  if (::getpwuid_r(::geteuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || !found || !entry.pw_name)
    return "";
  return entry.pw_name;
}

}  // namespace platform
