#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/app/Messages.h"
#include "platform/gfx/Geometry.h"
#include "platform/ui/Backend.h"

namespace platform {

class TWinControl;
class TTopLevelWindow;

// System drag and drop: a data object offered by a source, drop targets registered on windowed
// controls, and DoDragDrop, which runs the drag in a nested loop. Drags between the program's own
// windows stay in the process; drags from and to other programs go through the backend (XDND on X11),
// which presents them to the same targets.
//
// The order of the calls of one drag: the source calls DoDragDrop; at every move of the mouse and
// every change of the keys the source's QueryContinueDrag decides whether the drag goes on, ends in a
// drop or is cancelled; the target under the pointer gets DragEnter when the pointer comes to it,
// DragOver while it moves over it, DragLeave when it goes or the drag is cancelled, and Drop instead of
// DragLeave when the drag ends over it with an effect other than none; after each of these calls
// (but the drop) the source's GiveFeedback hears the effect, and the cursor shows it. All calls arrive
// on the application's thread, from the drag's nested loop.

// Drop effects; a set of them is the effects a source allows.
inline constexpr DWORD DROPEFFECT_NONE = 0;
inline constexpr DWORD DROPEFFECT_COPY = 1;
inline constexpr DWORD DROPEFFECT_MOVE = 2;
inline constexpr DWORD DROPEFFECT_LINK = 4;

// Formats by name, as the clipboard's (kClipboardText, kClipboardRichText), and the list of files: a
// URI list (RFC 2483, lines ended by CR LF). A program's own formats ("Grid Column") are any other
// name; they never leave the process.
inline constexpr std::string_view kDragFiles = "text/uri-list";

// What a drag carries: its formats by name, each with its bytes.
class IDataObject {
public:
  virtual ~IDataObject() = default;
  // The formats offered, in the source's order of preference.
  virtual std::vector<std::string> Formats() const = 0;
  bool HasFormat(std::string_view format) const;
  // The bytes of a format; none when it is not offered or the source cannot give it (another program's
  // data arrives only with the drop: over a target it is none).
  virtual std::optional<std::string> GetData(std::string_view format) = 0;
};

// A data object that holds its formats' bytes.
class DataObject : public IDataObject {
public:
  void SetData(std::string_view format, std::string data);
  std::vector<std::string> Formats() const override;
  std::optional<std::string> GetData(std::string_view format) override;

private:
  std::vector<std::pair<std::string, std::string>> formats_;
};

// Where a target is told about a drag: the keys (MK_LBUTTON, MK_CONTROL, MK_SHIFT, ...) and the point
// in screen coordinates; Effect comes in as the effects the source allows and goes out as the one the
// target would take (DROPEFFECT_NONE refuses).
class IDropTarget {
public:
  virtual ~IDropTarget() = default;
  virtual void DragEnter(IDataObject& Data, DWORD KeyState, TPoint Pt, DWORD& Effect) = 0;
  virtual void DragOver(DWORD KeyState, TPoint Pt, DWORD& Effect) = 0;
  virtual void DragLeave() = 0;
  virtual void Drop(IDataObject& Data, DWORD KeyState, TPoint Pt, DWORD& Effect) = 0;
};

enum class DragQuery { Continue, Drop, Cancel };
enum class DragFeedback { UseDefaultCursors, OwnCursor };

// The source of a drag. The defaults: Escape cancels, releasing the left button drops, and the default
// cursors show the effect.
class IDropSource {
public:
  virtual ~IDropSource() = default;
  virtual DragQuery QueryContinueDrag(bool EscapePressed, DWORD KeyState);
  virtual DragFeedback GiveFeedback(DWORD Effect);
};

// How a drag ended: Drop when a target took the drop (Effect is what it did), Cancel otherwise
// (Escape, a release over no target or over one that refused, Effect none).
enum class DragResult { Drop, Cancel };
struct DragOutcome {
  DragResult Result = DragResult::Cancel;
  DWORD Effect = DROPEFFECT_NONE;
};

// Registers Target for drops on Control (its area and that of its children without a target of their
// own) until RevokeDragDrop or the control's destruction; the caller keeps Target alive that long.
// False when the control has a target already.
bool RegisterDragDrop(TWinControl& Control, IDropTarget& Target);
void RevokeDragDrop(TWinControl& Control);
// The target registered on a control, or null.
IDropTarget* RegisteredDropTarget(const TWinControl& Control);

// Runs a drag of Data from the pointer's place until it ends: the mouse is captured, the keys and the
// mouse go to the drag alone, the cursor shows the effect (the drag cursor for a move, the copy cursor,
// the no-drop cursor). Ctrl proposes copy, otherwise move, within OkEffects. An exception from a target
// or the source ends the drag (targets told, the capture released) and then leaves DoDragDrop.
DragOutcome DoDragDrop(IDataObject& Data, DWORD OkEffects, IDropSource& Source);
// Whether a drag runs (DoDragDrop has not returned).
bool DragDropActive();

// The effect a source proposes for the keys: copy with Ctrl, else move; within OkEffects (the first of
// copy, move, link that it allows when the proposed one is not).
DWORD ProposedEffect(DWORD KeyState, DWORD OkEffects);

// The local files of a URI list: each "file:" URI whose host is empty, "localhost" or HostName,
// percent-decoded to its path; other URIs, comments and malformed lines are skipped and counted.
// Bounded: at most MaxFiles files are taken (the rest counted as skipped).
struct UriListFiles {
  std::vector<std::string> Files;
  size_t Skipped = 0;
};
inline constexpr size_t kMaxDroppedFiles = 10000;
UriListFiles LocalFilesOfUriList(std::string_view UriList, std::string_view HostName,
                                  size_t MaxFiles = kMaxDroppedFiles);
// The local files a data object carries, for this host.
std::vector<std::string> DroppedFiles(IDataObject& Data);
// A URI list for local paths.
std::string UriListOfFiles(const std::vector<std::string>& Paths);

// The framework's side (TTopLevelWindow): while a drag runs, the input of every top-level window goes
// to it, with the keys and buttons (MK_...) after the event. True when the drag took the event.
bool DragMouseInput(TPoint Screen, DWORD Keys);
bool DragKey(int VirtualKey, bool Down, DWORD Keys);

// A drag from another program over a top-level window of ours (the backend's sink calls these; points
// in screen coordinates). They return the effect the target under the point takes (none without one);
// a file drop is always a copy.
DWORD ForeignDragOver(TTopLevelWindow& Window, IDataObject& Data, TPoint Screen, DWORD KeyState, DWORD OkEffects);
void ForeignDragLeave(TTopLevelWindow& Window);
DWORD ForeignDrop(TTopLevelWindow& Window, IDataObject& Data, TPoint Screen, DWORD KeyState, DWORD OkEffects);
// Whether the window holds a registered target (the backend then announces that it takes drops).
bool HoldsDropTarget(const TTopLevelWindow& Window);

}  // namespace platform
