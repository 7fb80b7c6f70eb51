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

constexpr ControlTemplate kHelpControls[] = {
    // The cancel command, hidden: it lies below the bottom edge, where no
    // focus may go; Escape and the close box are the ways out.
    {IDCANCEL, PushButton, 273, 282, 50, 14, kHidden, "退出帮助"},
    {IDABORT, PushButton, 7, 273, 50, 14, kDefault | kHidden, "Hide"},
    {IDC_STATIC, GroupBox, 7, 7, 316, 79, kNoStyle, "表达式输入规则"},
    {IDC_STATIC, Label, 16, 22, 250, 62, kNoStyle,
     "★运算符\n\n\t+ 加号\t- 减号\t* 乘号\t/ 除号\t^ 乘方\t( ) 括号\n\n★变量\n\n"
     "\t变量必须由英文字母开头，并且仅由数字、字母和下划线组成 "},
    {IDC_STATIC, GroupBox, 7, 91, 316, 138, kNoStyle,
     "函数库（由于函数库会经常更新，请访问我的主页以获得最新版本）"},
    {IDC_FUNC_LIST, ListBox, 13, 105, 70, 115, kSorted | kVScroll | kBorder, ""},
    // A multi-line box that does not scroll sideways wraps its lines. Nine
    // lines high, so that a short entry shows its usage line, the ninth.
    {IDC_FUNC_TEXT, Edit, 86, 105, 230, 115,
     kMultiLine | kReadOnly | kVScroll | kBorder | kWordWrap, ""},
    {IDC_STATIC, Label, 7, 234, 316, 44, kNoStyle,
     "★快捷键：\n"
     "\u3000\u3000\u3000\u3000按[ESC]键或将[NumLock]键按灭可清除表达式输入框\n"
     "\u3000\u3000\u3000\u3000按[F2]键可将输入焦点切换至表达式输入框\n"
     "\u3000\u3000\u3000\u3000按[`]([ESC下面的那个键])可将计算结果复制到剪贴板\n"
     "\u3000\u3000\u3000\u3000表达式输入框中未选中文字时按[Ctrl+C]也可复制计算结果"},
};

constexpr std::array kTemplates = {
    DialogTemplate{IDD_ABOUTBOX, "关于", 235, 97, kAboutControls},
    DialogTemplate{IDD_CALC_DIALOG, "", 346, 200, kCalcControls},
    DialogTemplate{IDD_EXPR_EDIT, "表达式", 278, 94, kExprEditControls},
    // 24 units taller than first drawn: at 246 the shortcut text lost its
    // last line, the one on the copy key, and the description its usage
    // line; 9 more for the line on Ctrl+C.
    DialogTemplate{IDD_HELP, "使用帮助", 323, 279, kHelpControls},
};

}  // namespace

const DialogTemplate& FindDialogTemplate(int id) {
    for (const DialogTemplate& t : kTemplates) {
        if (t.id == id)
            return t;
    }
    throw std::out_of_range("no dialog template with this id");
}
