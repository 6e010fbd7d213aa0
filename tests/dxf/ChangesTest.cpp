// Only changed, added and erased entities are rewritten; long contents are split safely.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <dirent.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <iterator>

#include "MiniDxf.h"
#include "dbents.h"
#include "qplatform/Drawing.h"
#include "support/Bytes.h"

namespace {

using minidxf::Drawing;
using minidxf::MText;
using minidxf::Write;

std::unique_ptr<AcDbDatabase> Load(const std::string& bytes) {
  auto load = qhost::LoadDrawingFromBytes(bytes, "test.dxf");
  EXPECT_TRUE(load.database) << load.error;
  return std::move(load.database);
}

void SetContents(AcDbDatabase& db, const std::string& contents) {
  AcDbMText* m = minidxf::FirstMText(db, AcDb::kForWrite);
  ASSERT_NE(nullptr, m);
  m->setContents(contents.c_str());
  m->close();
}

// --- Rewriting --------------------------------------------------------------------------

TEST(DxfSave, OpeningForWriteWithoutAChangeRewritesNothing) {
  std::string file = Drawing("AC1015", "ANSI_1251", MText("A1", {{1, "text"}}));
  auto db = Load(file);
  AcDbMText* m = minidxf::FirstMText(*db, AcDb::kForWrite);
  m->close();
  EXPECT_BYTES_EQ(file, qhost::DrawingToBytes(*db));
}

TEST(DxfSave, ChangedContentsReplaceOnlyTheTextGroups) {
  std::string file = Drawing("AC1015", "ANSI_1251", MText("A1", {{3, "first "}, {1, "second"}}) +
                                                        Write({{0, "POINT"}, {5, "A2"}, {10, "1"}, {20, "2"}}));
  auto db = Load(file);
  SetContents(*db, "new");
  EXPECT_BYTES_EQ(Drawing("AC1015", "ANSI_1251",
                          MText("A1", {{1, "new"}}) + Write({{0, "POINT"}, {5, "A2"}, {10, "1"}, {20, "2"}})),
                  qhost::DrawingToBytes(*db));
}

TEST(DxfSave, ChangedPropertyReplacesItsValueAndAddsWhatTheFileLacked) {
  std::string file = Drawing("AC1015", "ANSI_1251", MText("A1", {{1, "t"}}));
  auto db = Load(file);
  AcDbMText* m = minidxf::FirstMText(*db, AcDb::kForWrite);
  m->setTextHeight(5.0);
  m->setRotation(0.5);
  m->close();
  std::string expected = Write({{0, "MTEXT"}, {5, "A1"}, {330, "1F"}, {100, "AcDbEntity"}, {8, "0"},
                                {100, "AcDbMText"}, {10, "1.0"}, {20, "2.0"}, {30, "0.0"}, {40, "5.0"}, {41, "0.0"},
                                {71, "1"}, {1, "t"}, {7, "Standard"}, {50, "0.5"}});
  EXPECT_BYTES_EQ(Drawing("AC1015", "ANSI_1251", expected), qhost::DrawingToBytes(*db));
}

TEST(DxfSave, ChangedTextKeepsItsStyleAsTheFileNamedIt) {
  // "gost" is the table's "GOST"; "Missing" names no style and reads as Standard.
  for (const char* style : {"gost", "Missing"}) {
    SCOPED_TRACE(style);
    auto text = [&](const char* contents) {
      return Write({{0, "MTEXT"}, {5, "A1"}, {330, "1F"}, {100, "AcDbEntity"}, {8, "0"}, {100, "AcDbMText"},
                    {10, "1.0"}, {20, "2.0"}, {30, "0.0"}, {40, "2.5"}, {41, "0.0"}, {71, "1"}, {1, contents},
                    {7, style}});
    };
    auto db = Load(Drawing("AC1015", "ANSI_1251", text("old")));
    SetContents(*db, "new");
    EXPECT_BYTES_EQ(Drawing("AC1015", "ANSI_1251", text("new")), qhost::DrawingToBytes(*db));
  }
}

// --- Splitting long contents ---------------------------------------------------------------

struct SplitCase {
  const char* name;
  const char* version;
  const char* codePage;
  std::string memory;
  std::vector<std::string> groups;  // the group 3 values, then the group 1 value
};

TEST(DxfSave, LongContentsSplitIntoChunksThatKeepUnitsWhole) {
  std::string a249(249, 'a'), a248(248, 'a'), a250(250, 'a');
  const SplitCase cases[] = {
      {"plain", "AC1015", "ANSI_1251", a250 + a250 + "b", {a250, a250, "b"}},
      {"caret pair", "AC1015", "ANSI_1251", a249 + "\n", {a249, "^J"}},
      {"unicode escape", "AC1015", "ANSI_1252", a248 + testsupport::Cp1251(u8"Ж"), {a248, "\\U+0416"}},
      {"multibyte character", "AC1021", "", a249 + "\\U+2248", {a249, u8"≈"}},
      {"double-byte character", "AC1015", "ANSI_936", a249 + "\\U+4E2D", {a249, "\xD6\xD0"}},
      {"exactly 250", "AC1015", "ANSI_1251", a250, {a250}},
  };
  for (const SplitCase& c : cases) {
    SCOPED_TRACE(c.name);
    auto db = Load(Drawing(c.version, c.codePage, MText("A1", {{1, "x"}})));
    SetContents(*db, c.memory);
    std::string groups;
    for (size_t i = 0; i < c.groups.size(); ++i)
      groups += Write({{i + 1 < c.groups.size() ? 3 : 1, c.groups[i]}});
    std::string expected = Drawing(c.version, c.codePage, MText("A1", {{1, "x"}}));
    size_t at = expected.find("  1\nx\n");
    expected.replace(at, 6, groups);
    EXPECT_BYTES_EQ(expected, qhost::DrawingToBytes(*db));
  }
}

// --- Added and erased entities ---------------------------------------------------------------

TEST(DxfSave, AddedEntityGetsAHandleAboveTheSeedWhichMovesOn) {
  auto db = Load(Drawing("AC1015", "ANSI_1251", MText("A1", {{1, "t"}})));
  AcDbBlockTable* table = nullptr;
  db->getBlockTable(table, AcDb::kForRead);
  AcDbBlockTableRecord* space = nullptr;
  ASSERT_EQ(Acad::eOk, table->getAt(ACDB_MODEL_SPACE, space, AcDb::kForWrite));
  table->close();
  auto* line = new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(3, 4, 0));
  AcDbObjectId id;
  ASSERT_EQ(Acad::eOk, space->appendAcDbEntity(id, line));
  line->close();
  space->close();
  char handle[24];
  id.handle().getIntoAsciiBuffer(handle);
  EXPECT_GE(id.handle().value(), 0x100u);
  std::string saved = qhost::DrawingToBytes(*db);
  std::string lineGroups = Write({{0, "LINE"}, {5, handle}, {330, "1F"}, {100, "AcDbEntity"}, {8, "0"},
                                  {100, "AcDbLine"}, {10, "0.0"}, {20, "0.0"}, {30, "0.0"}, {11, "3.0"},
                                  {21, "4.0"}, {31, "0.0"}});
  EXPECT_NE(std::string::npos, saved.find(lineGroups + "  0\nENDSEC\n  0\nEOF")) << testsupport::Readable(saved);
  char seed[32];
  std::snprintf(seed, sizeof seed, "$HANDSEED\n  5\n%lX\n", static_cast<unsigned long>(id.handle().value() + 1));
  EXPECT_NE(std::string::npos, saved.find(seed)) << testsupport::Readable(saved.substr(0, 200));

  // Loaded again, the new line is there under its handle.
  auto again = Load(saved);
  AcDbObjectId found;
  EXPECT_EQ(Acad::eOk, again->getAcDbObjectId(found, false, id.handle()));
}

TEST(DxfSave, ErasedEntityLeavesTheFileAndTheRestStays) {
  std::string point = Write({{0, "POINT"}, {5, "A2"}, {10, "1"}, {20, "2"}});
  auto db = Load(Drawing("AC1015", "ANSI_1251", MText("A1", {{1, "t"}}) + point));
  AcDbMText* m = minidxf::FirstMText(*db, AcDb::kForWrite);
  ASSERT_EQ(Acad::eOk, m->erase());
  m->close();
  EXPECT_BYTES_EQ(Drawing("AC1015", "ANSI_1251", point), qhost::DrawingToBytes(*db));
}

// --- Saving to disk ---------------------------------------------------------------------

class FailingFileSystem : public qhost::FileSystem {
 public:
  bool failRename = false;
  bool shortWrite = false;
  long Write(int fd, const char* data, size_t size) override {
    if (shortWrite) return size > 10 ? static_cast<long>(FileSystem::Write(fd, data, 10)) : 0;
    return FileSystem::Write(fd, data, size);
  }
  int Rename(const char* from, const char* to) override {
    if (failRename) {
      errno = EXDEV;
      return -1;
    }
    return FileSystem::Rename(from, to);
  }
};

class DxfSaveToDisk : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/qhost-save-XXXXXX";
    dir_ = mkdtemp(tmpl);
    path_ = dir_ + "/drawing.dxf";
    std::FILE* f = std::fopen(path_.c_str(), "wb");
    std::fputs("old contents", f);
    std::fclose(f);
  }
  void TearDown() override {
    qhost::FileSystem::Set(nullptr);
    std::system(("rm -rf '" + dir_ + "'").c_str());
  }
  std::string Mode(const std::string& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) return "missing";
    char mode[16];
    std::snprintf(mode, sizeof mode, "%s%04o", S_ISLNK(st.st_mode) ? "link " : "", st.st_mode & 07777);
    return mode;
  }
  int FilesInDir() {
    int n = 0;
    DIR* d = opendir(dir_.c_str());
    while (dirent* e = readdir(d)) n += e->d_name[0] != '.' || std::string(e->d_name).size() > 2 ? 1 : 0;
    closedir(d);
    return n;
  }
  std::string dir_, path_;
};

TEST_F(DxfSaveToDisk, SavesAndReplacesTheOldFile) {
  AcDbDatabase db;
  std::string error;
  ASSERT_TRUE(qhost::SaveDrawing(db, path_, &error)) << error;
  EXPECT_BYTES_EQ(qhost::DrawingToBytes(db), testsupport::ReadFile(path_));
  EXPECT_EQ(path_, qhost::DrawingPath(db));
  EXPECT_EQ(1, FilesInDir());
}

TEST_F(DxfSaveToDisk, FailedRenameLeavesTheOldFileAndSaysWhy) {
  FailingFileSystem fs;
  fs.failRename = true;
  qhost::FileSystem::Set(&fs);
  AcDbDatabase db;
  std::string error;
  EXPECT_FALSE(qhost::SaveDrawing(db, path_, &error));
  EXPECT_NE(std::string::npos, error.find("rename failed")) << error;
  EXPECT_EQ("old contents", testsupport::ReadFile(path_));
  EXPECT_EQ(1, FilesInDir()) << "the temporary file is removed";
}

TEST_F(DxfSaveToDisk, ShortWriteLeavesTheOldFileAndSaysWhy) {
  FailingFileSystem fs;
  fs.shortWrite = true;
  qhost::FileSystem::Set(&fs);
  AcDbDatabase db;
  std::string error;
  EXPECT_FALSE(qhost::SaveDrawing(db, path_, &error));
  EXPECT_NE(std::string::npos, error.find("short")) << error;
  EXPECT_EQ("old contents", testsupport::ReadFile(path_));
  EXPECT_EQ(1, FilesInDir());
}

// A symbolic link stays a link: the file it leads to is replaced, in its own folder, and keeps
// its permission bits; the link's folder gets no temporary file.
TEST_F(DxfSaveToDisk, SavingThroughALinkWritesItsTarget) {
  ASSERT_EQ(0, chmod(path_.c_str(), 0640));
  ASSERT_EQ(0, mkdir((dir_ + "/links").c_str(), 0755));
  const std::string link = dir_ + "/links/drawing.dxf";
  ASSERT_EQ(0, symlink("../drawing.dxf", link.c_str()));
  AcDbDatabase db;
  std::string error;
  ASSERT_TRUE(qhost::SaveDrawing(db, link, &error, qhost::SaveKind::kSave)) << error;
  char target[64] = {};
  ASSERT_GT(readlink(link.c_str(), target, sizeof target - 1), 0);
  EXPECT_STREQ("../drawing.dxf", target);
  EXPECT_BYTES_EQ(qhost::DrawingToBytes(db), testsupport::ReadFile(path_));
  EXPECT_EQ("0640", Mode(path_));
  EXPECT_EQ(link, qhost::DrawingPath(db)) << "the drawing keeps the name it was given";
  EXPECT_EQ(2, FilesInDir()) << "the drawing and the links folder";
}

// SAVE of a name with other hard links would leave them with the old drawing; SAVEAS may.
TEST_F(DxfSaveToDisk, SaveRefusesANameWithOtherHardLinks) {
  const std::string other = dir_ + "/other-name.dxf";
  ASSERT_EQ(0, link(path_.c_str(), other.c_str()));
  AcDbDatabase db;
  std::string error;
  EXPECT_FALSE(qhost::SaveDrawing(db, path_, &error, qhost::SaveKind::kSave));
  EXPECT_EQ("cannot save " + path_ +
                ": the file has 2 names (hard links), and saving would leave the others with the old drawing; "
                "use SAVEAS to save it under another name",
            error);
  EXPECT_EQ("old contents", testsupport::ReadFile(other));
  EXPECT_EQ("old contents", testsupport::ReadFile(path_));
  ASSERT_TRUE(qhost::SaveDrawing(db, path_, &error, qhost::SaveKind::kSaveAs)) << error;
  EXPECT_EQ("old contents", testsupport::ReadFile(other));
}

TEST_F(DxfSaveToDisk, ReadOnlyFilesAndFoldersAreRefused) {
  ASSERT_EQ(0, chmod(path_.c_str(), 0444));
  AcDbDatabase db;
  std::string error;
  for (qhost::SaveKind kind : {qhost::SaveKind::kSave, qhost::SaveKind::kSaveAs}) {
    EXPECT_FALSE(qhost::SaveDrawing(db, path_, &error, kind));
    EXPECT_EQ("cannot save " + path_ + ": the file is read-only", error);
  }
  EXPECT_EQ("old contents", testsupport::ReadFile(path_));
  EXPECT_EQ("0444", Mode(path_));
  EXPECT_FALSE(qhost::SaveDrawing(db, dir_, &error));
  EXPECT_EQ("cannot save " + dir_ + ": it is a folder", error);
  EXPECT_TRUE(qhost::SaveDrawing(db, dir_ + "/another.dxf", &error)) << error;
}

// A save killed before its rename leaves "<name>.saving-<pid>-XXXXXX"; the next save of that file
// removes it once its process is gone, and leaves alone what another process may still be
// writing, what belongs to other files and what only looks alike.
TEST_F(DxfSaveToDisk, ASuccessfulSaveRemovesWhatKilledSavesLeft) {
  const pid_t gone = fork();
  if (gone == 0) _exit(0);
  ASSERT_GT(gone, 0);
  ASSERT_EQ(gone, waitpid(gone, nullptr, 0));
  const std::string dead = std::to_string(gone), alive = std::to_string(getppid());
  const std::string left[] = {"drawing.dxf.saving-" + dead + "-a1B2c3", "drawing.dxf.saving-" + alive + "-a1B2c3",
                              "other.dxf.saving-" + dead + "-a1B2c3", "drawing.dxf.saving-a1B2c3",
                              "drawing.dxf.saving-" + dead + "-long-name", "drawing.dxf.saving-"};
  for (const std::string& name : left) std::ofstream(dir_ + "/" + name) << "left";
  FailingFileSystem fs;
  fs.failRename = true;
  qhost::FileSystem::Set(&fs);
  AcDbDatabase db;
  std::string error;
  EXPECT_FALSE(qhost::SaveDrawing(db, path_, &error));
  EXPECT_EQ(7, FilesInDir()) << "a failed save removes nothing but its own temporary file";
  qhost::FileSystem::Set(nullptr);
  ASSERT_TRUE(qhost::SaveDrawing(db, path_, &error)) << error;
  EXPECT_EQ("missing", Mode(dir_ + "/" + left[0]));
  for (size_t i = 1; i < std::size(left); ++i) EXPECT_NE("missing", Mode(dir_ + "/" + left[i])) << left[i];
  EXPECT_EQ(6, FilesInDir());
}

// The saved file keeps the old one's owner, group and mode (a shared drawing stays shared).
TEST_F(DxfSaveToDisk, KeepsTheOwnerGroupAndModeOfTheOldFile) {
  if (geteuid() != 0) GTEST_SKIP() << "only root can give a file to another user";
  struct Owner {
    uid_t uid;
    gid_t gid;
    mode_t mode;
  };
  for (const Owner& owner : {Owner{1, 100, 0664}, Owner{4321, 8765, 0640}, Owner{0, 0, 02604}}) {
    ASSERT_EQ(0, chown(path_.c_str(), owner.uid, owner.gid));
    ASSERT_EQ(0, chmod(path_.c_str(), owner.mode));
    AcDbDatabase db;
    std::string error, note;
    ASSERT_TRUE(qhost::SaveDrawing(db, path_, &error, qhost::SaveKind::kSave, &note)) << error;
    struct stat st {};
    ASSERT_EQ(0, stat(path_.c_str(), &st));
    EXPECT_EQ(owner.uid, st.st_uid);
    EXPECT_EQ(owner.gid, st.st_gid);
    EXPECT_EQ(owner.mode, st.st_mode & 07777);
    EXPECT_EQ("", note);
  }
}

// A user who may write the file but not give it away makes it theirs, and is told so.
TEST_F(DxfSaveToDisk, AnOwnerThatCannotBeKeptIsNoted) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root to set up a file of another user";
  ASSERT_EQ(0, chmod(dir_.c_str(), 0777));
  ASSERT_EQ(0, chown(path_.c_str(), 4321, 4321));
  ASSERT_EQ(0, chmod(path_.c_str(), 0666));
  int pipeFds[2];
  ASSERT_EQ(0, pipe(pipeFds));
  const pid_t child = fork();
  if (child == 0) {
    close(pipeFds[0]);
    if (setgid(65534) != 0 || setuid(65534) != 0) _exit(2);
    AcDbDatabase db;
    std::string error, note;
    const bool saved = qhost::SaveDrawing(db, path_, &error, qhost::SaveKind::kSave, &note);
    const std::string said = saved ? note : error;
    if (write(pipeFds[1], said.data(), said.size()) < 0) _exit(3);
    _exit(saved ? 0 : 1);
  }
  close(pipeFds[1]);
  std::string said;
  char buffer[512];
  for (ssize_t n; (n = read(pipeFds[0], buffer, sizeof buffer)) > 0;) said.append(buffer, static_cast<size_t>(n));
  close(pipeFds[0]);
  int status = -1;
  ASSERT_EQ(child, waitpid(child, &status, 0));
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(0, WEXITSTATUS(status)) << said;
  EXPECT_EQ(path_ + " now belongs to user 65534 and group 65534 instead of user 4321 and group 4321 (Operation not permitted)",
            said);
  struct stat st {};
  ASSERT_EQ(0, stat(path_.c_str(), &st));
  EXPECT_EQ(65534u, st.st_uid);
  EXPECT_EQ(0666u, st.st_mode & 07777) << "the mode is kept all the same";
}

// New files (SAVEAS to a new name, recovery files) are made as any program's under the umask.
TEST_F(DxfSaveToDisk, NewFilesAreMadeUnderTheUmask) {
  const mode_t before = umask(0);
  for (mode_t mask : {022, 077, 002, 027}) {
    umask(mask);
    for (qhost::SaveKind kind : {qhost::SaveKind::kSaveAs, qhost::SaveKind::kNewFile}) {
      const std::string path = dir_ + "/new-" + std::to_string(mask) + "-" + std::to_string(static_cast<int>(kind)) + ".dxf";
      AcDbDatabase db;
      std::string error;
      ASSERT_TRUE(qhost::SaveDrawing(db, path, &error, kind)) << error;
      char expected[8];
      std::snprintf(expected, sizeof expected, "%04o", 0666 & ~mask);
      EXPECT_EQ(expected, Mode(path)) << "umask " << mask;
    }
  }
  umask(before);
}

// Every name the folder accepts can be saved under; only the temporary name is cut to fit.
TEST_F(DxfSaveToDisk, SavesUnderTheLongestNamesTheFolderTakes) {
  for (size_t length : {241, 250, 255}) {
    const std::string path = dir_ + "/" + std::string(length - 4, 'n') + ".dxf";
    AcDbDatabase db;
    std::string error;
    ASSERT_TRUE(qhost::SaveDrawing(db, path, &error)) << length << ": " << error;
    ASSERT_TRUE(qhost::SaveDrawing(db, path, &error, qhost::SaveKind::kSave)) << length << ": " << error;
    EXPECT_BYTES_EQ(qhost::DrawingToBytes(db), testsupport::ReadFile(path));
    ASSERT_EQ(0, unlink(path.c_str()));
  }
  EXPECT_EQ(1, FilesInDir()) << "no temporary file is left";
}

// A recovery file is made where no file is, never over one and never through a link.
TEST_F(DxfSaveToDisk, ANewFileReplacesNothingAndFollowsNoLink) {
  const std::string victim = dir_ + "/victim.txt", link = dir_ + "/link.dxf", dangling = dir_ + "/dangling.dxf";
  std::ofstream(victim) << "victim";
  ASSERT_EQ(0, symlink("victim.txt", link.c_str()));
  ASSERT_EQ(0, symlink("nowhere.txt", dangling.c_str()));
  AcDbDatabase db;
  qhost::SetDrawingPath(db, path_);
  std::string error;
  for (const std::string& taken : {path_, link, dangling}) {
    EXPECT_FALSE(qhost::SaveDrawing(db, taken, &error, qhost::SaveKind::kNewFile));
    EXPECT_EQ("cannot save " + taken + ": the name is taken", error);
  }
  EXPECT_EQ("old contents", testsupport::ReadFile(path_));
  EXPECT_EQ("victim", testsupport::ReadFile(victim));
  EXPECT_EQ("missing", Mode(dir_ + "/nowhere.txt"));
  const std::string fresh = dir_ + "/fresh.dxf";
  ASSERT_TRUE(qhost::SaveDrawing(db, fresh, &error, qhost::SaveKind::kNewFile)) << error;
  EXPECT_BYTES_EQ(qhost::DrawingToBytes(db), testsupport::ReadFile(fresh));
  EXPECT_EQ(path_, qhost::DrawingPath(db)) << "the drawing keeps its own name";
}

// A file size limit (ulimit -f) fails the save with its cause and leaves the old file.
TEST_F(DxfSaveToDisk, AFileSizeLimitFailsTheSaveAndKeepsTheOldFile) {
  struct rlimit before {};
  ASSERT_EQ(0, getrlimit(RLIMIT_FSIZE, &before));
  auto xfsz = std::signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = before;
  small.rlim_cur = 100;
  ASSERT_EQ(0, setrlimit(RLIMIT_FSIZE, &small));
  AcDbDatabase db;
  std::string error;
  const bool saved = qhost::SaveDrawing(db, path_, &error);
  setrlimit(RLIMIT_FSIZE, &before);
  std::signal(SIGXFSZ, xfsz);
  EXPECT_FALSE(saved);
  EXPECT_EQ("cannot save " + path_ +
                ": the file would be larger than this process may write (ulimit -f); the file on disk is unchanged",
            error);
  EXPECT_EQ("old contents", testsupport::ReadFile(path_));
  EXPECT_EQ(1, FilesInDir());
}

// A drawing knows the file it was read from or saved to; another program's write since shows.
TEST_F(DxfSaveToDisk, AnotherProgramsWriteIsNoticed) {
  AcDbDatabase saved;
  std::string error;
  ASSERT_TRUE(qhost::SaveDrawing(saved, path_, &error)) << error;
  auto load = qhost::LoadDrawing(path_);
  ASSERT_TRUE(load.database) << load.error;
  EXPECT_FALSE(qhost::DrawingChangedOnDisk(saved));
  EXPECT_FALSE(qhost::DrawingChangedOnDisk(*load.database));
  ASSERT_TRUE(qhost::SaveDrawing(saved, path_, &error, qhost::SaveKind::kSave)) << error;
  EXPECT_FALSE(qhost::DrawingChangedOnDisk(saved)) << "its own save is no change";
  EXPECT_TRUE(qhost::DrawingChangedOnDisk(*load.database)) << "another's save, a new file under the name";
  std::ofstream(path_, std::ios::app) << "\n";
  EXPECT_TRUE(qhost::DrawingChangedOnDisk(saved)) << "written in place";
  ASSERT_EQ(0, unlink(path_.c_str()));
  EXPECT_FALSE(qhost::DrawingChangedOnDisk(saved)) << "a file that is gone is no change to ask about";
  AcDbDatabase fresh;
  EXPECT_FALSE(qhost::DrawingChangedOnDisk(fresh));
}

TEST_F(DxfSaveToDisk, MissingFolderFailsWithTheReason) {
  AcDbDatabase db;
  std::string error;
  EXPECT_FALSE(qhost::SaveDrawing(db, dir_ + "/no/such/drawing.dxf", &error));
  EXPECT_NE(std::string::npos, error.find("No such file")) << error;
}

}  // namespace

namespace {

// --- Header values behind system variables ---------------------------------------------------

TEST(DxfSave, ChangedSystemVariablesGoBackToTheHeader) {
  AcDbDatabase db;
  std::string before = qhost::DrawingToBytes(db);
  ASSERT_EQ(Acad::eOk, db.setTextsize(5.0));
  ASSERT_EQ(Acad::eOk, db.setLuprec(2));
  std::string expected = before;
  auto replace = [&](const std::string& from, const std::string& to) {
    size_t at = expected.find(from);
    ASSERT_NE(std::string::npos, at) << from;
    expected.replace(at, from.size(), to);
  };
  replace("$TEXTSIZE\r\n 40\r\n2.5\r\n", "$TEXTSIZE\r\n 40\r\n5.0\r\n");
  replace("$LUPREC\r\n 70\r\n4\r\n", "$LUPREC\r\n 70\r\n2\r\n");
  EXPECT_BYTES_EQ(expected, qhost::DrawingToBytes(db));
}

TEST(DxfLoad, HeaderValuesBecomeTheSystemVariables) {
  std::string file = minidxf::Write({{0, "SECTION"}, {2, "HEADER"}, {9, "$ACADVER"}, {1, "AC1015"}, {9, "$TEXTSTYLE"},
                                     {7, "GOST"}, {9, "$TEXTSIZE"}, {40, "3.5"}, {9, "$TILEMODE"}, {70, "0"},
                                     {9, "$LUNITS"}, {70, "4"}, {9, "$LUPREC"}, {70, "3"}, {0, "ENDSEC"}, {0, "SECTION"},
                                     {2, "TABLES"}, {0, "TABLE"}, {2, "STYLE"}, {0, "STYLE"}, {2, "GOST"}, {0, "ENDTAB"},
                                     {0, "ENDSEC"}, {0, "EOF"}});
  auto load = qhost::LoadDrawingFromBytes(file, "t");
  ASSERT_TRUE(load.database) << load.error;
  AcDbDatabase& db = *load.database;
  AcDbTextStyleTableRecord* style = nullptr;
  ASSERT_EQ(Acad::eOk, acdbOpenObject(style, db.textstyle(), AcDb::kForRead));
  const char* name = nullptr;
  style->getName(name);
  EXPECT_STREQ("GOST", name);
  style->close();
  EXPECT_EQ(3.5, db.textsize());
  EXPECT_FALSE(db.tilemode());
  EXPECT_EQ(4, db.lunits());
  EXPECT_EQ(3, db.luprec());
  EXPECT_BYTES_EQ(file, qhost::DrawingToBytes(db));
}

}  // namespace
