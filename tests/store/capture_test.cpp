// Choosing the kind, filing a capture, the clear command's work on the store, the .wmf header.
#include "store/capture.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

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

// Records what it was asked to write; throws when told to, as a writer that cannot create its file.
class RecordingWriter : public ClipWriter {
public:
    void Write(ClipKind kind, const std::string& path) override {
        if (fail) throw std::runtime_error("Impossible de créer le fichier " + path);
        written.push_back({kind, path});
    }
    struct Call {
        ClipKind kind;
        std::string path;
    };
    std::vector<Call> written;
    bool fail = false;
};

const std::string kStore = "C:\\Tessera\\Clipboard";

CaptureRequest Request(int itemCount, std::string textPrefix = "Texte") {
    return CaptureRequest{false, true, kStore, std::move(textPrefix), itemCount};
}

TEST(ClipKind, FollowsTheOrderTextImageClipartSuperClipart) {
    EXPECT_EQ(ChooseClipKind(FakeFormats{kFormatText, kFormatBitmap, kFormatMetafilePict, kFormatEnhMetafile}),
              ClipKind::Text);
    EXPECT_EQ(ChooseClipKind(FakeFormats{kFormatOemText, kFormatBitmap}), ClipKind::Text);
    EXPECT_EQ(ChooseClipKind(FakeFormats{kFormatBitmap, kFormatMetafilePict, kFormatEnhMetafile}), ClipKind::Image);
    EXPECT_EQ(ChooseClipKind(FakeFormats{kFormatMetafilePict, kFormatEnhMetafile}), ClipKind::Clipart);
    EXPECT_EQ(ChooseClipKind(FakeFormats{kFormatEnhMetafile}), ClipKind::SuperClipart);
    EXPECT_EQ(ChooseClipKind(FakeFormats{13, 8, 49161}), std::nullopt);  // unicode text, a DIB, a private format
}

TEST(Capture, FillsRowZeroFirstThenAppends) {
    ClipIndex index;
    RecordingWriter writer;
    EXPECT_EQ(CaptureClipboard(Request(0), FakeFormats{kFormatBitmap}, index, writer), "Image_001");
    EXPECT_EQ(index.RowCount(), 1);
    EXPECT_EQ(index.GetCell(0, 0), "Image_001");
    EXPECT_EQ(index.GetCell(1, 0), "Image_001.bmp");

    EXPECT_EQ(CaptureClipboard(Request(1), FakeFormats{kFormatText, kFormatBitmap}, index, writer), "Texte_001");
    EXPECT_EQ(CaptureClipboard(Request(2), FakeFormats{kFormatMetafilePict}, index, writer), "Clipart_001");
    EXPECT_EQ(CaptureClipboard(Request(3), FakeFormats{kFormatEnhMetafile}, index, writer), "SuperClipart_001");
    EXPECT_EQ(CaptureClipboard(Request(4), FakeFormats{kFormatBitmap}, index, writer), "Image_002");
    EXPECT_EQ(CaptureClipboard(Request(5, "Text"), FakeFormats{kFormatOemText}, index, writer), "Text_001");

    EXPECT_EQ(index.RowCount(), 6);
    EXPECT_EQ(index.GetCell(1, 1), "Texte_001.txt");
    EXPECT_EQ(index.GetCell(1, 2), "Clipart_001.wmf");
    EXPECT_EQ(index.GetCell(1, 3), "SuperClipart_001.emf");
    EXPECT_EQ(index.GetCell(0, 5), "Text_001");
    ASSERT_EQ(writer.written.size(), 6u);
    EXPECT_EQ(writer.written[0].kind, ClipKind::Image);
    EXPECT_EQ(writer.written[0].path, kStore + "\\Image_001.bmp");
    EXPECT_EQ(writer.written[1].kind, ClipKind::Text);
    EXPECT_EQ(writer.written[3].path, kStore + "\\SuperClipart_001.emf");
}

TEST(Capture, MakesNothingWhenSuppressedWithoutFolderOrFormatOrSafeName) {
    ClipIndex index;
    RecordingWriter writer;
    CaptureRequest suppressed = Request(0);
    suppressed.captureSuppressed = true;
    CaptureRequest noFolder = Request(0);
    noFolder.storeExists = false;
    EXPECT_EQ(CaptureClipboard(suppressed, FakeFormats{kFormatText}, index, writer), std::nullopt);
    EXPECT_EQ(CaptureClipboard(noFolder, FakeFormats{kFormatText}, index, writer), std::nullopt);
    EXPECT_EQ(CaptureClipboard(Request(0), FakeFormats{49161}, index, writer), std::nullopt);
    // A translated word for text that would make a path is no file name.
    EXPECT_EQ(CaptureClipboard(Request(0, "..\\..\\Windows\\x"), FakeFormats{kFormatText}, index, writer),
              std::nullopt);
    EXPECT_TRUE(writer.written.empty());
    EXPECT_TRUE(index.IsEmpty());
}

TEST(Capture, AWriterThatThrowsLeavesTheIndexAlone) {
    ClipIndex index;
    index.AppendItem("Image_001", "Image_001.bmp");
    RecordingWriter writer;
    writer.fail = true;
    EXPECT_THROW(CaptureClipboard(Request(1), FakeFormats{kFormatBitmap}, index, writer), std::runtime_error);
    EXPECT_EQ(index.RowCount(), 1);
    EXPECT_EQ(index.GetCell(1, 0), "Image_001.bmp");
}

TEST(ClearStore, DeletesOnlyTheListedSafeFilesAndLeavesOneEmptyRow) {
    MemoryFileSystem fs;
    fs.folders = {kStore};
    fs.files = {{kStore + "\\Image_001.bmp", "b"}, {kStore + "\\Texte_001.txt", "t"}, {kStore + "\\Other.txt", "o"},
                {kStore + "\\Unlisted.bmp", "u"}, {"C:\\boot.ini", "decoy"}, {"C:\\Tessera\\Tessera.FIC", "index"}};
    ClipIndex index;
    for (const char* name : {"Image_001.bmp", "..\\..\\boot.ini", "..\\Tessera.FIC", "C:\\boot.ini", "Texte_001.txt",
                             "" /* a lost name */, "CON", "Other.txt"})
        index.AppendItem("x", name);

    ClearStore(fs, kStore, index, 7);  // the last row is not listed

    EXPECT_EQ(fs.files.count(kStore + "\\Image_001.bmp"), 0u);
    EXPECT_EQ(fs.files.count(kStore + "\\Texte_001.txt"), 0u);
    EXPECT_EQ(fs.files.count(kStore + "\\Other.txt"), 1u);
    EXPECT_EQ(fs.files.count(kStore + "\\Unlisted.bmp"), 1u);
    EXPECT_EQ(fs.files.count("C:\\boot.ini"), 1u);
    EXPECT_EQ(fs.files.count("C:\\Tessera\\Tessera.FIC"), 1u);
    EXPECT_TRUE(index.IsEmpty());
    EXPECT_EQ(index.RowCount(), 1);
    EXPECT_EQ(index.GetCell(0, 0), "");
}

TEST(ClearStore, WithoutTheFolderClearsTheIndexAndTouchesNoFile) {
    MemoryFileSystem fs;
    fs.files = {{kStore + "\\Image_001.bmp", "b"}};
    ClipIndex index;
    index.AppendItem("Image_001", "Image_001.bmp");
    index.AppendItem("Image_002", "Image_002.bmp");
    ClearStore(fs, kStore, index, 2);
    EXPECT_EQ(fs.files.size(), 1u);
    EXPECT_TRUE(index.IsEmpty());
    EXPECT_EQ(index.RowCount(), 1);
}

std::uint16_t Word(const std::string& bytes, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[at]) |
                                      static_cast<unsigned char>(bytes[at + 1]) << 8);
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
