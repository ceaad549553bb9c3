// The languages the designer speaks and how it tells document errors.
#include <gtest/gtest.h>

#include <QStringList>

#include "DocumentErrors.h"
#include "InterfaceLanguage.h"

TEST(InterfaceLanguage, ChineseUnlessTheUserPrefersAnotherLanguage) {
  using L = TInterfaceLanguage;
  EXPECT_EQ(InterfaceLanguageFor({QStringLiteral("zh-CN")}), L::Chinese);
  EXPECT_EQ(InterfaceLanguageFor({QStringLiteral("zh-Hant-TW"), QStringLiteral("en")}), L::Chinese);
  EXPECT_EQ(InterfaceLanguageFor({QStringLiteral("en-US"), QStringLiteral("zh-CN")}), L::English);
  EXPECT_EQ(InterfaceLanguageFor({QStringLiteral("de-DE")}), L::English);
  // The C locale names no language: the program's own stays.
  EXPECT_EQ(InterfaceLanguageFor({QStringLiteral("C")}), L::Chinese);
  EXPECT_EQ(InterfaceLanguageFor({QStringLiteral("C"), QStringLiteral("en")}), L::English);
  EXPECT_EQ(InterfaceLanguageFor({}), L::Chinese);
}

TEST(DocumentErrors, SayWhatFailedAndWhyWithTheTechnicalMessage) {
  EXPECT_EQ(DocumentErrorMessage(TDocumentTask::Open, EGraphStreamError(QStringLiteral("Invalid stream content"))),
            QStringLiteral("无法打开户型图：文件已损坏 (Invalid stream content)"));
  EXPECT_EQ(DocumentErrorMessage(TDocumentTask::Open, EClassNotFound(QStringLiteral("Class TWall not found"))),
            QStringLiteral("无法打开户型图：文件已损坏 (Class TWall not found)"));
  EXPECT_EQ(DocumentErrorMessage(TDocumentTask::Open, EFOpenError(QStringLiteral("Cannot open file \"a.kvf\""))),
            QStringLiteral("无法打开户型图：文件无法读取 (Cannot open file \"a.kvf\")"));
  EXPECT_EQ(DocumentErrorMessage(TDocumentTask::Save, EFCreateError(QStringLiteral("Cannot create file"))),
            QStringLiteral("无法保存户型图：文件无法写入 (Cannot create file)"));
  EXPECT_EQ(DocumentErrorMessage(TDocumentTask::Export, EWriteError(QStringLiteral("No space left on device"))),
            QStringLiteral("无法导出图片：写入失败 (No space left on device)"));
  // A class that says nothing more than the task keeps just its message.
  EXPECT_EQ(DocumentErrorMessage(TDocumentTask::Save, Exception(QStringLiteral("odd"))),
            QStringLiteral("无法保存户型图 (odd)"));
}

TEST(DocumentErrors, TheUsersMessageTravelsOnAndSuccessPassesThrough) {
  int runs = 0;
  WithDocumentErrors(TDocumentTask::Open, [&] { ++runs; });
  EXPECT_EQ(runs, 1);
  try {
    WithDocumentErrors(TDocumentTask::Open, [] { throw EReadError(QStringLiteral("Stream read error")); });
    FAIL() << "the error was swallowed";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), QStringLiteral("无法打开户型图：文件已损坏 (Stream read error)"));
  }
}
