// Drawings in and out: loading a DXF file into a database and saving it back (stand-in only).
// Everything the database does not model is written back exactly as the file had it; only
// changed, added and erased entities are rewritten.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "dbmain.h"
#include "dbsymtb.h"

namespace qhost {

struct DrawingLoad {
  std::unique_ptr<AcDbDatabase> database;  // null when the file could not be loaded
  std::string error;                       // "name:line: what is wrong" when it could not
  std::vector<std::string> warnings;       // e.g. bytes that do not fit the file's encoding
};

DrawingLoad LoadDrawing(const std::string& path);
DrawingLoad LoadDrawingFromBytes(std::string bytes, const std::string& name);
// Fills an empty database with the host's own empty drawing.
void LoadDefaultDrawing(AcDbDatabase& db);

// The file as it would be saved.
std::string DrawingToBytes(AcDbDatabase& db);
// Saving the drawing under the name it has (SAVE), under a name the user gave (SAVEAS), or as a
// copy under a name that must be new (a recovery file).
enum class SaveKind { kSave, kSaveAs, kNewFile };
// kSave and kSaveAs save atomically: a temporary file "<name>.saving-<pid>-XXXXXX" in the folder
// of the file the path refers to (through symbolic links; the name cut so that it fits the
// folder's longest name), with that file's owner, group and permission bits (a new file: 0666
// under the umask), synced, then renamed over it, and the folder synced; a successful save
// removes the temporary files that killed saves of that file left, once their process is gone.
// A read-only file, anything but a regular file, and for kSave a file with more than one hard
// link are refused. On failure the old file is left as it was and `error` says why. What the
// system did not allow to keep (the owner) goes to `note`, and the save goes on.
// kNewFile creates the file itself, never over an existing one and never through a link, under
// the umask; the drawing keeps its own name.
bool SaveDrawing(AcDbDatabase& db, const std::string& path, std::string* error, SaveKind kind = SaveKind::kSaveAs,
                 std::string* note = nullptr);
// Whether the drawing's file is no longer the one it was read from or last saved to: another
// program wrote it since. False when it is gone or the drawing has no file.
bool DrawingChangedOnDisk(const AcDbDatabase& db);

// The encoding of the drawing's file ("CP1251", "UTF-8", ...) and its DXF version ("AC1015").
std::string DrawingEncoding(const AcDbDatabase& db);
std::string DrawingVersion(const AcDbDatabase& db);
// The entities of a space (a block table record: ACDB_MODEL_SPACE, ACDB_PAPER_SPACE) in drawing
// order; none when the drawing has no such space.
std::vector<AcDbObjectId> EntityIds(AcDbDatabase& db, const char* space = ACDB_MODEL_SPACE);

// Adds the blocks of the file that the drawing does not hold yet (not the two spaces, nor the
// blocks of dimensions, which loading adds) to the block table, each with its MTEXT and TEXT
// entities, which are then saved like any entity; returns the records added. Other entities of
// blocks stay unmodelled, as the file has them.
std::vector<AcDbObjectId> LoadBlockTexts(AcDbDatabase& db);

// The path the drawing was loaded from or last saved to ("" for a new drawing).
std::string DrawingPath(const AcDbDatabase& db);
void SetDrawingPath(AcDbDatabase& db, const std::string& path);

// The file system calls that saving makes, so that tests can make them fail.
class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // Writes up to `size` bytes; returns how many were written, or -1 with errno set.
  virtual long Write(int fd, const char* data, size_t size);
  virtual int Rename(const char* from, const char* to);
  static FileSystem& Current();
  // Replaces the file system (null: the real one). The caller keeps ownership.
  static void Set(FileSystem* fs);
};

}  // namespace qhost
