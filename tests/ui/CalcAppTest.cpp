// Qt's own texts follow the locale.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <memory>

#include "CalcApp.h"

namespace {

// Qt's texts as a new standard button and an edit box's menu show them.
QStringList QtTexts() {
    QDialogButtonBox buttons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QLineEdit edit;
    const std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
    QStringList texts{buttons.button(QDialogButtonBox::Ok)->text(),
                      buttons.button(QDialogButtonBox::Cancel)->text()};
    for (const QAction* action : menu->actions()) {
        if (!action->isSeparator())
            texts << action->text().section(QLatin1Char('\t'), 0, 0);
    }
    return texts;
}

TEST(CalcAppTest, QtsOwnTextsFollowTheLocale) {
    auto* app = qobject_cast<CalcApp*>(qApp);
    ASSERT_NE(app, nullptr);
    ASSERT_TRUE(app->LoadQtTranslations(QLocale(QLocale::Chinese, QLocale::China)))
        << "qtbase_zh_CN.qm in Qt's translations path";
    const QStringList chinese = QtTexts();
    EXPECT_FALSE(app->LoadQtTranslations(QLocale::c()));
    const QStringList english = QtTexts();
    app->LoadQtTranslations(QLocale());

    EXPECT_EQ(chinese.mid(0, 2), (QStringList{"确定", "取消"}));
    EXPECT_TRUE(chinese.contains("全选")) << chinese.join(' ').toStdString();
    EXPECT_TRUE(chinese.contains("粘贴(&P)"));
    EXPECT_EQ(english.mid(0, 2), (QStringList{"OK", "Cancel"}));
    EXPECT_TRUE(english.contains("Select All"));
}

}  // namespace
