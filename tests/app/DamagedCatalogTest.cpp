// The window on catalogs the host, a crash or a copy gone wrong may leave behind:
// each one either loads or gives the failure banner, never a message box, and a
// good catalog loads again afterwards.
#include "HostFolder.h"
#include "MessageBoxCatcher.h"
#include "ShownWindow.h"
#include "WindowControls.h"
#include "support/FileModesHoldForRoot.h"

#include "app/CatalogGrid.h"
#include "app/CatalogModel.h"
#include "app/Form1.h"
#include "memtable/loxMemTable.h"
#include "tools/dbfwriter/CatalogTable.h"
#include "tools/dbfwriter/DbfWriter.h"
#include "viewer/MemoEx.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <linux/capability.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <climits>
#include <functional>
#include <memory>

namespace {

namespace fs = std::filesystem;
using dbfwriter::DbfWriter;
using namespace std::string_view_literals;

// A catalog of one entry as the host writes it, to be damaged by each case.
DbfWriter OneEntryCatalog(std::uint8_t driver = 0x64) {
    DbfWriter writer(0x03, driver);
    dbfwriter::AddCatalogFields(writer);
    writer.AddRecord()
        .Text("NAZOV", "ZLY")
        .Text("POPIS", "Poskodeny")
        .Date("DATUM", 2007, 12, 5)
        .Text("CAS", "10:15")
        .Text("FILNAME", "ZLY.TXT")
        .Integer("SIRKA", 80)
        .Integer("DLZKA", 60);
    return writer;
}

// The catalog's fields with one of them of another type.
DbfWriter RetypedCatalog(const char* field, char type, int width) {
    DbfWriter writer(0x03, 0x64);
    const dbfwriter::FieldDescriptor fields[] = {
        {"NAZOV", 'C', 10},   {"POPIS", 'C', 45}, {"DATUM", 'D', 8}, {"CAS", 'C', 8},
        {"FILNAME", 'C', 12}, {"SIRKA", 'N', 5},  {"DLZKA", 'N', 5}};
    for (const auto& f : fields) {
        if (f.name == field)
            writer.AddField(f.name, type, width);
        else
            writer.AddField(f.name, f.type, f.width);
    }
    writer.AddRecord().Text("NAZOV", "INY").Text("FILNAME", "INY.TXT");
    return writer;
}

void Write(const fs::path& path, const std::string& bytes) {
    dbfwriter::WriteFile(path, bytes);
}

constexpr int kBanner = -1; // the load fails
constexpr int kEither = -2; // loading may go either way, as long as the window copes

struct DamagedCatalog {
    const char* name;
    std::function<void(const fs::path& catalog)> make;
    int rows;       // rows listed after the load, or kBanner / kEither
    int sirka = -1; // Sirka of the first entry, when it is checked
};

void PrintTo(const DamagedCatalog& damage, std::ostream* out) {
    *out << damage.name;
}

const DamagedCatalog kCases[] = {
    {"TruncatedHeader",
     [](const fs::path& p) { Write(p, OneEntryCatalog().Bytes().substr(0, 20)); }, kBanner},
    {"ZeroBytes", [](const fs::path& p) { Write(p, ""); }, kBanner},
    {"UnknownVersionByte",
     [](const fs::path& p) { Write(p, OneEntryCatalog().SetVersion(0x00).Bytes()); }, kBanner},
    // Records would start past the end: the descriptors are all there, the records are not.
    {"HeaderLengthPastTheFile",
     [](const fs::path& p) { Write(p, OneEntryCatalog().OverrideHeaderLength(60000).Bytes()); }, 0},
    {"HeaderLengthCutsTheDescriptors",
     [](const fs::path& p) { Write(p, OneEntryCatalog().OverrideHeaderLength(100).Bytes()); },
     kBanner},
    {"RecordLengthZero",
     [](const fs::path& p) { Write(p, OneEntryCatalog().OverrideRecordLength(0).Bytes()); },
     kBanner},
    {"RecordLengthHuge",
     [](const fs::path& p) { Write(p, OneEntryCatalog().OverrideRecordLength(0xFFFF).Bytes()); },
     0},
    // The fields reach past a 12-byte record: what lies beyond reads as empty.
    {"FieldsPastTheRecord",
     [](const fs::path& p) { Write(p, OneEntryCatalog().OverrideRecordLength(12).Bytes()); },
     kEither},
    {"DescriptorsRunPastTheFile",
     [](const fs::path& p) { Write(p, OneEntryCatalog().Bytes().substr(0, 32 + 32 * 3 + 10)); },
     kBanner},
    {"NoDescriptorTerminator",
     [](const fs::path& p) { Write(p, OneEntryCatalog().SetTerminator(false).Bytes()); }, kEither},
    {"CountTooBig",
     [](const fs::path& p) { Write(p, OneEntryCatalog().OverrideRecordCount(0xFFFFFFFF).Bytes()); },
     1},
    {"CountTooSmall",
     [](const fs::path& p) {
         DbfWriter writer = OneEntryCatalog();
         writer.AddRecord().Text("NAZOV", "DRUHY").Text("FILNAME", "D.TXT");
         Write(p, writer.OverrideRecordCount(0).Bytes());
     },
     2},
    {"PartialLastRecord",
     [](const fs::path& p) {
         const std::string bytes = OneEntryCatalog().SetEndOfFileMark(false).Bytes();
         Write(p, bytes.substr(0, bytes.size() - 5));
     },
     0},
    {"GarbageInNumbersAndDates",
     [](const fs::path& p) {
         DbfWriter writer = OneEntryCatalog();
         writer.Record(0)
             .Raw("SIRKA", "\x01\xFF-9*")
             .Raw("DLZKA", "1e999")
             .Raw("DATUM", "\xFF\0\xFF\0xx-19"sv);
         Write(p, writer.Bytes());
     },
     1, 0},
    {"WithoutDlzka",
     [](const fs::path& p) {
         DbfWriter writer(0x03, 0x64);
         writer.AddField("NAZOV", 'C', 10).AddField("POPIS", 'C', 45).AddField("DATUM", 'D', 8);
         writer.AddField("CAS", 'C', 8).AddField("FILNAME", 'C', 12).AddField("SIRKA", 'N', 5);
         writer.AddRecord().Text("NAZOV", "BEZ");
         Write(p, writer.Bytes());
     },
     kBanner},
    {"CatalogIsAFolder", [](const fs::path& p) { fs::create_directories(p); }, kBanner},
    {"CatalogIsAPipe", [](const fs::path& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0644), 0); }, kBanner},
    {"HugePopis",
     [](const fs::path& p) {
         DbfWriter writer(0x03, 0x64);
         writer.AddField("NAZOV", 'C', 10).AddField("POPIS", 'C', 60000).AddField("DATUM", 'D', 8);
         writer.AddField("CAS", 'C', 8).AddField("FILNAME", 'C', 12).AddField("SIRKA", 'N', 5);
         writer.AddField("DLZKA", 'N', 5);
         writer.AddRecord().Text("NAZOV", "DLHY").Text("POPIS", std::string(60000, '\xA0'));
         Write(p, writer.Bytes());
     },
     1},
    {"AllRecordsDeleted",
     [](const fs::path& p) {
         DbfWriter writer = OneEntryCatalog();
         writer.Record(0).Deleted();
         writer.AddRecord(true);
         Write(p, writer.Bytes());
     },
     0},
    {"DateFarBeyondTheCalendar",
     [](const fs::path& p) {
         DbfWriter writer = RetypedCatalog("DATUM", '@', 8);
         writer.Record(0).Timestamp("DATUM", 1e300);
         Write(p, writer.Bytes());
     },
     kBanner},
    {"DateAsText",
     [](const fs::path& p) {
         DbfWriter writer = RetypedCatalog("DATUM", 'C', 8);
         writer.Record(0).Text("DATUM", "05.12.07");
         Write(p, writer.Bytes());
     },
     kBanner},
    {"WidthAsText",
     [](const fs::path& p) {
         DbfWriter writer = RetypedCatalog("SIRKA", 'C', 5);
         writer.Record(0).Text("SIRKA", "80");
         Write(p, writer.Bytes());
     },
     1, 80},
    {"WidthPastTheIntegerRange",
     [](const fs::path& p) {
         DbfWriter writer = RetypedCatalog("SIRKA", 'N', 20);
         writer.Record(0).Integer("SIRKA", 99999999999999);
         Write(p, writer.Bytes());
     },
     1, INT_MAX},
    {"Level7WithAnUnknownDriverName",
     [](const fs::path& p) {
         DbfWriter writer(0x04);
         writer.SetLanguageDriverName("XYZ99QQ0");
         dbfwriter::AddCatalogFields(writer);
         writer.AddRecord().Text("NAZOV", "SEDEM");
         Write(p, writer.Bytes());
     },
     1},
    {"FoxPro",
     [](const fs::path& p) {
         DbfWriter writer(0x30, 0x02);
         dbfwriter::AddCatalogFields(writer);
         writer.AddRecord().Text("NAZOV", "FOX");
         Write(p, writer.Bytes());
     },
     1},
    {"UnknownDriverByte", [](const fs::path& p) { Write(p, OneEntryCatalog(0xEE).Bytes()); }, 1},
    {"WindowsDriverByte", [](const fs::path& p) { Write(p, OneEntryCatalog(0x57).Bytes()); }, 1},
    {"NoDriverByte", [](const fs::path& p) { Write(p, OneEntryCatalog(0x00).Bytes()); }, 1},
};

std::vector<CatalogEntry> GoodCatalog() {
    return {{"A-DPH", "Daň z pridanej hodnoty", {2007, 12, 20}, "08:05", "DPH.TXT", 80, 60},
            {"B-KNIHA", "Kniha jázd", {2007, 12, 1}, "12:00", "KNIHA.TXT", 136, 60},
            {"C-MZDY", "Mzdy za december", {2007, 12, 5}, "10:15", "MZDY.TXT", 80, 60}};
}

class DamagedCatalogTest : public ::testing::TestWithParam<DamagedCatalog> {
  protected:
    void Start() { ShowWindow(form_, host_); }
    void WritePrintFiles() {
        for (const char* name : {"Tla/DPH.TXT", "Tla/KNIHA.TXT", "Tla/MZDY.TXT"})
            host_.WriteFile(name, "OK\r\n");
    }
    fs::path Catalog() const { return host_.Path("Cis/ZOZTLS.DBF"); }
    void Replace(const std::function<void(const fs::path&)>& make) {
        fs::remove_all(Catalog());
        fs::create_directories(Catalog().parent_path());
        make(Catalog());
    }
    void ExpectOutcome(int rows, int sirka) {
        if (rows == kBanner) {
            EXPECT_TRUE(FailureShown(*form_));
        } else if (rows == kEither) {
            EXPECT_TRUE(FailureShown(*form_) || ListShown(*form_));

        } else {
            ASSERT_TRUE(ListShown(*form_));
            EXPECT_EQ(Controls(*form_).rows->rowCount(), rows);
            if (sirka != -1) {
                SelectEntry(*form_, 1);
                EXPECT_EQ(form_->CatalogRecords().ValueInteger(
                              form_->CatalogRecords().FieldNamed("Sirka")),
                          sirka);
            }
        }
        EXPECT_FALSE(form_->CatalogTableOpen());
        EXPECT_TRUE(boxes_.Texts().isEmpty()) << boxes_.Texts().join("; ").toStdString();
    }
    // A good catalog loads again, and its entry previews.
    void ExpectRecovery() {
        fs::remove_all(Catalog());
        host_.WriteCatalog("Cis", GoodCatalog());
        QTest::mouseClick(Controls(*form_).BRefr, Qt::LeftButton);
        ASSERT_TRUE(ListShown(*form_));
        EXPECT_EQ(Controls(*form_).rows->rowCount(), 3);
        EXPECT_TRUE(Controls(*form_).GrZozn->hasFocus());
        QTest::mouseClick(Controls(*form_).BView, Qt::LeftButton);
        EXPECT_EQ(Controls(*form_).PStrany->currentWidget(), Controls(*form_).TabView);
        EXPECT_EQ(Controls(*form_).MSubor->Lines().LineAt(0), "OK");
        EXPECT_TRUE(boxes_.Texts().isEmpty()) << boxes_.Texts().join("; ").toStdString();
    }

    HostFolder host_;
    MessageBoxCatcher boxes_;
    std::unique_ptr<TForm1> form_;
};

TEST_P(DamagedCatalogTest, AtStartAndOnReloadTheWindowCopes) {
    WritePrintFiles();
    Replace(GetParam().make);
    Start();
    ExpectOutcome(GetParam().rows, GetParam().sirka);
    ExpectRecovery();

    // The same damage met by a reload from the preview page, then a good load again.
    Replace(GetParam().make);
    QTest::mouseClick(Controls(*form_).BRefr, Qt::LeftButton);
    ExpectOutcome(GetParam().rows, GetParam().sirka);
    ExpectRecovery();
}

INSTANTIATE_TEST_SUITE_P(Catalogs, DamagedCatalogTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

class CatalogAccessTest : public DamagedCatalogTest {};

TEST_F(CatalogAccessTest, ACatalogLockedByTheHostStillLoads) {
    WritePrintFiles();
    host_.WriteCatalog("Cis", GoodCatalog());
    // The host holds the whole file locked while it rewrites it; a lock taken on a
    // separate open of the file conflicts just as another process's would.
    const int fd = ::open(Catalog().c_str(), O_RDWR);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::flock(fd, LOCK_EX | LOCK_NB), 0);
    struct flock range {};
    range.l_type = F_WRLCK;
    range.l_whence = SEEK_SET;
    ASSERT_EQ(::fcntl(fd, F_SETLK, &range), 0);
    Start();
    EXPECT_TRUE(ListShown(*form_));
    EXPECT_EQ(Controls(*form_).rows->rowCount(), 3);
    EXPECT_TRUE(boxes_.Texts().isEmpty());
    ::close(fd);
}

TEST_F(CatalogAccessTest, ASettingsTableLockedOrAPipeIsPassedOver) {
    WritePrintFiles();
    host_.WriteCatalog("Cis", GoodCatalog());
    host_.WriteCatalog("Kalk/Cis", {{"OBED", "Obedy", {2007, 12, 3}, "", "OBED.TXT", 80, 60}});
    host_.WriteSettings(host_.Path("Kalk").string());
    const int fd = ::open(host_.Path("oposcis.dbf").c_str(), O_RDWR);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::flock(fd, LOCK_EX | LOCK_NB), 0);
    Start();
    ::close(fd);
    // The meal calculations fall back to the application folder's own catalog.
    Controls(*form_).cbMesiac->setCurrentIndex(1);
    EXPECT_TRUE(ListShown(*form_));
    EXPECT_EQ(Controls(*form_).rows->rowCount(), 3);
    form_.reset();

    // A pipe has no writer: opening it must not wait for one.
    fs::remove(host_.Path("oposcis.dbf"));
    ASSERT_EQ(::mkfifo(host_.Path("oposcis.dbf").c_str(), 0644), 0);
    Start();
    Controls(*form_).cbMesiac->setCurrentIndex(1);
    EXPECT_EQ(Controls(*form_).rows->rowCount(), 3);
    EXPECT_TRUE(boxes_.Texts().isEmpty());
}

TEST_F(CatalogAccessTest, AnOddMealCalculationFolderGivesTheBannerOrAList) {
    WritePrintFiles();
    host_.WriteCatalog("Cis", GoodCatalog());
    const std::string folders[] = {
        std::string(254, '\xFF'),
        std::string(254, '\\'),
        "\\\\server\\share\\kalk\\",
        "C:\\TLAC\\KALK\\",
        host_.Path("oposcis.dbf").string(), // a file, not a folder
        "..\\..\\..\\..\\..\\..\\..\\..\\..\\",
        std::string("\x01\x02\x7F\x1A\r\n\f"),
    };
    for (const std::string& folder : folders) {
        DbfWriter settings(0x03, 0x64);
        settings.AddField("CESTAKAL", 'C', 254).AddRecord().Raw("CESTAKAL", folder);
        settings.WriteTo(host_.Path("oposcis.dbf"));
        Start();
        Controls(*form_).cbMesiac->setCurrentIndex(1);
        EXPECT_TRUE(FailureShown(*form_) || ListShown(*form_)) << folder;
        Controls(*form_).cbMesiac->setCurrentIndex(0);
        EXPECT_TRUE(ListShown(*form_)) << folder;
        EXPECT_EQ(Controls(*form_).rows->rowCount(), 3);
        EXPECT_TRUE(boxes_.Texts().isEmpty()) << folder;
    }
}

TEST_F(CatalogAccessTest, AnUnreadableCatalogGivesTheBanner) {
    WritePrintFiles();
    host_.WriteCatalog("Cis", GoodCatalog());
    fs::permissions(Catalog(), fs::perms::none);
    {
        const FileModesHoldForRoot modes;
        if (!modes.Hold()) GTEST_SKIP() << "root here cannot give up reading files of any mode";
        Start();
        EXPECT_TRUE(FailureShown(*form_));
        EXPECT_TRUE(boxes_.Texts().isEmpty());
    }
    fs::permissions(Catalog(), fs::perms::owner_read | fs::perms::owner_write);
    ExpectRecovery();
}

} // namespace
