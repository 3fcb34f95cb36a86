#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

class TStream;

enum TDuplicates { dupIgnore, dupAccept, dupError };

// A list of strings with the class library's semantics, each line with an object slot.
//
// Objects are untyped, non-owning pointers (void*): the list never frees or copies what they point to.
// Derivers store their own kinds of object there (cell properties, combo items) and cast them back, so
// the platform needs no common object root, and ownership stays with whoever stored them.
//
// Text joins the lines with CR LF and ends with one; setting it splits at CR LF, CR or LF, and a
// final line break does not start another line. Comparisons (IndexOf, IndexOfName, Find, Sort) ignore
// ASCII case unless CaseSensitive is set. A sorted list keeps its order by binary insertion; Duplicates
// applies to sorted lists only, as Find is what detects them.
//
// OnChanging runs before and OnChange after every change; between BeginUpdate and EndUpdate (which nest)
// they run once, at the outer BeginUpdate and EndUpdate. Bad indices raise EListError
// "List index out of bounds (%d)".
class TStringList {
public:
  using TNotifyEvent = std::function<void(TStringList& Sender)>;

  TStringList() = default;
  // Copying a list would copy its events too; Assign copies the lines and objects only.
  TStringList(const TStringList&) = delete;
  TStringList& operator=(const TStringList&) = delete;
  virtual ~TStringList() = default;

  int Count() const { return GetCount(); }
  std::string Strings(int Index) const { return Get(Index); }
  // Line Index as this list stores it, without a copy: for a list that keeps its own lines (one whose
  // Get is this class's), such as a mail body of one long line.
  const std::string& StoredString(int Index) const;
  void SetStrings(int Index, const std::string& S) { Put(Index, S); }
  // Replaces `count` bytes of line Index from byte `from` on by `with` in place, without copying the rest
  // of the line; OnChanging and OnChange run as for SetStrings. For a list that keeps its own lines.
  void ReplaceInString(int Index, size_t from, size_t count, std::string_view with);
  void* Objects(int Index) const { return GetObject(Index); }
  void SetObjects(int Index, void* AObject) { PutObject(Index, AObject); }

  // Appends, or inserts at the sorted place; returns the index of the line (of the existing one when a
  // sorted list ignores a duplicate). A sorted list with dupError raises EListError
  // "String list does not allow duplicates".
  // The line is taken by value, so a caller that moves a long text in makes no copy of it.
  virtual int Add(std::string S);
  virtual int AddObject(std::string S, void* AObject);
  void Append(const std::string& S) { Add(S); }
  void AddStrings(const TStringList& Strings);
  // Replaces the lines and objects with those of Source.
  virtual void Assign(const TStringList& Source);
  // Insert before Index (Count appends); raise EListError "Operation not allowed on sorted list" on a
  // sorted list, where only Add decides places.
  virtual void Insert(int Index, const std::string& S);
  virtual void InsertObject(int Index, const std::string& S, void* AObject);
  virtual void Delete(int Index);
  virtual void Clear();

  // Index of the first line equal to S, -1 when none (a sorted list is searched by halving).
  virtual int IndexOf(const std::string& S) const;
  // Lines of the form name=value: the first line whose text before its first "=" equals Name, -1 when none.
  virtual int IndexOfName(const std::string& Name) const;
  // The text before the first "=" of line Index; "" when it has none.
  std::string Names(int Index) const;
  // The text after the first "=" of the line named Name; "" when there is none.
  std::string Values(const std::string& Name) const;
  // A non-empty value replaces the named line by Name=Value or appends it; an empty value deletes it.
  void SetValues(const std::string& Name, const std::string& Value);

  std::string Text() const;
  void SetText(const std::string& Value);

  bool Sorted() const { return sorted_; }
  void SetSorted(bool Value);  // true sorts the lines at once
  TDuplicates Duplicates() const { return duplicates_; }
  void SetDuplicates(TDuplicates Value) { duplicates_ = Value; }
  bool CaseSensitive() const { return caseSensitive_; }
  void SetCaseSensitive(bool Value);  // a sorted list is sorted again by the new rule

  // For sorted lists: true when S is in the list; Index is then its first occurrence, otherwise the
  // place where S would be inserted.
  virtual bool Find(const std::string& S, int& Index) const;
  // Sorts an unsorted list (stable: equal lines keep their order); a sorted list is already in order.
  virtual void Sort();

  void BeginUpdate();
  void EndUpdate();

  // Replace the lines with the text of a file (EFOpenError) or of a stream from its position to its end.
  void LoadFromFile(const std::string& FileName);
  void LoadFromStream(TStream& Stream);
  // Write Text to a file, replacing it atomically (EFCreateError), or to a stream at its position.
  void SaveToFile(const std::string& FileName) const;
  void SaveToStream(TStream& Stream) const;

  TNotifyEvent OnChange;
  TNotifyEvent OnChanging;

protected:
  virtual int GetCount() const { return static_cast<int>(items_.size()); }
  virtual std::string Get(int Index) const;
  virtual void Put(int Index, const std::string& S);
  virtual void* GetObject(int Index) const;
  virtual void PutObject(int Index, void* AObject);
  virtual void Changing();
  virtual void Changed();
  // < 0, 0 or > 0 by the list's case rule.
  virtual int CompareStrings(const std::string& S1, const std::string& S2) const;
  // Stores a new line at Index with no sorted check; every insertion ends here.
  virtual void InsertItem(int Index, std::string S, void* AObject);

  // Raises EListError "List index out of bounds (%d)" unless 0 <= Index < Limit.
  static void CheckIndex(int Index, int Limit);

private:
  struct Item {
    std::string string;
    void* object = nullptr;
  };

  void SortItems();

  std::vector<Item> items_;
  bool sorted_ = false;
  bool caseSensitive_ = false;
  TDuplicates duplicates_ = dupIgnore;
  int updateCount_ = 0;
};

// Keeps a list between BeginUpdate and EndUpdate for a scope, so its OnChange runs once even when the
// scope throws.
class StringListUpdateGuard {
public:
  explicit StringListUpdateGuard(TStringList& list) : list_(list) { list_.BeginUpdate(); }
  StringListUpdateGuard(const StringListUpdateGuard&) = delete;
  StringListUpdateGuard& operator=(const StringListUpdateGuard&) = delete;
  ~StringListUpdateGuard() { list_.EndUpdate(); }

private:
  TStringList& list_;
};

}  // namespace platform
