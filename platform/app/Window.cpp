#include "platform/app/Window.h"

#include <unistd.h>

#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/core/Ascii.h"
#include "platform/core/Clock.h"
#include "platform/app/MessageQueue.h"
#include "platform/app/WindowStation.h"

namespace platform {

namespace {

struct WindowRecord {
  HWND hwnd;
  std::string className;
  std::string caption;
  WindowKind kind;
  std::shared_ptr<MessageQueue> queue;
  WindowProc proc;
  std::unique_ptr<WindowStation::Listing> listing;
};

// The windows of this process by number, in creation order, and the top-level ones that wait to be
// listed in the station.
struct WindowTable {
  std::mutex mutex;
  std::map<uint32_t, std::shared_ptr<WindowRecord>> windows;
  uint32_t nextNumber = 1;
  std::vector<std::weak_ptr<WindowRecord>> waiting;
};

WindowTable& Table() {
  static WindowTable* table = new WindowTable;  // never destroyed: windows may outlive static destruction
  return *table;
}

uint32_t NumberOf(HWND hwnd) { return static_cast<uint32_t>(static_cast<uint64_t>(hwnd)); }
uint32_t OwnProcess() { return static_cast<uint32_t>(::getpid()); }
bool IsLocal(HWND hwnd) { return ProcessOf(hwnd) == OwnProcess(); }

std::shared_ptr<WindowRecord> Find(HWND hwnd) {
  if (!IsLocal(hwnd)) return nullptr;
  WindowTable& table = Table();
  std::lock_guard lock(table.mutex);
  auto it = table.windows.find(NumberOf(hwnd));
  return it == table.windows.end() ? nullptr : it->second;
}

std::vector<std::shared_ptr<WindowRecord>> LocalTopLevel() {
  WindowTable& table = Table();
  std::lock_guard lock(table.mutex);
  std::vector<std::shared_ptr<WindowRecord>> result;
  for (auto& [number, record] : table.windows)
    if (record->kind == WindowKind::TopLevel) result.push_back(record);
  return result;
}

LRESULT CallProc(WindowRecord& record, UINT msg, WPARAM wParam, LPARAM lParam) {
  TMessage message{msg, wParam, lParam, 0};
  if (record.proc) record.proc(message);
  return message.Result;
}

void ListInStation(WindowRecord& record) {
  auto station = WindowStation::ForExeDir();
  if (!station) return;
  std::string caption;
  {
    std::lock_guard lock(Table().mutex);
    caption = record.caption;
  }
  record.listing = station->List(record.hwnd, record.className, caption, record.queue);
}

}  // namespace

HWND CreateWindow(const std::string& className, const std::string& caption, WindowKind kind, WindowProc proc,
                  StationListing listing) {
  auto record = std::make_shared<WindowRecord>();
  record->className = className;
  record->caption = caption;
  record->kind = kind;
  record->queue = MessageQueue::Current().shared_from_this();
  record->proc = std::move(proc);
  WindowTable& table = Table();
  {
    std::lock_guard lock(table.mutex);
    uint32_t number = table.nextNumber++;
    record->hwnd = HWND{(static_cast<uint64_t>(OwnProcess()) << 32) | number};
    table.windows[number] = record;
    if (kind == WindowKind::TopLevel && listing == StationListing::WhenIdle) table.waiting.push_back(record);
  }
  if (kind == WindowKind::TopLevel && listing == StationListing::AtCreation) ListInStation(*record);
  return record->hwnd;
}

bool ListWaitingWindows() {
  std::vector<std::shared_ptr<WindowRecord>> due;
  {
    WindowTable& table = Table();
    std::lock_guard lock(table.mutex);
    if (table.waiting.empty()) return false;
    const MessageQueue* own = &MessageQueue::Current();
    std::erase_if(table.waiting, [&](const std::weak_ptr<WindowRecord>& waiting) {
      auto record = waiting.lock();
      if (record && table.windows.count(NumberOf(record->hwnd)) == 0) record.reset();  // destroyed meanwhile
      if (record && record->queue.get() != own) return false;  // another thread lists its own
      if (record) due.push_back(std::move(record));
      return true;
    });
  }
  for (auto& record : due) ListInStation(*record);
  return !due.empty();
}

bool DestroyWindow(HWND hwnd) {
  std::shared_ptr<WindowRecord> record;
  {
    WindowTable& table = Table();
    std::lock_guard lock(table.mutex);
    if (!IsLocal(hwnd)) return false;
    auto it = table.windows.find(NumberOf(hwnd));
    if (it == table.windows.end()) return false;
    record = std::move(it->second);
    table.windows.erase(it);
  }
  record->queue->KillTimers(hwnd);
  record->listing.reset();
  return true;
}

bool IsWindow(HWND hwnd) {
  if (hwnd == HWND{} || hwnd == HWND_BROADCAST) return false;
  if (IsLocal(hwnd)) return Find(hwnd) != nullptr;
  auto station = WindowStation::ForExeDir();
  return station && station->IsListed(hwnd);
}

bool SetWindowText(HWND hwnd, const std::string& caption) {
  auto record = Find(hwnd);
  if (!record) return false;
  {
    std::lock_guard lock(Table().mutex);
    record->caption = caption;
  }
  if (record->listing) record->listing->SetCaption(caption);
  return true;
}

std::string GetWindowText(HWND hwnd) {
  auto record = Find(hwnd);
  if (!record) return "";
  std::lock_guard lock(Table().mutex);
  return record->caption;
}

std::string GetClassName(HWND hwnd) {
  auto record = Find(hwnd);
  return record ? record->className : "";
}

DWORD GetWindowThreadId(HWND hwnd) {
  auto record = Find(hwnd);
  return record ? record->queue->ThreadId() : 0;
}

bool PostMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (hwnd == HWND_BROADCAST) return BroadcastMessage(msg, wParam, lParam);
  if (!IsLocal(hwnd)) {
    auto station = WindowStation::ForExeDir();
    return station && station->Post(hwnd, msg, wParam, lParam);
  }
  auto record = Find(hwnd);
  return record && record->queue->Post(MSG{hwnd, msg, wParam, lParam, GetTickCount()});
}

bool BroadcastMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  bool all = true;
  for (auto& record : LocalTopLevel())
    all = record->queue->Post(MSG{record->hwnd, msg, wParam, lParam, GetTickCount()}) && all;
  if (auto station = WindowStation::ForExeDir()) all = station->Broadcast(msg, wParam, lParam) && all;
  return all;
}

LRESULT SendMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto record = Find(hwnd);
  if (!record) return 0;
  if (record->queue.get() == &MessageQueue::Current()) return CallProc(*record, msg, wParam, lParam);
  LRESULT result = 0;
  record->queue->Send([&] {
    if (Find(hwnd)) result = CallProc(*record, msg, wParam, lParam);
  });
  return result;
}

bool SetTimer(HWND hwnd, UINT_PTR id, UINT elapseMs) {
  auto record = Find(hwnd);
  if (!record) return false;
  record->queue->SetTimer(hwnd, id, elapseMs);
  return true;
}

bool KillTimer(HWND hwnd, UINT_PTR id) {
  auto record = Find(hwnd);
  return record && record->queue->KillTimer(hwnd, id);
}

HWND FindWindow(const char* className, const char* caption) {
  {
    std::lock_guard lock(Table().mutex);
    for (auto& [number, record] : Table().windows)
      if (record->kind == WindowKind::TopLevel && MatchesText(className, record->className) && MatchesText(caption, record->caption))
        return record->hwnd;
  }
  auto station = WindowStation::ForExeDir();
  return station ? station->Find(className, caption) : HWND{};
}

UINT RegisterWindowMessage(const std::string& name) {
  // Numbers are cached per station; without a station they are this process's own.
  static std::mutex mutex;
  static std::map<std::string, UINT> numbers;
  static UINT nextLocal = kFirstRegisteredMessage;
  auto station = WindowStation::ForExeDir();
  std::string key = (station ? station->Folder() : std::string()) + '\n' + UpperCase(name);
  std::lock_guard lock(mutex);
  auto it = numbers.find(key);
  if (it != numbers.end()) return it->second;
  UINT number = 0;
  if (station)
    number = station->RegisterMessage(name);
  else if (nextLocal <= kLastRegisteredMessage)
    number = nextLocal++;
  if (number != 0) numbers[key] = number;
  return number;
}

bool PeekMessage(MSG& msg) { return MessageQueue::Current().Peek(msg); }

bool GetMessage(MSG& msg) {
  MessageQueue& queue = MessageQueue::Current();
  while (!queue.Peek(msg)) {
    if (!queue.DispatchReadyHandles()) queue.Wait();
  }
  return msg.message != WM_QUIT;
}

LRESULT DispatchMessage(const MSG& msg) {
  auto record = Find(msg.hwnd);
  return record ? CallProc(*record, msg.message, msg.wParam, msg.lParam) : 0;
}

}  // namespace platform
