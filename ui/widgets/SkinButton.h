#pragma once

#include <QAbstractButton>
#include <QRect>
#include <QString>
#include <optional>

#include "IconResources.h"

// The main window's flat push button: face in the button colour, a raised
// frame while the mouse is over it, a sunken one while it is pressed or, as
// a toggle, checked; the button's icon, an optional caption and a tooltip,
// which is also its name to a screen reader. A toggle is a checkable
// button, so its state reaches the screen reader too. Focus reached by the
// keyboard shows as a dotted rectangle inside the face.
//
// The icon is QAbstractButton's own, drawn in QIcon's modes: Active while
// the mouse is over the button or it is pressed, Disabled when it is
// disabled (engraved, for an icon set by LoadIconImage), Normal otherwise.
class SkinButton : public QAbstractButton {
    Q_OBJECT
    Q_PROPERTY(bool staticEdge READ HasStaticEdge WRITE SetStaticEdge)

  public:
    explicit SkinButton(QWidget* parent = nullptr);
    ~SkinButton() override;

    // One of the program's icons (IconResources.h), at its own size.
    void LoadIconImage(WindowIcon icon);

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
    bool HasStaticEdge() const { return m_staticEdge; }

    bool IsHover() const { return m_hover; }
    QString TipText() const { return m_tip; }
    bool IsTipActive() const { return m_tipActive; }

    // The area the face, frame, icon and caption are painted in.
    QRect ItemRect() const;

    QSize sizeHint() const override;

  protected:
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
    void PaintFrame(QPainter& painter, const QRect& faceRect, bool pressed) const;
    // Draws the icon and takes its strip off the left of `captionRect`
    // when there is a caption.
    void PaintIcon(QPainter& painter, const QRect& itemRect, QRect& captionRect,
                   bool pressed) const;
    void PaintCaption(QPainter& painter, QRect captionRect, bool pressed) const;
    void PaintFocusMark(QPainter& painter, const QRect& faceRect) const;
    void TrackHover(const QPoint& pos, bool leftButtonHeld);
    void ClearHover();
    void MoveFocusAway();
    void ShowTip(const QPoint& globalPos);

    std::optional<WindowIcon>
        m_icon;  // the icon LoadIconImage set, engraved anew on a palette change
    bool m_hover = false;
    QString m_tip;
    bool m_tipActive = false;
    bool m_staticEdge = false;
};
