#pragma once

#include <QFont>
#include <QLineEdit>
#include <QString>

// The read-only box the result is shown in. It always shows every character
// of a result that can be read whole: a text wider than the box is drawn in
// a smaller size of the same font, down to a legible floor; below that the
// middle of the mantissa gives way to an ellipsis and the tooltip holds the
// whole text. The box's text, which copying and a screen reader see, is
// always the whole result.
class ResultBox : public QLineEdit {
    Q_OBJECT
  public:
    explicit ResultBox(QWidget* parent = nullptr);

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

    QString m_shownText;
    QFont m_shownFont;
    // Whether the text is drawn as Qt would draw it, in the box's own font.
    bool m_drawnAsIs = true;
};
