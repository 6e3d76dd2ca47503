#include "platform/gui/translations.h"

#include <gtest/gtest.h>

#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QLibraryInfo>
#include <QPushButton>

namespace vektrano::platform {
namespace {

// Qt's dialogs and standard buttons speak Czech once the catalogue is in.
TEST(QtTranslations, DialogsAndStandardButtonsAreCzech) {
  const QString catalogue =
      QLibraryInfo::path(QLibraryInfo::TranslationsPath) + QStringLiteral("/qtbase_cs.qm");
  if (!QFile::exists(catalogue)) GTEST_SKIP() << "qt6-translations-l10n not installed";
  ASSERT_TRUE(installCzechQtTranslations());
  EXPECT_TRUE(installCzechQtTranslations());  // once is enough

  QDialogButtonBox buttons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  EXPECT_EQ(buttons.button(QDialogButtonBox::Cancel)->text(), QString::fromUtf8(u8"Zrušit"));
  QColorDialog colour;
  EXPECT_NE(colour.windowTitle(), QStringLiteral("Select Color"));
  EXPECT_FALSE(colour.windowTitle().isEmpty());
}

}  // namespace
}  // namespace vektrano::platform
