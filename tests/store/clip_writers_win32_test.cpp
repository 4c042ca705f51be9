// The capture writers against the real clipboard, GDI and the rich-edit control.
#include "store/clip_writers_win32.h"

#include <gtest/gtest.h>
#include <richedit.h>
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <functional>
#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "store/capture.h"
#include "store/clip_formats_win32.h"
#include "store/disk_file_system.h"
#include "win/clipboard.h"
#include "win/rich_edit.h"
#include "win/unique_handle.h"

namespace tessera {
namespace {

HGLOBAL Block(const void* data, std::size_t size) {
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, size);
    std::memcpy(::GlobalLock(block), data, size);
    ::GlobalUnlock(block);
    return block;
}

HGLOBAL TextBlock(const std::string& text) { return Block(text.c_str(), text.size() + 1); }

std::optional<std::string> ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// The file content a writer made, or nothing when it made none.
std::optional<std::string> Made(const ClipFileContent& content) {
    if (content.status != ClipFileContent::Status::Ready) return std::nullopt;
    return content.bytes;
}

bool Exists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

template <typename T>
T At(const std::string& bytes, std::size_t offset) {
    T value{};
    std::memcpy(&value, bytes.data() + offset, sizeof value);
    return value;
}

// The RTF turns bold on somewhere ("\b" not followed by more letters of a longer word).
bool HasBold(const std::string& rtf) { return std::regex_search(rtf, std::regex(R"(\\b(?![a-z]))")); }

std::string WithoutCarriageReturns(std::string text) {
    std::erase(text, '\r');
    return text;
}

// A folder of its own under the temporary folder, and a window that owns what the tests put on
// the clipboard.
class ClipWriters : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(win::LoadRichEdit());
        char temp[MAX_PATH];
        ::GetTempPathA(MAX_PATH, temp);
        store_ = std::string(temp) + "tessera-capture-" + std::to_string(::GetCurrentProcessId());
        ::CreateDirectoryA(store_.c_str(), nullptr);
        owner_.reset(
            ::CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr));
        ASSERT_TRUE(owner_);
    }

    void TearDown() override {
        WIN32_FIND_DATAA found{};
        win::unique_hfind find(::FindFirstFileA((store_ + "\\*").c_str(), &found));
        if (find) {
            do ::DeleteFileA((store_ + "\\" + found.cFileName).c_str());
            while (::FindNextFileA(find.get(), &found));
        }
        find.reset();
        ::RemoveDirectoryA(store_.c_str());
        win::EmptySystemClipboard(owner_.get());
    }

    static HWND NewRichEdit() {
        HWND edit = ::CreateWindowExW(0, RICHEDIT_CLASSW, L"", ES_MULTILINE, 0, 0, 100, 100, nullptr, nullptr, nullptr,
                                      nullptr);
        ::SendMessageW(edit, EM_EXLIMITTEXT, 0, 0x7FFFFFFE);
        ::SendMessageW(edit, EM_SETTARGETDEVICE, 0, 1);  // no wrapping: quicker with long texts
        return edit;
    }

    // Replaces the clipboard's content with what `fill` puts there.
    void Put(const std::function<void()>& fill) {
        win::ClipboardScope open(owner_.get());
        ::EmptyClipboard();
        fill();
    }

    std::string Path(const std::string& name) const { return store_ + "\\" + name; }

    // The text a rich-edit control shows after reading `rtf` in.
    static std::string ReadBackRtf(const std::string& rtf) {
        win::unique_hwnd edit(NewRichEdit());
        win::StreamInRtf(edit.get(), rtf);
        std::string text(static_cast<std::size_t>(::GetWindowTextLengthA(edit.get())) + 1, '\0');
        text.resize(static_cast<std::size_t>(::GetWindowTextA(edit.get(), text.data(), static_cast<int>(text.size()))));
        return WithoutCarriageReturns(text);
    }

    std::string store_;
    win::unique_hwnd owner_;
};

TEST_F(ClipWriters, TextIsSavedAsRtfThatReadsBackToTheSameText) {
    Put([] { ::SetClipboardData(CF_TEXT, TextBlock("Bonjour\r\nle monde {1} \\ fin")); });
    const std::optional<std::string> rtf = Made(SaveTextClip(owner_.get()));
    ASSERT_TRUE(rtf);
    EXPECT_EQ(rtf->rfind("{\\rtf", 0), 0u);
    EXPECT_EQ(ReadBackRtf(*rtf), "Bonjour\nle monde {1} \\ fin");

    // Rich text on the clipboard is kept as the copying program gave it. Pasted into a control
    // and streamed out, it gained the control's own last paragraph: an empty line per capture.
    const UINT rtfFormat = ::RegisterClipboardFormatA("Rich Text Format");
    const std::string given = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 {\\b Gras} normal\\par}";
    Put([&] {
        ::SetClipboardData(rtfFormat, TextBlock(given));
        ::SetClipboardData(CF_TEXT, TextBlock("Gras normal"));
    });
    EXPECT_EQ(Made(SaveTextClip(owner_.get())), given);

    // Nothing of that carries over to the next plain text.
    Put([] { ::SetClipboardData(CF_TEXT, TextBlock("simple")); });
    const std::optional<std::string> plain = Made(SaveTextClip(owner_.get()));
    ASSERT_TRUE(plain);
    EXPECT_EQ(ReadBackRtf(*plain), "simple");
    EXPECT_EQ(plain->find("Arial"), std::string::npos) << *plain;
    EXPECT_FALSE(HasBold(*plain)) << *plain;
}

// Whole and unchanged: every line, in order, up to the last, with no empty line added where a
// CR LF falls between two of the pieces the control reads.
TEST_F(ClipWriters, ATenMegabyteTextIsCapturedWhole) {
    std::string text;
    for (int line = 0; text.size() < 10'000'000; ++line)
        text += "ligne " + std::to_string(line) + " du texte copie\r\n";
    text += "fin";
    Put([&] { ::SetClipboardData(CF_TEXT, TextBlock(text)); });
    const std::optional<std::string> rtf = Made(SaveTextClip(owner_.get()));
    ASSERT_TRUE(rtf);
    const std::string back = ReadBackRtf(*rtf);
    const std::string expected = WithoutCarriageReturns(text);
    EXPECT_EQ(back.size(), expected.size());
    EXPECT_TRUE(back == expected);
}

TEST_F(ClipWriters, BitmapFileHasMatchingHeaderSizeAndPixels) {
    constexpr int kWidth = 5, kHeight = 3;
    std::vector<std::uint32_t> pixels(kWidth * kHeight);  // top-down, 0x00RRGGBB
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            pixels[y * kWidth + x] = static_cast<std::uint32_t>(x * 50 << 16 | y * 90 << 8 | (x + y) * 20);
    Put([&] { ::SetClipboardData(CF_BITMAP, ::CreateBitmap(kWidth, kHeight, 1, 32, pixels.data())); });
    const std::optional<std::string> file = Made(SaveBitmapClip(owner_.get()));
    ASSERT_TRUE(file);
    ASSERT_GE(file->size(), sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER));
    const auto header = At<BITMAPFILEHEADER>(*file, 0);
    const auto info = At<BITMAPINFOHEADER>(*file, sizeof header);
    EXPECT_EQ(header.bfType, 0x4D42);
    EXPECT_EQ(header.bfSize, file->size());
    EXPECT_EQ(info.biSize, sizeof info);
    EXPECT_EQ(info.biWidth, kWidth);
    EXPECT_EQ(info.biHeight, kHeight);
    EXPECT_EQ(info.biCompression, static_cast<DWORD>(BI_RGB));
    ASSERT_EQ(info.biBitCount, 32);
    EXPECT_EQ(header.bfOffBits, sizeof header + sizeof info);
    ASSERT_EQ(file->size(), header.bfOffBits + kWidth * kHeight * 4u);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            const int fileRow = kHeight - 1 - y;  // the file is bottom-up
            const auto pixel = At<std::uint32_t>(*file, header.bfOffBits + (fileRow * kWidth + x) * 4u);
            EXPECT_EQ(pixel & 0xFFFFFF, pixels[y * kWidth + x]) << x << "," << y;
        }
}

TEST_F(ClipWriters, MonochromeBitmapKeepsItsDepthColourTableAndPaddedRows) {
    constexpr int kWidth = 10, kHeight = 2;
    const std::uint16_t rows[kHeight] = {0xA0C0, 0x0040};  // 16-bit rows, as CreateBitmap wants; top-down
    Put([&] { ::SetClipboardData(CF_BITMAP, ::CreateBitmap(kWidth, kHeight, 1, 1, rows)); });
    const std::optional<std::string> file = Made(SaveBitmapClip(owner_.get()));
    ASSERT_TRUE(file);
    const auto header = At<BITMAPFILEHEADER>(*file, 0);
    const auto info = At<BITMAPINFOHEADER>(*file, sizeof header);
    ASSERT_EQ(info.biBitCount, 1);
    EXPECT_EQ(header.bfOffBits, sizeof header + sizeof info + 2 * sizeof(RGBQUAD));
    ASSERT_EQ(file->size(), header.bfOffBits + kHeight * 4u);  // rows padded to 32 bits
    EXPECT_EQ(header.bfSize, file->size());
    const auto black = At<std::uint32_t>(*file, sizeof header + sizeof info);
    const auto white = At<std::uint32_t>(*file, sizeof header + sizeof info + 4);
    EXPECT_EQ(black & 0xFFFFFF, 0u);
    EXPECT_EQ(white & 0xFFFFFF, 0xFFFFFFu);
    // Row 0 of the bitmap is the file's last row; only the 10 pixels used are compared.
    EXPECT_EQ(static_cast<unsigned char>((*file)[header.bfOffBits + 4]), 0xC0);
    EXPECT_EQ(static_cast<unsigned char>((*file)[header.bfOffBits + 5]) & 0xC0, 0x80);
    EXPECT_EQ(static_cast<unsigned char>((*file)[header.bfOffBits]), 0x40);
}

TEST_F(ClipWriters, MetafileIsWrittenPlaceableAndGdiReadsIt) {
    HDC recorder = ::CreateMetaFileA(nullptr);
    ::SetWindowExtEx(recorder, 100, 50, nullptr);
    ::Rectangle(recorder, 10, 10, 90, 40);
    win::unique_hmetafile drawing(::CloseMetaFile(recorder));
    ASSERT_TRUE(drawing);
    std::string bits(::GetMetaFileBitsEx(drawing.get(), 0, nullptr), '\0');
    ::GetMetaFileBitsEx(drawing.get(), static_cast<UINT>(bits.size()), bits.data());
    Put([&] {
        METAFILEPICT picture{MM_ANISOTROPIC, 5080, 2540, drawing.release()};
        ::SetClipboardData(CF_METAFILEPICT, Block(&picture, sizeof picture));
    });
    const std::optional<std::string> file = Made(SaveMetafileClip(owner_.get()));
    ASSERT_TRUE(file);
    ASSERT_EQ(file->size(), 22 + bits.size());
    EXPECT_EQ(At<std::uint32_t>(*file, 0), 0x9AC6CDD7u);
    std::uint16_t checksum = 0;
    for (std::size_t at = 0; at < 20; at += 2) checksum ^= At<std::uint16_t>(*file, at);
    EXPECT_EQ(At<std::uint16_t>(*file, 20), checksum);
    const double inchesWide = At<std::int16_t>(*file, 10) / static_cast<double>(At<std::uint16_t>(*file, 14));
    EXPECT_NEAR(inchesWide, 2.0, 0.01);
    EXPECT_EQ(file->substr(22), bits);
    win::unique_hmetafile reread(
        ::SetMetaFileBitsEx(static_cast<UINT>(bits.size()), reinterpret_cast<const BYTE*>(file->data() + 22)));
    EXPECT_TRUE(reread);
}

TEST_F(ClipWriters, EnhancedMetafileIsCopiedToBytesGdiOpens) {
    HDC recorder = ::CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
    ::Rectangle(recorder, 10, 10, 90, 40);
    HENHMETAFILE drawing = ::CloseEnhMetaFile(recorder);
    ENHMETAHEADER original{};
    ::GetEnhMetaFileHeader(drawing, sizeof original, &original);
    Put([&] { ::SetClipboardData(CF_ENHMETAFILE, drawing); });
    const std::optional<std::string> file = Made(SaveEnhMetafileClip(owner_.get()));
    ASSERT_TRUE(file);
    win::unique_henhmetafile opened(
        ::SetEnhMetaFileBits(static_cast<UINT>(file->size()), reinterpret_cast<const BYTE*>(file->data())));
    ASSERT_TRUE(opened);
    ENHMETAHEADER copy{};
    ::GetEnhMetaFileHeader(opened.get(), sizeof copy, &copy);
    EXPECT_EQ(copy.nRecords, original.nRecords);
    EXPECT_EQ(copy.nBytes, original.nBytes);
}

TEST_F(ClipWriters, SayTheirFormatIsGone) {
    const UINT privateFormat = ::RegisterClipboardFormatA("Tessera Test Private");
    Put([&] { ::SetClipboardData(privateFormat, TextBlock("x")); });
    Win32ClipWriter writer(owner_.get());
    for (ClipKind kind : {ClipKind::Text, ClipKind::Image, ClipKind::Clipart, ClipKind::SuperClipart})
        EXPECT_EQ(writer.Read(kind).status, ClipFileContent::Status::FormatGone);
}

TEST_F(ClipWriters, CaptureWithTheRealClipboardFilesTextBeforeABitmapAndIgnoresPrivateFormats) {
    ClipIndex index;
    Win32ClipboardFormats formats;
    Win32ClipWriter writer(owner_.get());
    DiskFileSystem fs;
    const CaptureRequest request{store_, "Texte"};

    const UINT privateFormat = ::RegisterClipboardFormatA("Tessera Test Private");
    Put([&] { ::SetClipboardData(privateFormat, TextBlock("x")); });
    EXPECT_EQ(CaptureClipboard(request, formats, index, writer, fs), std::nullopt);
    EXPECT_TRUE(index.IsEmpty());

    Put([] {
        ::SetClipboardData(CF_BITMAP, ::CreateBitmap(4, 4, 1, 32, nullptr));
        ::SetClipboardData(CF_TEXT, TextBlock("avec une image"));
    });
    EXPECT_EQ(CaptureClipboard(request, formats, index, writer, fs), "Texte_001");
    EXPECT_EQ(index.GetCell(1, 0), "Texte_001.txt");
    const std::optional<std::string> rtf = ReadFile(Path("Texte_001.txt"));
    ASSERT_TRUE(rtf);
    EXPECT_EQ(ReadBackRtf(*rtf), "avec une image");

    // A file of the next name left there (a crash, a copy by hand; any letter case) is never
    // overwritten: the capture takes the next free name.
    std::ofstream(Path("image_001.BMP"), std::ios::binary) << "someone else's";
    Put([] { ::SetClipboardData(CF_BITMAP, ::CreateBitmap(4, 4, 1, 32, nullptr)); });
    EXPECT_EQ(CaptureClipboard(request, formats, index, writer, fs), "Image_002");
    EXPECT_EQ(ReadFile(Path("image_001.BMP")), "someone else's");
    EXPECT_TRUE(Exists(Path("Image_002.bmp")));

    // A folder that has gone is reported in French, and nothing is filed.
    const CaptureRequest gone{Path("missing"), "Texte"};
    try {
        CaptureClipboard(gone, formats, index, writer, fs);
        ADD_FAILURE() << "no error for a missing folder";
    } catch (const std::runtime_error& e) {
        EXPECT_EQ(std::string(e.what()), "Impossible de créer le fichier " + Path("missing\\Image_003.bmp"));
    }
    EXPECT_EQ(index.RowCount(), 2);
}

}  // namespace
}  // namespace tessera
