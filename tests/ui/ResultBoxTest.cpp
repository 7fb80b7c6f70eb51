// The result box shows every character of the result it holds, or where
// even its smallest legible size cannot, the sign, the leading digits and
// the whole exponent; a result cut off at the box's edge reads as another
// number.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <QImage>
#include <QLineEdit>
#include <QTest>
#include <algorithm>
#include <cmath>

#include "CalcWindowTest.h"
#include "ExpressionEdit.h"
#include "ResultBox.h"
#include "TextFitting.h"
#include "UiTestSupport.h"

namespace {

// Where `image` differs from its colour at `ground` inside `area`.
QRect InkIn(const QImage& image, const QRect& area, const QPoint& ground) {
    const QRgb background = image.pixel(ground);
    QRect ink;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (image.pixel(x, y) != background)
                ink |= QRect(x, y, 1, 1);
        }
    }
    return ink;
}

class ResultBoxTest : public CalcWindowTest {};

TEST_F(ResultBoxTest, EveryResultIsDrawnWholeInsideTheBox) {
    const struct {
        const char* expression;
        const char* result;
    } cases[] = {
        {"2^70", "1.18059162071741e+021"},
        {"1/3", "0.333333333333333"},
        {"-0.922761457078019", "-0.922761457078019"},
    };
    auto* expr = ControlNamed<ExpressionEdit>(m_window.get(), "expressionEdit");
    auto* box = ControlNamed<ResultBox>(m_window.get(), "resultBox");
    ASSERT_NE(box, nullptr);
    for (const auto& c : cases) {
        expr->setFocus();
        expr->setText(QString::fromUtf8(c.expression));
        QTest::keyClick(expr, Qt::Key_Return);
        ASSERT_EQ(box->text(), c.result);
        EXPECT_EQ(box->ShownText(), c.result) << "shrunk, not shortened";
        const QRect area = box->TextArea();
        EXPECT_LE(QFontMetrics(box->ShownFont()).horizontalAdvance(box->ShownText()), area.width())
            << c.expression;
        // A glyph cut at the edge of the text area would reach it.
        const QImage drawn = box->grab().toImage();
        const QRect ink = InkIn(drawn, box->rect().adjusted(2, 2, -2, -2), area.topLeft());
        ASSERT_FALSE(ink.isEmpty()) << c.expression;
        EXPECT_GE(ink.left(), area.left()) << c.expression;
        EXPECT_LT(ink.right(), area.right()) << c.expression;
    }
}

TEST(ResultBoxShortening, KeepsTheSignLeadingDigitsAndWholeExponentWhereShrinkingIsNotEnough) {
    const QString whole = QStringLiteral("-3.57169535728756e+300");
    ResultBox box;
    box.resize(90, 21);
    box.show();
    box.setText(whole);
    const QString shown = box.ShownText();
    EXPECT_TRUE(shown.startsWith(QStringLiteral("-3.57"))) << shown.toStdString();
    EXPECT_TRUE(shown.endsWith(QStringLiteral("e+300"))) << shown.toStdString();
    EXPECT_TRUE(shown.contains(QChar(0x2026)));
    EXPECT_EQ(box.ShownFont().pixelSize(), kLegibleFloorPixels);
    EXPECT_LE(QFontMetrics(box.ShownFont()).horizontalAdvance(shown), box.TextArea().width());
    EXPECT_EQ(box.text(), whole) << "copying and a screen reader get the whole result";
    EXPECT_EQ(box.toolTip(), whole);

    box.resize(400, 21);
    EXPECT_EQ(box.ShownText(), whole);
    EXPECT_TRUE(box.toolTip().isEmpty());
}

// The darkest ink of a drawing on a light ground, as a grey level.
int DarkestInk(const QImage& image) {
    int darkest = 255;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            darkest = std::min(darkest, qGray(image.pixel(x, y)));
    }
    return darkest;
}

TEST(ResultBoxStyle, AValueWhileTypingIsMutedAndACommittedOneIsNotWhateverTheWidth) {
    for (const char* value : {"7", "-3.57169535728756e+300"}) {
        SCOPED_TRACE(value);
        ResultBox box;
        box.resize(90, 21);
        box.show();
        box.ShowCommitted(QStringLiteral("0"));
        box.ShowLive(QString::fromUtf8(value));
        const int muted = DarkestInk(box.grab().toImage());
        EXPECT_TRUE(box.IsMuted());
        box.ShowCommitted(QString::fromUtf8(value));
        const int committed = DarkestInk(box.grab().toImage());
        EXPECT_FALSE(box.IsMuted());
        EXPECT_GT(muted, committed + 40);
        EXPECT_EQ(box.palette().color(QPalette::Text),
                  QApplication::palette(&box).color(QPalette::Text));

        box.ShowLive(QString());
        box.ShowLastCommitted();
        EXPECT_EQ(box.text(), QString::fromUtf8(value));
        EXPECT_FALSE(box.IsMuted());
    }
}

// The contrast of two colours as accessibility guidelines count it.
double ContrastRatio(const QColor& one, const QColor& other) {
    const auto luminance = [](const QColor& c) {
        const auto linear = [](double v) {
            return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
    };
    const double a = luminance(one) + 0.05;
    const double b = luminance(other) + 0.05;
    return std::max(a, b) / std::min(a, b);
}

// `colour` as it shows on `ground`.
QColor Over(const QColor& colour, const QColor& ground) {
    const double alpha = colour.alphaF();
    const auto mix = [alpha](int a, int b) { return qRound(a * alpha + b * (1 - alpha)); };
    return QColor(mix(colour.red(), ground.red()), mix(colour.green(), ground.green()),
                  mix(colour.blue(), ground.blue()));
}

TEST(ResultBoxStyle, AMutedValueIsEasyToReadYetPlainlyLighterInLightAndDarkPalettes) {
    const struct {
        const char* what;
        QColor text, ground;
    } palettes[] = {
        {"light", QColor(0, 0, 0), QColor(255, 255, 255)},
        {"dark", QColor(240, 240, 240), QColor(45, 45, 45)},
    };
    for (const auto& p : palettes) {
        SCOPED_TRACE(p.what);
        QPalette colours;
        colours.setColor(QPalette::Text, p.text);
        colours.setColor(QPalette::Base, p.ground);
        // A desktop's placeholder colour: the text at half strength.
        QColor placeholder = p.text;
        placeholder.setAlpha(128);
        colours.setColor(QPalette::PlaceholderText, placeholder);
        ResultBox box;
        box.setPalette(colours);
        box.ShowLive(QStringLiteral("7"));
        const double muted =
            ContrastRatio(Over(box.palette().color(QPalette::Text), p.ground), p.ground);
        EXPECT_GE(muted, 4.5);
        EXPECT_LT(muted, ContrastRatio(p.text, p.ground) / 2);
        box.ShowCommitted(QStringLiteral("7"));
        EXPECT_EQ(box.palette().color(QPalette::Text), p.text);
    }
}

}  // namespace
