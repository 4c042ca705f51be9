#include "text/rtf_text.h"

#include <gtest/gtest.h>

#include <string>

namespace tessera {
namespace {

TEST(RtfToText, ReadsWhatTheRichEditControlWrites) {
    const std::string rtf =
        "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1036{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}"
        "{\\f1\\fnil\\fcharset2 Symbol;}}\r\n{\\colortbl ;\\red255\\green0\\blue0;}\r\n"
        "{\\*\\generator Msftedit 5.41.21.2510;}\\viewkind4\\uc1\\pard\\f0\\fs20 Caf\\'e9 \\{ok\\} "
        "C:\\\\dir\\par\r\n{\\stylesheet{\\s1 heading 1;}}\\b Gras\\b0\\tab suite\\line fin\\~!\\-\\_\\par\r\n}";
    EXPECT_EQ(RtfToText(rtf), "Café {ok} C:\\dir\nGras\tsuite\nfin !-\n");
}

TEST(RtfToText, SkipsDestinationsButKeepsFieldResults) {
    EXPECT_EQ(RtfToText("{\\rtf1 a{\\*\\unknown x}b{\\info{\\title T}}c{\\pict\\wmetafile8 0a0b{}}d}"), "abcd");
    EXPECT_EQ(RtfToText("{\\rtf1 {\\field{\\*\\fldinst {HYPERLINK \"http://x\"}}{\\fldrslt {site}}} e"
                        "{\\object{\\objdata 01}{\\result r}}}"),
              "site e");
    // \bin's bytes are data, braces and backslashes included.
    EXPECT_EQ(RtfToText("{\\rtf1 a{\\pict\\bin4 }{\\\\}b}"), "ab");
}

TEST(RtfToText, UnicodeWithItsFallback) {
    EXPECT_EQ(RtfToText("{\\rtf1 \\u233\\'e9t\\u233 e}"), "été");
    EXPECT_EQ(RtfToText("{\\rtf1\\uc2 \\u8364\\'80\\'80 x\\uc0\\u-4064 y}"), "€ x\xEF\x80\xA0y");
    EXPECT_EQ(RtfToText("{\\rtf1 \\u-10179?\\u-8704?!}"), "\xF0\x9F\x98\x80!");  // a surrogate pair
    // The fallback ends with its group.
    EXPECT_EQ(RtfToText("{\\rtf1\\uc3 {\\u233}x}"), "éx");
}

TEST(RtfToText, CodePagesOfTheDocumentAndOfItsFonts) {
    EXPECT_EQ(RtfToText("{\\rtf1\\ansi\\ansicpg1251 \\'cf\\'f0\\'e8}"), "При");
    EXPECT_EQ(RtfToText("{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0 Arial;}{\\f1\\fcharset238 Arial CE;}}"
                        "\\f1 \\'b9{\\f0 \\'b9}\\'b9}"),
              "ą¹ą");
    EXPECT_EQ(RtfToText("{\\rtf1\\ansicpg932 \\'e9}"), "é");  // unknown code pages read as 1252
}

TEST(RtfToText, PlainTextFiles) {
    EXPECT_EQ(RtfToText("caf\xC3\xA9\r\n"), "café\r\n");
    EXPECT_EQ(RtfToText("caf\xE9 \x80"), "café €");
    EXPECT_EQ(RtfToText(std::string(10, 'a') + "é", 11), std::string(10, 'a'));  // never half a character
    EXPECT_EQ(RtfToText("\xE9\xE9\xE9", 3), "é");
}

TEST(RtfToText, DamagedInputGivesWhatTextItCan) {
    EXPECT_EQ(RtfToText("{\\rtf1 abc\\'e"), "abc");
    EXPECT_EQ(RtfToText("{\\rtf1 abc\\"), "abc");
    EXPECT_EQ(RtfToText("{\\rtf1 a}b}c"), "a");
    EXPECT_EQ(RtfToText("{\\rtf1 a\\bin99999999999999 b}"), "a");
    EXPECT_EQ(RtfToText("{\\rtf1 a\\uc99999999999 \\u65 bcd}"), "aA");
    const std::string deep = "{\\rtf1 " + std::string(1'000'000, '{') + "x" + std::string(1'000'000, '}') + "y}";
    EXPECT_EQ(RtfToText(deep), "xy");
    std::string garbage = "{\\rtf";
    for (int i = 0; i < 100000; ++i) garbage += static_cast<char>((i * 7919) % 251);
    EXPECT_LE(RtfToText(garbage, 1000).size(), 1000u);
}

}  // namespace
}  // namespace tessera
