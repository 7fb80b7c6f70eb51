#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QHelpEvent>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QToolTip>
#include <QWindow>
#include <vector>

#include "IconResources.h"
#include "SkinButton.h"

namespace {

// The colours of the icons the pictures are checked against.
constexpr QRgb kAddGreen = qRgb(60, 141, 47) & RGB_MASK;  // the plus of icon 167
constexpr int kPlusInset = 2;                             // the plus starts 2 pixels into its icon
constexpr int kPlusLength = 12;

// Bounding box of the pixels of exactly this colour.
QRect FindColour(const QImage& image, QRgb rgb) {
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if ((image.pixel(x, y) & RGB_MASK) == (rgb & RGB_MASK))
                box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}

// Bounding box of the pixels inside `area` that are none of `background`.
QRect FindInk(const QImage& image, const QRect& area, std::initializer_list<QColor> background) {
    QRect box;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb px = image.pixel(x, y) & RGB_MASK;
            bool isBackground = false;
            for (const QColor& c : background)
                isBackground |= px == (c.rgb() & RGB_MASK);
            if (!isBackground)
                box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}

QRgb Rgb(const QColor& c);
QRgb Pixel(const QImage& image, int x, int y) {
    return image.pixel(x, y) & RGB_MASK;
}
QRgb Rgb(const QColor& c) {
    return c.rgb() & RGB_MASK;
}

// A window with a skinned button between two line edits, shown and active,
// so that focus, hover and clicks go through Qt as they do for a user.
struct Dialog {
    QWidget window;
    QLineEdit before{&window};
    SkinButton button{&window};
    QLineEdit after{&window};
    QWidget sibling{&window};  // takes no focus and no clicks: plain surface

    Dialog() {
        window.resize(220, 80);
        before.setGeometry(5, 5, 40, 20);
        button.setGeometry(60, 10, 25, 22);
        after.setGeometry(100, 5, 40, 20);
        sibling.setGeometry(150, 10, 40, 40);
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
        // Qt drops a move to where the last test left the mouse.
        Move(sibling, {1, 1});
        LeaveAll();
    }

    QWindow* Handle() { return window.windowHandle(); }
    QPoint At(QWidget& w, QPoint p) { return w.mapTo(&window, p); }
    void Move(QWidget& w, QPoint p) { QTest::mouseMove(Handle(), At(w, p)); }
    void Press(QWidget& w, QPoint p) { QTest::mousePress(Handle(), Qt::LeftButton, {}, At(w, p)); }
    void Release(QWidget& w, QPoint p) {
        QTest::mouseRelease(Handle(), Qt::LeftButton, {}, At(w, p));
    }
    void Click(QWidget& w, QPoint p) { QTest::mouseClick(Handle(), Qt::LeftButton, {}, At(w, p)); }
    void LeaveAll() { Move(sibling, {20, 20}); }
    QPoint Centre() const { return button.rect().center(); }
    QImage Picture() { return button.grab().toImage(); }
};

// The tooltip fades out; a test that looks for the next one waits for it.
void HideTip() {
    QToolTip::hideText();
    EXPECT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }));
}

class SkinButtonTest : public ::testing::Test {
  protected:
    void TearDown() override { HideTip(); }

    Dialog m_dialog;
    QPalette m_palette = m_dialog.button.palette();
    QColor m_face = m_palette.color(QPalette::Button);
    QColor m_light = m_palette.color(QPalette::Light);
    QColor m_dark = m_palette.color(QPalette::Dark);
};

TEST_F(SkinButtonTest, PaletteGivesDistinctFrameColours) {
    // Every frame check below tells the colours apart.
    ASSERT_NE(Rgb(m_face), Rgb(m_light));
    ASSERT_NE(Rgb(m_face), Rgb(m_dark));
    ASSERT_NE(Rgb(m_light), Rgb(m_dark));
}

TEST_F(SkinButtonTest, IconIsCentredWithoutCaptionAndSitsLeftWithOne) {
    SkinButton& b = m_dialog.button;
    b.LoadIconImage(WindowIcon::Add);
    ASSERT_EQ(b.iconSize(), QSize(16, 16));

    // 25 x 22: (25 - 16) / 2 truncates to 4, (22 - 16) / 2 is 3.
    QRect plus = FindColour(m_dialog.Picture(), kAddGreen);
    EXPECT_EQ(plus, QRect(4 + kPlusInset, 3 + kPlusInset, kPlusLength, kPlusLength));

    // Inside a static edge the item rectangle is 23 x 20: 1 + 3, 1 + 2.
    ASSERT_TRUE(b.setProperty("staticEdge", true)) << "as a form sets it";
    plus = FindColour(m_dialog.Picture(), kAddGreen);
    EXPECT_EQ(plus, QRect(1 + 3 + kPlusInset, 1 + 2 + kPlusInset, kPlusLength, kPlusLength));
    QImage picture = m_dialog.Picture();
    EXPECT_EQ(Pixel(picture, 0, 0), Rgb(m_dark));
    EXPECT_EQ(Pixel(picture, 24, 21), Rgb(m_light));
    EXPECT_EQ(Pixel(picture, 1, 1), Rgb(m_face)) << "no frame without hover or press";

    // With a caption the icon moves to 3 pixels from the item's left edge
    // and the caption is centred in what is left.
    b.setGeometry(60, 10, 90, 24);
    b.setText(QStringLiteral("添加"));
    picture = m_dialog.Picture();
    plus = FindColour(picture, kAddGreen);
    EXPECT_EQ(plus, QRect(1 + 3 + kPlusInset, 1 + 3 + kPlusInset, kPlusLength, kPlusLength));
    const QRect captionArea(1 + 3 + 16, 1, 88 - 3 - 16, 22);
    const QRect ink = FindInk(picture, captionArea, {m_face});
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_NEAR((ink.left() + ink.right()) / 2.0, (captionArea.left() + captionArea.right()) / 2.0,
                2.0);
    EXPECT_NEAR((ink.top() + ink.bottom()) / 2.0, (captionArea.top() + captionArea.bottom()) / 2.0,
                2.0);
}

TEST_F(SkinButtonTest, PressedPushButtonShiftsContentAndSinks) {
    SkinButton& b = m_dialog.button;
    b.setGeometry(60, 10, 90, 24);
    b.setText(QStringLiteral("删除"));
    b.LoadIconImage(WindowIcon::Add);
    m_dialog.Move(b, {80, 2});  // over the button, clear of icon and caption
    const QImage hovered = m_dialog.Picture();
    EXPECT_EQ(Pixel(hovered, 0, 0), Rgb(m_light)) << "raised frame while hovered";
    EXPECT_FALSE(FindColour(hovered, kAddGreen).isEmpty()) << "the icon's active look is its own";
    EXPECT_EQ(Pixel(hovered, 89, 23), Rgb(m_dark));

    m_dialog.Press(b, {80, 2});
    const QImage pressed = m_dialog.Picture();
    EXPECT_EQ(Pixel(pressed, 0, 0), Rgb(m_dark)) << "sunken frame while pressed";
    EXPECT_EQ(Pixel(pressed, 89, 23), Rgb(m_light));
    EXPECT_EQ(FindColour(pressed, kAddGreen), FindColour(hovered, kAddGreen).translated(1, 1));
    const QRect inside(1, 1, 88, 22);
    EXPECT_EQ(
        FindInk(pressed, inside, {m_face, m_light, m_dark, QColor(kAddGreen)}),
        FindInk(hovered, inside, {m_face, m_light, m_dark, QColor(kAddGreen)}).translated(1, 1))
        << "the caption moves with the icon";
    m_dialog.Release(b, {80, 2});
    EXPECT_EQ(FindColour(m_dialog.Picture(), kAddGreen), FindColour(hovered, kAddGreen));
}

TEST_F(SkinButtonTest, ToggleNeverShiftsAndStaysSunkenWhileChecked) {
    SkinButton& b = m_dialog.button;
    b.setCheckable(true);
    b.LoadIconImage(WindowIcon::Add);
    const QRect rest = FindColour(m_dialog.Picture(), kAddGreen);

    m_dialog.Press(b, m_dialog.Centre());
    QImage picture = m_dialog.Picture();
    EXPECT_EQ(Pixel(picture, 0, 0), Rgb(m_dark));
    EXPECT_EQ(FindColour(picture, kAddGreen), rest) << "no shift while held";
    m_dialog.Release(b, m_dialog.Centre());
    ASSERT_EQ(b.GetCheck(), 1);

    m_dialog.LeaveAll();
    ASSERT_FALSE(b.IsHover());
    picture = m_dialog.Picture();
    EXPECT_EQ(Pixel(picture, 0, 0), Rgb(m_dark)) << "checked keeps the sunken frame";
    EXPECT_EQ(Pixel(picture, 24, 21), Rgb(m_light));
    EXPECT_EQ(FindColour(picture, kAddGreen), rest);

    b.SetCheck(0);
    EXPECT_EQ(Pixel(m_dialog.Picture(), 0, 0), Rgb(m_face));
}

TEST_F(SkinButtonTest, DisabledButtonIsEngraved) {
    SkinButton& b = m_dialog.button;
    b.setGeometry(60, 10, 90, 24);
    b.setText(QStringLiteral("添加"));
    b.LoadIconImage(WindowIcon::Add);
    const QRect captionArea(20, 0, 70, 24);
    const QRect enabledInk = FindInk(m_dialog.Picture(), captionArea, {m_face});
    b.setEnabled(false);
    const QImage picture = m_dialog.Picture();
    EXPECT_TRUE(FindColour(picture, kAddGreen).isEmpty()) << "no colour in a disabled image";
    // The plus in the shadow colour with its highlight copy one pixel down
    // and right, the caption likewise.
    EXPECT_EQ(FindColour(picture.copy(0, 0, 20, 24), Rgb(m_dark)),
              QRect(3 + kPlusInset, 4 + kPlusInset, kPlusLength, kPlusLength));
    EXPECT_EQ(Pixel(picture, 3 + kPlusInset + kPlusLength, 4 + kPlusInset + kPlusLength / 2),
              Rgb(m_light));
    EXPECT_EQ(FindInk(picture, captionArea, {m_face}), enabledInk.adjusted(0, 0, 1, 1));

    // The engraving follows a new palette.
    QPalette palette = b.palette();
    const QColor newShadow(10, 20, 200);
    palette.setColor(QPalette::Dark, newShadow);
    b.setPalette(palette);
    EXPECT_EQ(FindColour(m_dialog.Picture().copy(0, 0, 20, 24), Rgb(newShadow)),
              QRect(3 + kPlusInset, 4 + kPlusInset, kPlusLength, kPlusLength));
}

TEST_F(SkinButtonTest, HoverFollowsTheMouseButNotADragThatEnters) {
    SkinButton& b = m_dialog.button;
    m_dialog.Move(b, m_dialog.Centre());
    EXPECT_TRUE(b.IsHover());
    m_dialog.LeaveAll();
    EXPECT_FALSE(b.IsHover()) << "cleared on leave";

    // Held down on the button, dragged off and back: the drag keeps it m_dark.
    m_dialog.Move(b, m_dialog.Centre());
    m_dialog.Press(b, m_dialog.Centre());
    m_dialog.Move(b, {-15, 5});
    EXPECT_FALSE(b.IsHover());
    m_dialog.Move(b, m_dialog.Centre());
    EXPECT_FALSE(b.IsHover());
    m_dialog.Release(b, m_dialog.Centre());
    m_dialog.Move(b, m_dialog.Centre() + QPoint(1, 0));
    EXPECT_TRUE(b.IsHover()) << "the first move after release lights it";

    // A drag that starts on the window's surface does not m_light it either.
    m_dialog.LeaveAll();
    m_dialog.Press(m_dialog.sibling, {5, 5});
    m_dialog.Move(b, m_dialog.Centre());
    EXPECT_FALSE(b.IsHover());
    m_dialog.Release(b, m_dialog.Centre());
}

TEST_F(SkinButtonTest, HoverEndsWithFocusLossDeactivationAndDisable) {
    SkinButton& b = m_dialog.button;
    b.setFocus();
    m_dialog.Move(b, m_dialog.Centre());
    ASSERT_TRUE(b.IsHover());
    m_dialog.after.setFocus();
    EXPECT_FALSE(b.IsHover()) << "focus loss";

    m_dialog.Move(b, m_dialog.Centre() + QPoint(1, 1));
    ASSERT_TRUE(b.IsHover());
    QWidget other;
    other.resize(50, 50);
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    EXPECT_FALSE(b.IsHover()) << "window deactivated";

    m_dialog.window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&m_dialog.window));
    m_dialog.Move(b, m_dialog.Centre());
    ASSERT_TRUE(b.IsHover());
    b.setEnabled(false);
    EXPECT_FALSE(b.IsHover()) << "disabled";

    b.setEnabled(true);
    m_dialog.Move(b, m_dialog.Centre() + QPoint(1, 0));
    ASSERT_TRUE(b.IsHover());
    QDialog box(&m_dialog.window);
    box.setModal(true);
    box.show();
    EXPECT_FALSE(b.IsHover()) << "a modal window opened";
}

TEST_F(SkinButtonTest, DisablingHandsTheFocusToTheNextTabStopOrTheParent) {
    SkinButton& b = m_dialog.button;
    b.setFocus();
    ASSERT_TRUE(b.hasFocus());
    b.setEnabled(false);
    EXPECT_TRUE(m_dialog.after.hasFocus());

    // Not focused: the focus moves all the same.
    b.setEnabled(true);
    m_dialog.before.setFocus();
    b.setEnabled(false);
    EXPECT_TRUE(m_dialog.after.hasFocus());

    // No other tab stop: the parent itself.
    b.setEnabled(true);
    m_dialog.before.setEnabled(false);
    m_dialog.after.setEnabled(false);
    b.setFocus();
    b.setEnabled(false);
    EXPECT_TRUE(m_dialog.window.hasFocus());

    // A button disabled with its whole window hands nothing on.
    b.setEnabled(true);
    m_dialog.after.setEnabled(true);
    m_dialog.before.setEnabled(true);
    m_dialog.before.setFocus();
    m_dialog.window.setEnabled(false);
    m_dialog.window.setEnabled(true);
    EXPECT_FALSE(m_dialog.after.hasFocus());
}

TEST_F(SkinButtonTest, AClickLeavesTheFocusAndAToggleFlipsBeforeTheWindowHears) {
    SkinButton& b = m_dialog.button;
    std::vector<int> seen;
    QObject::connect(&b, &QAbstractButton::clicked, [&] { seen.push_back(b.GetCheck()); });

    m_dialog.before.setFocus();
    m_dialog.Click(b, m_dialog.Centre());
    EXPECT_TRUE(m_dialog.before.hasFocus()) << "the typing goes on where it was";
    EXPECT_EQ(seen, std::vector<int>{0}) << "a push button has no check state";

    b.setCheckable(true);
    m_dialog.Click(b, m_dialog.Centre());
    m_dialog.Click(b, m_dialog.Centre());
    EXPECT_EQ(seen, (std::vector<int>{0, 1, 0}));
}

TEST_F(SkinButtonTest, DoubleClickActsAsTwoClicks) {
    SkinButton& b = m_dialog.button;
    QSignalSpy clicks(&b, &QAbstractButton::clicked);
    m_dialog.Click(b, m_dialog.Centre());  // a push button first
    clicks.clear();
    QTest::mouseDClick(m_dialog.Handle(), Qt::LeftButton, {}, m_dialog.At(b, m_dialog.Centre()));
    EXPECT_EQ(clicks.count(), 2);

    b.setCheckable(true);
    clicks.clear();
    std::vector<int> seen;
    QObject::connect(&b, &QAbstractButton::clicked, [&] { seen.push_back(b.GetCheck()); });
    QTest::mouseDClick(m_dialog.Handle(), Qt::LeftButton, {}, m_dialog.At(b, m_dialog.Centre()));
    EXPECT_EQ(seen, (std::vector<int>{1, 0})) << "flipped twice";
    EXPECT_EQ(b.GetCheck(), 0);
}

TEST_F(SkinButtonTest, KeyboardPressesTheFocusedButton) {
    SkinButton& b = m_dialog.button;
    QSignalSpy clicks(&b, &QAbstractButton::clicked);
    m_dialog.before.setFocus();
    QTest::keyClick(&m_dialog.before, Qt::Key_Tab);
    ASSERT_TRUE(b.hasFocus()) << "a tab stop";
    QTest::keyClick(&b, Qt::Key_Space);
    QTest::keyClick(&b, Qt::Key_Return);
    QTest::keyClick(&b, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(clicks.count(), 3);
    QTest::keyClick(&b, Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(clicks.count(), 3) << "Ctrl+Enter is left to the window";
}

TEST_F(SkinButtonTest, CheckStateBelongsToTogglesOnly) {
    SkinButton& b = m_dialog.button;
    b.SetCheck(1);
    EXPECT_EQ(b.GetCheck(), 0) << "not a toggle: nothing changes";
    m_dialog.Click(b, m_dialog.Centre());
    EXPECT_EQ(b.GetCheck(), 0);

    SkinButton toggle(&m_dialog.window);
    toggle.setCheckable(true);
    toggle.SetCheck(2);
    EXPECT_EQ(toggle.GetCheck(), 1) << "indeterminate counts as checked";
    toggle.SetCheck(5);
    EXPECT_EQ(toggle.GetCheck(), 0);
    toggle.SetCheck(1);
    toggle.SetCheck(-1);
    EXPECT_EQ(toggle.GetCheck(), 0);
}

TEST_F(SkinButtonTest, TipIsReplacedKeptByNullAndShownOnlyWhileActive) {
    SkinButton& b = m_dialog.button;
    const auto askForTip = [&] {
        QHelpEvent help(QEvent::ToolTip, m_dialog.Centre(), b.mapToGlobal(m_dialog.Centre()));
        QApplication::sendEvent(&b, &help);
    };
    EXPECT_FALSE(b.IsTipActive());
    askForTip();
    EXPECT_FALSE(QToolTip::isVisible()) << "no tip before one is set";

    b.SetTipText("退出", true);
    b.SetTipText(nullptr, false);
    EXPECT_EQ(b.TipText(), QStringLiteral("退出"));
    EXPECT_TRUE(b.IsTipActive()) << "a null text changes nothing";
    askForTip();
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(QToolTip::text(), QStringLiteral("退出"));
    HideTip();

    b.SetTipText("帮助", true);
    EXPECT_EQ(b.TipText(), QStringLiteral("帮助"));
    askForTip();
    EXPECT_EQ(QToolTip::text(), QStringLiteral("帮助"));
    HideTip();

    b.SetTipText("帮助", false);
    askForTip();
    EXPECT_FALSE(QToolTip::isVisible()) << "inactive";
    b.SetTipText("", true);
    askForTip();
    EXPECT_FALSE(QToolTip::isVisible()) << "empty";

    // A tip on show under the mouse follows a change at once, as the
    // window swaps a button's tip right after a click on it.
    m_dialog.Move(b, m_dialog.Centre());
    b.SetTipText("更多功能", true);
    askForTip();
    b.SetTipText("精简模式", true);
    EXPECT_EQ(QToolTip::text(), QStringLiteral("精简模式"));
    b.SetTipText("精简模式", false);
    EXPECT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }));

    // Text that looks like markup is shown as it is written.
    b.SetTipText("<b>1<2</b>", true);
    askForTip();
    EXPECT_TRUE(QToolTip::text().contains(QStringLiteral("&lt;b&gt;1&lt;2")));
}

TEST_F(SkinButtonTest, LongTipIsBrokenAt400Pixels) {
    SkinButton& b = m_dialog.button;
    QString longTip;
    for (int i = 0; i < 12; ++i)
        longTip += QStringLiteral("扩展表达式输入框 and more words ");
    b.SetTipText(longTip.toUtf8().constData(), true);
    QHelpEvent help(QEvent::ToolTip, m_dialog.Centre(), b.mapToGlobal(m_dialog.Centre()));
    QApplication::sendEvent(&b, &help);
    ASSERT_TRUE(QToolTip::isVisible());
    const QStringList lines = QToolTip::text().split(QLatin1Char('\n'));
    EXPECT_GT(lines.size(), 1);
    const QFontMetrics metrics(QToolTip::font());
    QString joined;
    for (const QString& line : lines) {
        EXPECT_LE(metrics.horizontalAdvance(line), 400) << line.toStdString();
        joined += line;
    }
    EXPECT_EQ(joined.remove(QLatin1Char(' ')), QString(longTip).remove(QLatin1Char(' ')))
        << "no text lost in the breaking";
}

TEST(SkinButtonIcons, EveryIconLoadsAt16Pixels) {
    for (const WindowIcon id :
         {WindowIcon::Application, WindowIcon::Exit, WindowIcon::Help, WindowIcon::Pin,
          WindowIcon::Unpin, WindowIcon::More, WindowIcon::Less, WindowIcon::Add,
          WindowIcon::Delete, WindowIcon::Editor}) {
        SCOPED_TRACE(static_cast<int>(id));
        const QPixmap pixmap = LoadIconPixmap(id);
        ASSERT_FALSE(pixmap.isNull());
        EXPECT_EQ(pixmap.size(), QSize(16, 16));
        const QImage image = pixmap.toImage();
        int opaque = 0;
        int clear = 0;
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < 16; ++x) {
                opaque += qAlpha(image.pixel(x, y)) == 255;
                clear += qAlpha(image.pixel(x, y)) == 0;
            }
        }
        EXPECT_GT(opaque, 16) << "a drawing, not a blank";
        EXPECT_GT(clear, 0) << "a shape on a transparent ground";
    }
    EXPECT_EQ(LoadIconPixmap(WindowIcon::Application, 48).size(), QSize(48, 48));
    const QPixmap sharp = LoadIconPixmap(WindowIcon::Add, 0, 2.0);
    EXPECT_EQ(sharp.size(), QSize(32, 32));
    EXPECT_EQ(sharp.deviceIndependentSize(), QSizeF(16, 16));

    const QIcon app = LoadApplicationIcon();
    EXPECT_EQ(app.availableSizes(),
              (QList<QSize>{{16, 16}, {24, 24}, {32, 32}, {48, 48}, {64, 64}}));
}

TEST(SkinButtonIcons, AreDrawnAnewForThePixelRatioOfEachPaint) {
    SkinButton b;
    b.resize(24, 24);
    b.LoadIconImage(WindowIcon::Help);
    QImage picture(48, 48, QImage::Format_ARGB32_Premultiplied);
    picture.setDevicePixelRatio(2.0);
    b.render(&picture);
    // The 16-pixel icon centred, at 32 device pixels: drawn at that size,
    // not enlarged from the 16-pixel drawing.
    const QImage sharp = LoadIconPixmap(WindowIcon::Help, 0, 2.0).toImage();
    ASSERT_EQ(sharp.size(), QSize(32, 32));
    QImage drawn = picture.copy(8, 8, 32, 32).convertToFormat(sharp.format());
    int differing = 0;
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            if (qAlpha(sharp.pixel(x, y)) == 255)
                differing += drawn.pixel(x, y) != sharp.pixel(x, y);
        }
    }
    EXPECT_EQ(differing, 0);

    // Disabled, the engraving is made from the drawing at that size too:
    // every pixel the drawing covers, but its white ones, is in the shadow
    // colour.
    b.setEnabled(false);
    b.render(&picture);
    drawn = picture.copy(8, 8, 32, 32).convertToFormat(sharp.format());
    const QRgb shadow = Rgb(b.palette().color(QPalette::Active, QPalette::Dark));
    differing = 0;
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            if (qAlpha(sharp.pixel(x, y)) == 255 && Pixel(sharp, x, y) != Rgb(Qt::white))
                differing += Pixel(drawn, x, y) != shadow;
        }
    }
    EXPECT_EQ(differing, 0);
}

}  // namespace
