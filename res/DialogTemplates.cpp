#include "DialogTemplates.h"

#include <array>
#include <stdexcept>

#include "resource.h"

namespace {

using enum ControlKind;

constexpr ControlTemplate kAboutControls[] = {
    {IDC_STATIC, Icon, 11, 17, 20, 20, kNoStyle, ""},
    {IDC_STATIC, Label, 40, 10, 134, 8, kNoPrefix, "Tallyfern 1.1 版 函数库 20060320"},
    {IDC_STATIC, Label, 40, 24, 188, 66, kWordWrap,
     "一个小巧的表达式计算器：输入含有运算符、括号、变量和函数的表达式，"
     "按回车即得结果，并以自然书写形式显示表达式。\n\n"
     "数值按双精度计算，结果保留 15 位有效数字。"},
    {IDOK, PushButton, 178, 7, 50, 14, kDefault | kStaticEdge, "确定"},
};

constexpr ControlTemplate kCalcControls[] = {
    {IDCANCEL, SkinButton, 1, 1, 14, 14, kStaticEdge, ""},
    {IDC_HELP, SkinButton, 15, 1, 14, 14, kStaticEdge, ""},
    {IDC_EDIT_EXPR, SkinButton, 30, 1, 14, 14, kStaticEdge, ""},
    {IDC_EXPR, Edit, 45, 1, 154, 14, kRightAlign | kNoAutoHScroll | kStaticEdge, ""},
    {IDC_COMPUTE, SkinButton, 201, 1, 14, 14, kStaticEdge, "="},
    {IDC_RESULT, Edit, 216, 1, 74, 14, kReadOnly | kStaticEdge, ""},
    {IDC_MODE, SkinButton, 291, 1, 14, 14, kStaticEdge, ""},
    {IDC_TOPMOST, SkinButton, 305, 1, 14, 14, kToggle | kStaticEdge, ""},
    {IDC_ABOUT, SkinButton, 319, 0, 16, 16, kNoEdge, ""},
    {IDC_HIDE, PushButton, 337, 1, 3, 9, kDefault | kHidden, "Hide"},
    {IDC_MARKER, Label, 341, 1, 3, 11, kNoStyle, ""},
    {IDC_STATIC, Label, 3, 17, 81, 8, kNoStyle, "表达式的自然书写形式"},
    {IDC_NATURAL, Edit, 5, 28, 335, 79, kMultiLine | kReadOnly | kVScroll | kStaticEdge, ""},
    {IDC_STATIC, Label, 7, 110, 17, 8, kNoStyle, "历史"},
    {IDC_HISTORY, ListBox, 5, 121, 214, 71, kVScroll | kStaticEdge, ""},
    {IDC_STATIC, Label, 224, 110, 41, 8, kNoStyle, "自定义变量"},
    {IDC_VARS, ListView, 224, 121, 115, 54, kStaticEdge, ""},
    {IDC_ADD_VAR, SkinButton, 224, 179, 50, 14, kStaticEdge, "添加"},
    {IDC_DELETE_VAR, SkinButton, 289, 179, 50, 14, kStaticEdge, "删除"},
};

constexpr ControlTemplate kExprEditControls[] = {
    {IDC_EXPR, Edit, 7, 7, 264, 62, kMultiLine | kWantReturn | kVScroll | kWordWrap | kStaticEdge,
     ""},
    {IDOK, PushButton, 167, 73, 50, 14, kDefault | kStaticEdge, "确定"},
    {IDCANCEL, PushButton, 221, 73, 50, 14, kStaticEdge, "取消"},
};

constexpr std::array kTemplates = {
    DialogTemplate{IDD_ABOUTBOX, "关于", 235, 97, kAboutControls},
    DialogTemplate{IDD_CALC_DIALOG, "", 346, 200, kCalcControls},
    DialogTemplate{IDD_EXPR_EDIT, "表达式", 278, 94, kExprEditControls},
};

}  // namespace

const DialogTemplate& FindDialogTemplate(int id) {
    for (const DialogTemplate& t : kTemplates) {
        if (t.id == id)
            return t;
    }
    throw std::out_of_range("no dialog template with this id");
}
