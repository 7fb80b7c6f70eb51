#pragma once

#include <QFont>
#include <QLineEdit>
#include <QString>

class ScreenReaderNotice;

// The read-only box the result is shown in. It always shows every character
// of a result that can be read whole: a text wider than the box is drawn in
// a smaller size of the same font, down to a legible floor; below that the
// middle of the mantissa gives way to an ellipsis and the tooltip holds the
// whole text. The box's text, which copying and a screen reader see, is
// always the whole result.
//
// A value computed while the expression is typed shows muted, in a colour
// between the text's and the ground's that still reads easily, as not yet
// committed; a committed result in the normal colour, and the box keeps it
// to show again. After a failed computation the last result stays muted:
// it is no answer to the expression that failed.
class ResultBox : public QLineEdit {
    Q_OBJECT
  public:
    explicit ResultBox(QWidget* parent = nullptr);

    // A value computed while typing; empty for none.
    void ShowLive(const QString& value);
    void ShowCommitted(const QString& value);
    // The computation asked for last failed.
    void ShowCommitFailed();
    // The last committed result again, muted if a computation failed since.
    void ShowLastCommitted() { Show(m_committed, m_commitFailed); }
    bool IsMuted() const { return m_muted; }
    // Tells a screen reader the result shown, as "结果 42", while the focus
    // stays where the expression is typed.
    void TellScreenReader();

    // What is drawn, and in which font.
    const QString& ShownText() const { return m_shownText; }
    const QFont& ShownFont() const { return m_shownFont; }
    // The part of the box the text is drawn in.
    QRect TextArea() const;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    void FitText();
    void Show(const QString& value, bool muted);

    QString m_shownText;
    QFont m_shownFont;
    // Whether the text is drawn as Qt would draw it, in the box's own font.
    bool m_drawnAsIs = true;
    bool m_muted = false;
    QString m_committed;
    ScreenReaderNotice* m_notice;
    bool m_commitFailed = false;
    // The text colours of the box's palette while a muted value replaces
    // them, by colour group.
    QBrush m_textBrushes[QPalette::NColorGroups];
};
