// The variables' rows: every edit checked with the engine's rules, and the
// table the engine reads kept in step with the rows.
#include <gtest/gtest.h>

#include <QSignalSpy>

#include "VariablesModel.h"

namespace {

const QString kTaken = "该变量名已存在。";
const QString kFirstByte = "变量名应该以英文字母或下划线开头。";
const QString kOtherBytes = "变量名中应该只含英文字母、数字或下划线。";
const QString kNotNumeric = "请输入数值型的数据。";

// The table the engine reads, read back as the rows say it should be.
void ExpectTableMatchesRows(const VariablesModel& model) {
    const QList<VariableText> rows = model.Variables();
    EXPECT_EQ(model.Table().Size(), static_cast<std::size_t>(rows.size()));
    for (const VariableText& row : rows)
        EXPECT_EQ(model.Table().Find(row.name.toStdString()), row.value.trimmed().toDouble())
            << row.name.toStdString();
}

TEST(VariablesModelTest, AnEditIsTakenOnlyWhenTheEnginesChecksAcceptIt) {
    struct Case {
        int row;
        int column;
        QString text;
        QString message;  // empty: taken
        QString title;
    };
    // Rows "x" = 1 and "y" = 2 before each case.
    const Case cases[] = {
        {0, 0, "rate", "", ""},
        {0, 0, "X", "", ""},  // a row may change the case of its own name
        {0, 0, "Y", kTaken, "错误"},
        {0, 0, "1a", kFirstByte, "错误"},
        {0, 0, "", kFirstByte, "错误"},
        {0, 0, "a-b", kOtherBytes, "错误"},
        {0, 0, "a变量", kOtherBytes, "错误"},
        {0, 0, "_a1", "", ""},
        {1, 1, " 7", "", ""},
        {1, 1, "-1e-3", "", ""},
        {1, 1, "7 ", kNotNumeric, "数据格式错误"},
        {1, 1, "1,5", kNotNumeric, "数据格式错误"},
        {1, 1, "inf", kNotNumeric, "数据格式错误"},
        {1, 1, "1e400", kNotNumeric, "数据格式错误"},  // beyond the largest double
        {1, 1, "2", "", ""},                           // unchanged: not checked again
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        VariablesModel model;
        model.Reset({{"x", "1"}, {"y", "2"}});
        QSignalSpy refused(&model, &VariablesModel::Refused);
        QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
        const QModelIndex cell = model.index(c.row, c.column);
        const QString before = cell.data().toString();
        const bool taken = model.setData(cell, c.text);
        ExpectTableMatchesRows(model);
        if (c.message.isEmpty()) {
            EXPECT_TRUE(taken);
            EXPECT_EQ(cell.data().toString(), c.text);
            EXPECT_EQ(refused.count(), 0);
            EXPECT_EQ(changed.count(), c.text == before ? 0 : 1);
            continue;
        }
        EXPECT_FALSE(taken);
        EXPECT_EQ(cell.data().toString(), before);
        ASSERT_EQ(refused.count(), 1);
        EXPECT_EQ(refused[0][0].value<VariableRefusal>(), (VariableRefusal{c.message, c.title}));
        EXPECT_EQ(changed.count(), 0);
    }
}

TEST(VariablesModelTest, AnUnnamedRowIsNoVariableUntilNamed) {
    VariablesModel model;
    model.Reset({{"x", "1"}});
    const int row = model.AddUnnamed();
    EXPECT_TRUE(model.IsUnnamed(row));
    EXPECT_EQ(model.index(row, 0).data().toString(), "请输入变量名");
    EXPECT_EQ(model.index(row, 1).data().toString(), "0.0");
    // Confirmed untouched, its name stays unnamed and is no clash.
    EXPECT_TRUE(model.setData(model.index(row, 0), "请输入变量名"));
    EXPECT_TRUE(model.IsUnnamed(row));
    EXPECT_EQ(model.Variables().size(), 1);
    EXPECT_TRUE(model.setData(model.index(row, 1), "4"));
    EXPECT_TRUE(model.setData(model.index(row, 0), "z"));
    EXPECT_FALSE(model.IsUnnamed(row));
    EXPECT_EQ(model.Table().Find("z"), 4.0);
    ExpectTableMatchesRows(model);
}

TEST(VariablesModelTest, RemovedAndResetRowsLeaveTheTableAndTheirNamesFree) {
    VariablesModel model;
    // Refused on the way in as an edit would be.
    EXPECT_EQ(model.Reset({{"a", "1"}, {"A", "2"}, {"b", "x"}, {"c", "3"}, {"d", "4"}}), 2);
    ASSERT_EQ(model.rowCount(), 3);
    EXPECT_TRUE(model.removeRows(0, 2));
    ExpectTableMatchesRows(model);
    EXPECT_FALSE(model.Table().Find("a"));
    EXPECT_TRUE(model.setData(model.index(0, 0), "A"));
    EXPECT_EQ(model.Table().Find("A"), 4.0);
    ExpectTableMatchesRows(model);
}

}  // namespace
