// Choosing the kind, filing a capture, the clear command's work on the store, the .wmf header.
#include "store/capture.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "../support/memory_file_system.h"
#include "store/clear_store.h"
#include "store/placeable_metafile.h"

namespace tessera {
namespace {

using testing::MemoryFileSystem;

class FakeFormats : public ClipboardFormats {
public:
    FakeFormats(std::initializer_list<unsigned> formats) : available(formats) {}
    bool IsAvailable(unsigned format) const override { return available.count(format) != 0; }
    std::set<unsigned> available;
};

// Hands out one file content per kind read; `status` says what the clipboard gave.
class RecordingWriter : public ClipWriter {
public:
    ClipFileContent Read(ClipKind kind) override {
        read.push_back(kind);
        return {status, "content of kind " + std::to_string(static_cast<int>(kind))};
    }
    std::vector<ClipKind> read;
    ClipFileContent::Status status = ClipFileContent::Status::Ready;
};

const std::string kStore = "C:\\Tessera\\Clipboard";

CaptureRequest Request(std::string textPrefix = "Texte") { return CaptureRequest{kStore, std::move(textPrefix)}; }

// A store folder that exists, empty.
struct Store : MemoryFileSystem {
    Store() { folders = {kStore}; }
};

TEST(ClipKind, FollowsTheOrderTextImageClipartSuperClipart) {
    EXPECT_EQ(ChooseClipKind(FakeFormats{kFormatText, kFormatBitmap, kFormatMetafilePict, kFormatEnhMetafile}),
              ClipKind::Text);
    EXPECT_EQ(ChooseClipKind(FakeFormats{kFormatOemText, kFormatBitmap}), ClipKind::Text);
    EXPECT_EQ(ChooseClipKind(FakeFormats{kFormatBitmap, kFormatMetafilePict, kFormatEnhMetafile}), ClipKind::Image);
    EXPECT_EQ(ChooseClipKind(FakeFormats{kFormatMetafilePict, kFormatEnhMetafile}), ClipKind::Clipart);
    EXPECT_EQ(ChooseClipKind(FakeFormats{kFormatEnhMetafile}), ClipKind::SuperClipart);
    EXPECT_EQ(ChooseClipKind(FakeFormats{13, 8, 49161}), std::nullopt);  // unicode text, a DIB, a private format
}

TEST(Capture, FillsRowZeroFirstThenAppendsEachKindInItsFile) {
    ClipIndex index;
    RecordingWriter writer;
    Store fs;
    EXPECT_EQ(CaptureClipboard(Request(), FakeFormats{kFormatBitmap}, index, writer, fs), "Image_001");
    EXPECT_EQ(index.RowCount(), 1);
    EXPECT_EQ(index.GetCell(0, 0), "Image_001");
    EXPECT_EQ(index.GetCell(1, 0), "Image_001.bmp");

    EXPECT_EQ(CaptureClipboard(Request(), FakeFormats{kFormatText, kFormatBitmap}, index, writer, fs), "Texte_001");
    EXPECT_EQ(CaptureClipboard(Request(), FakeFormats{kFormatMetafilePict}, index, writer, fs), "Clipart_001");
    EXPECT_EQ(CaptureClipboard(Request(), FakeFormats{kFormatEnhMetafile}, index, writer, fs), "SuperClipart_001");
    EXPECT_EQ(CaptureClipboard(Request(), FakeFormats{kFormatBitmap}, index, writer, fs), "Image_002");
    EXPECT_EQ(CaptureClipboard(Request("Text"), FakeFormats{kFormatOemText}, index, writer, fs), "Text_001");

    EXPECT_EQ(index.RowCount(), 6);
    EXPECT_EQ(index.GetCell(1, 1), "Texte_001.txt");
    EXPECT_EQ(index.GetCell(1, 2), "Clipart_001.wmf");
    EXPECT_EQ(index.GetCell(1, 3), "SuperClipart_001.emf");
    EXPECT_EQ(index.GetCell(0, 5), "Text_001");
    EXPECT_EQ(fs.files.at(kStore + "\\Image_001.bmp"), "content of kind 1");
    EXPECT_EQ(fs.files.at(kStore + "\\Texte_001.txt"), "content of kind 0");
    EXPECT_EQ(fs.files.at(kStore + "\\SuperClipart_001.emf"), "content of kind 3");
}

// Seen by users: numbering looked only at the rows the list showed, so after a crash, a file
// deleted by hand or an emptied list, a capture overwrote an item's file and two rows named it.
TEST(Capture, NeverTakesANameThatARowOrAFileOfTheStoreHas) {
    ClipIndex index;
    index.AppendItem("Texte_001", "Texte_001.txt");
    index.AppendItem("Texte_003", "Texte_003.txt");  // its file was deleted by hand
    Store fs;
    fs.files = {{kStore + "\\Texte_001.txt", "first"},
                {kStore + "\\Texte_004.txt", "captured before a crash"},
                {kStore + "\\Texte_005.txt", "captured before a crash"}};
    RecordingWriter writer;
    EXPECT_EQ(CaptureClipboard(Request(), FakeFormats{kFormatText}, index, writer, fs), "Texte_006");
    EXPECT_EQ(fs.files.at(kStore + "\\Texte_001.txt"), "first");
    EXPECT_EQ(fs.files.at(kStore + "\\Texte_004.txt"), "captured before a crash");
    EXPECT_EQ(fs.files.at(kStore + "\\Texte_006.txt"), "content of kind 0");
    EXPECT_EQ(writer.read.size(), 1u);  // the clipboard is read once, whatever the names tried

    // A format gone in the meantime still makes its row, under a name no file has.
    writer.status = ClipFileContent::Status::FormatGone;
    fs.files[kStore + "\\Texte_007.txt"] = "captured before a crash";
    EXPECT_EQ(CaptureClipboard(Request(), FakeFormats{kFormatText}, index, writer, fs), "Texte_008");
    EXPECT_EQ(fs.files.count(kStore + "\\Texte_008.txt"), 0u);
    EXPECT_EQ(index.RowCount(), 4);
}

TEST(Capture, MakesNothingWithoutAFormatOrASafeName) {
    ClipIndex index;
    RecordingWriter writer;
    Store fs;
    EXPECT_EQ(CaptureClipboard(Request(), FakeFormats{49161}, index, writer, fs), std::nullopt);
    // A translated word for text that would make a path is no file name.
    EXPECT_EQ(CaptureClipboard(Request("..\\..\\Windows\\x"), FakeFormats{kFormatText}, index, writer, fs),
              std::nullopt);
    EXPECT_TRUE(fs.files.empty());
    EXPECT_TRUE(index.IsEmpty());
}

TEST(Capture, AFileThatCannotBeMadeIsReportedWithTheIndexUnchanged) {
    ClipIndex index;
    index.AppendItem("Image_001", "Image_001.bmp");
    RecordingWriter writer;
    Store fs;
    fs.refuseWrites = true;
    EXPECT_THROW(CaptureClipboard(Request(), FakeFormats{kFormatBitmap}, index, writer, fs), std::runtime_error);
    fs.refuseWrites = false;
    writer.status = ClipFileContent::Status::Unreadable;
    EXPECT_THROW(CaptureClipboard(Request(), FakeFormats{kFormatBitmap}, index, writer, fs), std::runtime_error);
    EXPECT_EQ(index.RowCount(), 1);
    EXPECT_EQ(index.GetCell(1, 0), "Image_001.bmp");
    EXPECT_TRUE(fs.files.empty());
}

// A hostile index file claiming 2^31 - 1 rows made every capture fail with "clip index full".
TEST(Capture, StillFilesIntoAnIndexThatClaimsTheMostRows) {
    ClipIndex index;
    index.SetRowCount(INT_MAX);
    index.SetCell(1, 5, "Image_001.bmp");
    RecordingWriter writer;
    Store fs;
    EXPECT_EQ(CaptureClipboard(Request(), FakeFormats{kFormatBitmap}, index, writer, fs), "Image_002");
    // The rows that named nothing are gone, as the chooser's next showing would drop them.
    EXPECT_EQ(index.RowCount(), 2);
    EXPECT_EQ(index.GetCell(1, 1), "Image_002.bmp");
}

// Seen by users: clear deleted only the files of the rows the list showed, said the store was
// empty, and the surviving items came back at the next start.
TEST(ClearStore, DeletesEveryRowsFileAndEveryPlainFileButNothingOutside) {
    MemoryFileSystem fs;
    fs.folders = {kStore};
    fs.files = {{kStore + "\\Image_001.bmp", "b"}, {kStore + "\\Texte_001.txt", "t"},
                {kStore + "\\Other.txt", "o"},     {kStore + "\\Unlisted.bmp", "u"},
                {"C:\\boot.ini", "decoy"},         {"C:\\Tessera\\Tessera.FIC", "index"}};
    ClipIndex index;
    for (const char* name : {"Image_001.bmp", "..\\..\\boot.ini", "..\\Tessera.FIC", "C:\\boot.ini", "Texte_001.txt",
                             "" /* a lost name */, "CON", "Other.txt"})
        index.AppendItem("x", name);
    index.SetRowCount(3);  // a header that claims fewer rows than the folder holds files

    EXPECT_TRUE(ClearStore(fs, kStore, index).empty());

    EXPECT_EQ(fs.files.size(), 2u);
    EXPECT_EQ(fs.files.count("C:\\boot.ini"), 1u);
    EXPECT_EQ(fs.files.count("C:\\Tessera\\Tessera.FIC"), 1u);
    EXPECT_TRUE(index.IsEmpty());
    EXPECT_EQ(index.GetCell(0, 0), "");
}

class UndeletableFiles : public MemoryFileSystem {
public:
    std::set<std::string> heldOpen;
    bool RemoveFile(const std::string& path) override {
        return heldOpen.count(path) ? false : MemoryFileSystem::RemoveFile(path);
    }
};

TEST(ClearStore, NamesTheFilesItCouldNotDeleteAndKeepsThemAsItems) {
    UndeletableFiles fs;
    fs.folders = {kStore};
    fs.files = {
        {kStore + "\\Image_001.bmp", "b"}, {kStore + "\\Texte_002.txt", "t"}, {kStore + "\\Texte_001.txt", "t"}};
    fs.heldOpen = {kStore + "\\Texte_002.txt", kStore + "\\Image_001.bmp"};
    ClipIndex index;
    index.AppendItem("renamed", "Texte_002.txt");
    index.AppendItem("Texte_001", "Texte_001.txt");

    EXPECT_EQ(ClearStore(fs, kStore, index),
              (std::vector<std::string>{kStore + "\\Image_001.bmp", kStore + "\\Texte_002.txt"}));
    EXPECT_EQ(index.RowCount(), 2);
    EXPECT_EQ(index.GetCell(1, 0), "Image_001.bmp");
    EXPECT_EQ(index.GetCell(0, 1), "Texte_002");
}

TEST(ClearStore, WithoutTheFolderClearsTheIndexAndTouchesNoFile) {
    MemoryFileSystem fs;
    fs.files = {{kStore + "\\Image_001.bmp", "b"}};
    ClipIndex index;
    index.AppendItem("Image_001", "Image_001.bmp");
    index.AppendItem("Image_002", "Image_002.bmp");
    EXPECT_TRUE(ClearStore(fs, kStore, index).empty());
    EXPECT_EQ(fs.files.size(), 1u);
    EXPECT_TRUE(index.IsEmpty());
    EXPECT_EQ(index.RowCount(), 1);
}

std::uint16_t Word(const std::string& bytes, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[at]) | static_cast<unsigned char>(bytes[at + 1])
                                                                                  << 8);
}

TEST(PlaceableMetafile, HeaderHoldsKeyBoxUnitsAndChecksum) {
    const std::string header = PlaceableMetafileHeader(5080, 2540);  // 2 inches by 1
    ASSERT_EQ(header.size(), kPlaceableHeaderSize);
    EXPECT_EQ(Word(header, 0), 0xCDD7);
    EXPECT_EQ(Word(header, 2), 0x9AC6);
    EXPECT_EQ(Word(header, 6), 0);      // left
    EXPECT_EQ(Word(header, 8), 0);      // top
    EXPECT_EQ(Word(header, 10), 5080);  // right
    EXPECT_EQ(Word(header, 12), 2540);  // bottom
    EXPECT_EQ(Word(header, 14), 2540);  // units per inch
    std::uint16_t checksum = 0;
    for (std::size_t at = 0; at < 20; at += 2) checksum ^= Word(header, at);
    EXPECT_EQ(Word(header, 20), checksum);
}

TEST(PlaceableMetafile, BoxFitsSixteenBitsAndKeepsThePhysicalSize) {
    // A metre-wide picture: coarser units, same inches.
    const std::string wide = PlaceableMetafileHeader(100000, 50000);
    const double inches = static_cast<double>(Word(wide, 10)) / Word(wide, 14);
    EXPECT_LE(Word(wide, 10), 32767);
    EXPECT_NEAR(inches, 100000 / 2540.0, 0.5);
    EXPECT_NEAR(static_cast<double>(Word(wide, 12)) / Word(wide, 14), 50000 / 2540.0, 0.5);

    // A suggested size (negative) is a size; no size at all gives a picture of an inch.
    const std::string suggested = PlaceableMetafileHeader(-5080, -2540);
    EXPECT_EQ(Word(suggested, 10), 5080);
    EXPECT_EQ(Word(suggested, 12), 2540);
    const std::string none = PlaceableMetafileHeader(0, 0);
    EXPECT_EQ(Word(none, 10), Word(none, 14));
    EXPECT_LE(Word(PlaceableMetafileHeader(INT32_MIN, INT32_MAX), 10), 32767);
}

}  // namespace
}  // namespace tessera
