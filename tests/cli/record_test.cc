// vynctl record end to end: the PDF as pdftotext and pdftoppm read it.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/image/image_file.h"
#include "core/reports/record/record_fixture.h"
#include "core/strings/message_ids.h"
#include "support/run_program.h"
#include "support/temp_folder.h"

namespace vyn::testing {
namespace {

namespace fs = std::filesystem;
using testing_support::ProgramRun;
using testing_support::RunProgram;

class VynctlRecordTest : public ::testing::Test {
 protected:
  VynctlRecordTest() {
    fs::create_directory(folder_.Path() / "data");
    folder_.Write("data/Values.ini",
                  TempFolder::Read(std::string(VYN_SOURCE_DIR) + "/data/Values.ini"));
    EXPECT_EQ(WriteImageFile(FullImage(), folder_.File("kunde.Rodid")), ImageWriteResult::kOk);
  }

  ProgramRun Vynctl(std::vector<std::string> args) {
    args.insert(args.begin(), testing_support::BinPath("vynctl"));
    return RunProgram(args, folder_.Path().string());
  }

  // The PDF's text, page by page, in its layout; ligatures written as their letters.
  std::vector<std::string> Pages(const std::string& pdf) {
    const ProgramRun run = RunProgram({"/usr/bin/pdftotext", "-layout", pdf, "-"});
    EXPECT_EQ(run.exit_code, 0) << run.err;
    std::string text;
    for (std::size_t i = 0; i < run.out.size(); ++i) {
      if (run.out.compare(i, 3, "\xEF\xAC\x81") == 0) {  // U+FB01 "fi"
        text += "fi";
        i += 2;
      } else {
        text += run.out[i];
      }
    }
    std::vector<std::string> pages;
    for (std::size_t start = 0, end; (end = text.find('\f', start)) != std::string::npos;
         start = end + 1) {
      pages.push_back(text.substr(start, end - start));
    }
    return pages;
  }

  TempFolder folder_;
};

// Each text appears in `page` after the one before it.
void ExpectInOrder(const std::string& page, const std::vector<std::string>& texts) {
  std::size_t at = 0;
  for (const std::string& text : texts) {
    const std::size_t found = page.find(text, at);
    ASSERT_NE(found, std::string::npos)
        << "\"" << text << "\" not after position " << at << " in:\n"
        << page;
    at = found + text.size();
  }
}

TEST_F(VynctlRecordTest, FourPagesWithTheKeyTextsInOrder) {
  const ProgramRun run =
      Vynctl({"record", "kunde.Rodid", "-o", "record.pdf", "--data-dir", "data"});
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(run.out, "record.pdf\n");
  EXPECT_EQ(run.err, "");
  const std::vector<std::string> pages = Pages(folder_.File("record.pdf"));
  ASSERT_EQ(pages.size(), 4u);
  ExpectInOrder(pages[0], {"VYN IP/GSM Programmierdaten",
                           "Teilnehmernummer 1234",
                           "VYN IP/GSM Seriennummer 123456",
                           "Dateiname kunde.Rodid",
                           "Funksender",
                           "1A2B",
                           "Benutzeralarm",
                           "AN",
                           "0C3D",
                           "Türalarm",
                           "Ruftypen",
                           "A: 0401234567",
                           "BS8521",
                           "Verklizan UMO IP",
                           "Sequenz für Alarmtypgruppen",
                           "Sequenz Definitionen",
                           "Sequenz 4:",
                           "U   ?   -   -",
                           "Max Anzahl Wählversuche",
                           "Seite 1 von 4"});
  ExpectInOrder(pages[1], {"Zeiten", "Passivalarmintervall", "50 Tage", "0 (AUS)", "5 Min",
                           "Signalisierungen", "Optisch und akustisch", "Rufparameter", "120 Sek",
                           "Datum und Zeit", "GMT -05:00", "Seite 2 von 4"});
  ExpectInOrder(pages[2],
                {"Alarmtypen", "An/Aus", "Anwender/Handsender & Batterie", "Weitere Funktionen",
                 "GSM", "PIN Code", "0012", "+491710760000", "Seite 3 von 4"});
  ExpectInOrder(pages[3], {"Ethernet", "00:1A:2B:3C:4D:5E", "pool.ntp.org", "192.168.1.50", "SIP",
                           "vyn1001", "geheim 42", "3600", "5060", "KEMB Server",
                           "service.kemb.example", "Seite 4 von 4"});

  const ProgramRun info = RunProgram({"/usr/bin/pdfinfo", folder_.File("record.pdf")});
  EXPECT_NE(info.out.find("VYN IP/GSM Programmierdaten (1234)"), std::string::npos) << info.out;
  EXPECT_NE(info.out.find("A4"), std::string::npos) << info.out;

  // Page 1 as a picture, as the screenshots show it.
  const ProgramRun png =
      RunProgram({"/usr/bin/pdftoppm", "-png", "-r", "40", "-f", "1", "-l", "1", "-singlefile",
                  folder_.File("record.pdf"), folder_.File("page1")});
  EXPECT_EQ(png.exit_code, 0) << png.err;
  EXPECT_GT(fs::file_size(folder_.File("page1.png")), 5000u);
}

TEST_F(VynctlRecordTest, OptionsReplaceTheEditorsTexts) {
  const ProgramRun run =
      Vynctl({"record", "kunde.Rodid", "-o", "record.pdf", "--data-dir", "data", "--id-number",
              "77", "--source", "aus VYN IP/GSM ausgelesen", "--copies", "2"});
  ASSERT_EQ(run.exit_code, 0) << run.err;
  const std::vector<std::string> pages = Pages(folder_.File("record.pdf"));
  ASSERT_EQ(pages.size(), 8u);
  ExpectInOrder(pages[4],
                {"Teilnehmernummer 77", "Dateiname aus VYN IP/GSM ausgelesen", "Seite 1 von 4"});
  ExpectInOrder(pages[7], {"Seite 4 von 4"});
  const ProgramRun info = RunProgram({"/usr/bin/pdfinfo", folder_.File("record.pdf")});
  EXPECT_NE(info.out.find("VYN IP/GSM Programmierdaten (77)"), std::string::npos) << info.out;
}

TEST_F(VynctlRecordTest, BadInputAndUnwritableOutputLeaveNoFile) {
  folder_.Write("short.Rodid", std::string(100, '\0'));
  folder_.Write("plain", "a file, not a folder");
  const std::string cannot_load = StringTable::Builtin().Text(msg::kCannotLoadConfiguration);
  const struct {
    std::vector<std::string> args;
    int exit_code;
    std::string err_part;
  } cases[] = {
      {{"record", "short.Rodid", "-o", "a.pdf"}, 1, cannot_load},
      {{"record", "missing.Rodid", "-o", "a.pdf"}, 1, cannot_load},
      {{"record", "kunde.Rodid", "-o", "no/such/folder/a.pdf"},
       1,
       "no/such/folder/a.pdf: cannot be written"},
      {{"record", "kunde.Rodid", "-o", "plain/a.pdf"}, 1, "cannot be written"},
      {{"record", "kunde.Rodid", "-o", "./kunde.Rodid"}, 2, "is the configuration file itself"},
      {{"record", "kunde.Rodid"}, 2, "-o OUT.pdf is missing"},
      {{"record", "-o", "a.pdf"}, 2, "usage: vynctl record FILE -o OUT.pdf"},
      {{"record", "kunde.Rodid", "-o", "a.pdf", "--copies", "0"}, 2, "--copies takes"},
      {{"record", "kunde.Rodid", "-o", "a.pdf", "--copies", "1000"}, 2, "--copies takes"},
      {{"record", "kunde.Rodid", "-o", "a.pdf", "--copies", "2x"}, 2, "--copies takes"},
      {{"record", "kunde.Rodid", "-o", "a.pdf", "--colour"}, 2, "usage:"},
  };
  // What is in the folder, but for the data folder, which the first run prepares.
  const auto listing = [this] {
    std::vector<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(folder_.Path())) {
      if (entry.path().parent_path().filename() != "data") names.push_back(entry.path().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  };
  const std::vector<std::string> before = listing();
  for (auto c : cases) {
    c.args.insert(c.args.end(), {"--data-dir", "data"});
    const ProgramRun run = Vynctl(c.args);
    EXPECT_EQ(run.exit_code, c.exit_code) << c.args[3];
    EXPECT_NE(run.err.find(c.err_part), std::string::npos) << c.args[3] << ": " << run.err;
    EXPECT_EQ(run.out, "");
  }
  EXPECT_EQ(listing(), before);
  EXPECT_EQ(TempFolder::Read(folder_.File("kunde.Rodid")).size(), 2048u);
}

TEST(VynctlRecordHelpTest, NamesTheCommandAndItsOptions) {
  const ProgramRun run = RunProgram({testing_support::BinPath("vynctl"), "--help"});
  EXPECT_NE(
      run.out.find("  record FILE -o OUT.pdf [--id-number TEXT] [--source TEXT] [--copies N]\n"),
      std::string::npos)
      << run.out;
  const ProgramRun help = RunProgram({testing_support::BinPath("vynctl"), "record", "--help"});
  EXPECT_EQ(help.exit_code, 0);
  EXPECT_NE(help.out.find("--copies N        copies, one after the other"), std::string::npos)
      << help.out;
}

}  // namespace
}  // namespace vyn::testing
