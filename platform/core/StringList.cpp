#include "platform/core/StringList.h"

#include <algorithm>
#include <string_view>

#include "platform/core/Exception.h"
#include "platform/core/Files.h"
#include "platform/core/StrUtils.h"
#include "platform/core/Streams.h"
#include "platform/core/StringGrowth.h"

namespace platform {

namespace {

void CheckNotSorted(bool sorted) {
  if (sorted) throw EListError("Operation not allowed on sorted list");
}

}  // namespace

void TStringList::CheckIndex(int Index, int Limit) {
  if (Index < 0 || Index >= Limit) throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
}

std::string TStringList::Get(int Index) const { return StoredString(Index); }

const std::string& TStringList::StoredString(int Index) const {
  CheckIndex(Index, Count());
  return items_[static_cast<size_t>(Index)].string;
}

void TStringList::Put(int Index, const std::string& S) {
  CheckNotSorted(sorted_);
  CheckIndex(Index, Count());
  Changing();
  items_[static_cast<size_t>(Index)].string = S;
  Changed();
}

void TStringList::ReplaceInString(int Index, size_t from, size_t count, std::string_view with) {
  CheckNotSorted(sorted_);
  CheckIndex(Index, Count());
  Changing();
  std::string& line = items_[static_cast<size_t>(Index)].string;
  ReserveForGrowth(line, line.size() - count + with.size());
  line.replace(from, count, with);
  Changed();
}

void* TStringList::GetObject(int Index) const {
  CheckIndex(Index, Count());
  return items_[static_cast<size_t>(Index)].object;
}

void TStringList::PutObject(int Index, void* AObject) {
  CheckIndex(Index, Count());
  Changing();
  items_[static_cast<size_t>(Index)].object = AObject;
  Changed();
}

int TStringList::Add(std::string S) { return AddObject(std::move(S), nullptr); }

int TStringList::AddObject(std::string S, void* AObject) {
  int index = Count();
  if (sorted_) {
    if (Find(S, index)) {
      if (duplicates_ == dupIgnore) return index;
      if (duplicates_ == dupError) throw EListError("String list does not allow duplicates");
      // dupAccept: after the equal lines already present, so equal lines keep the order they came in.
      while (index < Count() && CompareStrings(items_[static_cast<size_t>(index)].string, S) == 0) ++index;
    }
  }
  InsertItem(index, std::move(S), AObject);
  return index;
}

void TStringList::AddStrings(const TStringList& Strings) {
  StringListUpdateGuard guard(*this);
  for (int i = 0; i < Strings.Count(); ++i) AddObject(Strings.Get(i), Strings.GetObject(i));
}

void TStringList::Assign(const TStringList& Source) {
  if (&Source == this) return;
  StringListUpdateGuard guard(*this);
  Clear();
  AddStrings(Source);
}

void TStringList::Insert(int Index, const std::string& S) { InsertObject(Index, S, nullptr); }

void TStringList::InsertObject(int Index, const std::string& S, void* AObject) {
  CheckNotSorted(sorted_);
  CheckIndex(Index, Count() + 1);
  InsertItem(Index, S, AObject);
}

void TStringList::InsertItem(int Index, std::string S, void* AObject) {
  Changing();
  items_.insert(items_.begin() + Index, Item{std::move(S), AObject});
  Changed();
}

void TStringList::Delete(int Index) {
  CheckIndex(Index, Count());
  Changing();
  items_.erase(items_.begin() + Index);
  Changed();
}

void TStringList::Clear() {
  if (items_.empty()) return;
  Changing();
  items_.clear();
  Changed();
}

int TStringList::IndexOf(const std::string& S) const {
  if (sorted_) {
    int index;
    return Find(S, index) ? index : -1;
  }
  for (int i = 0; i < Count(); ++i) {
    if (CompareStrings(Get(i), S) == 0) return i;
  }
  return -1;
}

int TStringList::IndexOfName(const std::string& Name) const {
  for (int i = 0; i < Count(); ++i) {
    std::string line = Get(i);
    size_t equals = line.find('=');
    if (equals != std::string::npos && CompareStrings(line.substr(0, equals), Name) == 0) return i;
  }
  return -1;
}

std::string TStringList::Names(int Index) const {
  std::string line = Get(Index);
  size_t equals = line.find('=');
  return equals == std::string::npos ? std::string() : line.substr(0, equals);
}

std::string TStringList::Values(const std::string& Name) const {
  int index = IndexOfName(Name);
  if (index < 0) return {};
  std::string line = Get(index);
  return line.substr(line.find('=') + 1);
}

void TStringList::SetValues(const std::string& Name, const std::string& Value) {
  int index = IndexOfName(Name);
  if (Value.empty()) {
    if (index >= 0) Delete(index);
  } else if (index >= 0) {
    Put(index, Name + "=" + Value);
  } else {
    Add(Name + "=" + Value);
  }
}

std::string TStringList::Text() const {
  std::string text;
  for (int i = 0; i < Count(); ++i) {
    text += Get(i);
    text += "\r\n";
  }
  return text;
}

void TStringList::SetText(const std::string& Value) {
  StringListUpdateGuard guard(*this);
  Clear();
  std::string_view rest = Value;
  while (!rest.empty()) {
    size_t end = rest.find_first_of("\r\n");
    Add(std::string(rest.substr(0, end)));
    if (end == std::string_view::npos) break;
    // One line break: CR LF, a lone CR or a lone LF.
    size_t breakLength = (rest[end] == '\r' && end + 1 < rest.size() && rest[end + 1] == '\n') ? 2 : 1;
    rest.remove_prefix(end + breakLength);
  }
}

void TStringList::SetSorted(bool Value) {
  if (Value == sorted_) return;
  if (Value) SortItems();
  sorted_ = Value;
}

void TStringList::SetCaseSensitive(bool Value) {
  if (Value == caseSensitive_) return;
  caseSensitive_ = Value;
  if (sorted_) SortItems();
}

bool TStringList::Find(const std::string& S, int& Index) const {
  auto first = std::lower_bound(items_.begin(), items_.end(), S, [this](const Item& item, const std::string& s) {
    return CompareStrings(item.string, s) < 0;
  });
  Index = static_cast<int>(first - items_.begin());
  return first != items_.end() && CompareStrings(first->string, S) == 0;
}

void TStringList::Sort() {
  if (!sorted_) SortItems();
}

void TStringList::SortItems() {
  if (items_.size() < 2) return;
  Changing();
  std::stable_sort(items_.begin(), items_.end(),
                   [this](const Item& a, const Item& b) { return CompareStrings(a.string, b.string) < 0; });
  Changed();
}

int TStringList::CompareStrings(const std::string& S1, const std::string& S2) const {
  return caseSensitive_ ? CompareStr(S1, S2) : CompareText(S1, S2);
}

void TStringList::BeginUpdate() {
  if (updateCount_ == 0) Changing();
  ++updateCount_;
}

void TStringList::EndUpdate() {
  if (updateCount_ == 0) return;
  if (--updateCount_ == 0) Changed();
}

void TStringList::Changing() {
  if (updateCount_ == 0 && OnChanging) OnChanging(*this);
}

void TStringList::Changed() {
  if (updateCount_ == 0 && OnChange) OnChange(*this);
}

void TStringList::LoadFromFile(const std::string& FileName) { SetText(ReadFileBytes(FileName)); }

void TStringList::LoadFromStream(TStream& Stream) {
  std::string bytes(static_cast<size_t>(std::max<int64_t>(Stream.Size() - Stream.Position(), 0)), '\0');
  Stream.ReadBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
  SetText(bytes);
}

void TStringList::SaveToFile(const std::string& FileName) const { WriteFileAtomic(FileName, Text()); }

void TStringList::SaveToStream(TStream& Stream) const {
  std::string text = Text();
  Stream.WriteBuffer(text.data(), static_cast<int64_t>(text.size()));
}

}  // namespace platform
