#include "core/image/image_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace vyn {
namespace {

namespace fs = std::filesystem;

std::vector<std::uint8_t> Pattern(std::size_t size) {
  std::vector<std::uint8_t> bytes(size);
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>(i % 251 + 1);
  return bytes;
}

void WriteBytes(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::uint8_t> ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

class ImageFileTest : public testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::path(testing::TempDir()) /
           ("image_file_" + std::to_string(getpid()) + "_" +
            std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override {
    std::error_code error;
    fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add, error);
    fs::remove_all(dir_, error);
  }
  std::vector<fs::path> Entries() const {
    std::vector<fs::path> entries;
    for (const auto& entry : fs::directory_iterator(dir_)) entries.push_back(entry.path());
    return entries;
  }

  fs::path dir_;
};

TEST_F(ImageFileTest, AcceptsExactlyTheFullAndTheShortLayout) {
  const struct {
    std::size_t size;
    ImageFileResult result;
    bool short_layout;
  } cases[] = {
      {0, ImageFileResult::kWrongSize, false},    {511, ImageFileResult::kWrongSize, false},
      {512, ImageFileResult::kOk, true},          {513, ImageFileResult::kWrongSize, false},
      {1000, ImageFileResult::kWrongSize, false}, {2048, ImageFileResult::kOk, false},
      {2049, ImageFileResult::kWrongSize, false},
  };
  for (const auto& c : cases) {
    const fs::path path = dir_ / ("size" + std::to_string(c.size));
    const std::vector<std::uint8_t> bytes = Pattern(c.size);
    WriteBytes(path, bytes);
    ParameterImage image;
    image.fill(0x77);
    bool short_layout = !c.short_layout;
    EXPECT_EQ(ReadImageFile(path.string(), image, short_layout), c.result) << c.size;
    EXPECT_EQ(short_layout, c.short_layout) << c.size;
    // What was read, then 0 to the end of the image.
    const std::size_t read = std::min(c.size, kImageSize);
    EXPECT_TRUE(std::equal(bytes.begin(), bytes.begin() + read, image.begin())) << c.size;
    EXPECT_TRUE(std::all_of(image.begin() + read, image.end(), [](std::uint8_t b) {
      return b == 0;
    })) << c.size;
  }
}

TEST_F(ImageFileTest, AFileThatCannotBeOpenedLeavesTheImageAsItWas) {
  ParameterImage image;
  image.fill(0x77);
  bool short_layout = true;
  EXPECT_EQ(ReadImageFile((dir_ / "missing").string(), image, short_layout),
            ImageFileResult::kCannotOpen);
  EXPECT_TRUE(std::all_of(image.begin(), image.end(), [](std::uint8_t b) { return b == 0x77; }));
  EXPECT_TRUE(short_layout);
}

TEST_F(ImageFileTest, ShortLayoutTravelsWithEachImage) {
  WriteBytes(dir_ / "old", Pattern(512));
  WriteBytes(dir_ / "new", Pattern(2048));
  VynData editor, wizard;
  ASSERT_EQ(ReadImageFile((dir_ / "old").string(), editor), ImageFileResult::kOk);
  ASSERT_EQ(ReadImageFile((dir_ / "new").string(), wizard), ImageFileResult::kOk);
  EXPECT_TRUE(editor.ShortLayout);
  EXPECT_FALSE(wizard.ShortLayout);
  // An image from the unit replaces the short-layout one: its slots hold pool indexes.
  editor.MarkReadFromUnit();
  EXPECT_FALSE(editor.ShortLayout);
  EXPECT_EQ(editor.Origin, ImageOrigin::ReadFromUnit);
}

TEST_F(ImageFileTest, WritesAllBytesAndReadsThemBack) {
  ParameterImage image;
  const std::vector<std::uint8_t> bytes = Pattern(kImageSize);
  std::copy(bytes.begin(), bytes.end(), image.begin());
  const fs::path path = dir_ / "a.Rodid";
  WriteBytes(path, std::vector<std::uint8_t>(100, 0xEE));  // replaced entirely
  ASSERT_EQ(WriteImageFile(image, path.string()), ImageWriteResult::kOk);
  EXPECT_EQ(ReadBytes(path), bytes);
  EXPECT_EQ(Entries(), std::vector<fs::path>{path});  // no temporary file left behind
}

TEST_F(ImageFileTest, NewFilesFollowTheUmaskAndExistingFilesKeepTheirMode) {
  const mode_t old_mask = umask(022);
  const ParameterImage image{};
  const fs::path created = dir_ / "new.Rodid";
  EXPECT_EQ(WriteImageFile(image, created.string()), ImageWriteResult::kOk);
  struct stat info {};
  ASSERT_EQ(stat(created.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0644u);

  const fs::path existing = dir_ / "private.Rodid";
  WriteBytes(existing, Pattern(2048));
  chmod(existing.c_str(), 0600);
  EXPECT_EQ(WriteImageFile(image, existing.string()), ImageWriteResult::kOk);
  ASSERT_EQ(stat(existing.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0600u);
  umask(old_mask);
}

TEST_F(ImageFileTest, AFailedSaveLeavesWhatWasThere) {
  const ParameterImage image{};
  // The target is a folder: nothing can replace it, and nothing is left beside it.
  const fs::path folder = dir_ / "folder.Rodid";
  fs::create_directory(folder);
  WriteBytes(folder / "inside", Pattern(10));
  EXPECT_EQ(WriteImageFile(image, folder.string()), ImageWriteResult::kNotAFile);
  EXPECT_TRUE(fs::is_directory(folder));
  EXPECT_EQ(ReadBytes(folder / "inside"), Pattern(10));
  EXPECT_EQ(Entries(), std::vector<fs::path>{folder});

  EXPECT_EQ(WriteImageFile(image, (dir_ / "no" / "such" / "folder").string()),
            ImageWriteResult::kCannotCreate);
}

TEST_F(ImageFileTest, AReadOnlyFolderKeepsTheOldFile) {
  if (geteuid() == 0) GTEST_SKIP() << "the superuser writes into read-only folders";
  const fs::path path = dir_ / "kept.Rodid";
  WriteBytes(path, Pattern(2048));
  fs::permissions(dir_, fs::perms::owner_read | fs::perms::owner_exec);
  EXPECT_EQ(WriteImageFile(ParameterImage{}, path.string()), ImageWriteResult::kCannotCreate);
  EXPECT_EQ(ReadBytes(path), Pattern(2048));
}

// A FIFO would block a read for ever; folders and FIFOs are refused at once, and every refusal
// names its cause.
TEST_F(ImageFileTest, OnlyRegularFilesAreReadAndEachRefusalNamesItsCause) {
  const fs::path fifo = dir_ / "pipe.Rodid";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  WriteBytes(dir_ / "short.Rodid", Pattern(100));
  struct Case {
    fs::path path;
    ImageFileResult result;
    std::string problem;
  };
  const Case cases[] = {
      {fifo, ImageFileResult::kNotAFile, "not a regular file (a FIFO, device or socket)"},
      {dir_, ImageFileResult::kNotAFile, "a folder, not a file"},
      {dir_ / "missing", ImageFileResult::kCannotOpen, "not found"},
      {dir_ / "short.Rodid", ImageFileResult::kWrongSize, "100 bytes, not 2048 or 512"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path.string());
    ParameterImage image{};
    bool short_layout = false;
    const ImageFileResult result = ReadImageFile(c.path.string(), image, short_layout);
    EXPECT_EQ(result, c.result);
    EXPECT_EQ(ImageFileProblem(c.path.string(), result), c.problem);
  }
}

// Writing through a symlink replaces the file it points to (in that file's folder) and keeps
// the link; a FIFO or folder is never replaced by a file.
TEST_F(ImageFileTest, WritesThroughSymlinksAndRefusesWhatIsNotAFile) {
  const fs::path real_folder = dir_ / "real";
  fs::create_directory(real_folder);
  WriteBytes(real_folder / "target.Rodid", Pattern(10));
  fs::create_symlink(real_folder / "target.Rodid", dir_ / "link.Rodid");
  fs::create_symlink("real/missing.Rodid", dir_ / "dangling.Rodid");
  ParameterImage image{};
  image[5] = 0x42;
  ASSERT_EQ(WriteImageFile(image, (dir_ / "link.Rodid").string()), ImageWriteResult::kOk);
  EXPECT_TRUE(fs::is_symlink(dir_ / "link.Rodid"));
  EXPECT_EQ(ReadBytes(real_folder / "target.Rodid").size(), kImageSize);
  EXPECT_EQ(ReadBytes(real_folder / "target.Rodid")[5], 0x42);
  ASSERT_EQ(WriteImageFile(image, (dir_ / "dangling.Rodid").string()), ImageWriteResult::kOk);
  EXPECT_TRUE(fs::is_symlink(dir_ / "dangling.Rodid"));
  EXPECT_EQ(ReadBytes(real_folder / "missing.Rodid").size(), kImageSize);

  const fs::path fifo = dir_ / "pipe.Rodid";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  std::error_code cause;
  EXPECT_EQ(WriteImageFile(image, fifo.string(), &cause), ImageWriteResult::kNotAFile);
  EXPECT_TRUE(fs::is_fifo(fifo));
  fs::create_symlink(fifo, dir_ / "to-fifo.Rodid");
  EXPECT_EQ(WriteImageFile(image, (dir_ / "to-fifo.Rodid").string()), ImageWriteResult::kNotAFile);
  EXPECT_TRUE(fs::is_fifo(fifo));
}

// The temporary name does not grow with the target's: a name of 255 characters, the most the
// file system allows, is written.
TEST_F(ImageFileTest, WritesFilesWithTheLongestNames) {
  for (const std::size_t length : {236u, 255u}) {
    const fs::path path = dir_ / (std::string(length - 6, 'n') + ".Rodid");
    EXPECT_EQ(WriteImageFile(ParameterImage{}, path.string()), ImageWriteResult::kOk) << length;
    EXPECT_EQ(ReadBytes(path).size(), kImageSize);
  }
  EXPECT_EQ(Entries().size(), 2u);
}

TEST(VynDataTest, RangeMatchesComparesWorkingAndDeviceImageInclusively) {
  VynData data;
  data.DeviceImage[0x100] = 1;
  EXPECT_TRUE(data.RangeMatches(0x000, 0x0FF));
  EXPECT_TRUE(data.RangeMatches(0x101, 0x7FF));
  EXPECT_FALSE(data.RangeMatches(0x0FF, 0x100));
  EXPECT_FALSE(data.RangeMatches(0x100, 0x100));
  // Ranges outside the image never match.
  EXPECT_FALSE(data.RangeMatches(-1, 5));
  EXPECT_FALSE(data.RangeMatches(0x7FF, 0x800));
  EXPECT_FALSE(data.RangeMatches(6, 5));
}

}  // namespace
}  // namespace vyn
