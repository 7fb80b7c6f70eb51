<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>AboutDlg</name>
    <message>
        <location filename="../ui/dialogs/AboutDlg.ui" line="26"/>
        <source>关于</source>
        <translation>About</translation>
    </message>
    <message>
        <location filename="../ui/dialogs/AboutDlg.ui" line="51"/>
        <source>Tallyfern 1.1 版 函数库 20060320</source>
        <translation>Tallyfern 1.1, function library 20060320</translation>
    </message>
    <message>
        <location filename="../ui/dialogs/AboutDlg.ui" line="73"/>
        <source>一个小巧的表达式计算器：输入含有运算符、括号、变量和函数的表达式，按回车即得结果，并以自然书写形式显示表达式。

数值按双精度计算，结果保留 15 位有效数字。</source>
        <translation>A small expression calculator: type an expression with operators, brackets, variables and functions, press Enter for the result, and see the expression in its natural written form.

Numbers are computed in double precision; results keep 15 significant digits.</translation>
    </message>
    <message>
        <location filename="../ui/dialogs/AboutDlg.ui" line="97"/>
        <source>确定</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>CalcDlg</name>
    <message>
        <location filename="../ui/window/CalcDlg.ui" line="62"/>
        <source>表达式</source>
        <translation>Expression</translation>
    </message>
    <message>
        <location filename="../ui/window/CalcDlg.ui" line="88"/>
        <source>结果</source>
        <translation>Result</translation>
    </message>
    <message>
        <location filename="../ui/window/CalcDlg.ui" line="147"/>
        <location filename="../ui/window/CalcDlg.ui" line="187"/>
        <source>表达式的自然书写形式</source>
        <translation>Natural written form</translation>
    </message>
    <message>
        <location filename="../ui/window/CalcDlg.ui" line="200"/>
        <location filename="../ui/window/CalcDlg.ui" line="240"/>
        <source>历史</source>
        <translation>History</translation>
    </message>
    <message>
        <location filename="../ui/window/CalcDlg.ui" line="253"/>
        <location filename="../ui/window/CalcDlg.ui" line="287"/>
        <source>自定义变量</source>
        <translation>Variables</translation>
    </message>
    <message>
        <location filename="../ui/window/CalcDlg.ui" line="300"/>
        <source>添加</source>
        <translation>Add</translation>
    </message>
    <message>
        <location filename="../ui/window/CalcDlg.ui" line="313"/>
        <source>删除</source>
        <translation>Delete</translation>
    </message>
</context>
<context>
    <name>CompletionList</name>
    <message>
        <location filename="../ui/typinghelp/CompletionList.cpp" line="17"/>
        <source>名称补全</source>
        <translation>Completions</translation>
    </message>
</context>
<context>
    <name>EngineTexts</name>
    <message>
        <location filename="../ui/engine/EngineTexts.cpp" line="32"/>
        <source>在以下位置发生 &quot;括号不匹配&quot; 错误

    %1</source>
        <translation>Unmatched bracket:

    %1</translation>
    </message>
    <message>
        <location filename="../ui/engine/EngineTexts.cpp" line="35"/>
        <source>在以下位置发生 &quot;除数为零&quot; 错误

    %1</source>
        <translation>Division by zero:

    %1</translation>
    </message>
    <message>
        <location filename="../ui/engine/EngineTexts.cpp" line="38"/>
        <source>在以下位置发生 &quot;运算符&quot; 错误

    %1</source>
        <translation>Unknown function:

    %1</translation>
    </message>
    <message>
        <location filename="../ui/engine/EngineTexts.cpp" line="42"/>
        <source>在以下位置发生 &quot;越界&quot; 错误

    %1</source>
        <comment>not a number</comment>
        <translation>Not a real number:

    %1</translation>
    </message>
    <message>
        <location filename="../ui/engine/EngineTexts.cpp" line="45"/>
        <source>在以下位置发生 &quot;越界&quot; 错误

    %1</source>
        <comment>infinite</comment>
        <translation>Number out of range:

    %1</translation>
    </message>
    <message>
        <location filename="../ui/engine/EngineTexts.cpp" line="48"/>
        <source>在以下位置发生 &quot;操作数&quot; 错误

    %1</source>
        <translation>Missing operand:

    %1</translation>
    </message>
    <message>
        <location filename="../ui/engine/EngineTexts.cpp" line="51"/>
        <source>在以下位置发生 &quot;变量 %1 未定义&quot; 错误

    %2</source>
        <translation>Variable &quot;%1&quot; is not defined:

    %2</translation>
    </message>
    <message>
        <location filename="../ui/engine/EngineTexts.cpp" line="55"/>
        <source>在以下位置发生 &quot;表达式&quot; 错误

    %1</source>
        <translation>Syntax error:

    %1</translation>
    </message>
    <message>
        <location filename="../ui/engine/EngineTexts.cpp" line="63"/>
        <source>该变量名已存在。</source>
        <translation>A variable of this name exists already.</translation>
    </message>
    <message>
        <location filename="../ui/engine/EngineTexts.cpp" line="65"/>
        <source>变量名应该以英文字母或下划线开头。</source>
        <translation>A variable name must begin with a letter or an underscore.</translation>
    </message>
    <message>
        <location filename="../ui/engine/EngineTexts.cpp" line="67"/>
        <source>变量名中应该只含英文字母、数字或下划线。</source>
        <translation>A variable name may hold only letters, digits and underscores.</translation>
    </message>
    <message>
        <location filename="../ui/engine/EngineTexts.cpp" line="72"/>
        <source>请输入数值型的数据。</source>
        <translation>Please enter a number.</translation>
    </message>
    <message>
        <location filename="../ui/engine/EngineTexts.cpp" line="78"/>
        <source>错误</source>
        <translation>Error</translation>
    </message>
    <message>
        <location filename="../ui/engine/EngineTexts.cpp" line="77"/>
        <source>数据格式错误</source>
        <translation>Invalid number</translation>
    </message>
</context>
<context>
    <name>ExprEditDlg</name>
    <message>
        <location filename="../ui/dialogs/ExprEditDlg.ui" line="26"/>
        <location filename="../ui/dialogs/ExprEditDlg.ui" line="62"/>
        <source>表达式</source>
        <translation>Expression</translation>
    </message>
    <message>
        <location filename="../ui/dialogs/ExprEditDlg.ui" line="75"/>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <location filename="../ui/dialogs/ExprEditDlg.ui" line="91"/>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>FuncHelp</name>
    <message>
        <location filename="../res/FuncHelpTable.h" line="21"/>
        <source>函数名：%s

简&#x3000;介：%s

功&#x3000;能：%s

用&#x3000;法：

&#x3000;&#x3000;%s</source>
        <translation>Function: %s

Summary: %s

Purpose: %s

Usage:

    %s</translation>
    </message>
    <message>
        <location filename="../res/FuncHelpTable.cpp" line="10"/>
        <source>正弦函数</source>
        <translation>Sine</translation>
    </message>
    <message>
        <location filename="../res/FuncHelpTable.cpp" line="11"/>
        <source>求角x的正弦值</source>
        <translation>The sine of the angle x</translation>
    </message>
    <message>
        <location filename="../res/FuncHelpTable.cpp" line="12"/>
        <source>sin(x)
&#x3000;&#x3000;x为以弧度表示的角</source>
        <translation>sin(x)
    x is an angle in radians</translation>
    </message>
    <message>
        <location filename="../res/FuncHelpTable.cpp" line="13"/>
        <source>余弦函数</source>
        <translation>Cosine</translation>
    </message>
    <message>
        <location filename="../res/FuncHelpTable.cpp" line="14"/>
        <source>求角x的余弦值</source>
        <translation>The cosine of the angle x</translation>
    </message>
    <message>
        <location filename="../res/FuncHelpTable.cpp" line="15"/>
        <source>cos(x)
&#x3000;&#x3000;x为以弧度表示的角</source>
        <translation>cos(x)
    x is an angle in radians</translation>
    </message>
    <message>
        <location filename="../res/FuncHelpTable.cpp" line="16"/>
        <source>正切函数</source>
        <translation>Tangent</translation>
    </message>
    <message>
        <location filename="../res/FuncHelpTable.cpp" line="17"/>
        <source>求角x的正切值</source>
        <translation>The tangent of the angle x</translation>
    </message>
    <message>
        <location filename="../res/FuncHelpTable.cpp" line="18"/>
        <source>tan(x)
&#x3000;&#x3000;x为以弧度表示的角</source>
        <translation>tan(x)
    x is an angle in radians</translation>
    </message>
    <message>
        <location filename="../res/FuncHelpTable.cpp" line="19"/>
        <source>余切函数</source>
        <translation>Cotangent</translation>
    </message>
    <message>
        <location filename="../res/FuncHelpTable.cpp" line="20"/>
        <source>求角x的余切值</source>
        <translation>The cotangent of the angle x</translation>
    </message>
    <message>
        <location filename="../res/FuncHelpTable.cpp" line="21"/>
        <source>cot(x)
&#x3000;&#x3000;x为以弧度表示的角</source>
        <translation>cot(x)
    x is an angle in radians</translation>
    </message>
    <message>
        <location filename="../res/FuncHelpTable.cpp" line="22"/>
        <source>反正弦函数</source>
        <translation>Arc sine</translation>
    </message>
    <message>
        <location filename="../res/FuncHelpTable.cpp" line="23"/>
        <source>求值x的反正弦值</source>
        <translation>The arc sine of x</translation>
    </message>
    <message>
        <location filename="../res/FuncHelpTable.cpp" line="24"/>
        <source>asin(x)
&#x3000;&#x3000;x∈[-1, 1]</source>
        <translation>asin(x)
    x∈[-1, 1]</translation>
    </message>
    <message>
        <location filename="../res/FuncHelpTable.cpp" line="25"/>
        <source>反余弦函数</source>
        <translation>Arc cosine</translation>
    </message>
    <message>
        <location filename="../res/FuncHelpTable.cpp" line="26"/>
        <source>求值x的反余弦值</source>
        <translation>The arc cosine of x</translation>
    </message>
    <message>
        <location filename="../res/FuncHelpTable.cpp" line="27"/>
        <source>acos(x)
&#x3000;&#x3000;x∈[-1, 1]</source>
        <translation>acos(x)
    x∈[-1, 1]</translation>
    </message>
    <message>
        <location filename="../res/FuncHelpTable.cpp" line="28"/>
        <source>反正切函数</source>
        <translation>Arc tangent</translation>
    </message>
    <message>
        <location filename="../res/FuncHelpTable.cpp" line="29"/>
        <source>求值x的反正切值</source>
        <translation>The arc tangent of x</translation>
    </message>
    <message>
        <location filename="../res/FuncHelpTable.cpp" line="29"/>
        <source>atan(x)
</source>
        <translation>atan(x)
</translation>
    </message>
    <message>
        <location filename="../res/FuncHelpTable.cpp" line="30"/>
        <source>弧度化角度</source>
        <translation>Radians to degrees</translation>
    </message>
    <message>
        <location filename="../res/FuncHelpTable.cpp" line="31"/>
        <source>将弧度值转化为相应的角度值</source>
        <translation>Converts an angle in radians to degrees</translation>
    </message>
    <message>
        <location filename="../res/FuncHelpTable.cpp" line="32"/>
        <source>rtod(x)
&#x3000;&#x3000;x为角的弧度表示值</source>
        <translation>rtod(x)
    x is an angle in radians</translation>
    </message>
    <message>
        <location filename="../res/FuncHelpTable.cpp" line="33"/>
        <source>角度化弧度</source>
        <translation>Degrees to radians</translation>
    </message>
    <message>
        <location filename="../res/FuncHelpTable.cpp" line="34"/>
        <source>将角度值转化为相应的弧度值</source>
        <translation>Converts an angle in degrees to radians</translation>
    </message>
    <message>
        <location filename="../res/FuncHelpTable.cpp" line="35"/>
        <source>dtor(x)
&#x3000;&#x3000;x为角的角度表示值</source>
        <translation>dtor(x)
    x is an angle in degrees</translation>
    </message>
    <message>
        <location filename="../res/FuncHelpTable.cpp" line="36"/>
        <source>角度化度分秒</source>
        <translation>Degrees to degrees, minutes, seconds</translation>
    </message>
    <message>
        <location filename="../res/FuncHelpTable.cpp" line="37"/>
        <source>将角度值转化为d.mmss表示的角度值
&#x3000;&#x3000;比如：3.01度化为度分秒表示形式为3.0036，即3度0分36秒</source>
        <translation>Converts an angle in degrees to the form d.mmss
    For example: 3.01 degrees become 3.0036, that is 3 degrees 0 minutes 36 seconds</translation>
    </message>
    <message>
        <location filename="../res/FuncHelpTable.cpp" line="40"/>
        <source>dtodms(x)
&#x3000;&#x3000;x为角的一般角度表示法</source>
        <translation>dtodms(x)
    x is an angle in decimal degrees</translation>
    </message>
    <message>
        <location filename="../res/FuncHelpTable.cpp" line="41"/>
        <source>度分秒化角度</source>
        <translation>Degrees, minutes, seconds to degrees</translation>
    </message>
    <message>
        <location filename="../res/FuncHelpTable.cpp" line="42"/>
        <source>将d.mmss表示的角度值转化为一般的角度值
&#x3000;&#x3000;比如：3.0036，即3度0分36秒化为一般的角度值为3.01度</source>
        <translation>Converts an angle in the form d.mmss to decimal degrees
    For example: 3.0036, that is 3 degrees 0 minutes 36 seconds, becomes 3.01 degrees</translation>
    </message>
    <message>
        <location filename="../res/FuncHelpTable.cpp" line="45"/>
        <source>dmstod(x)
&#x3000;&#x3000;x为角的度分秒表示法</source>
        <translation>dmstod(x)
    x is an angle in the form d.mmss</translation>
    </message>
    <message>
        <location filename="../res/FuncHelpTable.cpp" line="46"/>
        <source>自然对数</source>
        <translation>Natural logarithm</translation>
    </message>
    <message>
        <location filename="../res/FuncHelpTable.cpp" line="47"/>
        <source>求一个数的自然对数</source>
        <translation>The natural logarithm of a number</translation>
    </message>
    <message>
        <location filename="../res/FuncHelpTable.cpp" line="47"/>
        <source>ln(x)</source>
        <translation>ln(x)</translation>
    </message>
    <message>
        <location filename="../res/FuncHelpTable.cpp" line="48"/>
        <source>以10为底的对数</source>
        <translation>Common logarithm</translation>
    </message>
    <message>
        <location filename="../res/FuncHelpTable.cpp" line="49"/>
        <source>求一个数的以10为底的对数</source>
        <translation>The logarithm to base 10 of a number</translation>
    </message>
    <message>
        <location filename="../res/FuncHelpTable.cpp" line="50"/>
        <source>lg(x)</source>
        <translation>lg(x)</translation>
    </message>
    <message>
        <location filename="../res/FuncHelpTable.cpp" line="51"/>
        <source>一般对数</source>
        <translation>Logarithm</translation>
    </message>
    <message>
        <location filename="../res/FuncHelpTable.cpp" line="52"/>
        <source>求以a为底，b为真数的对数</source>
        <translation>The logarithm of b to base a</translation>
    </message>
    <message>
        <location filename="../res/FuncHelpTable.cpp" line="53"/>
        <source>log(a, b)</source>
        <translation>log(a, b)</translation>
    </message>
    <message>
        <location filename="../res/FuncHelpTable.cpp" line="54"/>
        <source>绝对值</source>
        <translation>Absolute value</translation>
    </message>
    <message>
        <location filename="../res/FuncHelpTable.cpp" line="55"/>
        <source>求一个数的绝对值</source>
        <translation>The absolute value of a number</translation>
    </message>
    <message>
        <location filename="../res/FuncHelpTable.cpp" line="55"/>
        <source>abs(x)</source>
        <translation>abs(x)</translation>
    </message>
</context>
<context>
    <name>GraphWindow</name>
    <message>
        <location filename="../ui/graph/GraphWindow.cpp" line="64"/>
        <location filename="../ui/graph/GraphWindow.cpp" line="93"/>
        <source>函数图像</source>
        <translation>Graph</translation>
    </message>
    <message>
        <location filename="../ui/graph/GraphWindow.cpp" line="77"/>
        <source>自变量(&amp;V)：</source>
        <translation>&amp;Variable:</translation>
    </message>
    <message>
        <location filename="../ui/graph/GraphWindow.cpp" line="81"/>
        <source>自变量</source>
        <translation>Variable</translation>
    </message>
    <message>
        <location filename="../ui/graph/GraphWindow.cpp" line="108"/>
        <source>数值表</source>
        <translation>Table of values</translation>
    </message>
    <message>
        <location filename="../ui/graph/GraphWindow.cpp" line="118"/>
        <source>导出(&amp;E)</source>
        <translation>&amp;Export</translation>
    </message>
    <message>
        <location filename="../ui/graph/GraphWindow.cpp" line="154"/>
        <source>复制图像(&amp;C)</source>
        <translation>&amp;Copy Picture</translation>
    </message>
    <message>
        <location filename="../ui/graph/GraphWindow.cpp" line="156"/>
        <source>保存图像(&amp;S)...</source>
        <translation>&amp;Save Picture...</translation>
    </message>
    <message>
        <location filename="../ui/graph/GraphWindow.cpp" line="158"/>
        <source>复制数值表(&amp;T)</source>
        <translation>Copy &amp;Table of Values</translation>
    </message>
    <message>
        <location filename="../ui/graph/GraphWindow.cpp" line="160"/>
        <source>保存数值表(&amp;A)...</source>
        <translation>Save T&amp;able of Values...</translation>
    </message>
    <message>
        <location filename="../ui/graph/GraphWindow.cpp" line="255"/>
        <source>没有表达式，无法画出图像。</source>
        <translation>No expression: nothing to draw.</translation>
    </message>
    <message>
        <location filename="../ui/graph/GraphWindow.cpp" line="257"/>
        <source>内存不足，无法画出图像。</source>
        <translation>Out of memory: nothing drawn.</translation>
    </message>
    <message>
        <location filename="../ui/graph/GraphWindow.cpp" line="260"/>
        <source>表达式有误（%1），无法画出图像。</source>
        <translation>The expression has an error (%1): nothing drawn.</translation>
    </message>
    <message>
        <location filename="../ui/graph/GraphWindow.cpp" line="267"/>
        <source>%1 都未定义：只能有一个变量未定义，图像画的就是它。</source>
        <translation>%1 are not defined: only one name may be undefined, and the graph is drawn over it.</translation>
    </message>
    <message>
        <location filename="../ui/graph/GraphWindow.cpp" line="267"/>
        <source>、</source>
        <translation>, </translation>
    </message>
    <message>
        <location filename="../ui/graph/GraphWindow.cpp" line="270"/>
        <source>表达式中没有变量，无法画出图像。</source>
        <translation>The expression has no variable to draw over.</translation>
    </message>
    <message>
        <location filename="../ui/graph/GraphWindow.cpp" line="282"/>
        <source>y = %1，%2 从 %3 到 %4，y 从 %5 到 %6</source>
        <translation>y = %1, %2 from %3 to %4, y from %5 to %6</translation>
    </message>
    <message>
        <location filename="../ui/graph/GraphWindow.cpp" line="287"/>
        <source>（这一段没有值）</source>
        <translation> (no value in this range)</translation>
    </message>
    <message>
        <location filename="../ui/graph/GraphWindow.cpp" line="296"/>
        <source>%1 = %2 时 y = %3</source>
        <translation>at %1 = %2, y = %3</translation>
    </message>
    <message>
        <location filename="../ui/graph/GraphWindow.cpp" line="308"/>
        <source>；</source>
        <translation>; </translation>
    </message>
    <message>
        <location filename="../ui/graph/GraphWindow.cpp" line="360"/>
        <source>PNG 图像 (*.png)</source>
        <translation>PNG image (*.png)</translation>
    </message>
    <message>
        <location filename="../ui/graph/GraphWindow.cpp" line="361"/>
        <source>SVG 图像 (*.svg)</source>
        <translation>SVG image (*.svg)</translation>
    </message>
    <message>
        <location filename="../ui/graph/GraphWindow.cpp" line="363"/>
        <source>保存图像</source>
        <translation>Save Picture</translation>
    </message>
    <message>
        <location filename="../ui/graph/GraphWindow.cpp" line="376"/>
        <source>保存数值表</source>
        <translation>Save Table of Values</translation>
    </message>
    <message>
        <location filename="../ui/graph/GraphWindow.cpp" line="376"/>
        <source>CSV 文件 (*.csv)</source>
        <translation>CSV file (*.csv)</translation>
    </message>
    <message>
        <location filename="../ui/graph/GraphWindow.cpp" line="386"/>
        <source>无法写入 %1。</source>
        <translation>Could not write %1.</translation>
    </message>
</context>
<context>
    <name>HelpDlg</name>
    <message>
        <location filename="../ui/dialogs/HelpDlg.ui" line="26"/>
        <source>使用帮助</source>
        <translation>Help</translation>
    </message>
    <message>
        <location filename="../ui/dialogs/HelpDlg.ui" line="38"/>
        <source>退出帮助</source>
        <translation>Close help</translation>
    </message>
    <message>
        <location filename="../ui/dialogs/HelpDlg.ui" line="73"/>
        <source>表达式输入规则</source>
        <translation>Writing expressions</translation>
    </message>
    <message>
        <location filename="../ui/dialogs/HelpDlg.ui" line="86"/>
        <source>★运算符（中文输入法打出的 …… 即 ^，—— 即 _，。即 .）

	+ 加号	- 减号	* 乘号	/ 除号	^ 乘方	( ) 括号

★变量

	变量必须由英文字母开头，并且仅由数字、字母和下划线组成 </source>
        <translation>★Operators (a Chinese input method&apos;s …… is ^, —— is _, 。 is .)

	+ plus   - minus   * times   / over   ^ power   ( ) brackets

★Variables

	A letter first, then letters, digits and underscores only</translation>
    </message>
    <message>
        <location filename="../ui/dialogs/HelpDlg.ui" line="114"/>
        <source>函数库（由于函数库会经常更新，请访问我的主页以获得最新版本）</source>
        <translation>Functions (the library is updated often: see the home page for the latest version)</translation>
    </message>
    <message>
        <location filename="../ui/dialogs/HelpDlg.ui" line="142"/>
        <source>函数</source>
        <translation>Functions</translation>
    </message>
    <message>
        <location filename="../ui/dialogs/HelpDlg.ui" line="179"/>
        <source>函数说明</source>
        <translation>Function description</translation>
    </message>
    <message>
        <location filename="../ui/dialogs/HelpDlg.ui" line="192"/>
        <source>★快捷键：按[F5]键打开函数图像，历史中按[Ctrl+F]筛选
&#x3000;&#x3000;&#x3000;&#x3000;按[ESC]键或将[NumLock]键按灭可清除表达式输入框
&#x3000;&#x3000;&#x3000;&#x3000;按[F2]键可将输入焦点切换至表达式输入框
&#x3000;&#x3000;&#x3000;&#x3000;按[`]([ESC下面的那个键])可将计算结果复制到剪贴板
&#x3000;&#x3000;&#x3000;&#x3000;表达式输入框中未选中文字时按[Ctrl+C]也可复制计算结果</source>
        <translation>★Shortcut keys: [F5] opens the graph; [Ctrl+F] in the history filters it
        [Esc], or turning [Num Lock] off, clears the expression box
        [F2] moves the focus to the expression box
        [`] (the key below [Esc]) copies the result to the clipboard
        [Ctrl+C] with nothing selected in the expression box copies the result too</translation>
    </message>
</context>
<context>
    <name>QLineEdit</name>
    <message>
        <location filename="../ui/lineedit/ExpressionEdit.cpp" line="662"/>
        <source>Delete</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SessionStore</name>
    <message>
        <location filename="../session/SessionStore.cpp" line="46"/>
        <source>磁盘已满</source>
        <translation>the disk is full</translation>
    </message>
    <message>
        <location filename="../session/SessionStore.cpp" line="48"/>
        <source>文件系统只读</source>
        <translation>the file system is read-only</translation>
    </message>
    <message>
        <location filename="../session/SessionStore.cpp" line="51"/>
        <source>没有写入权限</source>
        <translation>no permission to write</translation>
    </message>
    <message>
        <location filename="../session/SessionStore.cpp" line="67"/>
        <source>原因不明</source>
        <translation>reason unknown</translation>
    </message>
    <message>
        <location filename="../session/SessionStore.cpp" line="83"/>
        <source>%1：不是普通文件，无法加锁</source>
        <translation>%1: not a plain file, cannot lock</translation>
    </message>
    <message>
        <location filename="../session/SessionStore.cpp" line="89"/>
        <source>%1：已被另一个窗口锁定</source>
        <translation>%1: locked by another window</translation>
    </message>
    <message>
        <location filename="../session/SessionStore.cpp" line="91"/>
        <source>%1：无法加锁（%2）</source>
        <translation>%1: cannot lock (%2)</translation>
    </message>
    <message>
        <location filename="../session/SessionStore.cpp" line="119"/>
        <source>%1：不是本用户的目录</source>
        <translation>%1: not a directory of this user</translation>
    </message>
    <message>
        <location filename="../session/SessionStore.cpp" line="128"/>
        <source>%1：无法创建目录（%2）</source>
        <translation>%1: cannot create the directory (%2)</translation>
    </message>
    <message>
        <location filename="../session/SessionStore.cpp" line="150"/>
        <source>%1：读不全，也无法移到一旁（%2），保持原样，不写入</source>
        <translation>%1: does not read whole and cannot be moved aside (%2); it is left as it is and not written</translation>
    </message>
    <message>
        <location filename="../session/SessionStore.cpp" line="151"/>
        <source>已有太多移到一旁的文件</source>
        <translation>too many files are already set aside</translation>
    </message>
    <message>
        <location filename="../session/SessionStore.cpp" line="167"/>
        <source>%1：不是本用户可读的普通文件</source>
        <translation>%1: not a readable plain file of this user</translation>
    </message>
    <message>
        <location filename="../session/SessionStore.cpp" line="179"/>
        <source>%1：来自更新的版本，本版本只读取，不写入</source>
        <translation>%1: from a newer version; this version reads it but does not write it</translation>
    </message>
    <message>
        <location filename="../session/SessionStore.cpp" line="201"/>
        <location filename="../session/SessionStore.cpp" line="250"/>
        <source>%1：不是本用户的普通文件</source>
        <translation>%1: not a plain file of this user</translation>
    </message>
    <message>
        <location filename="../session/SessionStore.cpp" line="215"/>
        <source>%1：%2</source>
        <translation>%1: %2</translation>
    </message>
</context>
<context>
    <name>TypingHelper</name>
    <message>
        <location filename="../ui/typinghelp/TypingHelper.cpp" line="33"/>
        <source>函数用法</source>
        <translation>Function usage</translation>
    </message>
    <message>
        <location filename="../ui/typinghelp/TypingHelper.cpp" line="135"/>
        <source>变量 = %1</source>
        <translation>variable = %1</translation>
    </message>
    <message>
        <location filename="../ui/typinghelp/TypingHelper.cpp" line="202"/>
        <source>%1，%2（第 %3 项，共 %4 项）</source>
        <translation>%1, %2 (%3 of %4)</translation>
    </message>
    <message>
        <location filename="../ui/typinghelp/TypingHelper.cpp" line="238"/>
        <source>%1，第 %2 个参数</source>
        <translation>%1, argument %2</translation>
    </message>
</context>
<context>
    <name>ValueTableModel</name>
    <message>
        <location filename="../ui/graph/ValueTableModel.cpp" line="67"/>
        <source>错误</source>
        <translation>error</translation>
    </message>
</context>
<context>
    <name>WindowTexts</name>
    <message>
        <location filename="../res/WindowTexts.h" line="14"/>
        <source>发生错误</source>
        <translation>Error</translation>
    </message>
    <message>
        <location filename="../res/WindowTexts.h" line="16"/>
        <source>内存不足，无法完成计算。</source>
        <translation>Not enough memory to finish the computation.</translation>
    </message>
    <message>
        <location filename="../res/WindowTexts.h" line="20"/>
        <source>（自然书写形式过大，无法显示）</source>
        <translation>(The natural written form is too large to show)</translation>
    </message>
    <message>
        <location filename="../res/WindowTexts.h" line="21"/>
        <source>请输入变量名</source>
        <translation>Enter a name</translation>
    </message>
    <message>
        <location filename="../res/WindowTexts.h" line="22"/>
        <source>0.0</source>
        <translation>0.0</translation>
    </message>
    <message>
        <location filename="../res/WindowTexts.h" line="23"/>
        <source>变量名</source>
        <translation>Name</translation>
    </message>
    <message>
        <location filename="../res/WindowTexts.h" line="24"/>
        <source>值</source>
        <translation>Value</translation>
    </message>
    <message>
        <location filename="../res/WindowTexts.h" line="27"/>
        <source>退出</source>
        <translation>Exit</translation>
    </message>
    <message>
        <location filename="../res/WindowTexts.h" line="28"/>
        <source>窗口置顶</source>
        <translation>Keep on top</translation>
    </message>
    <message>
        <location filename="../res/WindowTexts.h" line="29"/>
        <source>取消窗口置顶</source>
        <translation>Stop keeping on top</translation>
    </message>
    <message>
        <location filename="../res/WindowTexts.h" line="30"/>
        <source>扩展表达式输入框</source>
        <translation>Larger expression editor</translation>
    </message>
    <message>
        <location filename="../res/WindowTexts.h" line="31"/>
        <source>关于本软件</source>
        <translation>About this program</translation>
    </message>
    <message>
        <location filename="../res/WindowTexts.h" line="32"/>
        <source>更多功能</source>
        <translation>More</translation>
    </message>
    <message>
        <location filename="../res/WindowTexts.h" line="33"/>
        <source>精简模式</source>
        <translation>Compact</translation>
    </message>
    <message>
        <location filename="../res/WindowTexts.h" line="34"/>
        <source>帮助</source>
        <translation>Help</translation>
    </message>
    <message>
        <location filename="../res/WindowTexts.h" line="37"/>
        <source>最小化(&amp;N)</source>
        <translation>Mi&amp;nimize</translation>
    </message>
    <message>
        <location filename="../res/WindowTexts.h" line="38"/>
        <source>关闭(&amp;C)</source>
        <translation>&amp;Close</translation>
    </message>
    <message>
        <location filename="../res/WindowTexts.h" line="39"/>
        <source>关于 Tallyfern(&amp;A)...</source>
        <translation>&amp;About Tallyfern...</translation>
    </message>
    <message>
        <location filename="../res/WindowTexts.h" line="42"/>
        <source>Tallyfern 自然书写计算器</source>
        <translation>Tallyfern natural-form calculator</translation>
    </message>
    <message>
        <location filename="../res/WindowTexts.h" line="46"/>
        <source>输入时计算(&amp;T)</source>
        <translation>Compute While &amp;Typing</translation>
    </message>
    <message>
        <location filename="../res/WindowTexts.h" line="48"/>
        <source>函数图像(&amp;G)</source>
        <translation>&amp;Graph</translation>
    </message>
    <message>
        <location filename="../res/WindowTexts.h" line="53"/>
        <source>退出后保留历史和变量(&amp;K)</source>
        <translation>&amp;Keep history and variables after exit</translation>
    </message>
    <message>
        <location filename="../res/WindowTexts.h" line="54"/>
        <source>清除历史(&amp;H)</source>
        <translation>Clear &amp;history</translation>
    </message>
    <message>
        <location filename="../res/WindowTexts.h" line="56"/>
        <source>清除全部历史记录？清除后无法恢复。</source>
        <translation>Clear the whole history? It cannot be undone.</translation>
    </message>
    <message>
        <location filename="../res/WindowTexts.h" line="57"/>
        <source>历史和变量</source>
        <translation>History and variables</translation>
    </message>
    <message>
        <location filename="../res/WindowTexts.h" line="59"/>
        <source>上次保留的历史和变量未能全部读回（%1），原文件已另存为 %2。</source>
        <translation>Not all of the kept history and variables could be read back (%1); the original file was saved as %2.</translation>
    </message>
    <message>
        <location filename="../res/WindowTexts.h" line="61"/>
        <source>%1 无法读取或不属于本用户，历史和变量未读回，也不会写入。</source>
        <translation>%1 cannot be read or is not this user&apos;s: history and variables are neither read from it nor written to it.</translation>
    </message>
    <message>
        <location filename="../res/WindowTexts.h" line="63"/>
        <source>无法保存历史和变量（%1），之后每次更改时会再试。</source>
        <translation>Cannot keep the history and variables (%1); each later change tries again.</translation>
    </message>
    <message>
        <location filename="../res/WindowTexts.h" line="64"/>
        <source>文件过大，未读取</source>
        <translation>the file is too large and was not read</translation>
    </message>
    <message>
        <location filename="../res/WindowTexts.h" line="65"/>
        <source>文件不完整或已损坏</source>
        <translation>the file is incomplete or damaged</translation>
    </message>
    <message>
        <location filename="../res/WindowTexts.h" line="66"/>
        <source>文件来自更新的版本</source>
        <translation>the file is from a newer version</translation>
    </message>
    <message>
        <location filename="../res/WindowTexts.h" line="67"/>
        <source>文件含有非 UTF-8 文字</source>
        <translation>the file holds text that is not UTF-8</translation>
    </message>
    <message>
        <location filename="../res/WindowTexts.h" line="68"/>
        <source>跳过 %1 条历史</source>
        <translation>%1 history entries skipped</translation>
    </message>
    <message>
        <location filename="../res/WindowTexts.h" line="70"/>
        <source>跳过 %1 个变量</source>
        <translation>%1 variables skipped</translation>
    </message>
    <message>
        <location filename="../res/WindowTexts.h" line="74"/>
        <source>筛选历史</source>
        <translation>Filter the history</translation>
    </message>
    <message>
        <location filename="../res/WindowTexts.h" line="76"/>
        <source>筛选历史（Enter 取用，Esc 关闭）</source>
        <translation>Filter the history (Enter takes, Esc closes)</translation>
    </message>
    <message>
        <location filename="../res/WindowTexts.h" line="77"/>
        <source>%1 条历史</source>
        <translation>%1 history entries</translation>
    </message>
    <message>
        <location filename="../res/WindowTexts.h" line="79"/>
        <source>历史另存为文本(&amp;S)...</source>
        <translation>&amp;Save History as Text...</translation>
    </message>
    <message>
        <location filename="../res/WindowTexts.h" line="81"/>
        <source>历史另存为 CSV(&amp;V)...</source>
        <translation>Save History as CS&amp;V...</translation>
    </message>
    <message>
        <location filename="../res/WindowTexts.h" line="83"/>
        <source>历史另存为 Markdown(&amp;M)...</source>
        <translation>Save History as &amp;Markdown...</translation>
    </message>
    <message>
        <location filename="../res/WindowTexts.h" line="84"/>
        <source>复制选中的历史(&amp;Y)</source>
        <translation>Cop&amp;y Selected History</translation>
    </message>
    <message>
        <location filename="../res/WindowTexts.h" line="85"/>
        <source>保存历史</source>
        <translation>Save History</translation>
    </message>
    <message>
        <location filename="../res/WindowTexts.h" line="86"/>
        <source>文本文件 (*.txt)</source>
        <translation>Text files (*.txt)</translation>
    </message>
    <message>
        <location filename="../res/WindowTexts.h" line="87"/>
        <source>CSV 文件 (*.csv)</source>
        <translation>CSV files (*.csv)</translation>
    </message>
    <message>
        <location filename="../res/WindowTexts.h" line="88"/>
        <source>Markdown 文件 (*.md)</source>
        <translation>Markdown files (*.md)</translation>
    </message>
    <message>
        <location filename="../res/WindowTexts.h" line="90"/>
        <source>无法保存历史到 %1（%2）。</source>
        <translation>The history could not be saved to %1 (%2).</translation>
    </message>
    <message>
        <location filename="../res/WindowTexts.h" line="91"/>
        <source>表达式</source>
        <translation>Expression</translation>
    </message>
    <message>
        <location filename="../res/WindowTexts.h" line="92"/>
        <source>结果</source>
        <translation>Result</translation>
    </message>
</context>
</TS>
