#pragma once

#include <QAbstractButton>
#include <QColor>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QRect>
#include <QRgb>
#include <QString>
#include <array>

class QPainter;

// Second-icon choices of LoadIconImage besides an icon id.
inline constexpr int kNoSecondIcon = 0;
inline constexpr int kGreySecondIcon = -2;
inline constexpr int kDimSecondIcon = -3;

// The main window's flat push button: face in the button colour, a raised
// frame while the mouse is over it, a sunken one while it is pressed or, as
// a toggle, checked; a small icon, an optional caption and a tooltip, which
// is also its name to a screen reader. A toggle is a checkable button, so
// its state reaches the screen reader too. Focus reached by the keyboard
// shows as a dotted rectangle inside the face.
class SkinButton : public QAbstractButton {
    Q_OBJECT

  public:
    explicit SkinButton(QWidget* parent = nullptr);
    ~SkinButton() override;

    // Icon `iconId` as the active image and, by `second`, a normal-state
    // image: kNoSecondIcon, kGreySecondIcon, kDimSecondIcon or another icon
    // id. Returns 1 when a derived image cannot be made (then the button has
    // no image at all), else 0, also when the icon does not exist.
    int LoadIconImage(int iconId, int second);

    // nullptr keeps the current tip; otherwise replaces it and shows tips
    // from now on only if `activate`.
    void SetTipText(const char* utf8Text, bool activate);

    // 1 or 2 checks a toggle (a checkable button), anything else unchecks
    // it; a button that is not a toggle stays unchecked.
    void SetCheck(int state);
    int GetCheck() const { return isChecked() ? 1 : 0; }

    // A 1-pixel sunken border around the button; clicks and hover count
    // only inside it.
    void SetStaticEdge(bool on);

    // Face and caption colours back to the palette's button colours.
    void ResetColours(bool repaint);

    bool IsHover() const { return m_hover; }
    bool HasStaticEdge() const { return m_staticEdge; }
    QString TipText() const { return m_tip; }
    bool IsTipActive() const { return m_tipActive; }
    QSize IconSize(int entry) const;
    bool HasIcon(int entry) const;
    QImage IconImage(int entry) const;

    // The area the face, frame, icon and caption are painted in.
    QRect ItemRect() const;

    QSize sizeHint() const override;

    // Derived images: the alpha mask and black pixels are kept, every other
    // pixel gets a grey of the same brightness, or keeps 75 % of each channel.
    static QImage MakeGreyIcon(const QImage& source);
    static QImage MakeDimIcon(const QImage& source);
    // Each channel X becomes trunc(X - X * fraction) for 0 < fraction <= 1;
    // other fractions leave the colour unchanged. Alpha is kept.
    static QRgb DimColour(QRgb colour, double fraction);

  protected:
    virtual void PaintFace(QPainter& painter, const QRect& faceRect);
    virtual void PaintFrame(QPainter& painter, const QRect& faceRect);
    virtual void PaintIcon(QPainter& painter, bool hasCaption, const QRect& itemRect,
                           QRect& captionRect, bool pressed, bool disabled);
    virtual void PaintCaption(QPainter& painter, const QString& caption, const QRect& itemRect,
                              QRect& captionRect, bool pressed, bool disabled);
    virtual void PaintFocusMark(QPainter& painter, const QRect& faceRect);

    // Where an image of w x h pixels goes; with a caption the caption
    // rectangle gives up the image's strip on the left.
    QRect PlaceImage(bool hasCaption, const QRect& itemRect, QRect& captionRect, int w, int h,
                     bool pressed) const;

    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool hitButton(const QPoint& pos) const override;
    void nextCheckState() override;

  private:
    struct ColourPair {
        QColor face;
        QColor text;
    };
    enum class Derived { None, Grey, Dim };
    // Drawn anew for the pixel ratio of each paint, so that the icon stays
    // sharp on a screen of another scale.
    struct IconEntry {
        QIcon icon;
        int width = 0;
        int height = 0;
        Derived derived = Derived::None;
    };
    enum ColourIndex { kActive = 0, kNormal = 1, kFocused = 2 };

    void TrackHover(const QPoint& pos, bool leftButtonHeld);
    void ClearHover();
    void MoveFocusAway();
    void FreeIcons();
    QPixmap IconPixmap(int entry, qreal devicePixelRatio) const;
    void ShowTip(const QPoint& globalPos);
    const ColourPair& StateColours() const;

    int m_imageMargin = 3;
    int m_pressShiftX = 1;
    int m_pressShiftY = 1;
    bool m_hover = false;
    bool m_drawPressed = false;
    bool m_drawFocused = false;
    bool m_drawDisabled = false;
    std::array<ColourPair, 3> m_cr;
    QString m_tip;
    bool m_tipActive = false;
    std::array<IconEntry, 2> m_icon;
    bool m_staticEdge = false;
};
