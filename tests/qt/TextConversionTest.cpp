// The display conversion agrees with the codec for every code, and line breaks convert both
// ways.
#include <gtest/gtest.h>

#include "Cp932.h"
#include "QtText.h"

namespace {

QString ByCodec(std::string_view bytes) {
  const std::string utf8 = cp932::ToUtf8Lossy(bytes);
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

TEST(QtText, DisplayAgreesWithTheCodecForEveryCode) {
  int mismatches = 0;
  for (unsigned first = 0; first < 256; ++first) {
    for (unsigned second = 0; second < 256; ++second) {
      const char pair[] = {static_cast<char>(first), static_cast<char>(second)};
      const std::string_view bytes(pair,
                                   cp932::IsLeadByte(static_cast<unsigned char>(first)) ? 2 : 1);
      if (qttext::FromCp932(CString(bytes)) != ByCodec(bytes) && ++mismatches < 5)
        ADD_FAILURE() << std::hex << first << " " << second;
      if (bytes.size() == 1) break;
    }
  }
  EXPECT_EQ(mismatches, 0);
}

TEST(QtText, MixedAndBrokenTextShowsAsTheCodecShowsIt) {
  const std::string_view cases[] = {"",
                                    "plain",
                                    "\x82\xA0\x82\xA2 and \xB1\xB2",
                                    "end on a lead byte \x82",
                                    "\x81\x20 pair that is no character",
                                    "\x80\xA0\xFD\xFE\xFF",
                                    std::string_view("nul\0inside", 10)};
  for (std::string_view bytes : cases)
    EXPECT_EQ(qttext::FromCp932(CString(bytes)), ByCodec(bytes)) << bytes;
}

TEST(QtText, BackToCodePage932RefusesWhatItCannotHold) {
  EXPECT_EQ(qttext::ToCp932(qttext::FromU8(u8"ねこ①ｱ\\~"))->Bytes(),
            std::string("\x82\xCB\x82\xB1\x87\x40\xB1\\~"));
  EXPECT_FALSE(qttext::ToCp932(qttext::FromU8(u8"🐈")).has_value());
  EXPECT_FALSE(qttext::ToCp932(qttext::FromU8(u8"한")).has_value());
  EXPECT_EQ(qttext::ToCp932(QString())->Bytes(), "");
}

TEST(QtText, LineBreaksConvertBetweenCrLfAndLf) {
  EXPECT_EQ(qttext::ToQtLines(QStringLiteral("a\r\nb\rc\nd")), QStringLiteral("a\nb\nc\nd"));
  EXPECT_EQ(qttext::FromQtLines(QStringLiteral("a\nb\n")), QStringLiteral("a\r\nb\r\n"));
}

}  // namespace
