#include "mailer/net/MlExtstr.h"

namespace mailnet {

bool TExStringList::NameOf(int Index, std::string& Name) const {
  std::string line = Get(Index);
  size_t colon = line.find(':');
  if (colon == std::string::npos) return false;
  Name = line.substr(0, colon);
  return true;
}

int TExStringList::IndexOfName(const std::string& Name) const {
  std::string name;
  if (!Sorted()) {
    for (int i = 0; i < Count(); ++i) {
      if (NameOf(i, name) && CompareStrings(name, Name) == 0) return i;
    }
    return -1;
  }
  // Halving: the lowest line whose name is not below Name; lines without a name count as below.
  int low = 0, high = Count();
  while (low < high) {
    int middle = (low + high) / 2;
    if (!NameOf(middle, name) || CompareStrings(name, Name) < 0) {
      low = middle + 1;
    } else {
      high = middle;
    }
  }
  return low < Count() && NameOf(low, name) && CompareStrings(name, Name) == 0 ? low : -1;
}

std::string TExStringList::Values(const std::string& Name) const {
  int index = IndexOfName(Name);
  if (index < 0) return {};
  std::string line = Get(index);
  std::string value = line.substr(line.find(':') + 1);
  if (!value.empty() && value[0] == ' ') value.erase(0, 1);
  return value;
}

void TExStringList::SetValues(const std::string& Name, const std::string& Value) {
  int index = IndexOfName(Name);
  if (Value.empty()) {
    if (index >= 0) Delete(index);
  } else if (index >= 0) {
    Put(index, Name + ": " + Value);
  } else {
    Add(Name + ": " + Value);
  }
}

}  // namespace mailnet
